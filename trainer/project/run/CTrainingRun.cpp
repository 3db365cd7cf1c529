#include "project/run/CTrainingRun.h"

#include "frame/CLogger.h"
#include "frame/CSetting.h"
#include "project/CProjectModel.h"
#include "project/ECommandState.h"
#include "project/build/CTrainingBuild.h"
#include "project/classes/CProjectCategories.h"
#include "project/images/CImageValidation.h"
#include "project/run/CTrainerProcess.h"
#include "project/run/CWeightsWatcher.h"
#include "project/settings/CNetworkConfiguration.h"
#include "project/store/CProjectBoxTable.h"

CTrainingRun::CTrainingRun(CDatabase* pDatabase, std::unique_ptr<ITrainerJob> pJob, QObject* pParent)
    : QObject(pParent), m_pDatabase(pDatabase), m_pWeightsWatcher(std::make_unique<CWeightsWatcher>()),
      m_pJob(pJob ? std::move(pJob) : std::make_unique<CTrainerProcess>())
{
    connect(m_pJob.get(), &ITrainerJob::signal_CommandStateChanged, this, &CTrainingRun::JobStateChanged);
    connect(m_pJob.get(), &ITrainerJob::signal_OutputLine, this, &CTrainingRun::signal_OutputLine);
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
