#include "project/evaluation/CEvaluationRun.h"

#include "frame/CLogger.h"
#include "project/classes/CProjectCategories.h"
#include "project/evaluation/CEvaluationStore.h"
#include "project/inference/CDetectionModel.h"
#include "project/inference/CWeightsChoice.h"
#include "project/store/CDatasetImageEntry.h"
#include "project/store/CProjectBoxTable.h"

#include <QDir>

#include <cmath>

CEvaluationRun::CEvaluationRun(QObject* pParent, Clock clock)
    : QObject(pParent), m_clock(clock ? std::move(clock) : [] { return QDateTime::currentDateTimeUtc(); }),
      m_layout(QString())
{
    connect(&m_runner, &CDetectionRunner::signal_ModelFailed, this,
            [this](const QString& strError) { m_strModelError = strError; });
    connect(&m_runner, &CDetectionRunner::signal_ImageDetected, this, &CEvaluationRun::ImageDetected);
    connect(&m_runner, &CDetectionRunner::signal_ImageSkipped, this, &CEvaluationRun::ImageSkipped);
    connect(&m_runner, &CDetectionRunner::signal_Progress, this, &CEvaluationRun::signal_Progress);
    connect(&m_runner, &CDetectionRunner::signal_Finished, this, &CEvaluationRun::RunFinished);
}

CEvaluationRun::~CEvaluationRun() = default;

bool CEvaluationRun::ReadImages(CDatabase* pDatabase, const QString& strProjectDir,
                                const std::vector<std::shared_ptr<CDatasetImageEntry>>& vctEntries,
                                QVector<SImage>& vctImages, QString& strError)
{
    vctImages.clear();
    CProjectCategories categories(pDatabase);
    CProjectBoxTable table;
    if (!categories.IsRead() || !table.Read(pDatabase))
    {
        strError = QString("Cannot read the table %1")
                       .arg(categories.IsRead() ? table.FailedTable() : CProjectCategories::Table());
        return false;
    }
    const QDir folder(strProjectDir);
    vctImages.reserve(static_cast<int>(vctEntries.size()));
    for (const std::shared_ptr<CDatasetImageEntry>& pEntry : vctEntries)
    {
        if (!pEntry || pEntry->GetImageID() < 0)
            continue;
        SImage image;
        image.nImageID = pEntry->GetImageID();
        image.strKey = pEntry->GetName();
        image.strPath = folder.filePath(QDir::fromNativeSeparators(pEntry->GetFullPath()));
        const long nSlot = table.SlotOf(image.nImageID);
        if (nSlot >= 0)
        {
            const size_t nEnd = table.EndRoi(static_cast<size_t>(nSlot));
            for (size_t n = table.FirstRoi(static_cast<size_t>(nSlot)); n < nEnd; ++n)
            {
                const size_t nRoi = table.Roi(n);
                const QRectF box(table.Box(nRoi, 0), table.Box(nRoi, 1), table.Box(nRoi, 2), table.Box(nRoi, 3));
                // A box with an unreadable cell cannot be matched; the validation reports it.
                if (std::isnan(box.x()) || std::isnan(box.y()) || std::isnan(box.width()) || std::isnan(box.height()))
                    continue;
                image.boxes.append({categories.IndexOf(table.CategoryID(nRoi)), box});
            }
        }
        vctImages.append(image);
    }
    return true;
}

bool CEvaluationRun::Start(EPurpose ePurpose, const CProjectLayout& layout, const QStringList& lstClassNames,
                           const QVector<SImage>& vctImages, const QString& strWeightsFile, double dblThreshold)
{
    if (m_runner.IsRunning())
        return false;
    m_ePurpose = ePurpose;
    m_layout = layout;
    m_strWeights = strWeightsFile;
    m_lstClassNames = lstClassNames;
    m_dblThreshold = dblThreshold;
    m_vctImages = vctImages;
    m_mapSlots.clear();
    m_mapImageIDs.clear();
    m_mapDetections.clear();
    m_lstSuspects.clear();
    m_strModelError.clear();
    QVector<CDetectionRunner::SImage> vctRunImages;
    vctRunImages.reserve(vctImages.size());
    for (int i = 0; i < vctImages.size(); ++i)
    {
        m_mapSlots.insert(vctImages[i].nImageID, i);
        m_mapImageIDs.insert(vctImages[i].strKey, vctImages[i].nImageID);
        vctRunImages.append({vctImages[i].nImageID, vctImages[i].strPath});
    }
    m_pEvaluator = std::make_unique<CDetectionEvaluator>(lstClassNames, dblThreshold);
    m_pFinder = std::make_unique<CDoubtfulLabelFinder>(dblThreshold);
    // Every run says which weights it measures, also when the loaded network is reused.
    CWeightsChoice::LogModel(strWeightsFile);
    CLogger::Write(ELogLevel_Normal, "%s %d images",
                   ePurpose == EPurpose_Evaluate ? "Evaluating" : "Checking labels of", vctImages.size());
    // The AP needs the whole ranking: the user's threshold only cuts the figures "at the threshold".
    return m_runner.Start(layout.Path(CProjectLayout::CONFIGURATION_FILE), strWeightsFile, vctRunImages,
                          CDetectionModel::VALID_THRESHOLD);
}

