#pragma once

#include "OvrelGlobal.h"
#include "Utils/EOvrelResult.h"

#include <memory>
#include <string>

namespace Ovrel
{
namespace Geometry
{
class COvrelGeometry;
}
namespace Utils
{
class COvrelImage;
}

namespace Algorithms
{

// Text recognition with the Tesseract engine.
class OVREL_EXPORT COvrelOCR
{
public:
    COvrelOCR();
    ~COvrelOCR();
    COvrelOCR(const COvrelOCR&) = delete;
    COvrelOCR& operator=(const COvrelOCR&) = delete;

    // Loads the trained data "<szLanguageCode>.traineddata" from the folder szLanguageFolder (a
    // tessdata folder). Codes may be joined with '+' ("eng+deu"). Fails with
    // EOvrelResult_InvalidArgument for null or empty text and EOvrelResult_NotInitialised when
    // the engine cannot load the data of every code named; after any failure Decode fails until a
    // call succeeds.
    // Asking again for the data that is already loaded costs nothing.
    Utils::EOvrelResult SetLanguageData(const char* szLanguageFolder, const char* szLanguageCode);

    // The resolution the engine assumes for the image, from 1 to 2400 dots per inch (144 at first);
    // it steers the expected size of letters.
    Utils::EOvrelResult SetUserDefinedDpi(int nDpi);

    // Recognises the text inside the bounding box of pRegion (whole pixels that it touches;
    // null: the whole image). Colour is reduced to grey first, with transparent pixels laid over
    // white. Fails with EOvrelResult_NotInitialised before SetLanguageData succeeded,
    // EOvrelResult_Empty for an empty image and EOvrelResult_OutOfRange when the box misses the
    // image.
    Utils::EOvrelResult Decode(const Utils::COvrelImage* pImage, const Geometry::COvrelGeometry* pRegion);

    // UTF-8 text of the last successful Decode (lines end with '\n'); empty before and after a
    // failed one. Valid until the next Decode.
    const char* GetText() const;

private:
    // Whether every language named in the '+' list is among those the engine has loaded.
    bool AllLoaded(const std::string& strLanguageCode) const;

    struct SImpl;
    std::unique_ptr<SImpl> m_pImpl;
};

} // namespace Algorithms
} // namespace Ovrel
