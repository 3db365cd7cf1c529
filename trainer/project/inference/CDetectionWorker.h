#pragma once

#include "project/inference/CDetectionModel.h"

#include <QObject>
#include <QString>
#include <QVector>

#include <atomic>
#include <functional>
#include <memory>

// The part of a detection run that lives on the worker thread: it keeps the model between runs (so unchanged files
// are not read again) and reports through the run's callbacks, which it calls on its own thread.
class CDetectionWorker : public QObject
{
    Q_OBJECT
public:
    struct SImage
    {
        int nImageID = -1;
        QString strPath;
    };
    struct SRun
    {
        QString strConfigFile;
        QString strWeightsFile;
        QVector<SImage> vctImages;
        float fThreshold = CDetectionModel::DEFAULT_THRESHOLD;
        // Looked at before the model is loaded and between images.
        std::shared_ptr<std::atomic<bool>> pCancelled;
        std::function<void(const QString& strWeightsFile)> modelLoaded;
        std::function<void(const QString& strError)> modelFailed;
        std::function<void(int nImageID, const CDetectionList& lstDetections)> imageDetected;
        std::function<void(int nImageID, const QString& strReason)> imageSkipped;
        std::function<void(int nDone, int nTotal)> progress;
        // Last of every run, also after a model that failed (bCancelled false, no image done).
        std::function<void(bool bCancelled)> finished;
    };

    explicit CDetectionWorker(QObject* pParent = nullptr);

    void Run(const SRun& run);

private:
    CDetectionModel m_model;
};
