#include "frame/CRunnableThread.h"

#include "frame/IOvrelRunnable.h"

CRunnableThread::CRunnableThread(IOvrelRunnable* pRunnable) : QThread(nullptr), m_pRunnable(pRunnable)
{
    connect(this, &QThread::finished, this, &CRunnableThread::slot_Finished);
}

void CRunnableThread::run()
{
    if (m_pRunnable)
        m_pRunnable->Run();
}

void CRunnableThread::slot_Finished()
{
    if (m_pRunnable)
        m_pRunnable->Finished();
}
