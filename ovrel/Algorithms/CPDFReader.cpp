#include "Algorithms/CPDFReader.h"

#include "Internal/CAlignedMat.h"
#include "Internal/CPageRenderer.h"
#include "Utils/COvrelImage.h"

#include <QFileInfo>
#include <QImage>
#include <QString>

#include <poppler-qt5.h>

#include <cmath>
#include <cstring>
#include <new>

namespace Ovrel
{
namespace Algorithms
{

using Utils::EOvrelResult;

namespace
{

constexpr double kDefaultDpi = 72.0;
constexpr double kMaxDpi = 2400.0;

bool IsValidDpi(double dblDpi)
{
    return std::isfinite(dblDpi) && dblDpi >= 1.0 && dblDpi <= kMaxDpi;
}

// Loads and unlocks the document; the render hints are those of every page rendered from it.
EOvrelResult Open(const QString& strFile, const QString& strPassword, std::shared_ptr<Poppler::Document>& pOpened)
{
    std::shared_ptr<Poppler::Document> pDocument(Poppler::Document::load(strFile));
    if (!pDocument)
        return Utils::EOvrelResult_DecodeFailed;
    if (pDocument->isLocked())
    {
        if (strPassword.isEmpty())
            return Utils::EOvrelResult_PasswordRequired;
        // Newer (AES-256) documents take UTF-8 passwords, older ones single-byte text; trying
        // both lets either kind open with what the user typed.
        bool bLocked = pDocument->unlock(strPassword.toUtf8(), strPassword.toUtf8());
        if (bLocked && strPassword.toLatin1() != strPassword.toUtf8())
            bLocked = pDocument->unlock(strPassword.toLatin1(), strPassword.toLatin1());
        if (bLocked || pDocument->isLocked())
            return Utils::EOvrelResult_PasswordRequired;
    }
    pDocument->setRenderHint(Poppler::Document::Antialiasing, true);
    pDocument->setRenderHint(Poppler::Document::TextAntialiasing, true);
    pOpened = std::move(pDocument);
    return Utils::EOvrelResult_OK;
}

} // namespace

struct CPDFReader::SImpl
{
    // Shared with a render that runs on after its time limit (see CPageRenderer).
    std::shared_ptr<Poppler::Document> pDocument;
    // Kept to open the document afresh when an abandoned render still holds the old one.
    QString strFile;
    QString strPassword;
    double dblDpiX = kDefaultDpi;
    double dblDpiY = kDefaultDpi;
    int nRenderLimitMs = CPDFReader::kRenderLimitMs;
};

CPDFReader::CPDFReader(int nRenderLimitMs) : m_pImpl(std::make_unique<SImpl>())
{
    m_pImpl->nRenderLimitMs = nRenderLimitMs > 0 ? nRenderLimitMs : kRenderLimitMs;
}

CPDFReader::~CPDFReader() = default;

EOvrelResult CPDFReader::SetResolutionX(double dblDpi)
{
    if (!IsValidDpi(dblDpi))
        return Utils::EOvrelResult_InvalidArgument;
    m_pImpl->dblDpiX = dblDpi;
    return Utils::EOvrelResult_OK;
}

EOvrelResult CPDFReader::SetResolutionY(double dblDpi)
{
    if (!IsValidDpi(dblDpi))
        return Utils::EOvrelResult_InvalidArgument;
    m_pImpl->dblDpiY = dblDpi;
    return Utils::EOvrelResult_OK;
}

double CPDFReader::GetResolutionX() const
{
    return m_pImpl->dblDpiX;
}

double CPDFReader::GetResolutionY() const
{
    return m_pImpl->dblDpiY;
}

EOvrelResult CPDFReader::Read(const std::wstring& strPath, const std::wstring& strPassword)
{
    m_pImpl->pDocument.reset();
    if (strPath.empty())
        return Utils::EOvrelResult_InvalidArgument;
    const QString strFile = QString::fromStdWString(strPath);
    const QFileInfo info(strFile);
    if (!info.exists() || !info.isFile() || !info.isReadable())
        return Utils::EOvrelResult_FileNotFound;
    const QString strText = QString::fromStdWString(strPassword);
    const EOvrelResult result = Open(strFile, strText, m_pImpl->pDocument);
    if (result == Utils::EOvrelResult_OK)
    {
        m_pImpl->strFile = strFile;
        m_pImpl->strPassword = strText;
    }
    return result;
}

int CPDFReader::GetPageNumber() const
{
    return m_pImpl->pDocument ? m_pImpl->pDocument->numPages() : 0;
}

EOvrelResult CPDFReader::RenderPage(int nPage, Utils::COvrelImage* pImage) const
{
    if (!pImage)
        return Utils::EOvrelResult_InvalidArgument;
    if (!m_pImpl->pDocument)
        return Utils::EOvrelResult_NotInitialised;
    if (nPage < 0 || nPage >= m_pImpl->pDocument->numPages())
        return Utils::EOvrelResult_OutOfRange;
    QSizeF points;
    {
        // Gone before the render starts: the document is then used by the rendering thread alone.
        const std::unique_ptr<Poppler::Page> pPage(m_pImpl->pDocument->page(nPage));
        if (!pPage)
            return Utils::EOvrelResult_DecodeFailed;
        points = pPage->pageSizeF();
    }
    // Refuse before rendering what could never become an image (a huge page at a high resolution).
    const double width = std::ceil(points.width() * m_pImpl->dblDpiX / 72.0);
    const double height = std::ceil(points.height() * m_pImpl->dblDpiY / 72.0);
    if (!(width * height * 4.0 <= static_cast<double>(Internal::CAlignedMat::kMaxBytes)))
        return Utils::EOvrelResult_TooLarge;

    try
    {
        QImage rendered;
        const EOvrelResult renderResult = Internal::CPageRenderer::Render(
            m_pImpl->pDocument, nPage, m_pImpl->dblDpiX, m_pImpl->dblDpiY, m_pImpl->nRenderLimitMs, rendered);
        if (renderResult == Utils::EOvrelResult_TimedOut)
        {
            // The abandoned render keeps the old document to itself; later pages use a new one.
            std::shared_ptr<Poppler::Document> pFresh;
            Open(m_pImpl->strFile, m_pImpl->strPassword, pFresh);
            m_pImpl->pDocument = std::move(pFresh);
            return renderResult;
        }
        if (renderResult != Utils::EOvrelResult_OK)
            return renderResult;
        rendered = rendered.convertToFormat(QImage::Format_RGBA8888);
        if (rendered.isNull())
            return Utils::EOvrelResult_TooLarge;

        const EOvrelResult created = pImage->Create(rendered.width(), rendered.height(), 4, 8, 0, 4);
        if (created != Utils::EOvrelResult_OK)
            return created;
        const size_t nRowBytes = static_cast<size_t>(rendered.width()) * 4;
        for (int y = 0; y < rendered.height(); ++y)
            std::memcpy(pImage->GetRows()[y], rendered.constScanLine(y), nRowBytes);
        return Utils::EOvrelResult_OK;
    }
    catch (const std::bad_alloc&)
    {
        return Utils::EOvrelResult_TooLarge;
    }
}

} // namespace Algorithms
} // namespace Ovrel
