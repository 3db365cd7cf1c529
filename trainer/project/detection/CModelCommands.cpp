#include "project/detection/CModelCommands.h"

#include "database/CColumnSelect.h"
#include "frame/CLogger.h"
#include "frame/CPrompt.h"
#include "project/CProjectModel.h"
#include "project/inference/CDetectionModel.h"
#include "project/inference/CWeightsChoice.h"
#include "project/proposals/CRoiProposals.h"
#include "project/settings/CProjectProperties.h"
#include "project/store/CDatasetImageEntry.h"
#include "project/store/CDatasetROIRecord.h"
#include "project/store/CProjectLayout.h"

#include <QFileInfo>
#include <QProgressDialog>

#include <unordered_set>

namespace
{
const char* const DETECT_TITLE = "Detect";
const char* const PRE_LABEL_TITLE = "Pre-label Images";
} // namespace

CModelCommands::CModelCommands(CDatabase* pDatabase, CProjectModel* pModel, CRoiProposals* pProposals,
                               std::function<bool()> build, QWidget* pPromptParent, QObject* parent)
    : QObject(parent), m_pDatabase(pDatabase), m_pModel(pModel), m_pProposals(pProposals), m_build(std::move(build)),
      m_pPromptParent(pPromptParent)
{
    // The log names the weights each time a network is read from disk, not when the loaded one serves again.
    connect(&m_runner, &CDetectionRunner::signal_ModelLoaded, this, &CWeightsChoice::LogModel);
    connect(&m_runner, &CDetectionRunner::signal_ModelFailed, this,
            [this](const QString& strError)
            {
                m_bModelFailed = true;
                Fail(m_eRun == ERun::PreLabel ? PRE_LABEL_TITLE : DETECT_TITLE, strError);
            });
    connect(&m_runner, &CDetectionRunner::signal_ImageDetected, this, &CModelCommands::OnImageDetected);
    connect(&m_runner, &CDetectionRunner::signal_ImageSkipped, this, &CModelCommands::OnImageSkipped);
    connect(&m_runner, &CDetectionRunner::signal_Progress, this,
            [this](int nDone, int)
            {
                if (m_pProgress)
                    m_pProgress->setValue(nDone);
            });
    connect(&m_runner, &CDetectionRunner::signal_Finished, this, &CModelCommands::OnFinished);
    if (m_pModel)
    {
        connect(m_pModel, &CProjectModel::signal_ChangeProject, this, &CModelCommands::ProjectChanged);
        connect(m_pModel, &CProjectModel::signal_CloseProject, this, &CModelCommands::ProjectChanged);
    }
}

CModelCommands::~CModelCommands()
{
    // The results of a run must not reach proposals that are going.
    m_runner.Cancel();
    delete m_pProgress;
}

void CModelCommands::ProjectChanged()
{
    const QString strDir = m_pModel ? m_pModel->GetProjectDir() : QString();
    if (strDir == m_strProjectDir)
        return;
    // Nothing of one project's run may land in another, nor in a closed one.
    Cancel();
    m_strProjectDir = strDir;
    m_pWeightsChoice.reset();
}

QString CModelCommands::ChosenWeights() const
{
    return m_pWeightsChoice ? m_pWeightsChoice->ChosenFile() : QString();
}

float CModelCommands::Threshold() const
{
    if (!m_pModel)
        return CDetectionModel::DEFAULT_THRESHOLD;
    bool bOk = false;
    const double dblValue = CProjectProperties(m_pDatabase, m_pModel->GetProjectID())
                                .Get(CProjectProperties::DETECTION_THRESHOLD)
                                .toDouble(&bOk);
    return bOk && dblValue >= double(CDetectionModel::VALID_THRESHOLD) && dblValue < 1.0
               ? float(dblValue)
               : CDetectionModel::DEFAULT_THRESHOLD;
}

void CModelCommands::AskThreshold()
{
    if (!m_pModel || m_pModel->GetProjectDir().isEmpty())
        return;
    bool bOk = false;
    const QString strAnswer = CPrompt::GetText(
        m_pPromptParent, "Detection Threshold",
        QString("Lowest score of a detection (%1 to 1):").arg(double(CDetectionModel::VALID_THRESHOLD)),
        QLineEdit::Normal, QString::number(double(Threshold())), &bOk);
    if (!bOk)
        return;
    bool bNumber = false;
    const double dblValue = strAnswer.trimmed().toDouble(&bNumber);
    if (!bNumber || dblValue < double(CDetectionModel::VALID_THRESHOLD) || dblValue >= 1.0)
    {
        Fail("Detection Threshold", QString("%1 is no detection threshold: give a number from %2 up to 1.")
                                        .arg(strAnswer, QString::number(double(CDetectionModel::VALID_THRESHOLD))));
        return;
    }
    CProjectProperties(m_pDatabase, m_pModel->GetProjectID())
        .Set(CProjectProperties::DETECTION_THRESHOLD, QString::number(dblValue));
    CLogger::Write(ELogLevel_Normal, "Detection threshold: %s", qUtf8Printable(QString::number(dblValue)));
}

