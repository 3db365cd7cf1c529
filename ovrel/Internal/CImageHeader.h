#pragma once

#include <cstddef>

namespace Ovrel
{
namespace Internal
{

// The size of a picture read from its file header alone, so that an image too large to hold is
// refused before anything is decoded or allocated (a few kilobytes can claim gigabytes).
class CImageHeader
{
public:
    struct SSize
    {
        int nWidth = 0;
        int nHeight = 0;
        // The fewest channels the decoded image can have (alpha that only a later chunk reveals
        // is not counted), so a refusal never hits an image that would fit.
        int nChannels = 1;
    };

    // PNG, JPEG, TIFF and BMP are read here, other formats through Qt's image readers. Returns
    // false when the format is unknown to both or the header is cut short.
    static bool Read(const unsigned char* pData, size_t nSize, SSize& size);

    // Whether the decoded image would exceed the size limit of an image (CAlignedMat::kMaxBytes).
    static bool ExceedsLimit(const SSize& size);

private:
    static bool ReadPng(const unsigned char* pData, size_t nSize, SSize& size);
    static bool ReadJpeg(const unsigned char* pData, size_t nSize, SSize& size);
    static bool ReadTiff(const unsigned char* pData, size_t nSize, SSize& size);
    static bool ReadBmp(const unsigned char* pData, size_t nSize, SSize& size);
    static bool ReadWithQt(const unsigned char* pData, size_t nSize, SSize& size);
};

} // namespace Internal
} // namespace Ovrel
