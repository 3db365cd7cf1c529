#include "project/inference/CDetectionWorker.h"

CDetectionWorker::CDetectionWorker(QObject* pParent) : QObject(pParent) {}

void CDetectionWorker::Run(const SRun& run)
{
    if (run.pCancelled->load())
    {
        run.finished(true);
        return;
    }
    const int nLoadsBefore = m_model.LoadCount();
    if (!m_model.Load(run.strConfigFile, run.strWeightsFile))
    {
        run.modelFailed(m_model.ErrorText());
        run.finished(false);
        return;
    }
    if (m_model.LoadCount() != nLoadsBefore)
        run.modelLoaded(run.strWeightsFile);
    const int nTotal = run.vctImages.size();
    for (int i = 0; i < nTotal; ++i)
    {
        // One image takes well under a second with the networks the trainer makes, so a cancel between images is
        // soon enough.
        if (run.pCancelled->load())
        {
            run.finished(true);
            return;
        }
        const SImage& image = run.vctImages.at(i);
        CDetectionList lstDetections;
        if (m_model.DetectFile(image.strPath, run.fThreshold, lstDetections))
            run.imageDetected(image.nImageID, lstDetections);
        else
            run.imageSkipped(image.nImageID, m_model.ErrorText());
        run.progress(i + 1, nTotal);
    }
    run.finished(false);
}