void CModelCommands::ChooseWeights()
{
    if (!m_pModel || m_pModel->GetProjectDir().isEmpty())
        return;
    const CProjectLayout layout(m_pModel->GetProjectDir(), m_pModel->GetProjectName());
    if (!m_pWeightsChoice)
        m_pWeightsChoice = std::make_unique<CWeightsChoice>(layout);
    const QString strFile = CPrompt::GetOpenFileName(m_pPromptParent, "Choose Weights", layout.BackupFolder(),
                                                     "Weights (*.weights);;All files (*)");
    m_pWeightsChoice->Choose(strFile);
    if (strFile.isEmpty())
        CLogger::Write(ELogLevel_Normal, "Weights: the newest in %s", qUtf8Printable(layout.BackupFolder()));
    else
        CLogger::Write(ELogLevel_Normal, "Weights chosen: %s", qUtf8Printable(strFile));
}

void CModelCommands::Fail(const QString& strTitle, const QString& strText)
{
    CLogger::Write(ELogLevel_Error, "%s: %s", qUtf8Printable(strTitle), qUtf8Printable(strText));
    CPrompt::Warning(m_pPromptParent, strTitle, strText);
}

void CModelCommands::Say(const QString& strText)
{
    CLogger::Write(ELogLevel_Normal, "%s", qUtf8Printable(strText));
    emit signal_Status(strText);
}

