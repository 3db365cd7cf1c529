#pragma once

#include <QString>
#include <QStringList>
#include <QThreadPool>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <vector>

// Decodes image files on threads of its own, a few files ahead of a caller who takes the results one by one in
// order, so that the decoding of the next files overlaps with what the caller does with the current one. Only the
// outcome and the size are kept: at most a few pictures are in memory at any time.
class CImageDecodeQueue
{
public:
    struct SResult
    {
        bool bLoaded = false;
        unsigned int nWidth = 0;
        unsigned int nHeight = 0;
    };

    // An empty path stands for a file that is not needed: its result is "not loaded" and nothing is read.
    explicit CImageDecodeQueue(const QStringList& lstPaths);
    // Files not yet started are dropped; the ones being decoded are waited for.
    ~CImageDecodeQueue();
    CImageDecodeQueue(const CImageDecodeQueue&) = delete;
    CImageDecodeQueue& operator=(const CImageDecodeQueue&) = delete;

    // The result of COvrelImage::LoadFromFile for lstPaths[nIndex]. Indices are taken in increasing order (skipping
    // is allowed). While the file is still being decoded, waiting() is called every few milliseconds on the caller's
    // thread (to keep a window responsive, say).
    SResult Take(int nIndex, const std::function<void()>& waiting);

private:
    void StartUpTo(int nIndex);
    void Decode(int nIndex);

    // Read from several threads at once: const, so that no access can detach the list it shares with the caller.
    const QStringList m_lstPaths;
    QThreadPool m_pool;
    int m_nAhead = 0;
    int m_nStarted = 0;
    std::mutex m_mutex;
    std::condition_variable m_condition;
    std::vector<SResult> m_vctResults;
    std::vector<char> m_vctDone;
    std::atomic<bool> m_bAbandoned{false};
};
