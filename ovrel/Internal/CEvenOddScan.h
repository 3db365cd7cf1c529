#pragma once

#include "Geometry/COvrelPoint.h"

#include <vector>

namespace Ovrel
{
namespace Internal
{

// The even-odd rule of COvrelPolygon, shared by its Contained and by the region masks so that
// both decide every point with the very same arithmetic.
class CEvenOddScan
{
public:
    // Appends the x positions where the closed polygon's edges cross the horizontal line at y. An
    // edge counts when exactly one of its ends lies above y (y > its y-coordinate is false for it).
    static void Crossings(const std::vector<Geometry::COvrelPoint>& vctVertices, double y,
                          std::vector<double>& vctCrossings);

    // Whether (x, y) is inside: an odd number of the crossings at y lies right of x.
    static bool Inside(const std::vector<double>& vctCrossings, double x);
};

} // namespace Internal
} // namespace Ovrel
