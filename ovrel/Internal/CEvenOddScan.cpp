#include "Internal/CEvenOddScan.h"

namespace Ovrel
{
namespace Internal
{

void CEvenOddScan::Crossings(const std::vector<Geometry::COvrelPoint>& vctVertices, double y,
                             std::vector<double>& vctCrossings)
{
    const size_t count = vctVertices.size();
    if (count < 3)
        return;
    for (size_t i = 0, j = count - 1; i < count; j = i++)
    {
        const Geometry::COvrelPoint& a = vctVertices[i];
        const Geometry::COvrelPoint& b = vctVertices[j];
        if ((a.y() > y) != (b.y() > y))
            vctCrossings.push_back(a.x() + (y - a.y()) * (b.x() - a.x()) / (b.y() - a.y()));
    }
}

bool CEvenOddScan::Inside(const std::vector<double>& vctCrossings, double x)
{
    bool bInside = false;
    for (const double crossX : vctCrossings)
    {
        if (x < crossX)
            bInside = !bInside;
    }
    return bInside;
}

} // namespace Internal
} // namespace Ovrel
