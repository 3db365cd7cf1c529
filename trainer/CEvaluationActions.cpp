#include "CEvaluationActions.h"

#include "CMainWindowActions.h"
#include "frame/CPrompt.h"
#include "project/CProjectController.h"
#include "project/CProjectModel.h"
#include "project/evaluation/CEvaluationRun.h"
#include "project/evaluation/CEvaluationSetup.h"
#include "project/proposals/CRoiProposals.h"
#include "project/store/CDatasetImageEntry.h"
#include "views/CEvaluationView.h"

#include <QAction>
#include <QMenu>
#include <QProgressDialog>

CEvaluationActions::CEvaluationActions(QWidget* pWindow, const CMainWindowActions& commands, CProjectModel* pModel,
                                       CProjectController* pController, CEvaluationView* pView)
    : QObject(pWindow), m_pWindow(pWindow), m_pModel(pModel), m_pController(pController), m_pView(pView)
{
    m_pRun = new CEvaluationRun(this);
    pEvaluate = new QAction("Evaluate", pWindow);
    pEvaluate->setToolTip("Measure the trained weights on the test list");
    pCheckLabels = new QAction("Check Training Labels", pWindow);
    pCheckLabels->setToolTip("Point at probably wrong labels of the training list");
    commands.pRunMenu->insertActions(commands.pSetting, {pEvaluate, pCheckLabels});
    commands.pRunMenu->insertSeparator(commands.pSetting);
    connect(pEvaluate, &QAction::triggered, this, &CEvaluationActions::slot_Evaluate);
    connect(pCheckLabels, &QAction::triggered, this, &CEvaluationActions::slot_CheckTrainingLabels);
    connect(m_pRun, &CEvaluationRun::signal_Progress, this,
            [this](int nDone, int nTotal)
            {
                if (!m_pProgress)
                    return;
                m_pProgress->setMaximum(nTotal);
                m_pProgress->setValue(nDone);
            });
    connect(m_pRun, &CEvaluationRun::signal_Finished, this, &CEvaluationActions::Finished);
    if (pModel)
    {
        connect(pModel, &CProjectModel::signal_ChangeProject, this, &CEvaluationActions::ProjectChanged);
        connect(pModel, &CProjectModel::signal_CloseProject, this, &CEvaluationActions::ProjectChanged);
    }
    ConnectView();
    UpdateEnabled();
}

void CEvaluationActions::ConnectView()
{
    if (!m_pView)
        return;
    CEvaluationView* pView = m_pView;
    connect(m_pRun, &CEvaluationRun::signal_Evaluated, pView,
            [this, pView](const CEvaluationResult& result, const CDoubtfulLabelList& lstSuspects,
                          const CEvaluationRecord& newest, const CEvaluationRecord* pPrevious, const QString& strSaved)
            {
                m_strSaved = strSaved;
                pView->ShowEvaluation(result, lstSuspects, newest, pPrevious);
            });
    connect(m_pRun, &CEvaluationRun::signal_SuspectsFound, pView,
            [this, pView](const CDoubtfulLabelList& lstSuspects)
            { pView->ShowSuspects(lstSuspects, m_pRun->ClassNames()); });
    connect(m_pRun, &CEvaluationRun::signal_Progress, pView,
            [pView](int nDone, int nTotal) { pView->SetStatus(QString("%1 of %2 images").arg(nDone).arg(nTotal)); });
    connect(pView, &CEvaluationView::signal_OpenImage, this, &CEvaluationActions::slot_OpenImage);
    connect(pView, &CEvaluationView::signal_CheckTrainingLabels, this, &CEvaluationActions::slot_CheckTrainingLabels);
}

void CEvaluationActions::ProjectChanged()
{
    // What was measured belongs to the project that was open; its run must not save into it once it is closed.
    m_pRun->Cancel();
    if (m_pView)
        m_pView->Clear();
    UpdateEnabled();
}

CEvaluationActions::~CEvaluationActions()
{
    delete m_pProgress;
}

void CEvaluationActions::UpdateEnabled()
{
    const bool bOpen = m_pModel && !m_pModel->GetProjectDir().isEmpty();
    pEvaluate->setEnabled(bOpen && !m_pRun->IsRunning());
    pCheckLabels->setEnabled(bOpen && !m_pRun->IsRunning());
    if (m_pView)
        m_pView->SetCheckEnabled(bOpen && !m_pRun->IsRunning());
}

