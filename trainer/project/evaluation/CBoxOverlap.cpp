#include "project/evaluation/CBoxOverlap.h"

#include <algorithm>

double CBoxOverlap::IoU(const QRectF& first, const QRectF& second)
{
    // x + width rather than right(): the areas are continuous, and the sums stay exact on whole pixels.
    const double dblWidth =
        std::min(first.x() + first.width(), second.x() + second.width()) - std::max(first.x(), second.x());
    const double dblHeight =
        std::min(first.y() + first.height(), second.y() + second.height()) - std::max(first.y(), second.y());
    if (dblWidth <= 0.0 || dblHeight <= 0.0)
        return 0.0;
    const double dblIntersection = dblWidth * dblHeight;
    const double dblUnion = first.width() * first.height() + second.width() * second.height() - dblIntersection;
    return dblUnion > 0.0 ? dblIntersection / dblUnion : 0.0;
}
