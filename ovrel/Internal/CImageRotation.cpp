#include "Internal/CImageRotation.h"

#include "Internal/CAlignedMat.h"
#include "Utils/EOvrelInterpolation.h"

#include <opencv2/imgproc.hpp>

#include <cmath>

namespace Ovrel
{
namespace Internal
{

using Utils::EOvrelResult;

namespace
{
constexpr double kQuarterTurnTolerance = 1e-6;
} // namespace

int CImageRotation::QuarterTurns(double dblAngle)
{
    // The tolerance is in radians and wide enough for pi/2 given as a float (off by 4.4e-8).
    const double nearest = std::round(dblAngle / (M_PI / 2.0));
    if (std::fabs(dblAngle - nearest * (M_PI / 2.0)) > kQuarterTurnTolerance)
        return -1;
    const long long whole = static_cast<long long>(std::fmod(nearest, 4.0));
    return static_cast<int>((whole % 4 + 4) % 4);
}

EOvrelResult CImageRotation::Rotate(const cv::Mat& image, int nRowAlignment, double dblAngle, double dblBackground,
                                    int nInterpolation, cv::Mat& result)
{
    if (!std::isfinite(dblAngle) || !std::isfinite(dblBackground) ||
        nInterpolation < Utils::EOvrelInterpolation_Nearest || nInterpolation > Utils::EOvrelInterpolation_Cubic)
        return Utils::EOvrelResult_InvalidArgument;
    if (image.empty())
        return Utils::EOvrelResult_Empty;

    const int nQuarterTurns = QuarterTurns(dblAngle);
    if (nQuarterTurns == 0)
    {
        result = image;
        return Utils::EOvrelResult_OK;
    }
    if (nQuarterTurns > 0)
    {
        const bool bSwap = nQuarterTurns != 2;
        cv::Mat turned;
        const EOvrelResult allocated = CAlignedMat::Allocate(
            bSwap ? image.rows : image.cols, bSwap ? image.cols : image.rows, image.channels(), nRowAlignment, turned);
        if (allocated != Utils::EOvrelResult_OK)
            return allocated;
        const int nCode = nQuarterTurns == 1   ? cv::ROTATE_90_CLOCKWISE
                          : nQuarterTurns == 2 ? cv::ROTATE_180
                                               : cv::ROTATE_90_COUNTERCLOCKWISE;
        cv::rotate(image, turned, nCode);
        result = turned;
        return Utils::EOvrelResult_OK;
    }

    // Any other angle: the canvas grows to the bounding box of the turned picture, whose centre
    // lands on the centre of the new canvas. Pixel centres sit on whole numbers in OpenCV, so the
    // picture's centre is ((w - 1) / 2, (h - 1) / 2).
    const double cosine = std::fabs(std::cos(dblAngle));
    const double sine = std::fabs(std::sin(dblAngle));
    const double width = image.cols * cosine + image.rows * sine;
    const double height = image.cols * sine + image.rows * cosine;
    const int nWidth = std::max(1, static_cast<int>(std::ceil(width - 1e-6)));
    const int nHeight = std::max(1, static_cast<int>(std::ceil(height - 1e-6)));
    cv::Mat turned;
    const EOvrelResult allocated = CAlignedMat::Allocate(nWidth, nHeight, image.channels(), nRowAlignment, turned);
    if (allocated != Utils::EOvrelResult_OK)
        return allocated;
    const cv::Point2d centre((image.cols - 1) / 2.0, (image.rows - 1) / 2.0);
    // OpenCV's positive angle turns anticlockwise on screen.
    cv::Mat transform = cv::getRotationMatrix2D(centre, -dblAngle * 180.0 / M_PI, 1.0);
    transform.at<double>(0, 2) += (nWidth - 1) / 2.0 - centre.x;
    transform.at<double>(1, 2) += (nHeight - 1) / 2.0 - centre.y;
    cv::warpAffine(image, turned, transform, turned.size(), nInterpolation, cv::BORDER_CONSTANT,
                   cv::Scalar::all(dblBackground));
    result = turned;
    return Utils::EOvrelResult_OK;
}

} // namespace Internal
} // namespace Ovrel
