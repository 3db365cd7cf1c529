#pragma once

#include <opencv2/core.hpp>

#include <string>
#include <vector>

namespace Ovrel
{
namespace Internal
{

// OpenCV's image file functions as the codec plugin (libOvrelCodecs) hands them out. Only the plugin links OpenCV's
// codec library, whose dependencies (GDAL and well over a hundred libraries behind it) cost every start of every
// program tens of milliseconds; CImageCodecLibrary loads it when the first image is read or written.
struct SImageCodecs
{
    cv::Mat (*Decode)(const std::vector<uchar>& vctBytes, int nFlags);
    cv::Mat (*Read)(const std::string& strPath, int nFlags);
    bool (*Write)(const std::string& strPath, const cv::Mat& image);
    bool (*Encode)(const std::string& strExtension, const cv::Mat& image, std::vector<uchar>& vctBytes);
};

} // namespace Internal
} // namespace Ovrel

// The plugin's one exported function: returns its table of codec functions.
#define OVREL_IMAGE_CODECS_ENTRY "OvrelImageCodecs"
