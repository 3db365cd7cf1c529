#pragma once

#include <QString>
#include <QStringList>

// The lines logged since the previous NewLines() call (or since construction), read from the log files as
// "[LEVEL] message". Without a folder the log folder of the settings is read at each call.
class CLogCapture
{
public:
    explicit CLogCapture(const QString& strLogDir = QString()) : m_strLogDir(strLogDir) { NewLines(); }
    QStringList NewLines();

private:
    QString m_strLogDir;
    int m_nSeen = 0;
};
