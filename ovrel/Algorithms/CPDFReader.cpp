#include "Algorithms/CPDFReader.h"

#include "Internal/CAlignedMat.h"
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

} // namespace

struct CPDFReader::SImpl
{
    std::unique_ptr<Poppler::Document> pDocument;
    double dblDpiX = kDefaultDpi;
    double dblDpiY = kDefaultDpi;
};

CPDFReader::CPDFReader() : m_pImpl(std::make_unique<SImpl>()) {}

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

    std::unique_ptr<Poppler::Document> pDocument(Poppler::Document::load(strFile));
    if (!pDocument)
        return Utils::EOvrelResult_DecodeFailed;
    if (pDocument->isLocked())
    {
        if (strPassword.empty())
            return Utils::EOvrelResult_PasswordRequired;
        // Newer (AES-256) documents take UTF-8 passwords, older ones single-byte text; trying
        // both lets either kind open with what the user typed.
        const QString strText = QString::fromStdWString(strPassword);
        bool bLocked = pDocument->unlock(strText.toUtf8(), strText.toUtf8());
        if (bLocked && strText.toLatin1() != strText.toUtf8())
            bLocked = pDocument->unlock(strText.toLatin1(), strText.toLatin1());
        if (bLocked || pDocument->isLocked())
            return Utils::EOvrelResult_PasswordRequired;
    }
    pDocument->setRenderHint(Poppler::Document::Antialiasing, true);
    pDocument->setRenderHint(Poppler::Document::TextAntialiasing, true);
    m_pImpl->pDocument = std::move(pDocument);
    return Utils::EOvrelResult_OK;
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
    std::unique_ptr<Poppler::Page> pPage(m_pImpl->pDocument->page(nPage));
    if (!pPage)
        return Utils::EOvrelResult_DecodeFailed;

    // Refuse before rendering what could never become an image (a huge page at a high resolution).
    const QSizeF points = pPage->pageSizeF();
    const double width = std::ceil(points.width() * m_pImpl->dblDpiX / 72.0);
    const double height = std::ceil(points.height() * m_pImpl->dblDpiY / 72.0);
    if (!(width * height * 4.0 <= static_cast<double>(Internal::CAlignedMat::kMaxBytes)))
        return Utils::EOvrelResult_TooLarge;

    try
    {
        QImage rendered = pPage->renderToImage(m_pImpl->dblDpiX, m_pImpl->dblDpiY);
        if (rendered.isNull())
            return Utils::EOvrelResult_DecodeFailed;
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
