#include "Internal/CImageCodec.h"

#include "Internal/CImageCodecLibrary.h"
#include "Internal/CImageHeader.h"
#include "Internal/CJpegStructure.h"
#include "Internal/CPathText.h"
#include "Internal/CPngOrientation.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QString>

#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <new>
#include <sys/stat.h>
#include <utility>
#include <vector>

namespace Ovrel
{
namespace Internal
{

using Utils::EOvrelResult;

namespace
{

// Qt's GIF reader hands back whatever part of a cut-off file it managed to decode. Walking the
// block structure up to the end of the first picture's data (the one that is read) lets a
// truncated GIF fail like every other truncated file does.
bool HasCompleteFirstPicture(const QByteArray& data)
{
    const auto* pBytes = reinterpret_cast<const unsigned char*>(data.constData());
    const long long nSize = data.size();
    long long nPos = 13; // signature and logical screen descriptor
    if (nSize < nPos)
        return false;
    if (pBytes[10] & 0x80)
        nPos += 3LL << ((pBytes[10] & 0x07) + 1);
    auto skipSubBlocks = [&]() -> bool
    {
        while (nPos < nSize)
        {
            const int nLength = pBytes[nPos++];
            if (nLength == 0)
                return true;
            nPos += nLength;
        }
        return false;
    };
    while (nPos < nSize)
    {
        const unsigned char introducer = pBytes[nPos++];
        if (introducer == 0x21) // extension: label, then sub-blocks
        {
            ++nPos;
            if (!skipSubBlocks())
                return false;
        }
        else if (introducer == 0x2C) // picture: descriptor, local colours, code size, sub-blocks
        {
            if (nPos + 9 > nSize)
                return false;
            const unsigned char flags = pBytes[nPos + 8];
            nPos += 9;
            if (flags & 0x80)
                nPos += 3LL << ((flags & 0x07) + 1);
            ++nPos;
            return nPos <= nSize && skipSubBlocks();
        }
        else
        {
            return false; // the trailer or garbage before any picture
        }
    }
    return false;
}

} // namespace

CImageCodec::EFileKind CImageCodec::Sniff(const unsigned char* pHeader, size_t nLength)
{
    if (nLength >= 3 && pHeader[0] == 0xFF && pHeader[1] == 0xD8 && pHeader[2] == 0xFF)
        return EFileKind::Jpeg;
    if (nLength >= 8 && std::memcmp(pHeader, "\x89PNG\r\n\x1a\n", 8) == 0)
        return EFileKind::Png;
    if (nLength >= 6 && (std::memcmp(pHeader, "GIF87a", 6) == 0 || std::memcmp(pHeader, "GIF89a", 6) == 0))
        return EFileKind::Gif;
    return EFileKind::Other;
}

EOvrelResult CImageCodec::Decode(const std::wstring& strPath, cv::Mat& result)
{
    if (strPath.empty())
        return Utils::EOvrelResult_InvalidArgument;
    const std::string strUtf8Path = CPathText::ToUtf8(strPath);
    struct stat status = {};
    if (::stat(strUtf8Path.c_str(), &status) != 0 || !S_ISREG(status.st_mode))
        return Utils::EOvrelResult_FileNotFound;
    std::vector<uchar> vctFile;
    std::ifstream file(strUtf8Path, std::ios::binary | std::ios::ate);
    if (!file)
        return Utils::EOvrelResult_FileNotFound;
    vctFile.resize(static_cast<size_t>(std::max<std::streamoff>(file.tellg(), 0)));
    file.seekg(0);
    file.read(reinterpret_cast<char*>(vctFile.data()), static_cast<std::streamsize>(vctFile.size()));
    vctFile.resize(static_cast<size_t>(std::max<std::streamsize>(file.gcount(), 0)));
    file.close();
    if (vctFile.empty())
        return Utils::EOvrelResult_DecodeFailed;

    // A small file can claim a picture of gigabytes: the header decides before any decoding.
    CImageHeader::SSize size;
    if (CImageHeader::Read(vctFile.data(), vctFile.size(), size) && CImageHeader::ExceedsLimit(size))
        return Utils::EOvrelResult_TooLarge;

    // The same decoder as the trainer, so that sizes and orientation agree; OpenCV 4.6 has no GIF
    // decoder, so GIF goes to Qt. Only a GIF signature takes that road: other files that OpenCV
    // rejects (truncated PNGs, say) must fail rather than be half-read by another decoder.
    const EFileKind kind = Sniff(vctFile.data(), vctFile.size());
    if (kind == EFileKind::Gif)
        return DecodeWithQt(vctFile, result);
    if (kind == EFileKind::Jpeg)
    {
        CJpegStructure::SInfo info;
        if (!CJpegStructure::Walk(vctFile.data(), vctFile.size(), info) || !info.bComplete)
            return Utils::EOvrelResult_DecodeFailed;
    }
    cv::Mat decoded;
    const EOvrelResult decodedResult = DecodeWithOpenCV(strUtf8Path, vctFile, kind, decoded);
    if (decodedResult != Utils::EOvrelResult_OK)
        return decodedResult;

    cv::Mat eightBit;
    const EOvrelResult depthResult = ToEightBit(decoded, eightBit);
    if (depthResult != Utils::EOvrelResult_OK)
        return depthResult;
    // The decoded buffer belongs to nobody else, so the channel order may be fixed in place.
    decoded.release();
    return ToRgbOrder(eightBit, result);
}

EOvrelResult CImageCodec::DecodeWithOpenCV(const std::string& strUtf8Path, const std::vector<uchar>& vctFile,
                                           EFileKind kind, cv::Mat& result)
{
    try
    {
        switch (kind)
        {
        case EFileKind::Jpeg:
            // No alpha to lose: flags that keep depth and grey let OpenCV apply the EXIF orientation.
            // The bytes checked above are the bytes decoded.
            result = CImageCodecLibrary::Get().Decode(vctFile, cv::IMREAD_ANYDEPTH | cv::IMREAD_ANYCOLOR);
            break;
        case EFileKind::Png:
            // IMREAD_UNCHANGED keeps alpha and depth but skips the orientation, which follows here.
            result = CImageCodecLibrary::Get().Decode(vctFile, cv::IMREAD_UNCHANGED);
            if (!result.empty())
                CPngOrientation::Apply(vctFile.data(), vctFile.size(), result);
            break;
        default:
            // From the file, as the trainer reads it: OpenCV decodes some formats only from files.
            // TIFF is turned by its own decoder; no other format's EXIF is read by OpenCV 4.6.
            result = CImageCodecLibrary::Get().Read(strUtf8Path, cv::IMREAD_UNCHANGED);
            break;
        }
    }
    catch (const cv::Exception&)
    {
        return Utils::EOvrelResult_DecodeFailed;
    }
    catch (const std::bad_alloc&)
    {
        return Utils::EOvrelResult_TooLarge;
    }
    return result.empty() ? Utils::EOvrelResult_DecodeFailed : Utils::EOvrelResult_OK;
}

EOvrelResult CImageCodec::DecodeWithQt(const std::vector<uchar>& vctFile, cv::Mat& result)
{
    if (vctFile.size() > static_cast<size_t>(0x7fffffff))
        return Utils::EOvrelResult_TooLarge;
    QByteArray data =
        QByteArray::fromRawData(reinterpret_cast<const char*>(vctFile.data()), static_cast<int>(vctFile.size()));
    if (!HasCompleteFirstPicture(data))
        return Utils::EOvrelResult_DecodeFailed;
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "gif");
    QImage image;
    if (!reader.read(&image) || image.isNull())
        return Utils::EOvrelResult_DecodeFailed;

