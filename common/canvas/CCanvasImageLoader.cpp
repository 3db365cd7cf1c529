#include "canvas/CCanvasImageLoader.h"

#include "frame/CPrompt.h"
#include "frame/CSetting.h"

#include "Algorithms/CPDFReader.h"
#include "Utils/COvrelImage.h"

#include <QCoreApplication>
#include <QFileInfo>

using Ovrel::Algorithms::CPDFReader;
using Ovrel::Utils::COvrelImage;
using Ovrel::Utils::EOvrelResult;
using Ovrel::Utils::EOvrelResult_OK;
using Ovrel::Utils::EOvrelResult_PasswordRequired;

namespace
{
// The settings dialog edits these; pages render at 144 dpi until it has.
const char* const kResolutionXKey = "GENERAL_PDF_RESOLUTION_X";
const char* const kResolutionYKey = "GENERAL_PDF_RESOLUTION_Y";
constexpr double kDefaultResolution = 144.0;
} // namespace

CCanvasImageLoader::CCanvasImageLoader(QWidget* pParent) : m_pParent(pParent) {}

bool CCanvasImageLoader::IsPdfPath(const QString& strPath)
{
    return QFileInfo(strPath).suffix().compare("pdf", Qt::CaseInsensitive) == 0;
}

CCanvasImageLoader::ImageList CCanvasImageLoader::LoadFile(const QString& strPath) const
{
    return IsPdfPath(strPath) ? LoadPdfFile(strPath) : LoadImageFile(strPath);
}

CCanvasImageLoader::ImageList CCanvasImageLoader::LoadImageFile(const QString& strPath) const
{
    auto pImage = std::make_shared<COvrelImage>();
    if (pImage->LoadFromFile(strPath.toStdWString()) != EOvrelResult_OK)
    {
        ShowFailure("Cannot load image %s", strPath);
        return {};
    }
    return {pImage};
}

CCanvasImageLoader::ImageList CCanvasImageLoader::LoadPdfFile(const QString& strPath) const
{
    const int nSlash = strPath.lastIndexOf('/');
    const std::wstring strFolder = strPath.left(qMax(nSlash, 0)).toStdWString();
    const std::wstring strFile = strPath.mid(nSlash + 1).toStdWString();

    CPDFReader reader;
    const std::wstring strWidePath = strPath.toStdWString();
    bool bOpened = reader.SetResolutionX(CSetting::GetDouble(kResolutionXKey, kDefaultResolution)) == EOvrelResult_OK &&
                   reader.SetResolutionY(CSetting::GetDouble(kResolutionYKey, kDefaultResolution)) == EOvrelResult_OK;
    if (bOpened)
    {
        EOvrelResult result = reader.Read(strWidePath, std::wstring());
        if (result == EOvrelResult_PasswordRequired)
        {
            // A cancelled prompt answers an empty password, which the reader refuses like a wrong one.
            const QString strPassword =
                CPrompt::GetText(m_pParent, "Input the password", "Password", QLineEdit::Password, QString());
            result = reader.Read(strWidePath, strPassword.toStdWString());
        }
        bOpened = result == EOvrelResult_OK && reader.GetPageNumber() >= 1;
    }
    if (!bOpened)
    {
        ShowFailure("Cannot load pdf file %s", strPath);
        return {};
    }

    ImageList vctPages;
    for (int nPage = 0; nPage < reader.GetPageNumber(); ++nPage)
    {
        auto pPage = std::make_shared<COvrelImage>();
        if (reader.RenderPage(nPage, pPage.get()) != EOvrelResult_OK)
            break;
        pPage->SetName(strFile);
        pPage->SetFolder(strFolder);
        vctPages.push_back(pPage);
    }
    return vctPages;
}

void CCanvasImageLoader::ShowFailure(const char* szFormat, const QString& strPath) const
{
    const QByteArray baPath = strPath.toUtf8();
    CPrompt::Critical(m_pParent, CSetting::GetString("GENERAL_PROGRAME_NAME", QCoreApplication::applicationName()),
                      QString::asprintf(szFormat, baPath.constData()));
}
