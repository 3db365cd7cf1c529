#pragma once

#include "OvrelCommonGlobal.h"
#include "frame/CUndoCommand.h"

#include <QPointF>

#include <memory>

class CDrawableObject;
class ICanvasController;

// Moves an object dragged from the start to the end point (image pixels) that was grabbed at the offset from its
// boundary's top-left: its top-left goes to end - offset, and back to start - offset on undo.
class OVRELCOMMON_EXPORT CMoveDrawableObjectCommand : public CUndoCommand
{
public:
    CMoveDrawableObjectCommand(ICanvasController* pController, std::shared_ptr<CDrawableObject> pObject,
                               const QPointF& startPoint, const QPointF& endPoint, const QPointF& offset);

    void Execute() override;
    void Undo() override;

private:
    void MoveTo(const QPointF& point);

    ICanvasController* m_pController;
    std::shared_ptr<CDrawableObject> m_pObject;
    QPointF m_startPoint;
    QPointF m_endPoint;
    QPointF m_offset;
};
