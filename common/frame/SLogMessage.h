#pragma once

#include "frame/ELogLevel.h"

#include <QDateTime>
#include <QMetaType>
#include <QString>

// One queued log message. The time is taken when the message is written, not when it is handed out.
struct SLogMessage
{
    QString strMessage;
    ELogLevel eLevel = ELogLevel_Normal;
    QDateTime dateTime;
};

Q_DECLARE_METATYPE(SLogMessage)
