#pragma once

#include "project/evaluation/CDetectionEvaluator.h"
#include "project/evaluation/CDoubtfulLabel.h"
#include "project/evaluation/CDoubtfulLabelFinder.h"
#include "project/evaluation/CEvaluationRecord.h"
#include "project/evaluation/CEvaluationResult.h"
#include "project/inference/CDetectionRunner.h"
#include "project/store/CProjectLayout.h"

#include <QDateTime>
#include <QHash>
#include <QObject>
#include <QStringList>
#include <QVector>

#include <functional>
#include <memory>

class CDatabase;
class CDatasetImageEntry;

// Measures trained weights on a list of project images: the network runs over them on the runner's thread at the
// trainer's lowest score (CDetectionModel::VALID_THRESHOLD), and each image's detections are measured against its
// stored boxes on the caller's thread as they arrive. "Evaluate" measures the test list (CDetectionEvaluator), looks
// for suspect labels and keeps the outcome as a record in the project's Evaluation folder; "Check Labels" only looks
// for suspect labels (on the training list). An image that does not decode is left out and counted; a cancelled run
// saves nothing.
class CEvaluationRun : public QObject
{
    Q_OBJECT
public:
    enum EPurpose
    {
        EPurpose_Evaluate,
        EPurpose_CheckLabels,
    };
    // One image to run over: its key in every list the run gives (the image's name) and its boxes, class index =
    // position in the class table.
    struct SImage
    {
        int nImageID = -1;
        QString strKey;
        QString strPath;
        CLabelledBoxList boxes;
    };
    using Clock = std::function<QDateTime()>;

    // The clock dates the records (the current UTC time unless a test hands in another).
    explicit CEvaluationRun(QObject* pParent = nullptr, Clock clock = Clock());
    ~CEvaluationRun() override;

    // The entries' boxes from the project file, read in one pass by column; paths are made absolute in the project
    // folder. False with strError when the tables cannot be read.
    static bool ReadImages(CDatabase* pDatabase, const QString& strProjectDir,
                           const std::vector<std::shared_ptr<CDatasetImageEntry>>& vctEntries,
                           QVector<SImage>& vctImages, QString& strError);

    // Starts a run over vctImages with the build's configuration of layout and the weights; dblThreshold is the
    // user's threshold (figures "at the threshold", suspect rules). False, nothing started, while a run is going.
    bool Start(EPurpose ePurpose, const CProjectLayout& layout, const QStringList& lstClassNames,
               const QVector<SImage>& vctImages, const QString& strWeightsFile, double dblThreshold);
    // Ends the run at once: signal_Finished(true, ...) comes before this returns and nothing is saved.
    void Cancel();
    bool IsRunning() const { return m_runner.IsRunning(); }
    EPurpose Purpose() const { return m_ePurpose; }

    // Of the last run (also after it ended): the weights and class table it used, and an image's project ID (-1 for a
    // key it did not have) and detections at the user's threshold.
    QString WeightsFile() const { return m_strWeights; }
    QStringList ClassNames() const { return m_lstClassNames; }
    int ImageIDOf(const QString& strKey) const { return m_mapImageIDs.value(strKey, -1); }
    CDetectionList DetectionsOf(const QString& strKey) const { return m_mapDetections.value(strKey); }

signals:
    void signal_Progress(int nDone, int nTotal);
    // An evaluation ended and its record was saved (strSavedFile; empty when saving failed, and then strError of
    // signal_Finished says why). pPrevious is the newest record there was before, null for none; valid during the
    // call only.
    void signal_Evaluated(const CEvaluationResult& result, const CDoubtfulLabelList& lstSuspects,
                          const CEvaluationRecord& newest, const CEvaluationRecord* pPrevious,
                          const QString& strSavedFile);
    // A label check ended.
    void signal_SuspectsFound(const CDoubtfulLabelList& lstSuspects);
    // The last signal of a run. nSkipped images did not decode; strError says what went wrong (a model that did not
    // load: then nothing was measured; a record that could not be saved), empty when nothing did.
    void signal_Finished(bool bCancelled, int nSkipped, const QString& strError);

private:
    void ImageDetected(int nImageID, const CDetectionList& lstDetections);
    void ImageSkipped(int nImageID, const QString& strReason);
    void RunFinished(bool bCancelled, int nSkipped);
    void SaveEvaluation(QString& strError);

    CDetectionRunner m_runner;
    Clock m_clock;
    EPurpose m_ePurpose = EPurpose_Evaluate;
    CProjectLayout m_layout;
    QString m_strWeights;
    QStringList m_lstClassNames;
    double m_dblThreshold = 0.0;
    QVector<SImage> m_vctImages;
    QHash<int, int> m_mapSlots;
    QHash<QString, int> m_mapImageIDs;
    QHash<QString, CDetectionList> m_mapDetections;
    std::unique_ptr<CDetectionEvaluator> m_pEvaluator;
    std::unique_ptr<CDoubtfulLabelFinder> m_pFinder;
    CDoubtfulLabelList m_lstSuspects;
    QString m_strModelError;
};
