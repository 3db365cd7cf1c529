#pragma once

#include <QByteArray>
#include <QRgb>
#include <QString>
#include <QVector>

#include <opencv2/core.hpp>

// Builders of the image files the imaging tests read. Every file is made here, from known pixels.
namespace TestImageFiles
{

// A w x h picture: the left half one colour, the right half another (R, G, B order).
cv::Mat TwoHalves(int nWidth, int nHeight, cv::Vec3b left, cv::Vec3b right);

// OpenCV's encoding of an RGB(A)/grey picture for the extension (".png", ".jpg", ...).
QByteArray Encode(const cv::Mat& rgb, const QString& strExtension);

// A GIF89a file with a palette of up to four colours, one palette index per pixel (row by row),
// and optionally one transparent index. The LZW stream starts afresh before every pixel, which
// keeps the codes 3 bits wide: a valid if uncompressed GIF.
QByteArray Gif(int nWidth, int nHeight, const QVector<QRgb>& palette, const QVector<int>& indices,
               int nTransparentIndex = -1);

// The JPEG with an EXIF APP1 segment carrying the orientation tag inserted after its start marker.
QByteArray WithExifOrientation(const QByteArray& jpeg, int nOrientation);

bool WriteFile(const QString& strPath, const QByteArray& data);

} // namespace TestImageFiles
