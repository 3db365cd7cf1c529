#include "frame/CLogger.h"

#include "frame/CLogModel.h"

#include <QDateTime>

#include <cstdarg>
#include <cstdio>

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
    message.dateTime = QDateTime::currentDateTime();
    CLogModel::GetInstance().Enqueue(message);
}

void CLogger::Flush()
{
    CLogModel::GetInstance().Flush();
}
