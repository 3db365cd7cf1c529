#include "process/CImage2DProcessOCRModel.h"

#include "frame/CLogger.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

CImage2DProcessOCRModel::CImage2DProcessOCRModel(QObject* parent)
    : CModel(parent), m_strLanguagePath(DefaultLanguagePath())
{
}

void CImage2DProcessOCRModel::SetLanguageCode(const QString& strCode)
{
    m_strLanguageCode = strCode;
    CLogger::Write(ELogLevel_Normal, "Image2DProcessOCRModel: SetLanguageCode(%s)", strCode.toUtf8().constData());
}

void CImage2DProcessOCRModel::SetLanguagePath(const QString& strPath)
{
    m_strLanguagePath = strPath;
    CLogger::Write(ELogLevel_Normal, "Image2DProcessOCRModel: SetLanguagePath(%s)", strPath.toUtf8().constData());
}

void CImage2DProcessOCRModel::SetUserDefinedDpi(int nDpi)
{
    m_nUserDefinedDpi = nDpi;
    CLogger::Write(ELogLevel_Normal, "Image2DProcessOCRModel: SetUserDefinedDpi(%d)", nDpi);
}

QString CImage2DProcessOCRModel::FindLanguagePath(const QStringList& lstFolders, const QString& strCode)
{
    for (const QString& strFolder : lstFolders)
    {
        if (!strFolder.isEmpty() && QFileInfo(QDir(strFolder).filePath(strCode + ".traineddata")).isFile())
            return strFolder;
    }
    return lstFolders.value(0);
}

QString CImage2DProcessOCRModel::DefaultLanguagePath()
{
    QStringList lstFolders;
    // A folder the user pointed Tesseract at wins over the installed one, as it does for Tesseract itself.
    const QString strPrefix = qEnvironmentVariable("TESSDATA_PREFIX");
    if (!strPrefix.isEmpty())
        lstFolders << strPrefix << QDir(strPrefix).filePath("tessdata");
    if (QCoreApplication::instance())
        lstFolders << QDir(QCoreApplication::applicationDirPath()).filePath("tessdata");
    lstFolders << "/usr/share/tesseract-ocr/5/tessdata"
               << "/usr/share/tesseract-ocr/4.00/tessdata"
               << "/usr/share/tessdata"
               << "/usr/local/share/tessdata";
    const QString strFound = FindLanguagePath(lstFolders, "eng");
    // Without any English data the Debian folder is still the best guess to show the user.
    return QFileInfo(QDir(strFound).filePath("eng.traineddata")).isFile() ? strFound
                                                                          : "/usr/share/tesseract-ocr/5/tessdata";
}
