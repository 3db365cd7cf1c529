#include "Internal/CJpegStructure.h"

#include <cstring>

namespace Ovrel
{
namespace Internal
{

namespace
{

constexpr unsigned char kMarker = 0xFF;
constexpr unsigned char kStartOfImage = 0xD8;
constexpr unsigned char kEndOfImage = 0xD9;
constexpr unsigned char kStartOfScan = 0xDA;

bool IsStandalone(unsigned char marker)
{
    // TEM, RST0..7 and a stuffed zero carry no length.
    return marker == 0x01 || marker == 0x00 || (marker >= 0xD0 && marker <= 0xD7);
}

bool IsFrameHeader(unsigned char marker)
{
    // SOF0..SOF15 without DHT (C4), JPG (C8) and DAC (CC).
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

int Read16(const unsigned char* pData)
{
    return (pData[0] << 8) | pData[1];
}

// Skips entropy-coded data: it ends at the first 0xFF that is neither stuffing (FF 00), a
// restart marker (FF D0..D7) nor fill (FF FF).
size_t SkipScan(const unsigned char* pData, size_t nSize, size_t nPos)
{
    while (nPos < nSize)
    {
        const void* pFound = std::memchr(pData + nPos, kMarker, nSize - nPos);
        if (!pFound)
            return nSize;
        nPos = static_cast<size_t>(static_cast<const unsigned char*>(pFound) - pData);
        if (nPos + 1 >= nSize)
            return nSize;
        const unsigned char next = pData[nPos + 1];
        if (next == 0x00 || (next >= 0xD0 && next <= 0xD7))
            nPos += 2;
        else if (next == kMarker)
            nPos += 1;
        else
            return nPos;
    }
    return nSize;
}

} // namespace

bool CJpegStructure::Walk(const unsigned char* pData, size_t nSize, SInfo& info)
{
    info = SInfo();
    if (nSize < 2 || pData[0] != kMarker || pData[1] != kStartOfImage)
        return false;
    size_t nPos = 2;
    while (nPos < nSize)
    {
        // libjpeg skips stray bytes before a marker (with a warning), and so does this walk.
        const void* pFound = std::memchr(pData + nPos, kMarker, nSize - nPos);
        if (!pFound)
            return true;
        nPos = static_cast<size_t>(static_cast<const unsigned char*>(pFound) - pData);
        while (nPos < nSize && pData[nPos] == kMarker)
            ++nPos;
        if (nPos >= nSize)
            return true;
        const unsigned char marker = pData[nPos++];
        if (marker == kEndOfImage)
        {
            info.bComplete = true;
            return true;
        }
        if (IsStandalone(marker))
            continue;
        if (nPos + 2 > nSize)
            return true;
        const size_t nLength = static_cast<size_t>(Read16(pData + nPos));
        if (nLength < 2)
            return false;
        if (nPos + nLength > nSize)
            return true;
        if (IsFrameHeader(marker) && !info.bFrame && nLength >= 8)
        {
            info.bFrame = true;
            info.nHeight = Read16(pData + nPos + 3);
            info.nWidth = Read16(pData + nPos + 5);
            info.nComponents = pData[nPos + 7];
        }
        nPos += nLength;
        if (marker == kStartOfScan)
            nPos = SkipScan(pData, nSize, nPos);
    }
    return true;
}

} // namespace Internal
} // namespace Ovrel
