#pragma once

#include "project/inference/CDetectionWorker.h"

#include <QObject>
#include <QThread>

// Runs the trained network over a list of images on a thread of its own, so that the caller's event loop never waits
// for it; results arrive as signals on the caller's thread, one image at a time. The network is loaded on that
// thread, kept there between runs while its files are unchanged, and never shared with another thread.
class CDetectionRunner : public QObject
{
    Q_OBJECT
public:
    using SImage = CDetectionWorker::SImage;

    explicit CDetectionRunner(QObject* pParent = nullptr);
    // Cancels a run that is going and waits for the image being detected.
    ~CDetectionRunner() override;

    // Starts a run over vctImages with the configuration and weights, keeping scores above fThreshold. False, with
    // nothing started, while another run is going.
    bool Start(const QString& strConfigFile, const QString& strWeightsFile, const QVector<SImage>& vctImages,
               float fThreshold);
    // Ends the running run at once: emits signal_Finished(true, ...) before it returns, and nothing of that run
    // arrives afterwards. The worker stops after the image it is on.
    void Cancel();
    bool IsRunning() const { return m_bRunning; }

signals:
    // The network was read from disk for this run (not emitted when the loaded one was reused).
    void signal_ModelLoaded(const QString& strWeightsFile);
    // The model did not load (strError says why); signal_Finished(false, 0) follows with no image done.
    void signal_ModelFailed(const QString& strError);
    void signal_ImageDetected(int nImageID, const CDetectionList& lstDetections);
    // An image that did not decode or that the network failed on; the run goes on.
    void signal_ImageSkipped(int nImageID, const QString& strReason);
    void signal_Progress(int nDone, int nTotal);
    // The last signal of a run; nSkipped counts its signal_ImageSkipped.
    void signal_Finished(bool bCancelled, int nSkipped);

private:
    // Calls deliver on this object's thread if the run it belongs to is still the running one.
    void Post(quint64 nRun, const std::function<void()>& deliver);

    QThread m_thread;
    CDetectionWorker* m_pWorker = nullptr;
    std::shared_ptr<std::atomic<bool>> m_pCancelled;
    quint64 m_nRun = 0;
    bool m_bRunning = false;
    int m_nSkipped = 0;
};
