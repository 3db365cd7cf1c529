#include "TestImageFiles.h"

#include <QFile>

#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>

#include <vector>

namespace TestImageFiles
{

cv::Mat TwoHalves(int nWidth, int nHeight, cv::Vec3b left, cv::Vec3b right)
{
    cv::Mat picture(nHeight, nWidth, CV_8UC3);
    for (int y = 0; y < nHeight; ++y)
        for (int x = 0; x < nWidth; ++x)
            picture.at<cv::Vec3b>(y, x) = x < nWidth / 2 ? left : right;
    return picture;
}

QByteArray Encode(const cv::Mat& rgb, const QString& strExtension)
{
    cv::Mat stored = rgb;
    if (rgb.channels() == 3)
        cv::cvtColor(rgb, stored, cv::COLOR_RGB2BGR);
    else if (rgb.channels() == 4)
        cv::cvtColor(rgb, stored, cv::COLOR_RGBA2BGRA);
    std::vector<uchar> buffer;
    if (!cv::imencode(strExtension.toStdString(), stored, buffer))
        return QByteArray();
    return QByteArray(reinterpret_cast<const char*>(buffer.data()), static_cast<int>(buffer.size()));
}

QByteArray Gif(int nWidth, int nHeight, const QVector<QRgb>& palette, const QVector<int>& indices,
               int nTransparentIndex)
{
    QByteArray gif("GIF89a");
    auto put16 = [&gif](int value)
    {
        gif.append(char(value & 0xFF));
        gif.append(char((value >> 8) & 0xFF));
    };
    put16(nWidth);
    put16(nHeight);
    gif.append(char(0x91)); // global colour table of 4 entries
    gif.append(char(0));    // background index
    gif.append(char(0));    // aspect ratio
    for (int i = 0; i < 4; ++i)
    {
        const QRgb colour = i < palette.size() ? palette[i] : qRgb(0, 0, 0);
        gif.append(char(qRed(colour)));
        gif.append(char(qGreen(colour)));
        gif.append(char(qBlue(colour)));
    }
    if (nTransparentIndex >= 0)
    {
        const char control[] = {'\x21', '\xF9', 4, 1, 0, 0, char(nTransparentIndex), 0};
        gif.append(control, sizeof(control));
    }
    gif.append(char(0x2C));
    put16(0);
    put16(0);
    put16(nWidth);
    put16(nHeight);
    gif.append(char(0));
    gif.append(char(2)); // minimum LZW code size

    QByteArray stream;
    unsigned int bits = 0;
    int nBitCount = 0;
    auto putCode = [&](int code)
    {
        bits |= static_cast<unsigned int>(code) << nBitCount;
        nBitCount += 3;
        while (nBitCount >= 8)
        {
            stream.append(char(bits & 0xFF));
            bits >>= 8;
            nBitCount -= 8;
        }
    };
    const int nClear = 4;
    const int nEnd = 5;
    for (int index : indices)
    {
        putCode(nClear);
        putCode(index);
    }
    putCode(nEnd);
    if (nBitCount > 0)
        stream.append(char(bits & 0xFF));
    for (int offset = 0; offset < stream.size(); offset += 255)
    {
        const QByteArray block = stream.mid(offset, 255);
        gif.append(char(block.size()));
        gif.append(block);
    }
    gif.append(char(0));
    gif.append(char(0x3B));
    return gif;
}

QByteArray WithExifOrientation(const QByteArray& jpeg, int nOrientation)
{
    // APP1 "Exif" with a little-endian TIFF header and one IFD entry: tag 0x0112, SHORT, 1 value.
    QByteArray tiff("II*\0", 4);
    tiff.append(QByteArray("\x08\0\0\0", 4)); // IFD at offset 8
    tiff.append(QByteArray("\x01\0", 2));     // one entry
    tiff.append(QByteArray("\x12\x01\x03\0\x01\0\0\0", 8));
    tiff.append(char(nOrientation));
    tiff.append(QByteArray("\0\0\0", 3));   // rest of the value field
    tiff.append(QByteArray("\0\0\0\0", 4)); // no next IFD
    QByteArray payload("Exif\0\0", 6);
    payload.append(tiff);
    const int nLength = payload.size() + 2;
    QByteArray segment("\xFF\xE1", 2);
    segment.append(char((nLength >> 8) & 0xFF));
    segment.append(char(nLength & 0xFF));
    segment.append(payload);
    QByteArray result = jpeg.left(2);
    result.append(segment);
    result.append(jpeg.mid(2));
    return result;
}

bool WriteFile(const QString& strPath, const QByteArray& data)
{
    QFile file(strPath);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    return file.write(data) == data.size();
}

} // namespace TestImageFiles
