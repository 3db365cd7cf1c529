#include "Internal/CPngOrientation.h"

#include "Internal/CImageCodecLibrary.h"

#include <opencv2/imgcodecs.hpp>

#include <cstdint>
#include <cstring>
#include <vector>

namespace Ovrel
{
namespace Internal
{

namespace
{

constexpr size_t kSignatureBytes = 8;
constexpr int kWays = 8;

struct SChunk
{
    size_t nOffset; // of the length field
    size_t nBytes;  // length field, type, data and CRC
    char type[4];
};

// The chunks up to IEND or up to where the data stops.
std::vector<SChunk> Chunks(const unsigned char* pData, size_t nSize)
{
    std::vector<SChunk> vctChunks;
    size_t nPos = kSignatureBytes;
    while (nPos + 12 <= nSize)
    {
        const uint32_t nLength = (uint32_t(pData[nPos]) << 24) | (uint32_t(pData[nPos + 1]) << 16) |
                                 (uint32_t(pData[nPos + 2]) << 8) | uint32_t(pData[nPos + 3]);
        const size_t nBytes = size_t(nLength) + 12;
        if (nBytes > nSize - nPos)
            break;
        SChunk chunk{nPos, nBytes, {}};
        std::memcpy(chunk.type, pData + nPos + 4, 4);
        vctChunks.push_back(chunk);
        nPos += nBytes;
        if (std::memcmp(chunk.type, "IEND", 4) == 0)
            break;
    }
    return vctChunks;
}

bool IsType(const SChunk& chunk, const char* szType)
{
    return std::memcmp(chunk.type, szType, 4) == 0;
}

// A 3 x 2 grey picture whose eight layings-down all differ, as PNG bytes.
const std::vector<uchar>& ProbePicture()
{
    static const std::vector<uchar> s_vctProbe = []
    {
        const cv::Mat picture = (cv::Mat_<uchar>(2, 3) << 10, 20, 30, 40, 50, 60);
        std::vector<uchar> vctBytes;
        CImageCodecLibrary::Get().Encode(".png", picture, vctBytes);
        return vctBytes;
    }();
    return s_vctProbe;
}

} // namespace

void CPngOrientation::Apply(const unsigned char* pData, size_t nSize, cv::Mat& image)
{
    const int nWay = FindWay(pData, nSize);
    if (nWay == 0)
        return;
    cv::Mat turned;
    Transform(nWay, image, turned);
    image = turned;
}

void CPngOrientation::Transform(int nWay, const cv::Mat& image, cv::Mat& result)
{
    // A fresh matrix for the transpose: a square one would otherwise be transposed in place.
    cv::Mat laid;
    if (nWay >= 4)
        cv::transpose(image, laid);
    else
        laid = image;
    switch (nWay % 4)
    {
    case 1:
        cv::flip(laid, result, 1); // left to right
        return;
    case 2:
        cv::flip(laid, result, 0); // top to bottom
        return;
    case 3:
        cv::flip(laid, result, -1); // both: a half turn
        return;
    default:
        result = laid;
        return;
    }
}

int CPngOrientation::FindWay(const unsigned char* pData, size_t nSize)
{
    // Rather than reading the EXIF data with a parser of its own (whose reading of odd files may
    // differ from OpenCV's), the file's eXIf chunks are put into a tiny picture at the same place
    // relative to the image data, and OpenCV shows how it turns that one.
    const std::vector<SChunk> vctChunks = Chunks(pData, nSize);
    std::vector<uchar> vctBefore;
    std::vector<uchar> vctAfter;
    bool bImageData = false;
    for (const SChunk& chunk : vctChunks)
    {
        bImageData = bImageData || IsType(chunk, "IDAT");
        if (IsType(chunk, "eXIf"))
            (bImageData ? vctAfter : vctBefore)
                .insert((bImageData ? vctAfter : vctBefore).end(), pData + chunk.nOffset,
                        pData + chunk.nOffset + chunk.nBytes);
    }
    if (vctBefore.empty() && vctAfter.empty())
        return 0;

    const std::vector<uchar>& vctProbe = ProbePicture();
    std::vector<uchar> vctAssembled(vctProbe.begin(), vctProbe.begin() + kSignatureBytes);
    bool bInserted = false;
    for (const SChunk& chunk : Chunks(vctProbe.data(), vctProbe.size()))
    {
        if (IsType(chunk, "IDAT") && !bInserted)
        {
            vctAssembled.insert(vctAssembled.end(), vctBefore.begin(), vctBefore.end());
            bInserted = true;
        }
        if (IsType(chunk, "IEND"))
            vctAssembled.insert(vctAssembled.end(), vctAfter.begin(), vctAfter.end());
        vctAssembled.insert(vctAssembled.end(), vctProbe.begin() + chunk.nOffset,
                            vctProbe.begin() + chunk.nOffset + chunk.nBytes);
    }
    cv::Mat turnedProbe;
    try
    {
        turnedProbe = CImageCodecLibrary::Get().Decode(vctAssembled, cv::IMREAD_GRAYSCALE);
    }
    catch (const cv::Exception&)
    {
        return 0;
    }
    if (turnedProbe.empty())
        return 0;
    const cv::Mat probe = CImageCodecLibrary::Get().Decode(vctProbe, cv::IMREAD_GRAYSCALE);
    for (int nWay = 0; nWay < kWays; ++nWay)
    {
        cv::Mat candidate;
        Transform(nWay, probe, candidate);
        if (candidate.size() == turnedProbe.size() && cv::countNonZero(candidate != turnedProbe) == 0)
            return nWay;
    }
    return 0;
}

} // namespace Internal
} // namespace Ovrel