void CEvaluationRun::Cancel()
{
    m_runner.Cancel();
}

void CEvaluationRun::ImageDetected(int nImageID, const CDetectionList& lstDetections)
{
    const int nSlot = m_mapSlots.value(nImageID, -1);
    if (nSlot < 0)
        return;
    const SImage& image = m_vctImages.at(nSlot);
    if (m_ePurpose == EPurpose_Evaluate)
        m_pEvaluator->AddImage(image.strKey, image.boxes, lstDetections);
    m_lstSuspects += m_pFinder->Find(image.strKey, image.boxes, lstDetections);
    // Only what the user would see as proposals is kept: the full ranking of a large list would not fit.
    CDetectionList lstShown;
    const float fThreshold = static_cast<float>(m_dblThreshold);
    for (const CDetection& detection : lstDetections)
    {
        if (detection.Score >= fThreshold)
            lstShown.append(detection);
    }
    if (!lstShown.isEmpty())
        m_mapDetections.insert(image.strKey, lstShown);
}

void CEvaluationRun::ImageSkipped(int nImageID, const QString& strReason)
{
    const int nSlot = m_mapSlots.value(nImageID, -1);
    CLogger::Write(ELogLevel_Warning, "Image %s left out: %s",
                   qUtf8Printable(nSlot >= 0 ? m_vctImages.at(nSlot).strKey : QString::number(nImageID)),
                   qUtf8Printable(strReason));
}

void CEvaluationRun::RunFinished(bool bCancelled, int nSkipped)
{
    QString strError = m_strModelError;
    if (bCancelled)
        CLogger::Write(ELogLevel_Warning, "%s cancelled: nothing was saved",
                       m_ePurpose == EPurpose_Evaluate ? "Evaluation" : "Label check");
    else if (strError.isEmpty() && m_ePurpose == EPurpose_Evaluate)
        SaveEvaluation(strError);
    else if (strError.isEmpty())
    {
        CLogger::Write(ELogLevel_Normal, "Label check: %d suspect labels", m_lstSuspects.size());
        emit signal_SuspectsFound(m_lstSuspects);
    }
    if (!strError.isEmpty())
        CLogger::Write(ELogLevel_Error, "%s", qUtf8Printable(strError));
    emit signal_Finished(bCancelled, nSkipped, strError);
}

void CEvaluationRun::SaveEvaluation(QString& strError)
{
    const CEvaluationResult result = m_pEvaluator->Evaluate();
    const CEvaluationRecord newest = CEvaluationRecord::FromResult(result, m_strWeights, m_clock());
    CEvaluationStore store(m_layout.EvaluationFolder());
    // Read before the new one is written, so that it is the one before.
    const QVector<CEvaluationRecord> vctPrevious = store.LoadNewest(1);
    for (const QString& strSkipped : store.Skipped())
        CLogger::Write(ELogLevel_Warning, "Evaluation record passed over: %s", qUtf8Printable(strSkipped));
    const QString strSaved = store.Save(newest, strError);
    CLogger::Write(ELogLevel_Normal, "Evaluation of %d images: mAP@0.5 %.3f, mAP@0.5:0.95 %.3f over %d classes",
                   result.ImageCount, result.MeanAP50, result.MeanAP50To95, result.ClassesInMean);
    if (!strSaved.isEmpty())
        CLogger::Write(ELogLevel_Normal, "Evaluation saved: %s", qUtf8Printable(strSaved));
    emit signal_Evaluated(result, m_lstSuspects, newest, vctPrevious.isEmpty() ? nullptr : &vctPrevious.first(),
                          strSaved);
}
