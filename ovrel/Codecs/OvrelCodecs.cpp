// The codec plugin: OpenCV's image file functions behind plain function pointers (see SImageCodecs).

#include "Internal/SImageCodecs.h"

#include <opencv2/imgcodecs.hpp>

namespace
{
cv::Mat Decode(const std::vector<uchar>& vctBytes, int nFlags)
{
    return cv::imdecode(vctBytes, nFlags);
}

cv::Mat Read(const std::string& strPath, int nFlags)
{
    return cv::imread(strPath, nFlags);
}

bool Write(const std::string& strPath, const cv::Mat& image)
{
    return cv::imwrite(strPath, image);
}

bool Encode(const std::string& strExtension, const cv::Mat& image, std::vector<uchar>& vctBytes)
{
    return cv::imencode(strExtension, image, vctBytes);
}
} // namespace

extern "C" __attribute__((visibility("default"))) const Ovrel::Internal::SImageCodecs* OvrelImageCodecs()
{
    static const Ovrel::Internal::SImageCodecs s_codecs = {&Decode, &Read, &Write, &Encode};
    return &s_codecs;
}
