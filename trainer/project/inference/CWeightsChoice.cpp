#include "project/inference/CWeightsChoice.h"

#include "frame/CLogger.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

#include <algorithm>

CWeightsChoice::CWeightsChoice(const CProjectLayout& layout) : m_layout(layout) {}

void CWeightsChoice::Choose(const QString& strWeightsFile)
{
    m_strChosen = strWeightsFile;
}

QString CWeightsChoice::Resolve()
{
    m_strError.clear();
    if (!m_strChosen.isEmpty())
    {
        if (QFileInfo(m_strChosen).isFile())
            return m_strChosen;
        m_strError = QStringLiteral("The chosen weights %1 do not exist.").arg(m_strChosen);
        return QString();
    }
    const QString strFolder = m_layout.BackupFolder();
    QFileInfoList lstFiles = QDir(strFolder).entryInfoList({"*.weights"}, QDir::Files);
    if (lstFiles.isEmpty())
    {
        m_strError = QString::asprintf("No trained weights in %s", qUtf8Printable(strFolder));
        return QString();
    }
    // Newest first; files written within the same clock tick go by name so that the choice does not depend on the
    // folder's order.
    std::sort(lstFiles.begin(), lstFiles.end(),
              [](const QFileInfo& a, const QFileInfo& b)
              {
                  const QDateTime timeA = a.lastModified();
                  const QDateTime timeB = b.lastModified();
                  return timeA != timeB ? timeA > timeB : a.fileName() > b.fileName();
              });
    return lstFiles.first().filePath();
}

QString CWeightsChoice::ModelText(const QString& strWeightsFile)
{
    const QString strDate = QFileInfo(strWeightsFile).lastModified().toString("yyyy-MM-dd hh:mm:ss");
    return QString::asprintf("Model: %s (%s)", qUtf8Printable(strWeightsFile), qUtf8Printable(strDate));
}

void CWeightsChoice::LogModel(const QString& strWeightsFile)
{
    const QString strDate = QFileInfo(strWeightsFile).lastModified().toString("yyyy-MM-dd hh:mm:ss");
    CLogger::Write(ELogLevel_Normal, "Model: %s (%s)", qUtf8Printable(strWeightsFile), qUtf8Printable(strDate));
}