bool CModelCommands::PrepareModel(const QString& strTitle, QString& strConfig, QString& strWeights)
{
    const CProjectLayout layout(m_pModel->GetProjectDir(), m_pModel->GetProjectName());
    strConfig = layout.Path(CProjectLayout::CONFIGURATION_FILE);
    if (!QFileInfo(strConfig).isFile())
    {
        const QString strMissing = CDetectionModel::MissingConfigurationText(strConfig);
        CLogger::Write(ELogLevel_Warning, "%s", qUtf8Printable(strMissing));
        const QMessageBox::StandardButton answer =
            CPrompt::Question(m_pPromptParent, strTitle, strMissing + "\n\nBuild the project now?",
                              QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
        // A refused build has told why in its own box.
        if (answer != QMessageBox::Yes || !m_build || !m_build() || !QFileInfo(strConfig).isFile())
            return false;
    }
    if (!m_pWeightsChoice)
        m_pWeightsChoice = std::make_unique<CWeightsChoice>(layout);
    strWeights = m_pWeightsChoice->Resolve();
    if (strWeights.isEmpty())
    {
        Fail(strTitle, m_pWeightsChoice->ErrorText());
        return false;
    }
    return true;
}

QString CModelCommands::ImageName(int nImageID) const
{
    for (const CProjectModel::EntryList* pList : {&m_pModel->GetTrainImages(), &m_pModel->GetTestImages()})
    {
        for (const auto& pEntry : *pList)
        {
            if (pEntry->GetImageID() == nImageID)
                return pEntry->GetName();
        }
    }
    return QString();
}

bool CModelCommands::Detect(int nImageID)
{
    if (!m_pModel || m_pModel->GetProjectDir().isEmpty())
        return false;
    if (m_runner.IsRunning())
    {
        Say("A detection is running: wait for it to end");
        return false;
    }
    const QString strName = nImageID >= 0 ? ImageName(nImageID) : QString();
    if (strName.isEmpty())
    {
        Say("Detect: open a project image in a viewer first");
        return false;
    }
    QString strConfig;
    QString strWeights;
    if (!PrepareModel(DETECT_TITLE, strConfig, strWeights))
        return false;
    const CProjectLayout layout(m_pModel->GetProjectDir(), m_pModel->GetProjectName());
    m_eRun = ERun::Detect;
    m_strRunWeights = strWeights;
    m_bModelFailed = false;
    m_nRunTotal = 1;
    m_fRunThreshold = Threshold();
    return m_runner.Start(strConfig, strWeights, {{nImageID, layout.ImageFile(strName)}}, m_fRunThreshold);
}

bool CModelCommands::PreLabel()
{
    if (!m_pModel || m_pModel->GetProjectDir().isEmpty())
        return false;
    if (m_runner.IsRunning())
    {
        Say("A detection is running: wait for it to end");
        return false;
    }
    // One statement for all images: a project of thousands must not send one query per image.
    std::vector<int> vctWithRows;
    CColumnSelect select(CDatasetROIRecord::TABLE_NAME);
    select.AddInteger(CDatasetROIRecord::COLUMN_IMAGE_ID, &vctWithRows);
    if (!select.Run(m_pDatabase))
    {
        Fail(PRE_LABEL_TITLE, "The boxes of the project could not be read: no image can be said to have none.");
        return false;
    }
    const std::unordered_set<int> setWithRows(vctWithRows.begin(), vctWithRows.end());
    const CProjectLayout layout(m_pModel->GetProjectDir(), m_pModel->GetProjectName());
    QVector<CDetectionRunner::SImage> vctImages;
    for (const CProjectModel::EntryList* pList : {&m_pModel->GetTrainImages(), &m_pModel->GetTestImages()})
    {
        for (const auto& pEntry : *pList)
        {
            if (!setWithRows.count(pEntry->GetImageID()))
                vctImages.append({pEntry->GetImageID(), layout.ImageFile(pEntry->GetName())});
        }
    }
    if (vctImages.isEmpty())
    {
        Say("Pre-label: every image has boxes");
        return false;
    }
    QString strConfig;
    QString strWeights;
    if (!PrepareModel(PRE_LABEL_TITLE, strConfig, strWeights))
        return false;

    m_eRun = ERun::PreLabel;
    m_strRunWeights = strWeights;
    m_bModelFailed = false;
    m_nRunTotal = vctImages.size();
    m_nWithProposals = 0;
    m_nWithout = 0;
    m_pProgress = new QProgressDialog(QString("Pre-labelling %1 image(s)...").arg(m_nRunTotal), "Cancel", 0,
                                      m_nRunTotal, m_pPromptParent);
    m_pProgress->setWindowTitle(PRE_LABEL_TITLE);
    // The window stays responsive (the runner works on its own thread) but nothing may change the images meanwhile.
    m_pProgress->setWindowModality(Qt::WindowModal);
    m_pProgress->setAutoClose(false);
    m_pProgress->setAutoReset(false);
    connect(m_pProgress, &QProgressDialog::canceled, this, &CModelCommands::Cancel);
    m_pProgress->show();
    CLogger::Write(ELogLevel_Normal, "Pre-label: %d image(s) without boxes", m_nRunTotal);
    m_fRunThreshold = Threshold();
    return m_runner.Start(strConfig, strWeights, vctImages, m_fRunThreshold);
}

void CModelCommands::Cancel()
{
    m_runner.Cancel();
}

void CModelCommands::OnImageDetected(int nImageID, const CDetectionList& lstDetections)
{
    if (m_eRun == ERun::Detect)
    {
        m_pProposals->ShowProposals(nImageID, lstDetections, m_strRunWeights, false);
        Say(QString("Detect: %1 object(s) on %2 above %3")
                .arg(lstDetections.size())
                .arg(ImageName(nImageID))
                .arg(double(m_fRunThreshold)));
        return;
    }
    // Each image's proposals replace those it had, also with none: what an older model proposed is not left behind.
    if (!m_pProposals->ShowProposals(nImageID, lstDetections, m_strRunWeights, true))
    {
        // The user has been told; a file that takes no proposals would fail for every image that follows.
        Cancel();
        return;
    }
    if (lstDetections.isEmpty())
        ++m_nWithout;
    else
        ++m_nWithProposals;
}

void CModelCommands::OnImageSkipped(int nImageID, const QString& strReason)
{
    if (m_eRun == ERun::Detect)
    {
        Fail(DETECT_TITLE, strReason);
        return;
    }
    CLogger::Write(ELogLevel_Warning, "Pre-label: skipped image %s: %s", qUtf8Printable(ImageName(nImageID)),
                   qUtf8Printable(strReason));
}

void CModelCommands::OnFinished(bool bCancelled, int nSkipped)
{
    const ERun eRun = m_eRun;
    m_eRun = ERun::None;
    if (m_pProgress)
    {
        // Finished may come from the dialog's own Cancel: it goes once that signal has returned.
        m_pProgress->hide();
        m_pProgress->deleteLater();
        m_pProgress = nullptr;
    }
    if (m_bModelFailed)
        return;
    if (eRun == ERun::Detect && bCancelled)
        Say("Detect cancelled");
    if (eRun != ERun::PreLabel)
        return;
    if (bCancelled)
        Say(QString("Pre-label cancelled after %1 of %2 image(s): the proposals of %3 image(s) are kept; %4 had none, "
                    "%5 skipped (did not decode)")
                .arg(m_nWithProposals + m_nWithout + nSkipped)
                .arg(m_nRunTotal)
                .arg(m_nWithProposals)
                .arg(m_nWithout)
                .arg(nSkipped));
    else
        Say(QString("Pre-label: %1 image(s) got proposals, %2 had none, %3 skipped (did not decode)")
                .arg(m_nWithProposals)
                .arg(m_nWithout)
                .arg(nSkipped));
    if (m_nWithProposals + m_nWithout > 0)
        emit signal_ProposalsStored();
}
