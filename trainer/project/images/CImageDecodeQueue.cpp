#include "project/images/CImageDecodeQueue.h"

#include "Utils/COvrelImage.h"

#include <QThread>

#include <algorithm>
#include <chrono>

CImageDecodeQueue::CImageDecodeQueue(const QStringList& lstPaths)
    : m_lstPaths(lstPaths), m_vctResults(static_cast<size_t>(lstPaths.size())),
      m_vctDone(static_cast<size_t>(lstPaths.size()), 0)
{
    m_pool.setMaxThreadCount(std::max(1, QThread::idealThreadCount()));
    // Every thread has a file to go on with while the caller handles the one it waited for, and no more: each
    // decoded file holds its whole picture until the next one starts.
    m_nAhead = 2 * m_pool.maxThreadCount();
}

CImageDecodeQueue::~CImageDecodeQueue()
{
    m_bAbandoned = true;
    m_pool.waitForDone();
}

CImageDecodeQueue::SResult CImageDecodeQueue::Take(int nIndex, const std::function<void()>& waiting)
{
    if (nIndex < 0 || nIndex >= m_lstPaths.size())
        return SResult();
    StartUpTo(nIndex + m_nAhead);
    std::unique_lock<std::mutex> lock(m_mutex);
    while (!m_vctDone[static_cast<size_t>(nIndex)])
    {
        if (waiting)
        {
            lock.unlock();
            waiting();
            lock.lock();
        }
        m_condition.wait_for(lock, std::chrono::milliseconds(15),
                             [&] { return m_vctDone[static_cast<size_t>(nIndex)] != 0; });
    }
    return m_vctResults[static_cast<size_t>(nIndex)];
}

void CImageDecodeQueue::StartUpTo(int nIndex)
{
    for (; m_nStarted <= nIndex && m_nStarted < m_lstPaths.size(); ++m_nStarted)
    {
        const int nStarted = m_nStarted;
        m_pool.start(QRunnable::create([this, nStarted] { Decode(nStarted); }));
    }
}

void CImageDecodeQueue::Decode(int nIndex)
{
    SResult result;
    const QString& strPath = m_lstPaths.at(nIndex);
    if (!m_bAbandoned && !strPath.isEmpty())
    {
        // One image per file: a decode holds a whole picture, which goes as soon as its size is known.
        Ovrel::Utils::COvrelImage image;
        if (image.LoadFromFile(strPath.toStdWString()) == Ovrel::Utils::EOvrelResult_OK)
        {
            result.bLoaded = true;
            result.nWidth = static_cast<unsigned int>(image.GetWidth());
            result.nHeight = static_cast<unsigned int>(image.GetHeight());
        }
    }
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_vctResults[static_cast<size_t>(nIndex)] = result;
        m_vctDone[static_cast<size_t>(nIndex)] = 1;
    }
    m_condition.notify_all();
}
