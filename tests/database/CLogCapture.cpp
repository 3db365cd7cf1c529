#include "CLogCapture.h"

#include "frame/CLogger.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

CLogCapture::CLogCapture(const QString& strLogDir) : m_strLogDir(strLogDir)
{
    m_nSeen = AllLines().size();
}

QStringList CLogCapture::NewLines()
{
    CLogger::Flush();
    const QStringList lstAll = AllLines();
    const QStringList lstNew = lstAll.mid(m_nSeen);
    m_nSeen = lstAll.size();
    return lstNew;
}

QStringList CLogCapture::AllLines() const
{
    static const QRegularExpression reTime(QStringLiteral("^(\\[[A-Z]+\\])\\[[^\\]]*\\] "));
    QStringList lstLines;
    const QStringList lstFiles = QDir(m_strLogDir).entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name);
    for (const QString& strFile : lstFiles)
    {
        QFile file(QDir(m_strLogDir).filePath(strFile));
        if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
            continue;
        const QStringList lstFileLines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        for (QString strLine : lstFileLines)
            lstLines << strLine.replace(reTime, QStringLiteral("\\1 "));
    }
    return lstLines;
}
