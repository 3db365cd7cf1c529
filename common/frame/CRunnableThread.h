#pragma once

#include "OvrelCommonGlobal.h"

#include <QThread>

class IOvrelRunnable;

// Runs one job on a thread of its own. Finished() reaches the job as a queued call on the creating thread, so it runs
// only while that thread processes events. The job is never deleted here; starting is the owner's business.
class OVRELCOMMON_EXPORT CRunnableThread : public QThread
{
    Q_OBJECT
public:
    explicit CRunnableThread(IOvrelRunnable* pRunnable);

public slots:
    void slot_Finished();

protected:
    void run() override;

private:
    IOvrelRunnable* m_pRunnable = nullptr;
};
