#pragma once

#include "project/run/COutputLineAssembler.h"
#include "project/run/ITrainerJob.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>

class QFileSystemWatcher;
class QTimer;

// Runs the trainer as a job of a Slurm cluster. Start writes the job script (CProjectLayout::SLURM_SCRIPT) into the
// project folder and submits it with sbatch; the job's ID is kept in CProjectLayout::SLURM_JOB_FILE until the job
// has ended. The state follows what scontrol reports at each poll: a pending or configuring job is starting, a running
// or completing one running, an ended one stopped after "Job %s ended: %s (exit code %s)". The job's output file is
// followed as it grows, and its lines are logged and emitted like a local trainer's standard output (the job's
// standard error goes to the same file). Every scheduler command runs without blocking the thread. A query that fails
// leaves the state as it was; a minute of failures logs one warning. The job outlives this object: a cluster run is
// not cancelled when its window goes.
class CSlurmJob : public ITrainerJob
{
    Q_OBJECT
public:
    struct SSettings
    {
        // Empty: the cluster's default partition.
        QString strPartition;
        // Further sbatch options, written as one "#SBATCH" line (e.g. "--gres=gpu:1 --time=2-00:00:00").
        QString strExtraOptions;
        int nPollMs = 5000;
        // The SLURM_CONF every scheduler command gets; empty: the program's own environment.
        QString strSlurmConf;
        // How long queries may fail before the warning, and a running job may lack its output file.
        int nQuietMs = 60000;
        int nNoOutputMs = 30000;
    };

    explicit CSlurmJob(const SSettings& settings, QObject* pParent = nullptr);
    // Ends the commands still asking the scheduler; the job itself runs on. A submission or a cancel (Stop) under way
    // is waited for rather than ended, so that a window closing right after Start keeps the job in the job file and
    // one closing right after Stop still cancels it. No state is emitted from here on.
    ~CSlurmJob() override;

    const SSettings& Settings() const { return m_settings; }

    // Writes the job script for the trainer's command line (see CTrainerCommandLine) and submits it; the job is named
    // after the project file in strWorkingDir. Shows as starting while sbatch runs; logs "Submitted job %s", or
    // sbatch's error text at the error level and goes back to stopped. False, having logged why, when a job is
    // already followed or the script cannot be written.
    bool Start(const QString& strExecutable, const QString& strArgumentSetting, const QString& strInitialWeights,
               const QString& strWorkingDir) override;
    // Cancels the job with scancel without waiting; logs "Stop Command OK" when scancel took the request and "Stop
    // Command Failed" otherwise. The state goes to stopped when the scheduler reports the end. A stop while sbatch
    // still runs cancels the job as soon as sbatch has named it.
    void Stop() override;
    int State() const override { return m_nState; }
    // From the scheduler's exit code "N:S": 128 + S for a job ended by signal S, else N; 1 for a job that ended
    // otherwise than COMPLETED with 0 (cancelled before it ran, timed out, node failure) and when the end is unknown.
    int ExitCode() const override { return m_nExitCode; }
    // Logs what the job's output file holds by now, a slice at a time; the rest follows from the event loop.
    void ReadStandardOutput() override;
    // The job's standard error is in its output file: nothing to read here.
    void ReadStandardError() override {}

    // Follows the existing job strJobId of the project in strProjectDir, its output file read from the start; the
    // state arrives with the scheduler's first answer. False when a job is already followed.
    bool Attach(const QString& strJobId, const QString& strProjectDir);
    // The followed job's ID; empty when none is.
    QString JobId() const { return m_strJobId; }

private:
    enum EQuery
    {
        EQuery_Control,
        EQuery_Accounting
    };

    QProcess* NewCommand();
    // The job's name: the project file's name in strDir, or the folder's name without one.
    static QString JobName(const QString& strDir);
    bool WriteScript(const QString& strPath, const QString& strDir, const QString& strCommandLine) const;
    void OnSubmitted();
    void Follow(const QString& strJobId, const QString& strProjectDir);
    void Query();
    void OnQueryFinished();
    void OnQueryFailed(const QString& strReason);
    void OnAnswer(const QString& strState, const QString& strExitCode);
    void OnCancelFinished();
    void Cancel();
    // The status ExitCode() gives for a job that ended in strState with the scheduler's strExitCode.
    static int ExitStatus(const QString& strState, const QString& strExitCode);
    // Logs the rest of the output, the end line, forgets the job and sets stopped.
    void Finish(const QString& strState, const QString& strExitCode);
    // Reads at most a slice unless bAll.
    void ReadOutput(bool bAll);
    void SetState(int nState);
    static QString ErrorText(QProcess* pProcess);

    SSettings m_settings;
    QProcess* m_pSubmit = nullptr;
    QProcess* m_pQuery = nullptr;
    QProcess* m_pCancel = nullptr;
    EQuery m_eQuery = EQuery_Control;
    QTimer* m_pPoll = nullptr;
    // Single-shot, zero interval: continues a read that stopped at its slice limit.
    QTimer* m_pResume = nullptr;
    QFileSystemWatcher* m_pWatcher = nullptr;
    QString m_strProjectDir;
    QString m_strJobId;
    QFile m_output;
    COutputLineAssembler m_assembler;
    int m_nState = 0;
    int m_nExitCode = -1;
    bool m_bStopRequested = false;
    // Since the first of the queries that failed in a row; invalid while the scheduler answers.
    QElapsedTimer m_quiet;
    bool m_bQuietWarned = false;
    // Since the scheduler first reported the job running.
    QElapsedTimer m_running;
    bool m_bNoOutputWarned = false;
};
