#pragma once

#include "Geometry/COvrelGeometryArray.h"
#include "Geometry/COvrelPoint.h"

#include <vector>

namespace Ovrel
{
namespace Geometry
{

// A closed polygon: an array whose members are COvrelPoint vertices in order; the last vertex
// connects back to the first. Filling and Contained use the even-odd rule.
class OVREL_EXPORT COvrelPolygon : public COvrelGeometryArray
{
public:
    COvrelPolygon() = default;
    explicit COvrelPolygon(const std::vector<COvrelPoint>& vctVertices);

    // A point is appended as a vertex as it is. A line is taken as the next edge of a chain being
    // drawn: its start is appended unless it equals the last vertex, and its end is appended
    // unless it equals the last vertex or closes the polygon on the first vertex. Adding the edges
    // (a, a), (a, b), (b, c), (c, a) thus gives the vertices a, b, c. Other shapes are refused with
    // EOvrelResult_InvalidArgument. The polygon keeps its own copies of the points.
    Utils::EOvrelResult AddGeometry(std::shared_ptr<COvrelGeometry> pGeometry) override;

    // Replaces every vertex by copies of the points of the array (as filled by Segmentize).
    // Fails with EOvrelResult_InvalidArgument, changing nothing, when a member is not a point.
    Utils::EOvrelResult FromVertices(const COvrelGeometryArray& vertices);
    void FromVertices(const std::vector<COvrelPoint>& vctVertices);

    std::vector<COvrelPoint> GetVertices() const;

    EGeometryType GetType() const override { return EGeometryType_Polygon; }
    Utils::EOvrelResult Segmentize(COvrelGeometryArray& segments, COvrelGeometryArray& vertices) const override;
    bool Contained(const COvrelPoint& point) const override;
    std::shared_ptr<COvrelGeometry> Clone() const override;
};

} // namespace Geometry
} // namespace Ovrel
