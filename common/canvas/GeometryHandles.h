#pragma once

#include <QPointF>

#include <vector>

namespace Ovrel
{
namespace Geometry
{
class COvrelGeometry;
}
} // namespace Ovrel

// The resize handles of a geometry: the vertices its segmentation gives (a point itself, a line's two ends, the four
// bounding-box corners of a rectangle or ellipse from the top-left clockwise, a polygon's vertices in order), as the
// library returns them. False when the segmentation fails. Rectangles, ellipses, lines, points and polygons are read
// directly, without building the outline: this runs for every object on every mouse move over the canvas.
bool GeometryHandles(const Ovrel::Geometry::COvrelGeometry& geometry, std::vector<QPointF>& vctHandles);
