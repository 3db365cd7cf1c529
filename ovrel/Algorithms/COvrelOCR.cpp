#include "Algorithms/COvrelOCR.h"

#include "Geometry/COvrelGeometry.h"
#include "Geometry/COvrelRectangle.h"
#include "Utils/COvrelImage.h"

#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include <tesseract/baseapi.h>

#include <algorithm>
#include <cmath>
#include <new>
#include <sstream>
#include <string>
#include <vector>

namespace Ovrel
{
namespace Algorithms
{

using Utils::EOvrelResult;

namespace
{

constexpr int kDefaultDpi = 144;
constexpr int kMaxDpi = 2400;

// The grey of RGBA pixels laid over white. Dropping alpha would leave the colour of transparent
// pixels (usually black) behind dark text, and the engine would read nothing.
void OnWhite(const cv::Mat& rgba, cv::Mat& grey)
{
    cv::Mat rgb(rgba.size(), CV_8UC3);
    for (int y = 0; y < rgba.rows; ++y)
    {
        const uchar* pIn = rgba.ptr<uchar>(y);
        uchar* pOut = rgb.ptr<uchar>(y);
        for (int x = 0; x < rgba.cols; ++x, pIn += 4, pOut += 3)
        {
            const int nAlpha = pIn[3];
            for (int c = 0; c < 3; ++c)
                pOut[c] = static_cast<uchar>((pIn[c] * nAlpha + 255 * (255 - nAlpha) + 127) / 255);
        }
    }
    cv::cvtColor(rgb, grey, cv::COLOR_RGB2GRAY);
}

} // namespace

struct COvrelOCR::SImpl
{
    tesseract::TessBaseAPI api;
    bool bReady = false;
    std::string strFolder;
    std::string strLanguage;
    int nDpi = kDefaultDpi;
    std::string strText;
};

COvrelOCR::COvrelOCR() : m_pImpl(std::make_unique<SImpl>()) {}

COvrelOCR::~COvrelOCR()
{
    m_pImpl->api.End();
}

EOvrelResult COvrelOCR::SetLanguageData(const char* szLanguageFolder, const char* szLanguageCode)
{
    const bool bValid = szLanguageFolder && szLanguageCode && *szLanguageFolder && *szLanguageCode;
    // Loading trained data takes a noticeable time, and callers ask before every run.
    if (bValid && m_pImpl->bReady && m_pImpl->strFolder == szLanguageFolder && m_pImpl->strLanguage == szLanguageCode)
        return Utils::EOvrelResult_OK;
    // Any failure leaves no language in force, so a rejected choice never decodes with the old one.
    m_pImpl->bReady = false;
    if (!bValid)
        return Utils::EOvrelResult_InvalidArgument;
    if (m_pImpl->api.Init(szLanguageFolder, szLanguageCode, tesseract::OEM_DEFAULT) != 0)
        return Utils::EOvrelResult_NotInitialised;
    // Tesseract succeeds as soon as one language of a '+' list loads and quietly drops the rest.
    if (!AllLoaded(szLanguageCode))
    {
        m_pImpl->api.End();
        return Utils::EOvrelResult_NotInitialised;
    }
    m_pImpl->bReady = true;
    m_pImpl->strFolder = szLanguageFolder;
    m_pImpl->strLanguage = szLanguageCode;
    return Utils::EOvrelResult_OK;
}

bool COvrelOCR::AllLoaded(const std::string& strLanguageCode) const
{
    std::vector<std::string> vctLoaded;
    m_pImpl->api.GetLoadedLanguagesAsVector(&vctLoaded);
    std::istringstream codes(strLanguageCode);
    std::string strCode;
    while (std::getline(codes, strCode, '+'))
    {
        // "~xyz" asks Tesseract to leave a language out; it names nothing to load.
        if (strCode.empty() || strCode.front() == '~')
            continue;
        if (std::find(vctLoaded.begin(), vctLoaded.end(), strCode) == vctLoaded.end())
            return false;
    }
    return true;
}

EOvrelResult COvrelOCR::SetUserDefinedDpi(int nDpi)
{
    if (nDpi < 1 || nDpi > kMaxDpi)
        return Utils::EOvrelResult_InvalidArgument;
    m_pImpl->nDpi = nDpi;
    return Utils::EOvrelResult_OK;
}

EOvrelResult COvrelOCR::Decode(const Utils::COvrelImage* pImage, const Geometry::COvrelGeometry* pRegion)
{
    m_pImpl->strText.clear();
    if (!pImage)
        return Utils::EOvrelResult_InvalidArgument;
    if (!m_pImpl->bReady)
        return Utils::EOvrelResult_NotInitialised;
    if (pImage->IsEmpty())
        return Utils::EOvrelResult_Empty;

    const int nChannels = pImage->GetChannels();
    const cv::Mat view(pImage->GetHeight(), pImage->GetWidth(), CV_8UC(nChannels),
                       const_cast<unsigned char*>(pImage->GetData()), static_cast<size_t>(pImage->GetBytesPerLine()));
    cv::Rect bounds(0, 0, view.cols, view.rows);
    if (pRegion)
    {
        const Geometry::COvrelRectangle box = pRegion->GetBoundary();
        const double left = std::floor(box.left());
        const double top = std::floor(box.top());
        const double right = std::ceil(box.right());
        const double bottom = std::ceil(box.bottom());
        if (!std::isfinite(left) || !std::isfinite(top) || !std::isfinite(right) || !std::isfinite(bottom))
            return Utils::EOvrelResult_InvalidArgument;
        const double clampedLeft = std::clamp(left, 0.0, double(view.cols));
        const double clampedTop = std::clamp(top, 0.0, double(view.rows));
        const double clampedRight = std::clamp(right, 0.0, double(view.cols));
        const double clampedBottom = std::clamp(bottom, 0.0, double(view.rows));
        bounds = cv::Rect(int(clampedLeft), int(clampedTop), int(clampedRight - clampedLeft),
                          int(clampedBottom - clampedTop));
    }
    if (bounds.empty())
        return Utils::EOvrelResult_OutOfRange;

    try
    {
        cv::Mat grey;
        const cv::Mat window = view(bounds);
        if (nChannels == 1)
            grey = window;
        else if (nChannels == 3)
            cv::cvtColor(window, grey, cv::COLOR_RGB2GRAY);
        else
            OnWhite(window, grey);

        m_pImpl->api.SetImage(grey.data, grey.cols, grey.rows, 1, static_cast<int>(grey.step[0]));
        m_pImpl->api.SetSourceResolution(m_pImpl->nDpi);
        std::unique_ptr<char[]> pText(m_pImpl->api.GetUTF8Text());
        m_pImpl->api.Clear();
        if (!pText)
            return Utils::EOvrelResult_LibraryError;
        m_pImpl->strText = pText.get();
        return Utils::EOvrelResult_OK;
    }
    catch (const std::bad_alloc&)
    {
        return Utils::EOvrelResult_TooLarge;
    }
    catch (const cv::Exception&)
    {
        return Utils::EOvrelResult_LibraryError;
    }
}

const char* COvrelOCR::GetText() const
{
    return m_pImpl->strText.c_str();
}

} // namespace Algorithms
} // namespace Ovrel
