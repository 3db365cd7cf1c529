#pragma once

#include "OvrelGlobal.h"

#include <string>
#include <vector>

namespace Ovrel
{
namespace Utils
{

// An image file decoded the way the Darknet trainer decodes it (OpenCV's imread in colour mode): 8 bits per channel,
// blue-green-red, EXIF orientation applied, grey spread over three channels, alpha dropped.
class OVREL_EXPORT CColourImageFile
{
public:
    // Rows of nWidth * 3 bytes without padding; false, with nothing filled, when the file does not decode.
    static bool Read(const std::string& strUtf8Path, int& nWidth, int& nHeight, std::vector<unsigned char>& vctBgr);
};

} // namespace Utils
} // namespace Ovrel
