#include "Internal/CImageHeader.h"

#include "Internal/CAlignedMat.h"
#include "Internal/CJpegStructure.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace Ovrel
{
namespace Internal
{

namespace
{

constexpr int kRowAlignment = 4;

uint32_t Read32Big(const unsigned char* p)
{
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | uint32_t(p[3]);
}

uint32_t Read32Little(const unsigned char* p)
{
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

// Sizes beyond int are over any limit anyway; they are kept at INT_MAX so the check refuses them.
int ToInt(uint32_t value)
{
    return value > 0x7fffffffu ? 0x7fffffff : static_cast<int>(value);
}

} // namespace

bool CImageHeader::Read(const unsigned char* pData, size_t nSize, SSize& size)
{
    size = SSize();
    return ReadPng(pData, nSize, size) || ReadJpeg(pData, nSize, size) || ReadTiff(pData, nSize, size) ||
           ReadBmp(pData, nSize, size) || ReadWithQt(pData, nSize, size);
}

bool CImageHeader::ExceedsLimit(const SSize& size)
{
    const long long nStride = CAlignedMat::BytesPerLine(size.nWidth, size.nChannels, kRowAlignment);
    return nStride > CAlignedMat::kMaxBytes || nStride * size.nHeight > CAlignedMat::kMaxBytes;
}

bool CImageHeader::ReadPng(const unsigned char* pData, size_t nSize, SSize& size)
{
    // Signature, then the IHDR chunk: length, "IHDR", width, height, bit depth, colour type.
    static const unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (nSize < 26 || std::memcmp(pData, kSignature, 8) != 0 || std::memcmp(pData + 12, "IHDR", 4) != 0)
        return false;
    size.nWidth = ToInt(Read32Big(pData + 16));
    size.nHeight = ToInt(Read32Big(pData + 20));
    switch (pData[25])
    {
    case 0: // grey
        size.nChannels = 1;
        break;
    case 4: // grey with alpha
    case 6: // colour with alpha
        size.nChannels = 4;
        break;
    default: // colour, palette
        size.nChannels = 3;
        break;
    }
    return true;
}

bool CImageHeader::ReadJpeg(const unsigned char* pData, size_t nSize, SSize& size)
{
    CJpegStructure::SInfo info;
    if (!CJpegStructure::Walk(pData, nSize, info) || !info.bFrame)
        return false;
    size.nWidth = info.nWidth;
    size.nHeight = info.nHeight;
    size.nChannels = info.nComponents == 1 ? 1 : 3;
    return true;
}

bool CImageHeader::ReadTiff(const unsigned char* pData, size_t nSize, SSize& size)
{
    if (nSize < 8)
        return false;
    const bool bLittle = std::memcmp(pData, "II*\0", 4) == 0;
    if (!bLittle && std::memcmp(pData, "MM\0*", 4) != 0)
        return false;
    const auto read16 = [&](size_t nAt) -> uint32_t
    { return bLittle ? (pData[nAt] | (pData[nAt + 1] << 8)) : ((pData[nAt] << 8) | pData[nAt + 1]); };
    const auto read32 = [&](size_t nAt) { return bLittle ? Read32Little(pData + nAt) : Read32Big(pData + nAt); };
    const size_t nDirectory = read32(4);
    if (nDirectory + 2 > nSize)
        return false;
    const size_t nEntries = read16(nDirectory);
    bool bWidth = false;
    bool bHeight = false;
    uint32_t nSamples = 1;
    for (size_t i = 0; i < nEntries && nDirectory + 2 + (i + 1) * 12 <= nSize; ++i)
    {
        // Tag, type (3 SHORT, 4 LONG), count, value; the values asked for fit in the entry.
        const size_t nEntry = nDirectory + 2 + i * 12;
        const uint32_t nTag = read16(nEntry);
        const uint32_t nType = read16(nEntry + 2);
        const uint32_t nValue = nType == 3 ? read16(nEntry + 8) : read32(nEntry + 8);
        if (nType != 3 && nType != 4)
            continue;
        if (nTag == 256)
        {
            size.nWidth = ToInt(nValue);
            bWidth = true;
        }
        else if (nTag == 257)
        {
            size.nHeight = ToInt(nValue);
            bHeight = true;
        }
        else if (nTag == 277)
        {
            nSamples = nValue;
        }
    }
    size.nChannels = nSamples >= 3 ? 3 : 1;
    return bWidth && bHeight;
}

bool CImageHeader::ReadBmp(const unsigned char* pData, size_t nSize, SSize& size)
{
    if (nSize < 26 || pData[0] != 'B' || pData[1] != 'M')
        return false;
    const uint32_t nHeaderSize = Read32Little(pData + 14);
    if (nHeaderSize == 12)
    {
        // The old OS/2 header with 16-bit sizes.
        size.nWidth = pData[18] | (pData[19] << 8);
        size.nHeight = pData[20] | (pData[21] << 8);
        size.nChannels = pData[24] <= 8 ? 1 : 3;
        return true;
    }
    if (nSize < 30)
        return false;
    // The height is negative for pictures stored top row first.
    size.nWidth = ToInt(Read32Little(pData + 18));
    const int32_t nHeight = static_cast<int32_t>(Read32Little(pData + 22));
    size.nHeight = nHeight == INT32_MIN ? 0x7fffffff : std::abs(nHeight);
    size.nChannels = (pData[28] | (pData[29] << 8)) <= 8 ? 1 : 3;
    return true;
}

bool CImageHeader::ReadWithQt(const unsigned char* pData, size_t nSize, SSize& size)
{
    if (nSize > static_cast<size_t>(0x7fffffff))
        return false;
    QByteArray data = QByteArray::fromRawData(reinterpret_cast<const char*>(pData), static_cast<int>(nSize));
    QBuffer buffer(&data);
    if (!buffer.open(QIODevice::ReadOnly))
        return false;
    QImageReader reader(&buffer);
    const QSize readSize = reader.size();
    if (!readSize.isValid())
        return false;
    size.nWidth = readSize.width();
    size.nHeight = readSize.height();
    size.nChannels = 1;
    return true;
}

} // namespace Internal
} // namespace Ovrel
