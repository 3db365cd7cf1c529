#pragma once

#include "OvrelCommonGlobal.h"
#include "canvas/CCanvasGestureBase.h"

#include <QPointF>

// The drawing modes of a canvas: rectangles, ellipses and circles (dragged from the centre), ruler lines and
// polygons. While the mouse is dragged the shape is shown as a drawing object of the model; the release adds the
// finished object as one undo step and returns to selecting mode, unless the mode model keeps drawing modes (then
// the next drag draws another). Points are image pixels.
//
// Shapes stay on the image: rectangles, ellipses, circles and polygons are cut at its edges (CImageBounds), and one
// left without area is not made; the mode then stays for another try. Rulers measure anywhere but need a length.
//
// A polygon is clicked vertex by vertex (a drag adds a freehand chain of short edges) and closes when a release lands
// within the tolerance of its first vertex after at least three edges. It survives mode changes: an unfinished one
// continues when polygon mode is entered again.
class OVRELCOMMON_EXPORT CCanvasDrawingGestures : public CCanvasGestureBase
{
public:
    enum EShape
    {
        EShape_Rectangle,
        EShape_Ellipse,
        EShape_Circle,
        EShape_Ruler
    };

    using CCanvasGestureBase::CCanvasGestureBase;

    // The object a drag from start to end makes: a rectangle or an ellipse with the box the two points span, a
    // circle around start through end (as an ellipse), a ruler from start to end.
    static std::shared_ptr<CDrawableObject> MakeShape(EShape eShape, const QPointF& start, const QPointF& end);

    void ShapeStart(EShape eShape, const QPointF& start);
    void ShapeDoing(EShape eShape, const QPointF& start, const QPointF& end);
    void ShapeEnd(EShape eShape, const QPointF& start, const QPointF& end);

    // Press: begins a polygon at the point unless one is in progress.
    void PolygonStart(const QPointF& point);
    // Drag with the button held: an edge to the mouse.
    void PolygonDoing(const QPointF& end);
    // Release: closes the polygon near its first vertex, else adds an edge to the release point.
    void PolygonEnd(const QPointF& end);
    // Move without a button: the rubber line from the last vertex to the mouse.
    void PolygonWaiting(const QPointF& point);

    // Drops the shape being dragged and the unfinished polygon; the model is left as before the drawing began.
    void Cancel();

    bool IsPolygonInProgress() const { return m_bPolygon; }

private:
    // MakeShape kept on the image; empty when it would have no area, or a ruler no length.
    std::shared_ptr<CDrawableObject> ShapeOnImage(EShape eShape, const QPointF& start, const QPointF& end) const;
    QPointF OnImage(const QPointF& point) const;
    void AddEdge(const QPointF& end);
    void ClosePolygon(const QPointF& firstVertex);
    // After a shape is made: back to selecting, unless drawing modes are kept.
    void LeaveDrawingMode();

    bool m_bPolygon = false;
    // The polygon's last vertex.
    QPointF m_lastPoint;
};