    int nType = CV_8UC3;
    if (image.hasAlphaChannel())
    {
        image = image.convertToFormat(QImage::Format_RGBA8888);
        nType = CV_8UC4;
    }
    else if (image.isGrayscale())
    {
        image = image.convertToFormat(QImage::Format_Grayscale8);
        nType = CV_8UC1;
    }
    else
    {
        image = image.convertToFormat(QImage::Format_RGB888);
    }
    if (image.isNull())
        return Utils::EOvrelResult_TooLarge;
    const cv::Mat view(image.height(), image.width(), nType, const_cast<uchar*>(image.constBits()),
                       static_cast<size_t>(image.bytesPerLine()));
    // Qt's samples are already in R, G, B order.
    result = view.clone();
    return Utils::EOvrelResult_OK;
}

EOvrelResult CImageCodec::ToEightBit(const cv::Mat& image, cv::Mat& result)
{
    // Integer samples are mapped from their full range onto 0..255; floating-point samples are
    // taken as 0..1, the usual convention of HDR and scientific TIFFs.
    switch (image.depth())
    {
    case CV_8U:
        result = image;
        return Utils::EOvrelResult_OK;
    case CV_8S:
        image.convertTo(result, CV_8U, 1.0, 128.0);
        return Utils::EOvrelResult_OK;
    case CV_16U:
        image.convertTo(result, CV_8U, 1.0 / 257.0);
        return Utils::EOvrelResult_OK;
    case CV_16S:
        image.convertTo(result, CV_8U, 1.0 / 257.0, 32768.0 / 257.0);
        return Utils::EOvrelResult_OK;
    case CV_32S:
        image.convertTo(result, CV_8U, 1.0 / 16843009.0, 2147483648.0 / 16843009.0);
        return Utils::EOvrelResult_OK;
    case CV_32F:
    case CV_64F:
    case CV_16F:
        image.convertTo(result, CV_8U, 255.0);
        return Utils::EOvrelResult_OK;
    default:
        return Utils::EOvrelResult_DecodeFailed;
    }
}

EOvrelResult CImageCodec::ToRgbOrder(cv::Mat& image, cv::Mat& result)
{
    switch (image.channels())
    {
    case 1:
        result = image;
        return Utils::EOvrelResult_OK;
    case 2:
    {
        // Grey with alpha: spread the grey over R, G and B.
        result.create(image.size(), CV_8UC4);
        const int fromTo[] = {0, 0, 0, 1, 0, 2, 1, 3};
        cv::mixChannels(&image, 1, &result, 1, fromTo, 4);
        return Utils::EOvrelResult_OK;
    }
    case 3:
    case 4:
    {
        // Swapping in place in the freshly decoded buffer costs a few milliseconds on a 12
        // megapixel photo; cvtColor would write a new buffer and take ten times as long.
        const int nChannels = image.channels();
        for (int y = 0; y < image.rows; ++y)
        {
            uchar* pPixel = image.ptr<uchar>(y);
            uchar* const pEnd = pPixel + static_cast<size_t>(image.cols) * nChannels;
            for (; pPixel < pEnd; pPixel += nChannels)
                std::swap(pPixel[0], pPixel[2]);
        }
        result = image;
        return Utils::EOvrelResult_OK;
    }
    default:
        return Utils::EOvrelResult_DecodeFailed;
    }
}

EOvrelResult CImageCodec::Encode(const std::wstring& strPath, const cv::Mat& image)
{
    if (strPath.empty())
        return Utils::EOvrelResult_InvalidArgument;
    if (image.empty())
        return Utils::EOvrelResult_Empty;
    const std::string strExtension = CPathText::LowerExtension(strPath);
    const bool bJpeg = strExtension == "jpg" || strExtension == "jpeg";
    if (!bJpeg && strExtension != "bmp" && strExtension != "png" && strExtension != "tif" && strExtension != "tiff")
        return Utils::EOvrelResult_UnsupportedFormat;

    try
    {
        cv::Mat stored;
        if (image.channels() == 3)
            cv::cvtColor(image, stored, cv::COLOR_RGB2BGR);
        else if (image.channels() == 4)
            cv::cvtColor(image, stored, bJpeg ? cv::COLOR_RGBA2BGR : cv::COLOR_RGBA2BGRA);
        else
            stored = image;
        return CImageCodecLibrary::Get().Write(CPathText::ToUtf8(strPath), stored) ? Utils::EOvrelResult_OK
                                                                                   : Utils::EOvrelResult_EncodeFailed;
    }
    catch (const cv::Exception&)
    {
        return Utils::EOvrelResult_EncodeFailed;
    }
    catch (const std::bad_alloc&)
    {
        return Utils::EOvrelResult_TooLarge;
    }
}

} // namespace Internal
} // namespace Ovrel
