#include "Utils/CColourImageFile.h"

#include "Internal/CImageCodecLibrary.h"

#include <opencv2/imgcodecs.hpp>

namespace Ovrel
{
namespace Utils
{

bool CColourImageFile::Read(const std::string& strUtf8Path, int& nWidth, int& nHeight,
                            std::vector<unsigned char>& vctBgr)
{
    cv::Mat pixels;
    try
    {
        pixels = Internal::CImageCodecLibrary::Get().Read(strUtf8Path, cv::IMREAD_COLOR);
    }
    catch (const cv::Exception&)
    {
        return false;
    }
    if (pixels.empty() || pixels.type() != CV_8UC3)
        return false;
    if (!pixels.isContinuous())
        pixels = pixels.clone();
    nWidth = pixels.cols;
    nHeight = pixels.rows;
    vctBgr.assign(pixels.data, pixels.data + pixels.total() * pixels.elemSize());
    return true;
}

} // namespace Utils
} // namespace Ovrel
