#include "Internal/CImageFilter.h"

#include "Geometry/COvrelGeometry.h"
#include "Internal/CAlignedMat.h"
#include "Internal/CRegionMask.h"
#include "Utils/EOvrelBorderMode.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace Ovrel
{
namespace Internal
{

using Utils::EOvrelResult;

namespace
{

constexpr int kMaxMedianRadius = 127;

void KeepAlpha(const cv::Mat& source, cv::Mat& target)
{
    const int fromTo[] = {3, 3};
    cv::mixChannels(&source, 1, &target, 1, fromTo, 1);
}

// The window widened by nMargin on every side. Each pixel comes from where the whole image would
// give it: the pixel itself inside the image, the border mode's pixel of the whole image beyond
// its edge. (Padding a sub-image instead would wrap or mirror within the sub-image.)
void PadFromWholeImage(const cv::Mat& image, const cv::Rect& bounds, int nMargin, int nBorderMode,
                       double dblBorderValue, cv::Mat& padded)
{
    const int nWidth = bounds.width + 2 * nMargin;
    const int nHeight = bounds.height + 2 * nMargin;
    const int nLeft = bounds.x - nMargin;
    const int nTop = bounds.y - nMargin;
    const size_t nPixelBytes = image.elemSize();
    padded.create(nHeight, nWidth, image.type());
    // OpenCV rounds the border value the same way for copyMakeBorder.
    const std::vector<uchar> constant(nPixelBytes, cv::saturate_cast<uchar>(dblBorderValue));
    std::vector<int> vctColumns(static_cast<size_t>(nWidth));
    for (int i = 0; i < nWidth; ++i)
        vctColumns[static_cast<size_t>(i)] = cv::borderInterpolate(nLeft + i, image.cols, nBorderMode);
    // Columns [nFirst, nEnd) lie inside the image and are copied as one run per row.
    const int nFirst = std::clamp(-nLeft, 0, nWidth);
    const int nEnd = std::clamp(image.cols - nLeft, nFirst, nWidth);
    for (int r = 0; r < nHeight; ++r)
    {
        uchar* const pOut = padded.ptr<uchar>(r);
        const int nSourceRow = cv::borderInterpolate(nTop + r, image.rows, nBorderMode);
        const uchar* const pIn = nSourceRow < 0 ? nullptr : image.ptr<uchar>(nSourceRow);
        const auto copyPixel = [&](int i)
        {
            const int nColumn = vctColumns[static_cast<size_t>(i)];
            const uchar* pFrom =
                pIn && nColumn >= 0 ? pIn + static_cast<size_t>(nColumn) * nPixelBytes : constant.data();
            std::memcpy(pOut + static_cast<size_t>(i) * nPixelBytes, pFrom, nPixelBytes);
        };
        for (int i = 0; i < nFirst; ++i)
            copyPixel(i);
        if (pIn)
            std::memcpy(pOut + static_cast<size_t>(nFirst) * nPixelBytes,
                        pIn + static_cast<size_t>(nLeft + nFirst) * nPixelBytes,
                        static_cast<size_t>(nEnd - nFirst) * nPixelBytes);
        else
            for (int i = nFirst; i < nEnd; ++i)
                copyPixel(i);
        for (int i = nEnd; i < nWidth; ++i)
            copyPixel(i);
    }
}

} // namespace

bool CImageFilter::IsValidBorderMode(int nBorderMode)
{
    return nBorderMode >= Utils::EOvrelBorderMode_Constant && nBorderMode <= Utils::EOvrelBorderMode_Reflect101;
}

EOvrelResult CImageFilter::Median(cv::Mat& image, bool bShared, int nRowAlignment, int nRadiusX, int nRadiusY,
                                  const Geometry::COvrelGeometry* pRegion, int nBorderMode, double dblBorderValue)
{
    if (nRadiusX != nRadiusY || nRadiusX < 1 || nRadiusX > kMaxMedianRadius)
        return Utils::EOvrelResult_InvalidArgument;
    const int nSize = 2 * nRadiusX + 1;
    // medianBlur always replicates the edge, so only that mode can skip the explicit border.
    const bool bDirect = nBorderMode == Utils::EOvrelBorderMode_Replicate;
    return Apply(image, bShared, nRowAlignment, pRegion, nBorderMode, dblBorderValue, nRadiusX, bDirect, false,
                 [nSize](const cv::Mat& in, cv::Mat& out, int) { cv::medianBlur(in, out, nSize); });
}

EOvrelResult CImageFilter::Sobel(cv::Mat& image, bool bShared, int nRowAlignment, int nDx, int nDy,
                                 const Geometry::COvrelGeometry* pRegion, int nBorderMode, double dblBorderValue)
{
    // Sobel's own constant border is 0 and it has no wrap mode; those cases take the explicit border.
    const bool bDirect = (nBorderMode == Utils::EOvrelBorderMode_Constant && dblBorderValue == 0.0) ||
                         nBorderMode == Utils::EOvrelBorderMode_Replicate ||
                         nBorderMode == Utils::EOvrelBorderMode_Reflect ||
                         nBorderMode == Utils::EOvrelBorderMode_Reflect101;
    const Kernel kernel = [nDx, nDy](const cv::Mat& in, cv::Mat& out, int border)
    {
        if (nDx != 0 && nDy != 0)
        {
            cv::Mat gradient;
            cv::Mat magnitudeX;
            cv::Mat magnitudeY;
            cv::Sobel(in, gradient, CV_16S, 1, 0, 3, 1.0, 0.0, border);
            cv::convertScaleAbs(gradient, magnitudeX);
            cv::Sobel(in, gradient, CV_16S, 0, 1, 3, 1.0, 0.0, border);
            cv::convertScaleAbs(gradient, magnitudeY);
            // Both terms are already clamped to 255, and min(255, a) + min(255, b) saturates to the
            // same value as min(255, a + b).
            cv::add(magnitudeX, magnitudeY, out);
            return;
        }
        cv::Mat gradient;
        cv::Sobel(in, gradient, CV_16S, nDx, nDy, 3, 1.0, 0.0, border);
        cv::convertScaleAbs(gradient, out);
    };
    return Apply(image, bShared, nRowAlignment, pRegion, nBorderMode, dblBorderValue, 1, bDirect, true, kernel);
}

EOvrelResult CImageFilter::Apply(cv::Mat& image, bool bShared, int nRowAlignment,
                                 const Geometry::COvrelGeometry* pRegion, int nBorderMode, double dblBorderValue,
                                 int nMargin, bool bDirectBorder, bool bKeepAlpha, const Kernel& kernel)
{
    if (!IsValidBorderMode(nBorderMode) || !std::isfinite(dblBorderValue))
        return Utils::EOvrelResult_InvalidArgument;
    if (image.empty())
        return Utils::EOvrelResult_Empty;
    const bool bAlpha = bKeepAlpha && image.channels() == 4;

    if (!pRegion && bDirectBorder)
    {
        // Whole image: write into a fresh buffer that already has the promised row layout, so the
        // result can be taken over without another copy.
        cv::Mat result;
        const EOvrelResult allocated =
            CAlignedMat::Allocate(image.cols, image.rows, image.channels(), nRowAlignment, result);
        if (allocated != Utils::EOvrelResult_OK)
            return allocated;
        kernel(image, result, nBorderMode | cv::BORDER_ISOLATED);
        if (bAlpha)
            KeepAlpha(image, result);
        image = result;
        return Utils::EOvrelResult_OK;
    }

    cv::Rect bounds(0, 0, image.cols, image.rows);
    cv::Mat mask;
    if (pRegion && !CRegionMask::Build(*pRegion, image.size(), bounds, mask))
        return Utils::EOvrelResult_OutOfRange;
    // A region that fills its bounds (a rectangle) is written as a plain block, which copies faster.
    if (!mask.empty() && cv::countNonZero(mask) == static_cast<int>(mask.total()))
        mask.release();

    // The filter must see the real neighbours of the window where the image has them and the
    // border mode only beyond the image edge, exactly as it would when filtering the whole image.
    cv::Mat padded;
    PadFromWholeImage(image, bounds, nMargin, nBorderMode, dblBorderValue, padded);
    const cv::Mat window = image(bounds);
    cv::Mat filtered;
    kernel(padded, filtered, cv::BORDER_REPLICATE | cv::BORDER_ISOLATED);
    cv::Mat inner = filtered(cv::Rect(nMargin, nMargin, bounds.width, bounds.height));
    if (bAlpha)
        KeepAlpha(window, inner);
    if (bShared)
    {
        // The pixels outside the region stay as they are, in a buffer of this image's own. A rectangle is written
        // whole below, so its pixels need no copy first.
        cv::Mat own;
        const EOvrelResult allocated =
            CAlignedMat::Allocate(image.cols, image.rows, image.channels(), nRowAlignment, own);
        if (allocated != Utils::EOvrelResult_OK)
            return allocated;
        CAlignedMat::Copy(image, own, mask.empty() ? bounds : cv::Rect());
        image = own;
    }
    cv::Mat target = image(bounds);
    if (mask.empty())
        inner.copyTo(target);
    else
        inner.copyTo(target, mask);
    return Utils::EOvrelResult_OK;
}

} // namespace Internal
} // namespace Ovrel
