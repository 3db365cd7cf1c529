#pragma once

#include <QObject>
#include <QString>

// One run of the external trainer, wherever it runs: started with a command line in a working folder, asked to
// stop, and telling its ECommandState and each line it prints. Every line the trainer prints is in the log before
// signal_OutputLine is emitted for it, so a listener never sees a line the log lacks. No state is emitted once the
// object is going; a local job still running then is ended, a cluster job runs on (see CSlurmJob).
class ITrainerJob : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    // Starts strExecutable in strWorkingDir with the blank-separated pieces of strArgumentSetting, "detector.txt",
    // "config.txt" and the trimmed initial weights when they are not empty. False, having logged why, when nothing was
    // started. The start itself may end later: its progress arrives as states.
    virtual bool Start(const QString& strExecutable, const QString& strArgumentSetting,
                       const QString& strInitialWeights, const QString& strWorkingDir) = 0;
    // Asks the trainer to end and waits for it; logs "Stop Command OK" or "Stop Command Failed".
    virtual void Stop() = 0;
    // The ECommandState of the trainer: stopped, starting or running.
    virtual int State() const = 0;
    // Logs what the trainer's standard output or standard error holds by now. The job reads on its own as output
    // arrives; calling these again is harmless.
    virtual void ReadStandardOutput() = 0;
    virtual void ReadStandardError() = 0;
    // The exit status of the last run once it has ended (see signal_Ended): the trainer's exit code, 128 plus the
    // signal for a trainer ended by one. -1 while a run lasts, before the first and after a run that never ran (the
    // trainer could not be started, the job was refused).
    virtual int ExitCode() const = 0;

signals:
    // The ECommandState after each change.
    void signal_CommandStateChanged(int nState);
    // Each complete standard-output line, trimmed, right after it was handed to the log.
    void signal_OutputLine(const QString& strLine);
    // Once per run, after its last line and the stopped state: the run is over and nothing more comes from it.
    // nExitCode is ExitCode().
    void signal_Ended(int nExitCode);
};
