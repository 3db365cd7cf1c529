#pragma once

#include "project/run/ITrainerJob.h"

#include <QObject>
#include <QString>

#include <memory>

class CBuildOutcome;
class CDatabase;
class CProjectModel;
class CWeightsWatcher;

// Training the open project: the build before a run, with its checks, and one run of the trainer at a time, whose
// saved weights are logged while it lasts (see CWeightsWatcher). Whoever shows the run listens here: the trainer's
// lines and states come from this object, whatever kind of job runs the trainer. A trainer still running when this
// object goes is ended, without a state signal.
class CTrainingRun : public QObject
{
    Q_OBJECT
public:
    // The database is not owned and must outlive this object. Without a job the trainer runs as a local process
    // (CTrainerProcess).
    explicit CTrainingRun(CDatabase* pDatabase, std::unique_ptr<ITrainerJob> pJob = nullptr,
                          QObject* pParent = nullptr);
    ~CTrainingRun() override;

    // The job that runs the trainer.
    ITrainerJob* Job() const { return m_pJob.get(); }

    // Writes the trainer's files for the model's lists into its project folder (see CTrainingBuild) after the
    // validation pass (see CImageValidation::ValidateProject); nothing is written when an image is invalid. First logs
    // the warning "Configuration has %d classes, the project has %d categories" when the configuration's classes
    // differ from the number of categories. Every reason for a refusal is added to the outcome when one is given.
    bool Build(const CProjectModel& model, const QString& strConfiguration, CBuildOutcome* pOutcome = nullptr);
    // Starts the trainer with the settings TAMSEL_COMMAND_EXE_YOLO3 and TAMSEL_COMMAND_ARG_YOLO3 in the project folder
    // (see ITrainerJob::Start) and watches its Backup folder; false when it was not started. A start emits
    // signal_Started with the configuration's max_batches.
    bool Start(const QString& strInitialWeights, const QString& strProjectDir, const QString& strConfiguration);
    // Asks the trainer to end (see ITrainerJob::Stop).
    void Stop();
    // The trainer's ECommandState.
    int State() const;

signals:
    // A run was started; nMaxBatches is the configuration's max_batches (0 when it has none).
    void signal_Started(int nMaxBatches);
    // The trainer's ECommandState after each change; the watch on the weights has ended when it is stopped.
    void signal_CommandStateChanged(int nState);
    // Each complete line of the trainer's standard output, trimmed, after it was logged.
    void signal_OutputLine(const QString& strLine);

private:
    void JobStateChanged(int nState);

    CDatabase* m_pDatabase = nullptr;
    std::unique_ptr<CWeightsWatcher> m_pWeightsWatcher;
    // Declared last so that it goes first: it emits no state once it is going.
    std::unique_ptr<ITrainerJob> m_pJob;
};
