#pragma once

#include "OvrelCommonGlobal.h"
#include "frame/CUndoCommand.h"

#include <QPointF>

#include <memory>

class CDrawableObject;

// Moves an object dragged from the start to the end point (image pixels) that was grabbed at the offset from its
// boundary's top-left: its top-left goes to end - offset, and back to start - offset on undo. The object announces
// the move itself, so a canvas that lists it repaints.
class OVRELCOMMON_EXPORT CMoveDrawableObjectCommand : public CUndoCommand
{
public:
    CMoveDrawableObjectCommand(std::shared_ptr<CDrawableObject> pObject, const QPointF& startPoint,
                               const QPointF& endPoint, const QPointF& offset);

    void Execute() override;
    void Undo() override;

private:
    void MoveTo(const QPointF& point);

    std::shared_ptr<CDrawableObject> m_pObject;
    QPointF m_startPoint;
    QPointF m_endPoint;
    QPointF m_offset;
};
