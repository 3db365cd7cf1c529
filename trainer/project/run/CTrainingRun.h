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
// lines and states come from this object, whatever kind of job runs the trainer, and the listeners stay connected
// when one job gives way to the next. When this object goes, a local trainer still running is ended and a cluster
// job runs on (it can be followed again, see Reattach); neither emits a state then.
class CTrainingRun : public QObject
{
    Q_OBJECT
public:
    // The database is not owned and must outlive this object. Without a job, each start while stopped takes a new job
    // of the kind the trainer settings choose (CTrainerJobChoice::MakeJob), so that a change of where the trainer
    // runs applies to the next run. With a job, every run uses that one.
    explicit CTrainingRun(CDatabase* pDatabase, std::unique_ptr<ITrainerJob> pJob = nullptr,
                          QObject* pParent = nullptr);
    ~CTrainingRun() override;

    // The job that runs the trainer, or ran it last; it may give way to another at the next start.
    ITrainerJob* Job() const { return m_pJob.get(); }
    // The ID of the cluster job followed now; empty when none is (also while a local trainer runs).
    QString ClusterJobId() const;

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
    // While stopped, follows the cluster job whose ID the project folder keeps (CProjectLayout::SLURM_JOB_FILE), as
    // if it had been started here: signal_Started with the configuration's max_batches, then the job's output from
    // its start, its states, the saved weights, and Stop cancels it. A job that has ended by now is followed just the
    // same: its output and its end line are logged and the job file goes. False when there is no job file, a run is
    // on, or the run's own job is not a cluster job.
    bool Reattach(const QString& strProjectDir, const QString& strConfiguration);
    // Stops following the cluster job: with bCancel after asking the scheduler to cancel it (see CSlurmJob::Stop),
    // otherwise it runs on and "Job %s left running" is logged. The state goes to stopped at once, with its signal.
    // Nothing happens while no cluster job is followed.
    void ReleaseClusterJob(bool bCancel);
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
    // Puts pJob in place of the job, moving the connections; the old one is deleted once control is back in the
    // event loop, since its own signal may have led here.
    void SetJob(std::unique_ptr<ITrainerJob> pJob);

    CDatabase* m_pDatabase = nullptr;
    std::unique_ptr<CWeightsWatcher> m_pWeightsWatcher;
    // Whether each start takes a new job from the settings (no job was given).
    bool m_bJobFromSettings = false;
    // Declared last so that it goes first: it emits no state once it is going.
    std::unique_ptr<ITrainerJob> m_pJob;
};