void CEvaluationActions::slot_Evaluate()
{
    Start(false);
}

void CEvaluationActions::slot_CheckTrainingLabels()
{
    Start(true);
}

void CEvaluationActions::Start(bool bTrainingList)
{
    if (!m_pModel || !m_pController || m_pRun->IsRunning())
        return;
    const QString strTitle = bTrainingList ? "Check Training Labels" : "Evaluate";
    CEvaluationSetup setup;
    bool bReady = setup.Prepare(*m_pController, *m_pModel, bTrainingList);
    if (!bReady && setup.Problem() == CEvaluationSetup::EProblem_NoConfiguration &&
        CPrompt::Question(m_pWindow, strTitle, setup.ErrorText() + "\n\nBuild the project now?") == QMessageBox::Yes &&
        m_pController->BuildProject())
        bReady = setup.Prepare(*m_pController, *m_pModel, bTrainingList);
    if (!bReady)
    {
        // A configuration the user chose not to build, or whose build failed, was told already.
        if (setup.Problem() != CEvaluationSetup::EProblem_NoConfiguration)
            CPrompt::Warning(m_pWindow, strTitle, setup.ErrorText());
        return;
    }
    m_strSaved.clear();
    if (!m_pRun->Start(bTrainingList ? CEvaluationRun::EPurpose_CheckLabels : CEvaluationRun::EPurpose_Evaluate,
                       setup.Layout(), setup.ClassNames(), setup.Images(), setup.WeightsFile(), setup.Threshold()))
        return;
    delete m_pProgress;
    m_pProgress = new QProgressDialog(bTrainingList ? "Checking the training labels..." : "Evaluating the test list...",
                                      "Cancel", 0, setup.Images().size(), m_pWindow);
    m_pProgress->setWindowTitle(strTitle);
    m_pProgress->setWindowModality(Qt::WindowModal);
    m_pProgress->setMinimumDuration(0);
    m_pProgress->setAutoClose(false);
    m_pProgress->setAutoReset(false);
    connect(m_pProgress, &QProgressDialog::canceled, m_pRun, &CEvaluationRun::Cancel);
    m_pProgress->show();
    UpdateEnabled();
}

void CEvaluationActions::Finished(bool bCancelled, int nSkipped, const QString& strError)
{
    if (m_pProgress)
        m_pProgress->deleteLater();
    m_pProgress = nullptr;
    UpdateEnabled();
    const QString strTitle =
        m_pRun->Purpose() == CEvaluationRun::EPurpose_Evaluate ? "Evaluate" : "Check Training Labels";
    QStringList lstProblems;
    if (!strError.isEmpty())
        lstProblems << strError;
    if (nSkipped > 0)
        lstProblems << QString("%1 images did not decode and were left out (see the log).").arg(nSkipped);
    if (m_pView)
    {
        QString strStatus = bCancelled ? "Cancelled: nothing was saved." : lstProblems.join(' ');
        if (!bCancelled && !m_strSaved.isEmpty())
            strStatus = ("Saved " + m_strSaved + ". " + strStatus).trimmed();
        m_pView->SetStatus(strStatus);
    }
    if (!lstProblems.isEmpty() && !bCancelled)
        CPrompt::Warning(m_pWindow, strTitle, lstProblems.join('\n'));
}

void CEvaluationActions::slot_OpenImage(const QString& strImageKey, const CDetectionList& lstDetections)
{
    const int nImageID = m_pRun->ImageIDOf(strImageKey);
    if (!m_pModel || !m_pController || nImageID < 0)
        return;
    std::shared_ptr<CDatasetImageEntry> pEntry = m_pModel->FindTestImage(nImageID);
    if (!pEntry)
        pEntry = m_pModel->FindTrainImage(nImageID);
    if (!pEntry)
        return;
    m_pController->slot_OpenImage(nImageID, pEntry->GetFullPath());
    const CDetectionList lstShown = m_pRun->DetectionsOf(strImageKey);
    if (CRoiProposals* pProposals = m_pController->Proposals())
        pProposals->ShowProposals(nImageID, lstShown.isEmpty() ? lstDetections : lstShown, m_pRun->WeightsFile(),
                                  false);
}
