#pragma once

#include <QStringList>

// The lines logged since the previous NewLines() call, read from the log files in strLogDir as "[LEVEL] message".
class CLogCapture
{
public:
    explicit CLogCapture(const QString& strLogDir) : m_strLogDir(strLogDir) { NewLines(); }
    QStringList NewLines();

private:
    QString m_strLogDir;
    int m_nSeen = 0;
};
