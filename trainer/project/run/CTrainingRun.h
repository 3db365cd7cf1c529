#pragma once

#include <QString>

#include <memory>

class CBuildOutcome;
class CDatabase;
class CProjectModel;
class CTrainerProcess;
class CWeightsWatcher;

// Training the open project: the build before a run, with its checks, and one run of the trainer at a time, whose
// saved weights are logged while it lasts (see CWeightsWatcher). A trainer still running when this object goes is
// ended (see ~CTrainerProcess).
class CTrainingRun
{
public:
    // The database is not owned and must outlive this object.
    explicit CTrainingRun(CDatabase* pDatabase);
    ~CTrainingRun();

    // The trainer process, for its signals and its output.
    CTrainerProcess* Trainer() const { return m_pTrainer.get(); }

    // Writes the trainer's files for the model's lists into its project folder (see CTrainingBuild) after the
    // validation pass (see CImageValidation::ValidateProject); nothing is written when an image is invalid. First logs
    // the warning "Configuration has %d classes, the project has %d categories" when the configuration's classes
    // differ from the number of categories. Every reason for a refusal is added to the outcome when one is given.
    bool Build(const CProjectModel& model, const QString& strConfiguration, CBuildOutcome* pOutcome = nullptr);
    // Starts the trainer with the settings TAMSEL_COMMAND_EXE_YOLO3 and TAMSEL_COMMAND_ARG_YOLO3 in the project folder
    // (see CTrainerProcess::Start) and watches its Backup folder; false when it was not started.
    bool Start(const QString& strInitialWeights, const QString& strProjectDir);
    // Takes each ECommandState of the trainer: the watch on the weights ends with the run.
    void StateChanged(int nState);

private:
    CDatabase* m_pDatabase = nullptr;
    std::unique_ptr<CWeightsWatcher> m_pWeightsWatcher;
    // Declared last so that it goes first: it emits no state once it is going.
    std::unique_ptr<CTrainerProcess> m_pTrainer;
};
