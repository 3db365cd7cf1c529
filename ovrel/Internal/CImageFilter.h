#pragma once

#include "Utils/EOvrelResult.h"

#include <opencv2/core.hpp>

#include <functional>

namespace Ovrel
{
namespace Geometry
{
class COvrelGeometry;
}

namespace Internal
{

// The neighbourhood filters of COvrelImage. Each works on an 8-bit matrix: with a region the
// pixels are changed in place, without one the matrix is replaced by a new one. bShared: the
// buffer is shared with other images and must not be written; the matrix is then always replaced.
class CImageFilter
{
public:
    static Utils::EOvrelResult Median(cv::Mat& image, bool bShared, int nRowAlignment, int nRadiusX, int nRadiusY,
                                      const Geometry::COvrelGeometry* pRegion, int nBorderMode, double dblBorderValue);
    // nDx, nDy: 1, 0 for the horizontal derivative, 0, 1 for the vertical one, 1, 1 for the sum of
    // both magnitudes.
    static Utils::EOvrelResult Sobel(cv::Mat& image, bool bShared, int nRowAlignment, int nDx, int nDy,
                                     const Geometry::COvrelGeometry* pRegion, int nBorderMode, double dblBorderValue);

private:
    // in -> out of the same size; border is the OpenCV border type to use at in's edges (it
    // includes BORDER_ISOLATED: pixel matrices are views with row padding beside them).
    using Kernel = std::function<void(const cv::Mat& in, cv::Mat& out, int border)>;

    static Utils::EOvrelResult Apply(cv::Mat& image, bool bShared, int nRowAlignment,
                                     const Geometry::COvrelGeometry* pRegion, int nBorderMode, double dblBorderValue,
                                     int nMargin, bool bDirectBorder, bool bKeepAlpha, const Kernel& kernel);
    static bool IsValidBorderMode(int nBorderMode);
};

} // namespace Internal
} // namespace Ovrel
