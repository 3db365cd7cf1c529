#include "Internal/CAlignedMat.h"

#include "Internal/CLargeBufferAllocator.h"

#include <cstdint>
#include <cstring>

namespace Ovrel
{
namespace Internal
{

bool CAlignedMat::IsValidAlignment(int nAlignment)
{
    return nAlignment >= 1 && nAlignment <= 64 && (nAlignment & (nAlignment - 1)) == 0;
}

long long CAlignedMat::BytesPerLine(int nWidth, int nChannels, int nAlignment)
{
    const long long packed = static_cast<long long>(nWidth) * nChannels;
    return (packed + nAlignment - 1) / nAlignment * nAlignment;
}

Utils::EOvrelResult CAlignedMat::Allocate(int nWidth, int nHeight, int nChannels, int nAlignment, cv::Mat& result)
{
    if (nWidth <= 0 || nHeight <= 0 || nChannels < 1 || nChannels > 4 || !IsValidAlignment(nAlignment))
        return Utils::EOvrelResult_InvalidArgument;
    const long long packed = static_cast<long long>(nWidth) * nChannels;
    const long long stride = (packed + nAlignment - 1) / nAlignment * nAlignment;
    if (stride > kMaxBytes || stride * nHeight > kMaxBytes)
        return Utils::EOvrelResult_TooLarge;
    // One byte-wide matrix per row of the stride, viewed as nWidth pixels: the view shares the
    // buffer (and its reference count) and keeps the padded stride. OpenCV allocates on a 64-byte
    // boundary, so every row start is aligned as well.
    cv::Mat buffer;
    if (stride * nHeight >= static_cast<long long>(CLargeBufferAllocator::kMinBytes))
        buffer.allocator = CLargeBufferAllocator::Instance();
    buffer.create(nHeight, static_cast<int>(stride), CV_8UC1);
    result = buffer.colRange(0, static_cast<int>(packed)).reshape(nChannels);
    return Utils::EOvrelResult_OK;
}

bool CAlignedMat::IsAligned(const cv::Mat& mat, int nAlignment)
{
    if (mat.empty() || mat.depth() != CV_8U || mat.dims != 2)
        return false;
    const auto address = reinterpret_cast<std::uintptr_t>(mat.data);
    return address % static_cast<std::uintptr_t>(nAlignment) == 0 &&
           static_cast<long long>(mat.step[0]) == BytesPerLine(mat.cols, mat.channels(), nAlignment);
}

Utils::EOvrelResult CAlignedMat::MakeAligned(const cv::Mat& mat, int nAlignment, cv::Mat& result)
{
    const long long stride = BytesPerLine(mat.cols, mat.channels(), nAlignment);
    if (stride > kMaxBytes || stride * mat.rows > kMaxBytes)
        return Utils::EOvrelResult_TooLarge;
    if (IsAligned(mat, nAlignment))
    {
        result = mat;
        return Utils::EOvrelResult_OK;
    }
    cv::Mat aligned;
    const Utils::EOvrelResult allocated = Allocate(mat.cols, mat.rows, mat.channels(), nAlignment, aligned);
    if (allocated != Utils::EOvrelResult_OK)
        return allocated;
    Copy(mat, aligned);
    result = aligned;
    return Utils::EOvrelResult_OK;
}

void CAlignedMat::Copy(const cv::Mat& source, cv::Mat& target, const cv::Rect& skip)
{
    CV_Assert(source.size() == target.size() && source.type() == target.type());
    const size_t nPixelBytes = source.elemSize();
    const size_t nRowBytes = static_cast<size_t>(source.cols) * nPixelBytes;
    const cv::Rect gap = skip & cv::Rect(0, 0, source.cols, source.rows);
    const size_t nGapStart = static_cast<size_t>(gap.x) * nPixelBytes;
    const size_t nGapEnd = static_cast<size_t>(gap.x + gap.width) * nPixelBytes;
    // Padding at the row ends is cleared, so that the whole buffer holds defined bytes.
    const size_t nPadding = target.step[0] > nRowBytes ? target.step[0] - nRowBytes : 0;
    const auto copyRows = [&](const cv::Range& rows)
    {
        for (int y = rows.start; y < rows.end; ++y)
        {
            uchar* const pTarget = target.ptr(y);
            const uchar* const pSource = source.ptr(y);
            if (gap.empty() || y < gap.y || y >= gap.y + gap.height)
            {
                std::memcpy(pTarget, pSource, nRowBytes);
            }
            else
            {
                std::memcpy(pTarget, pSource, nGapStart);
                std::memcpy(pTarget + nGapEnd, pSource + nGapEnd, nRowBytes - nGapEnd);
            }
            if (nPadding > 0)
                std::memset(pTarget + nRowBytes, 0, nPadding);
        }
    };
    if (static_cast<long long>(nRowBytes) * source.rows < static_cast<long long>(CLargeBufferAllocator::kMinBytes))
        copyRows(cv::Range(0, source.rows));
    else
        // A large copy is bound by the memory bus and the page faults of the new buffer; both scale with threads.
        cv::parallel_for_(cv::Range(0, source.rows), copyRows, 8);
}

} // namespace Internal
} // namespace Ovrel
