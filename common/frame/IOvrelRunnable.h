#pragma once

#include "OvrelCommonGlobal.h"

// A job for CRunnableThread: Run on the worker thread, then Finished on the thread that created the runner.
class OVRELCOMMON_EXPORT IOvrelRunnable
{
public:
    virtual void Run() = 0;
    virtual void Finished() = 0;
    virtual ~IOvrelRunnable() = default;
};
