#pragma once

#include "Utils/EOvrelResult.h"

#include <opencv2/core.hpp>

namespace Ovrel
{
namespace Internal
{

// Pixel matrices whose rows start at a multiple of a given byte alignment, the layout that
// COvrelImage promises to its callers.
class CAlignedMat
{
public:
    // Largest pixel buffer an image may hold, so that QImage (int sizes) can always wrap it.
    static constexpr long long kMaxBytes = 0x7fffffffLL;

    static bool IsValidAlignment(int nAlignment);
    static long long BytesPerLine(int nWidth, int nChannels, int nAlignment);

    // An uninitialised 8-bit matrix with the aligned row stride.
    static Utils::EOvrelResult Allocate(int nWidth, int nHeight, int nChannels, int nAlignment, cv::Mat& result);

    // Copies the pixels of a matrix into one of the same size and type made by Allocate (the strides may differ)
    // and clears the target's row padding; on several threads when the picture is large. The pixels inside skip
    // are left as they are in the target, for a caller about to write them.
    static void Copy(const cv::Mat& source, cv::Mat& target, const cv::Rect& skip = cv::Rect());

    static bool IsAligned(const cv::Mat& mat, int nAlignment);

    // The matrix itself when it is already aligned, otherwise an aligned copy; EOvrelResult_TooLarge
    // beyond kMaxBytes.
    static Utils::EOvrelResult MakeAligned(const cv::Mat& mat, int nAlignment, cv::Mat& result);
};

} // namespace Internal
} // namespace Ovrel
