#pragma once

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QMap>
#include <QProcess>
#include <QStringList>

// The real trainer for the tests: its sample images and a network small enough to train a step in a moment.
namespace InsightRun
{
inline const char* const DARKNET = "/usr/bin/darknet";
inline const char* const SAMPLES = "/usr/share/darknet/data";

// The lines of the configuration with the [net] keys set (an existing "key=" line is replaced) and every random=
// switched off, so the input size stays as set.
inline QString WithNet(const QString& strText, const QMap<QString, QString>& mapNet)
{
    QStringList lstLines = strText.split('\n');
    for (QString& strLine : lstLines)
    {
        const QString strKey = strLine.section('=', 0, 0).trimmed();
        if (!strLine.contains('=') || strLine.trimmed().startsWith('#'))
            continue;
        if (mapNet.contains(strKey))
            strLine = strKey + "=" + mapNet[strKey];
        if (strKey == "random")
            strLine = "random=0";
    }
    return lstLines.join('\n');
}

inline QString ReadText(const QString& strPath)
{
    QFile file(strPath);
    return file.open(QIODevice::ReadOnly | QIODevice::Text) ? QString::fromUtf8(file.readAll()) : QString();
}

inline bool WriteText(const QString& strPath, const QString& strText)
{
    QFile file(strPath);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(strText.toUtf8()) >= 0;
}
} // namespace InsightRun
