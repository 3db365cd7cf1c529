#include "Geometry/COvrelPolygon.h"

#include "Geometry/COvrelLine.h"
#include "Internal/CEvenOddScan.h"

namespace Ovrel
{
namespace Geometry
{

COvrelPolygon::COvrelPolygon(const std::vector<COvrelPoint>& vctVertices)
{
    FromVertices(vctVertices);
}

Utils::EOvrelResult COvrelPolygon::AddGeometry(std::shared_ptr<COvrelGeometry> pGeometry)
{
    if (!pGeometry)
        return Utils::EOvrelResult_InvalidArgument;
    if (const auto* pPoint = dynamic_cast<const COvrelPoint*>(pGeometry.get()))
    {
        Append(std::make_shared<COvrelPoint>(pPoint->x(), pPoint->y()));
        return Utils::EOvrelResult_OK;
    }
    const auto* pLine = dynamic_cast<const COvrelLine*>(pGeometry.get());
    if (!pLine)
        return Utils::EOvrelResult_InvalidArgument;

    const std::vector<COvrelPoint> vctVertices = GetVertices();
    const COvrelPoint& start = pLine->start();
    const COvrelPoint& end = pLine->end();
    const bool bStartKnown = !vctVertices.empty() && vctVertices.back() == start;
    if (!bStartKnown)
        Append(std::make_shared<COvrelPoint>(start.x(), start.y()));
    const COvrelPoint& last = bStartKnown ? vctVertices.back() : start;
    const bool bClosesOnFirst = !vctVertices.empty() && vctVertices.front() == end;
    if (end != last && !bClosesOnFirst)
        Append(std::make_shared<COvrelPoint>(end.x(), end.y()));
    return Utils::EOvrelResult_OK;
}

Utils::EOvrelResult COvrelPolygon::FromVertices(const COvrelGeometryArray& vertices)
{
    std::vector<COvrelPoint> vctPoints;
    vctPoints.reserve(static_cast<size_t>(vertices.Size()));
    for (int i = 0; i < vertices.Size(); ++i)
    {
        const auto* pPoint = dynamic_cast<const COvrelPoint*>(vertices.At(i).get());
        if (!pPoint)
            return Utils::EOvrelResult_InvalidArgument;
        vctPoints.emplace_back(pPoint->x(), pPoint->y());
    }
    FromVertices(vctPoints);
    return Utils::EOvrelResult_OK;
}

void COvrelPolygon::FromVertices(const std::vector<COvrelPoint>& vctVertices)
{
    Clear();
    for (const COvrelPoint& vertex : vctVertices)
        Append(std::make_shared<COvrelPoint>(vertex.x(), vertex.y()));
}

std::vector<COvrelPoint> COvrelPolygon::GetVertices() const
{
    std::vector<COvrelPoint> vctVertices;
    vctVertices.reserve(static_cast<size_t>(Size()));
    for (int i = 0; i < Size(); ++i)
    {
        if (const auto* pPoint = dynamic_cast<const COvrelPoint*>(At(i).get()))
            vctVertices.emplace_back(pPoint->x(), pPoint->y());
    }
    return vctVertices;
}

Utils::EOvrelResult COvrelPolygon::Segmentize(COvrelGeometryArray& segments, COvrelGeometryArray& vertices) const
{
    const std::vector<COvrelPoint> vctVertices = GetVertices();
    segments.Clear();
    vertices.Clear();
    const size_t count = vctVertices.size();
    for (size_t i = 0; i < count; ++i)
    {
        vertices.AddGeometry(std::make_shared<COvrelPoint>(vctVertices[i]));
        // Two vertices make a single edge; from three on, the last one closes back to the first.
        if (count >= 2 && (i + 1 < count || count >= 3))
            segments.AddGeometry(std::make_shared<COvrelLine>(vctVertices[i], vctVertices[(i + 1) % count]));
    }
    return Utils::EOvrelResult_OK;
}

bool COvrelPolygon::Contained(const COvrelPoint& point) const
{
    // Even-odd rule: count the edges crossed by a ray going right from the point.
    std::vector<double> vctCrossings;
    Internal::CEvenOddScan::Crossings(GetVertices(), point.y(), vctCrossings);
    return Internal::CEvenOddScan::Inside(vctCrossings, point.x());
}

std::shared_ptr<COvrelGeometry> COvrelPolygon::Clone() const
{
    return std::make_shared<COvrelPolygon>(*this);
}

} // namespace Geometry
} // namespace Ovrel
