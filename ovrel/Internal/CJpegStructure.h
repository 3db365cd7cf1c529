#pragma once

#include <cstddef>

namespace Ovrel
{
namespace Internal
{

// The marker structure of a JPEG file, walked without decoding: the frame header's size and
// whether the file runs on to its end-of-image marker. libjpeg only warns when the data stops
// early and fills the rest of the picture with grey, so a cut-off file is recognised here.
class CJpegStructure
{
public:
    struct SInfo
    {
        bool bFrame = false;    // a frame header (SOFn) was found
        int nWidth = 0;         // of the first frame header
        int nHeight = 0;        // 0 when the height is given later (DNL)
        int nComponents = 0;    // 1 grey, 3 colour, 4 CMYK
        bool bComplete = false; // the end-of-image marker follows the last scan
    };

    // Walks from the start-of-image marker to the first end-of-image marker. Returns false when the
    // data does not start like a JPEG or a segment is malformed; info holds what was found.
    static bool Walk(const unsigned char* pData, size_t nSize, SInfo& info);
};

} // namespace Internal
} // namespace Ovrel
