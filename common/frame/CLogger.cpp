#include "frame/CLogger.h"

#include "frame/CLogModel.h"

#include <QDateTime>
#include <QMutex>
#include <QMutexLocker>

#include <cstdarg>
#include <cstdio>
#include <limits>

namespace
{
// The local date-time of now. Asking the time-zone rules costs several system calls, too much for a call made
// thousands of times a second: the offset found for the current second serves every message of that second. Offsets
// change only on whole seconds, so the time is the same as a full local conversion gives.
QDateTime LocalNow()
{
    static QMutex mutex;
    static qint64 nCachedSecond = std::numeric_limits<qint64>::min();
    static int nCachedOffset = 0;

    const qint64 nMSecs = QDateTime::currentMSecsSinceEpoch();
    const qint64 nSecond = nMSecs >= 0 ? nMSecs / 1000 : (nMSecs - 999) / 1000;
    int nOffset = 0;
    {
        QMutexLocker locker(&mutex);
        if (nSecond != nCachedSecond)
        {
            nCachedOffset = QDateTime::fromMSecsSinceEpoch(nSecond * 1000, Qt::LocalTime).offsetFromUtc();
            nCachedSecond = nSecond;
        }
        nOffset = nCachedOffset;
    }
    return QDateTime::fromMSecsSinceEpoch(nMSecs, Qt::OffsetFromUTC, nOffset);
}
} // namespace

void CLogger::Write(ELogLevel level, const char* format, ...)
{
    if (!format)
        return;
    char buffer[1024];
    va_list args;
    va_start(args, format);
    const int nLength = std::vsnprintf(buffer, sizeof(buffer), format, args);
    va_end(args);
    if (nLength < 0)
        buffer[0] = '\0';

    SLogMessage message;
    message.strMessage = QString::fromUtf8(buffer);
    message.eLevel = level;
    message.dateTime = LocalNow();
    CLogModel::GetInstance().Enqueue(message);
}

void CLogger::Flush()
{
    CLogModel::GetInstance().Flush();
}
