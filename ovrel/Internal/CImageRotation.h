#pragma once

#include "Utils/EOvrelResult.h"

#include <opencv2/core.hpp>

namespace Ovrel
{
namespace Internal
{

// Turning a picture; positive angles turn clockwise on screen.
class CImageRotation
{
public:
    static Utils::EOvrelResult Rotate(const cv::Mat& image, int nRowAlignment, double dblAngle, double dblBackground,
                                      int nInterpolation, cv::Mat& result);

private:
    // The number of clockwise quarter turns (0 to 3) when the angle lies within 1e-6 radians of a
    // multiple of pi/2, else -1.
    static int QuarterTurns(double dblAngle);
};

} // namespace Internal
} // namespace Ovrel
