#include "Internal/CPageRenderer.h"

#include <QVariant>

#include <poppler-qt5.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

namespace Ovrel
{
namespace Internal
{

namespace
{

using Clock = std::chrono::steady_clock;

// How long unloading the library waits for abandoned renders to stop.
constexpr int kExitWaitMs = 2000;

// What the caller and the rendering thread share; it lives as long as either needs it.
struct SRenderJob
{
    std::shared_ptr<Poppler::Document> pDocument;
    int nPage = 0;
    double dblDpiX = 72.0;
    double dblDpiY = 72.0;
    Clock::time_point deadline;
    std::atomic<bool> bAbandoned{false};
    std::mutex mutex;
    std::condition_variable finished;
    bool bFinished = false;
    QImage image;
};

bool ShouldAbort(const QVariant& payload)
{
    const auto* pJob = static_cast<const SRenderJob*>(payload.value<void*>());
    return pJob->bAbandoned.load() || Clock::now() >= pJob->deadline;
}

void RenderJob(const std::shared_ptr<SRenderJob>& pJob)
{
    QImage image;
    {
        std::unique_ptr<Poppler::Page> pPage(pJob->pDocument->page(pJob->nPage));
        if (pPage)
            image = pPage->renderToImage(pJob->dblDpiX, pJob->dblDpiY, -1, -1, -1, -1, Poppler::Page::Rotate0, nullptr,
                                         nullptr, ShouldAbort, QVariant::fromValue(static_cast<void*>(pJob.get())));
    }
    std::lock_guard<std::mutex> lock(pJob->mutex);
    pJob->image = std::move(image);
    pJob->bFinished = true;
    pJob->finished.notify_all();
}

// Threads of abandoned renders. They are joined when the library unloads (before Poppler's own
// globals go), and on the way whenever another one is abandoned and they are done.
class CAbandonedRenders
{
public:
    static CAbandonedRenders& Instance()
    {
        static CAbandonedRenders s_instance;
        return s_instance;
    }

    void Adopt(std::thread thread, std::shared_ptr<SRenderJob> pJob)
    {
        std::vector<std::thread> vctDone;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            for (size_t i = 0; i < m_vctRenders.size();)
            {
                if (IsFinished(*m_vctRenders[i].second))
                {
                    vctDone.push_back(std::move(m_vctRenders[i].first));
                    m_vctRenders.erase(m_vctRenders.begin() + static_cast<std::ptrdiff_t>(i));
                }
                else
                {
                    ++i;
                }
            }
            m_vctRenders.emplace_back(std::move(thread), std::move(pJob));
        }
        for (std::thread& done : vctDone)
            done.join();
    }

    ~CAbandonedRenders()
    {
        // Renders stop at Poppler's next check of the abort callback, which is soon unless one
        // drawing operation runs for minutes. Such a render is left to end with the process: it
        // is deep inside that operation and touches nothing that unloading takes away.
        const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(kExitWaitMs);
        for (auto& render : m_vctRenders)
        {
            SRenderJob& job = *render.second;
            std::unique_lock<std::mutex> lock(job.mutex);
            const bool bFinished = job.finished.wait_until(lock, deadline, [&job] { return job.bFinished; });
            lock.unlock();
            if (bFinished)
                render.first.join();
            else
                render.first.detach();
        }
    }

private:
    static bool IsFinished(SRenderJob& job)
    {
        std::lock_guard<std::mutex> lock(job.mutex);
        return job.bFinished;
    }

    std::mutex m_mutex;
    std::vector<std::pair<std::thread, std::shared_ptr<SRenderJob>>> m_vctRenders;
};

} // namespace

Utils::EOvrelResult CPageRenderer::Render(const std::shared_ptr<Poppler::Document>& pDocument, int nPage,
                                          double dblDpiX, double dblDpiY, int nLimitMs, QImage& result)
{
    auto pJob = std::make_shared<SRenderJob>();
    pJob->pDocument = pDocument;
    pJob->nPage = nPage;
    pJob->dblDpiX = dblDpiX;
    pJob->dblDpiY = dblDpiY;
    pJob->deadline = Clock::now() + std::chrono::milliseconds(nLimitMs);
    // The registry exists before the first thread starts, so it is torn down after any thread.
    CAbandonedRenders& abandoned = CAbandonedRenders::Instance();
    std::thread thread(RenderJob, pJob);

    std::unique_lock<std::mutex> lock(pJob->mutex);
    const bool bFinished = pJob->finished.wait_until(lock, pJob->deadline, [&pJob] { return pJob->bFinished; });
    if (!bFinished)
    {
        pJob->bAbandoned = true;
        lock.unlock();
        abandoned.Adopt(std::move(thread), std::move(pJob));
        return Utils::EOvrelResult_TimedOut;
    }
    QImage image = std::move(pJob->image);
    lock.unlock();
    thread.join();
    // Poppler gives no image when the abort callback stopped it right at the limit.
    if (image.isNull())
        return Clock::now() >= pJob->deadline ? Utils::EOvrelResult_TimedOut : Utils::EOvrelResult_DecodeFailed;
    result = std::move(image);
    return Utils::EOvrelResult_OK;
}

} // namespace Internal
} // namespace Ovrel
