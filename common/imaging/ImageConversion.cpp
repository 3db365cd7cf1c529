#include "imaging/ImageConversion.h"

#include "Utils/COvrelImage.h"

#include <QImage>
#include <QSysInfo>

#include <algorithm>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace
{

using Ovrel::Utils::COvrelImage;
using Ovrel::Utils::EOvrelResult_OK;

constexpr int kChannels = 4;
constexpr int kRowAlignment = 4;

uint32_t Load32(const uchar* pBytes)
{
    uint32_t nValue;
    std::memcpy(&nValue, pBytes, sizeof(nValue));
    return nValue;
}

void Store32(uchar* pBytes, uint32_t nValue)
{
    std::memcpy(pBytes, &nValue, sizeof(nValue));
}

// R, G, B bytes to R, G, B, 255, four pixels (three words) at a time. Little-endian words.
void Rgb888Row(const uchar* pIn, uchar* pOut, int nWidth)
{
    constexpr uint32_t kOpaque = 0xFF000000u;
    int x = 0;
    for (; x + 4 <= nWidth; x += 4, pIn += 12, pOut += 16)
    {
        const uint32_t a = Load32(pIn);     // r0 g0 b0 r1
        const uint32_t b = Load32(pIn + 4); // g1 b1 r2 g2
        const uint32_t c = Load32(pIn + 8); // b2 r3 g3 b3
        Store32(pOut, a | kOpaque);
        Store32(pOut + 4, (a >> 24) | (b << 8) | kOpaque);
        Store32(pOut + 8, (b >> 16) | (c << 16) | kOpaque);
        Store32(pOut + 12, (c >> 8) | kOpaque);
    }
    for (; x < nWidth; ++x, pIn += 3, pOut += 4)
    {
        pOut[0] = pIn[0];
        pOut[1] = pIn[1];
        pOut[2] = pIn[2];
        pOut[3] = 0xFF;
    }
}

// 0xAARRGGBB words to R, G, B, A bytes: red and blue change places. Little-endian words. Four
// pixels at a time where SSE2 is there, which Qt's own conversion uses as well.
void Argb32Row(const uchar* pIn, uchar* pOut, int nWidth, uint32_t nForceAlpha)
{
    int x = 0;
#if defined(__SSE2__)
    const __m128i alphaGreen = _mm_set1_epi32(static_cast<int>(0xFF00FF00u));
    const __m128i low = _mm_set1_epi32(0xFF);
    const __m128i high = _mm_set1_epi32(0xFF0000);
    const __m128i forceAlpha = _mm_set1_epi32(static_cast<int>(nForceAlpha));
    for (; x + 4 <= nWidth; x += 4, pIn += 16, pOut += 16)
    {
        const __m128i p = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pIn));
        const __m128i redBlue =
            _mm_or_si128(_mm_and_si128(_mm_srli_epi32(p, 16), low), _mm_and_si128(_mm_slli_epi32(p, 16), high));
        const __m128i result = _mm_or_si128(_mm_or_si128(_mm_and_si128(p, alphaGreen), redBlue), forceAlpha);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(pOut), result);
    }
#endif
    for (; x < nWidth; ++x, pIn += 4, pOut += 4)
    {
        const uint32_t p = Load32(pIn);
        Store32(pOut, (p & 0xFF00FF00u) | ((p >> 16) & 0xFFu) | ((p & 0xFFu) << 16) | nForceAlpha);
    }
}

// The formats a screen grab or a clipboard image usually has, converted here straight into the
// target's rows: one pass over the pixels, where converting first and copying after takes two.
bool CanConvertDirectly(QImage::Format format)
{
    return QSysInfo::ByteOrder == QSysInfo::LittleEndian &&
           (format == QImage::Format_RGB888 || format == QImage::Format_RGB32 || format == QImage::Format_ARGB32 ||
            format == QImage::Format_RGBA8888);
}

bool ConvertDirectly(const QImage& source, COvrelImage& target)
{
    if (target.Allocate(source.width(), source.height(), kChannels, kRowAlignment) != EOvrelResult_OK)
        return false;
    const int nWidth = source.width();
    unsigned char* const* ppRows = target.GetRows();
    for (int y = 0; y < source.height(); ++y)
    {
        const uchar* pIn = source.constScanLine(y);
        switch (source.format())
        {
        case QImage::Format_RGB888:
            Rgb888Row(pIn, ppRows[y], nWidth);
            break;
        case QImage::Format_RGBA8888:
            std::memcpy(ppRows[y], pIn, static_cast<size_t>(nWidth) * kChannels);
            break;
        case QImage::Format_RGB32:
            Argb32Row(pIn, ppRows[y], nWidth, 0xFF000000u);
            break;
        default:
            Argb32Row(pIn, ppRows[y], nWidth, 0u);
            break;
        }
    }
    return true;
}

QImage::Format FormatFor(int nChannels)
{
    return nChannels == 1   ? QImage::Format_Grayscale8
           : nChannels == 4 ? QImage::Format_RGBA8888
                            : QImage::Format_RGB888;
}

} // namespace

bool ImageFromQImage(const QImage& source, COvrelImage* pTarget)
{
    if (source.isNull() || !pTarget)
        return false;
    if (CanConvertDirectly(source.format()))
        return ConvertDirectly(source, *pTarget);

    const QImage converted = source.convertToFormat(QImage::Format_RGBA8888);
    if (converted.isNull())
        return false;
    if (pTarget->Allocate(converted.width(), converted.height(), kChannels, kRowAlignment) != EOvrelResult_OK)
        return false;
    const size_t nBytes = static_cast<size_t>(std::min(converted.bytesPerLine(), pTarget->GetBytesPerLine()));
    unsigned char* const* ppRows = pTarget->GetRows();
    for (int y = 0; y < pTarget->GetHeight(); ++y)
        std::memcpy(ppRows[y], converted.constScanLine(y), nBytes);
    return true;
}

bool ImageToQImage(const Ovrel::Utils::COvrelImage* pSource, QImage& target, bool bDeepCopy)
{
    if (!pSource)
        return false;
    // The const-data constructor makes Qt copy before any write, so the library image can only
    // change through its own interface.
    const QImage wrapped(pSource->GetData(), pSource->GetWidth(), pSource->GetHeight(), pSource->GetBytesPerLine(),
                         FormatFor(pSource->GetChannels()));
    target = bDeepCopy ? wrapped.copy() : wrapped;
    return !target.isNull();
}

bool ImageToQImage(const std::shared_ptr<const Ovrel::Utils::COvrelImage>& pSource, QImage& target)
{
    if (!pSource)
        return false;
    const std::shared_ptr<const unsigned char> pPixels = pSource->GetSharedData();
    if (!pPixels)
    {
        target = QImage();
        return false;
    }
    // Qt calls the cleanup function when the last QImage sharing this data goes.
    auto* pShare = new std::shared_ptr<const unsigned char>(pPixels);
    const QImage wrapped(
        pPixels.get(), pSource->GetWidth(), pSource->GetHeight(), pSource->GetBytesPerLine(),
        FormatFor(pSource->GetChannels()),
        [](void* pInfo) { delete static_cast<std::shared_ptr<const unsigned char>*>(pInfo); }, pShare);
    if (wrapped.isNull())
    {
        // Qt keeps no cleanup function for an image it could not make.
        delete pShare;
        target = QImage();
        return false;
    }
    target = wrapped;
    return true;
}
