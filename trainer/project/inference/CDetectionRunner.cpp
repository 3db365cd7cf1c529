#include "project/inference/CDetectionRunner.h"

CDetectionRunner::CDetectionRunner(QObject* pParent) : QObject(pParent)
{
    // Listeners on other threads get the detections through queued connections.
    qRegisterMetaType<CDetectionList>("CDetectionList");
    m_pWorker = new CDetectionWorker;
    m_pWorker->moveToThread(&m_thread);
    connect(&m_thread, &QThread::finished, m_pWorker, &QObject::deleteLater);
    m_thread.start();
}

CDetectionRunner::~CDetectionRunner()
{
    if (m_pCancelled)
        m_pCancelled->store(true);
    m_thread.quit();
    m_thread.wait();
}

void CDetectionRunner::Post(quint64 nRun, const std::function<void()>& deliver)
{
    QMetaObject::invokeMethod(
        this,
        [this, nRun, deliver]
        {
            if (m_bRunning && nRun == m_nRun)
                deliver();
        },
        Qt::QueuedConnection);
}

bool CDetectionRunner::Start(const QString& strConfigFile, const QString& strWeightsFile,
                             const QVector<SImage>& vctImages, float fThreshold)
{
    if (m_bRunning)
        return false;
    const quint64 nRun = ++m_nRun;
    m_bRunning = true;
    m_nSkipped = 0;
    m_pCancelled = std::make_shared<std::atomic<bool>>(false);

    CDetectionWorker::SRun run;
    run.strConfigFile = strConfigFile;
    run.strWeightsFile = strWeightsFile;
    run.vctImages = vctImages;
    run.fThreshold = fThreshold;
    run.pCancelled = m_pCancelled;
    run.modelLoaded = [this, nRun](const QString& strFile)
    { Post(nRun, [this, strFile] { emit signal_ModelLoaded(strFile); }); };
    run.modelFailed = [this, nRun](const QString& strError)
    { Post(nRun, [this, strError] { emit signal_ModelFailed(strError); }); };
    run.imageDetected = [this, nRun](int nImageID, const CDetectionList& lstDetections)
    { Post(nRun, [this, nImageID, lstDetections] { emit signal_ImageDetected(nImageID, lstDetections); }); };
    run.imageSkipped = [this, nRun](int nImageID, const QString& strReason)
    {
        Post(nRun,
             [this, nImageID, strReason]
             {
                 ++m_nSkipped;
                 emit signal_ImageSkipped(nImageID, strReason);
             });
    };
    run.progress = [this, nRun](int nDone, int nTotal)
    { Post(nRun, [this, nDone, nTotal] { emit signal_Progress(nDone, nTotal); }); };
    run.finished = [this, nRun](bool bCancelled)
    {
        Post(nRun,
             [this, bCancelled]
             {
                 m_bRunning = false;
                 emit signal_Finished(bCancelled, m_nSkipped);
             });
    };
    CDetectionWorker* pWorker = m_pWorker;
    QMetaObject::invokeMethod(
        m_pWorker, [pWorker, run] { pWorker->Run(run); }, Qt::QueuedConnection);
    return true;
}

void CDetectionRunner::Cancel()
{
    if (!m_bRunning)
        return;
    m_pCancelled->store(true);
    m_bRunning = false;
    emit signal_Finished(true, m_nSkipped);
}
