#pragma once

#include <QStringList>

// The lines the day's log file gets from a mark on, those still queued included, each as "[LEVEL] text" without its
// time. The mark is the file's end when made and at each Mark().
class CLogMark
{
public:
    CLogMark() { Mark(); }
    void Mark();
    // Empty when nothing was logged since the mark.
    QStringList Lines() const;

private:
    qint64 m_nStart = 0;
    // The file the mark was made in: a later file (a new sandbox, a new day) is read from its start.
    QString m_strFile;
};
