#include "project/run/CTrainingRun.h"

#include "frame/CLogger.h"
#include "frame/CSetting.h"
#include "project/CProjectModel.h"
#include "project/ECommandState.h"
#include "project/build/CTrainingBuild.h"
#include "project/classes/CProjectCategories.h"
#include "project/images/CImageValidation.h"
#include "project/run/CSlurmJob.h"
#include "project/run/CTrainerJobChoice.h"
#include "project/run/CWeightsWatcher.h"
#include "project/settings/CNetworkConfiguration.h"
#include "project/store/CProjectBoxTable.h"
#include "project/store/CProjectLayout.h"

#include <QFile>

CTrainingRun::CTrainingRun(CDatabase* pDatabase, std::unique_ptr<ITrainerJob> pJob, QObject* pParent)
    : QObject(pParent), m_pDatabase(pDatabase), m_pWeightsWatcher(std::make_unique<CWeightsWatcher>()),
      m_bJobFromSettings(!pJob)
{
    SetJob(pJob ? std::move(pJob) : CTrainerJobChoice::MakeJob());
}

CTrainingRun::~CTrainingRun() = default;

bool CTrainingRun::Build(const CProjectModel& model, const QString& strConfiguration, CBuildOutcome* pOutcome)
{
    const int nConfiguredClasses = CNetworkConfiguration::Classes(strConfiguration);
    const int nCategories = CProjectCategories(m_pDatabase).Count();
    // A network sized for other classes trains without complaint and learns nothing useful.
    if (nConfiguredClasses >= 0 && nConfiguredClasses != nCategories)
        CLogger::Write(ELogLevel_Warning, "Configuration has %d classes, the project has %d categories",
                       nConfiguredClasses, nCategories);
    CImageValidation validation(m_pDatabase);
    validation.SetOutcome(pOutcome);
    CTrainingBuild build(m_pDatabase, model.GetProjectDir());
    build.SetOutcome(pOutcome);
    // The validation and the build read every box: one read serves both. When it fails, each reads for itself, so
    // that the failure is told as it always was.
    CProjectBoxTable table;
    if (!m_pDatabase || !table.Read(m_pDatabase))
        return validation.ValidateProject(model) &&
               build.Build(model.GetTrainImages(), model.GetTestImages(), strConfiguration);
    return validation.ValidateProject(model, &table) &&
           build.Build(model.GetTrainImages(), model.GetTestImages(), strConfiguration, table);
}

bool CTrainingRun::Start(const QString& strInitialWeights, const QString& strProjectDir,
                         const QString& strConfiguration)
{
    // A job that still runs refuses the start itself and says so.
    if (m_bJobFromSettings && m_pJob->State() == ECommandState_Stopped)
        SetJob(CTrainerJobChoice::MakeJob());
    if (!m_pJob->Start(CSetting::GetString("TAMSEL_COMMAND_EXE_YOLO3", "no_command"),
                       CSetting::GetString("TAMSEL_COMMAND_ARG_YOLO3", ""), strInitialWeights, strProjectDir))
        return false;
    m_pWeightsWatcher->Start(strProjectDir);
    emit signal_Started(CNetworkConfiguration::MaxBatches(strConfiguration));
    return true;
}

void CTrainingRun::Stop()
{
    m_pJob->Stop();
}

int CTrainingRun::State() const
{
    return m_pJob->State();
}

void CTrainingRun::JobStateChanged(int nState)
{
    // The trainer writes its last weights just before it ends: the watch looks once more before it goes, so the
    // log has them before anyone hears of the end.
    if (nState == ECommandState_Stopped)
        m_pWeightsWatcher->Stop();
    emit signal_CommandStateChanged(nState);
}

QString CTrainingRun::ClusterJobId() const
{
    const auto* pSlurmJob = qobject_cast<const CSlurmJob*>(m_pJob.get());
    return pSlurmJob ? pSlurmJob->JobId() : QString();
}

bool CTrainingRun::Reattach(const QString& strProjectDir, const QString& strConfiguration)
{
    if (State() != ECommandState_Stopped)
        return false;
    QFile jobFile(CProjectLayout(strProjectDir).SlurmJobFile());
    if (!jobFile.open(QIODevice::ReadOnly))
        return false;
    const QString strJobId = QString::fromUtf8(jobFile.readAll()).trimmed();
    jobFile.close();
    // The job file says the job went to the cluster, whatever the settings say now.
    if (m_bJobFromSettings)
        SetJob(std::make_unique<CSlurmJob>(CTrainerJobChoice::SlurmSettings()));
    auto* pSlurmJob = qobject_cast<CSlurmJob*>(m_pJob.get());
    if (!pSlurmJob || !pSlurmJob->Attach(strJobId, strProjectDir))
        return false;
    m_pWeightsWatcher->Start(strProjectDir);
    // Before the first line: the job's output is read from the event loop.
    emit signal_Started(CNetworkConfiguration::MaxBatches(strConfiguration));
    return true;
}

void CTrainingRun::ReleaseClusterJob(bool bCancel)
{
    auto* pSlurmJob = qobject_cast<CSlurmJob*>(m_pJob.get());
    if (!pSlurmJob || pSlurmJob->JobId().isEmpty())
        return;
    const QString strJobId = pSlurmJob->JobId();
    const int nState = pSlurmJob->State();
    if (bCancel)
        pSlurmJob->Stop();
    std::unique_ptr<ITrainerJob> pNext =
        m_bJobFromSettings ? CTrainerJobChoice::MakeJob() : std::make_unique<CSlurmJob>(pSlurmJob->Settings());
    // Gone at once, not later: a window that closes next has no event loop left to end it, and its cancel is waited
    // for (see ~CSlurmJob).
    m_pJob->disconnect(this);
    m_pJob.reset();
    SetJob(std::move(pNext));
    m_pWeightsWatcher->Stop();
    if (!bCancel)
        CLogger::Write(ELogLevel_Normal, "Job %s left running", qUtf8Printable(strJobId));
    if (nState != ECommandState_Stopped)
        emit signal_CommandStateChanged(ECommandState_Stopped);
}

void CTrainingRun::SetJob(std::unique_ptr<ITrainerJob> pJob)
{
    if (m_pJob)
    {
        m_pJob->disconnect(this);
        m_pJob.release()->deleteLater();
    }
    m_pJob = std::move(pJob);
    connect(m_pJob.get(), &ITrainerJob::signal_CommandStateChanged, this, &CTrainingRun::JobStateChanged);
    connect(m_pJob.get(), &ITrainerJob::signal_OutputLine, this, &CTrainingRun::signal_OutputLine);
}
