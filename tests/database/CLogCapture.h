#pragma once

#include <QString>
#include <QStringList>

// Reads back what the program logged, through the log files themselves. Construct it after GENERAL_LOG_DIR points at
// a test folder; NewLines() flushes the log queue and returns the lines written since the previous call, each as the
// level tag, one blank and the message ("[ERROR] no such table: x"), without the time.
class CLogCapture
{
public:
    explicit CLogCapture(const QString& strLogDir);

    QStringList NewLines();

private:
    QStringList AllLines() const;

    QString m_strLogDir;
    int m_nSeen = 0;
};
