#include "CLogCapture.h"

#include "frame/CLogger.h"
#include "frame/CSetting.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

QStringList CLogCapture::NewLines()
{
    static const QRegularExpression reTime("^(\\[[A-Z]+\\])\\[[^\\]]*\\] ");
    CLogger::Flush();
    QStringList lstLines;
    const QDir dir(m_strLogDir.isEmpty() ? CSetting::GetString("GENERAL_LOG_DIR", QString()) : m_strLogDir);
    for (const QString& strFile : dir.entryList({"*.txt"}, QDir::Files, QDir::Name))
    {
        QFile file(dir.filePath(strFile));
        if (file.open(QIODevice::ReadOnly | QIODevice::Text))
            lstLines << QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
    }
    lstLines.replaceInStrings(reTime, "\\1 ");
    const QStringList lstNew = lstLines.mid(m_nSeen);
    m_nSeen = lstLines.size();
    return lstNew;
}
