#pragma once

#include "OvrelCommonGlobal.h"
#include "frame/CUndoCommand.h"

#include <QPointF>

#include <memory>

class CDrawableGeometry;
class CDrawableObject;

namespace Ovrel
{
namespace Geometry
{
class COvrelGeometry;
}
} // namespace Ovrel

// A resize handle dragged from the start to the end point (image pixels) while keeping the handle delta (pointer
// minus handle) between them: the handle went from start - delta to end - delta. Execute and redo move the handle
// that lies exactly at start - delta to end - delta (nothing when the drag has already moved it); undo moves the
// handle at end - delta back to start - delta. Handles are matched by position, not by nearness to the pointer, so
// another handle close by (a small object, a zoomed-out canvas) is never taken for the dragged one. The object
// announces each change itself, so a canvas that lists it repaints.
class OVRELCOMMON_EXPORT CResizeDrawableObjectCommand : public CUndoCommand
{
public:
    CResizeDrawableObjectCommand(std::shared_ptr<CDrawableObject> pObject, const QPointF& startPoint,
                                 const QPointF& endPoint, const QPointF& handleDelta);
    // A geometry object resized from the shape before to the shape after (copies are kept): execute and redo give it
    // the shape after, undo the shape before, exactly, however the drag went (a corner dragged across the opposite
    // one turns into another corner, which no single handle move takes back).
    CResizeDrawableObjectCommand(std::shared_ptr<CDrawableGeometry> pObject,
                                 const Ovrel::Geometry::COvrelGeometry& before,
                                 const Ovrel::Geometry::COvrelGeometry& after);

    void Execute() override;
    void Undo() override;

private:
    void MoveHandle(const QPointF& fromPoint, const QPointF& toPoint);
    void Restore(const Ovrel::Geometry::COvrelGeometry& shape);

    std::shared_ptr<CDrawableObject> m_pObject;
    QPointF m_startPoint;
    QPointF m_endPoint;
    QPointF m_handleDelta;
    std::shared_ptr<CDrawableGeometry> m_pGeometryObject;
    std::shared_ptr<Ovrel::Geometry::COvrelGeometry> m_pBefore;
    std::shared_ptr<Ovrel::Geometry::COvrelGeometry> m_pAfter;
};
