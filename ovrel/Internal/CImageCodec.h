#pragma once

#include "Utils/EOvrelResult.h"

#include <opencv2/core.hpp>

#include <string>
#include <vector>

namespace Ovrel
{
namespace Internal
{

// Reading and writing image files. In memory, pixels are 8-bit grey, RGB or RGBA.
class CImageCodec
{
public:
    static Utils::EOvrelResult Decode(const std::wstring& strPath, cv::Mat& result);
    static Utils::EOvrelResult Encode(const std::wstring& strPath, const cv::Mat& image);

private:
    // The formats that take a road of their own, told by their signature.
    enum class EFileKind
    {
        Other,
        Jpeg,
        Png,
        Gif
    };

    static EFileKind Sniff(const unsigned char* pHeader, size_t nLength);

    static Utils::EOvrelResult DecodeWithOpenCV(const std::string& strUtf8Path, const std::vector<uchar>& vctFile,
                                                EFileKind kind, cv::Mat& result);
    static Utils::EOvrelResult DecodeWithQt(const std::vector<uchar>& vctFile, cv::Mat& result);
    static Utils::EOvrelResult ToEightBit(const cv::Mat& image, cv::Mat& result);
    // Reorders OpenCV's B, G, R(, A) samples in place.
    static Utils::EOvrelResult ToRgbOrder(cv::Mat& image, cv::Mat& result);
};

} // namespace Internal
} // namespace Ovrel
