#pragma once

#include <QRectF>
#include <QSize>

#include <opencv2/core.hpp>

// The trainer's way from an image to the network's input and from the network's boxes back to the image, copied
// step for step so that the program sees what "darknet detector valid" sees: the image, as floats of byte / 255, is
// scaled to fit the input with the trainer's own bilinear resampling (corner-aligned, rows after columns), keeping its
// aspect ratio, and placed in the middle of an input filled with grey 0.5.
class CDarknetLetterbox
{
public:
    // The scaled image's size inside an input of netSize, with the trainer's integer arithmetic.
    static QSize ScaledSize(const QSize& imageSize, const QSize& netSize);
    // The input blob (1 x 3 x height x width floats, red plane first) for an 8-bit, three-channel image; bRgb tells
    // the image's channel order (false: blue, green, red as OpenCV decodes).
    static void Fill(const cv::Mat& image, bool bRgb, const QSize& netSize, cv::Mat& blob);
    // A box the network gives as centre and size relative to its input, as a rectangle in the image's pixels
    // (not clipped).
    static QRectF ToImage(float fX, float fY, float fWidth, float fHeight, const QSize& imageSize,
                          const QSize& netSize);
};
