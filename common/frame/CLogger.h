#pragma once

#include "OvrelCommonGlobal.h"
#include "frame/ELogLevel.h"

// The one logging call of the programs. Safe from any thread: it only queues the message; the log model hands it to
// the day's file and the log views on the GUI thread.
class OVRELCOMMON_EXPORT CLogger
{
public:
    // printf-style; the text is cut at 1023 bytes.
    static void Write(ELogLevel level, const char* format, ...)
#if defined(__GNUC__)
        __attribute__((format(printf, 2, 3)))
#endif
        ;

    // Writes every message still queued to the day's file, in order. The program calls it once at the end so that
    // the last lines are not lost with the queue.
    static void Flush();
};
