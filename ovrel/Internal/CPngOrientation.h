#pragma once

#include <opencv2/core.hpp>

#include <cstddef>

namespace Ovrel
{
namespace Internal
{

// The EXIF orientation of a PNG (its eXIf chunks), turned exactly as cv::imread turns the picture
// when it reads colour. A PNG with alpha must be read unchanged to keep the alpha channel, and
// OpenCV skips the orientation then.
class CPngOrientation
{
public:
    // Turns or mirrors image (decoded unchanged from the PNG in pData) the way OpenCV would.
    static void Apply(const unsigned char* pData, size_t nSize, cv::Mat& image);

private:
    // The eight ways to lay a picture down: a transpose or not, then no flip or one of three.
    static void Transform(int nWay, const cv::Mat& image, cv::Mat& result);
    // Which of the eight OpenCV chooses for these eXIf chunks, or 0 (as it is) when there are none.
    static int FindWay(const unsigned char* pData, size_t nSize);
};

} // namespace Internal
} // namespace Ovrel
