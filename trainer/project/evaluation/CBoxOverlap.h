#pragma once

#include <QRectF>

// Intersection over union of two boxes taken as continuous areas (no "+1" pixel): 0 when they do not overlap or one of
// them is empty. Exact for boxes on whole pixels, so an overlap of exactly 0.5 compares equal to 0.5.
class CBoxOverlap
{
public:
    static double IoU(const QRectF& first, const QRectF& second);
};
