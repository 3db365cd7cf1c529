#pragma once

namespace Ovrel
{
namespace Utils
{
class COvrelImage;
}
} // namespace Ovrel

// A picture the OCR engine reads back: "SUNSHINE" in the left half and "GARDEN" in the right half of 800 x 160
// pixels, painted in black straight into the library image.
class CTestOcrImage
{
public:
    // 1, 3 or 4 channels; the background is white, or transparent black when asked.
    static void TwoWords(Ovrel::Utils::COvrelImage& image, int nChannels = 3, bool bTransparent = false);
};
