#include "project/store/CBoxRule.h"

#include <cmath>

namespace
{
// One axis: the box from dblStart with dblSize on an image from 0 to 1.
bool IsUsableSpan(double dblStart, double dblSize)
{
    // NaN fails every comparison, so each test is written to pass only for a number.
    if (!std::isfinite(dblStart) || !std::isfinite(dblSize) || !(dblSize >= CBoxRule::kSmallestSize))
        return false;
    const double dblEnd = dblStart + dblSize;
    return dblStart < 1.0 && dblEnd > 0.0 && dblStart >= -1.0 - CBoxRule::kEdgeTolerance &&
           dblEnd <= 2.0 + CBoxRule::kEdgeTolerance;
}
} // namespace

bool CBoxRule::IsUsable(double dblLeft, double dblTop, double dblWidth, double dblHeight)
{
    return IsUsableSpan(dblLeft, dblWidth) && IsUsableSpan(dblTop, dblHeight);
}

bool CBoxRule::IsUsableInPixels(double dblX, double dblY, double dblWidth, double dblHeight, double dblImageWidth,
                                double dblImageHeight)
{
    if (!std::isfinite(dblImageWidth) || !std::isfinite(dblImageHeight) || !(dblImageWidth >= 1.0) ||
        !(dblImageHeight >= 1.0))
        return false;
    return IsUsable(dblX / dblImageWidth, dblY / dblImageHeight, dblWidth / dblImageWidth, dblHeight / dblImageHeight);
}
