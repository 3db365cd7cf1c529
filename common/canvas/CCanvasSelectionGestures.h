#pragma once

#include "OvrelCommonGlobal.h"
#include "canvas/CCanvasGestureBase.h"

#include <QPointF>

#include <QString>

#include <memory>
#include <vector>

namespace Ovrel
{
namespace Geometry
{
class COvrelGeometry;
}
} // namespace Ovrel

// The selecting mode of a canvas: pick objects with a click, Ctrl-click or a rubber band, drag them (the whole
// selection at once after a group pick), drag a resize handle found by hovering, delete the selection, and open the
// object or image menu. Every committed change is one undo step, pushed when the mouse is released. Points are image
// pixels; the object "under" a point is the first in the model's order whose boundary holds it.
//
// Boxes stay on the image: a moved selection stops at the image's edges keeping its size, and a resize handle stops at
// them. Rulers follow the mouse anywhere.
//
// The flags outlive a gesture: a rubber-band pick keeps the group until a press outside the selection, and the
// resizing state is set and cleared by hovering only.
class OVRELCOMMON_EXPORT CCanvasSelectionGestures : public CCanvasGestureBase
{
public:
    using CCanvasGestureBase::CCanvasGestureBase;

    // Hovering: arms resizing (cross cursor) while a handle lies within the tolerance of the point.
    void CheckResize(const QPointF& point);
    // Press: picks the object under the point (adding to the selection with Ctrl held, or keeping a group when the
    // press lands on it) and records where each picked object was grabbed.
    void Start(const QPointF& point);
    // Drag: moves the armed handle, or the selected objects, or draws the rubber band and selects every object with
    // a corner inside it.
    void Doing(const QPointF& start, const QPointF& end);
    // Release after a drag: pushes the resize of the object whose handle was dragged (one step; nothing when no
    // handle moved), the group move (one step) or each single move; a rubber band turns its selection into a group.
    void End(const QPointF& start, const QPointF& end);

    // Deletes every selected object as one undo step; the step is pushed even when nothing is selected.
    void DeleteSelection();
    // Gives the objects the name as one undo step; objects named so already are left out. False, pushing nothing,
    // when no object changes.
    bool Relabel(const std::vector<std::shared_ptr<CDrawableObject>>& vctObjects, const QString& strName);
    // The selected objects in list order.
    std::vector<std::shared_ptr<CDrawableObject>> Selected() const;
    // Selects the object under the point and opens its menu, or opens the image menu.
    void ShowContextMenu(const QPointF& point);
    // Escape returns to selecting (while the canvas is visible); Backspace and Delete delete the selection.
    void PressKey(int nKey);
    // Moves the selected objects by the offset (image pixels), the boxes among them stopping at the image's edges as
    // one block. Consecutive moves of the same selection are one undo step; nothing selected or nothing moved pushes
    // nothing.
    void MoveSelectionBy(const QPointF& offset);

    bool IsMoving() const { return m_bMoving; }
    bool IsGroup() const { return m_bGroup; }
    bool IsResizing() const { return m_bResizing; }

private:
    void Pick(const std::shared_ptr<CDrawableObject>& pObject, const QPointF& point);
    bool AnySelected() const;
    void Resize(const QPointF& end);
    // Where a move from start may end so that the selected boxes stay on the image.
    QPointF MoveEndOnImage(const QPointF& start, const QPointF& end) const;
    // Where the drag of the object's handle may end so that the handle stays on the image.
    QPointF ResizeEndOnImage(const std::shared_ptr<CDrawableObject>& pObject, const QPointF& end) const;
    void SelectInBand(const QPointF& start, const QPointF& end);

    bool m_bMoving = false;
    bool m_bGroup = false;
    bool m_bResizing = false;
    // Where the armed handle's drag was last seen: the hover or press point, then each drag point.
    QPointF m_lastPoint;
    // From the dragged handle to the mouse, kept while the handle follows the mouse.
    QPointF m_handleDelta;
    // During a resize drag: the object whose handle is held, where that handle is now, and the object's geometry
    // before the drag (empty for an object that is not a geometry).
    std::shared_ptr<CDrawableObject> m_pResized;
    QPointF m_resizedHandle;
    std::shared_ptr<Ovrel::Geometry::COvrelGeometry> m_pShapeBefore;
};
