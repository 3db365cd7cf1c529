#pragma once

#include "OvrelGlobal.h"
#include "Utils/EOvrelResult.h"

#include <memory>
#include <string>

namespace Ovrel
{
namespace Utils
{
class COvrelImage;
}

namespace Algorithms
{

// Renders the pages of a PDF document (Poppler) into images.
class OVREL_EXPORT CPDFReader
{
public:
    // A page takes at most this long to render; RenderPage gives up on it after that.
    static constexpr int kRenderLimitMs = 30000;

    // nRenderLimitMs is for tests, which cannot wait half a minute; the program keeps the default.
    explicit CPDFReader(int nRenderLimitMs = kRenderLimitMs);
    ~CPDFReader();
    CPDFReader(const CPDFReader&) = delete;
    CPDFReader& operator=(const CPDFReader&) = delete;

    // Rendering resolution in dots per inch, each from 1 to 2400; both start at 72 (one pixel per
    // point). Out-of-range or non-finite values give EOvrelResult_InvalidArgument and keep the old one.
    Utils::EOvrelResult SetResolutionX(double dblDpi);
    Utils::EOvrelResult SetResolutionY(double dblDpi);
    double GetResolutionX() const;
    double GetResolutionY() const;

    // Opens the document, replacing any open one (which is closed even when this call fails).
    // An encrypted document needs strPassword as either its user or its owner password; when it is
    // empty or wrong the result is EOvrelResult_PasswordRequired (4). A missing file gives
    // EOvrelResult_FileNotFound, a file that is not a readable PDF EOvrelResult_DecodeFailed.
    Utils::EOvrelResult Read(const std::wstring& strPath, const std::wstring& strPassword);

    // Number of pages of the open document; 0 when none is open.
    int GetPageNumber() const;

    // Renders page nPage (0-based) at the set resolution into pImage as 8-bit RGBA (4 channels,
    // rows aligned to 4 bytes): a page of w x h points becomes about w * dpiX / 72 by h * dpiY / 72
    // pixels. Name and folder of the image are kept. A page that is not rendered within the
    // render limit gives EOvrelResult_TimedOut and leaves the image as it was; the render is
    // abandoned to finish in the background, and the document is opened afresh for the pages asked
    // for later.
    Utils::EOvrelResult RenderPage(int nPage, Utils::COvrelImage* pImage) const;

private:
    struct SImpl;
    std::unique_ptr<SImpl> m_pImpl;
};

} // namespace Algorithms
} // namespace Ovrel
