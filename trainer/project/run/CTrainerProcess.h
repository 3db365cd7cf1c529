#pragma once

#include "frame/ELogLevel.h"
#include "project/run/COutputLineAssembler.h"
#include "project/run/ITrainerJob.h"

#include <QProcess>

class QTimer;

// Runs the external trainer as a local child process and forwards what it prints into the log, one log line per output
// line: standard output trimmed at the normal level, standard error as printed at the error level. A line that arrives
// in several reads is logged once, when its end arrives; an unfinished last line is logged when the process ends.
// Output is taken in bounded slices per event-loop step, so a trainer that prints as fast as it can does not freeze
// the GUI. Everything runs on the thread that owns the object.
class CTrainerProcess : public ITrainerJob
{
    Q_OBJECT
public:
    // nStopWaitMs: how long Stop() waits for the trainer to end after asking it to.
    explicit CTrainerProcess(int nStopWaitMs = 30000, QObject* pParent = nullptr);
    // Asks a running trainer to end, waits at most 1000 ms, kills it if it is still there. The state signal is not
    // emitted any more from here on.
    ~CTrainerProcess() override;

    // Starts strExecutable in strWorkingDir with the blank-separated pieces of strArgumentSetting (empty pieces
    // dropped), "detector.txt", "config.txt" and the trimmed initial weights when they are not empty; logs the command
    // line first. Returns false, having logged why, when no file is at strExecutable or a trainer already runs. The
    // start itself is asynchronous: a program that cannot be started shows as starting, then stopped, and an error
    // line in the log.
    bool Start(const QString& strExecutable, const QString& strArgumentSetting, const QString& strInitialWeights,
               const QString& strWorkingDir) override;
    // Asks the trainer to end and waits for it (blocking, up to the stop wait), logs "Stop Command OK" when it ended in
    // time and "Stop Command Failed" otherwise (also when nothing ran), then kills it.
    void Stop() override;
    // The ECommandState of the trainer: stopped, starting or running.
    int State() const override;
    // A trainer ended by a signal, also by Stop()'s, gives 128 plus the signal, as a shell tells it.
    int ExitCode() const override { return m_nExitCode; }
    // The most one read handler call takes from a channel before it lets the event loop run again (4 MiB unless set;
    // it also stops after about 10 ms). The rest follows on the next step of the loop.
    void SetStepBytes(qint64 nBytes) { m_nStepBytes = nBytes; }

    // Log what the channel holds, up to a slice; the rest follows from the event loop. Connected internally to the
    // process's ready-read signals; calling them again is harmless.
    void ReadStandardOutput() override;
    void ReadStandardError() override;

    // The argument list Start() passes for these settings.
    static QStringList Arguments(const QString& strArgumentSetting, const QString& strInitialWeights);

private:
    struct SChannel
    {
        QProcess::ProcessChannel eChannel;
        ELogLevel eLevel;
        bool bTrim;
        COutputLineAssembler assembler;
        // Single-shot, zero interval: continues a read that stopped at its slice limit.
        QTimer* pResume = nullptr;
        // Everything the ended process wrote on this channel is logged.
        bool bDrained = false;
    };

    // The program's environment with the trainer's standard output made line-buffered where the system allows it.
    static QProcessEnvironment LineBufferedEnvironment();
    void ReadChannel(SChannel& channel);
    // Reads everything still buffered on both channels, then logs the unfinished lines.
    void DrainAll();
    void LogLines(const SChannel& channel, const QStringList& lstLines);
    // After the end: logs the channel's unfinished line, and the end line once both channels are done.
    void FinishChannel(SChannel& channel);
    void EndRun(ELogLevel eLevel, const QString& strLine);
    // Emits signal_Ended once the run's last line is out and the process is not running any more.
    void EndWhenDone();
    void OnStateChanged(QProcess::ProcessState eState);
    void OnFinished(int nExitCode, QProcess::ExitStatus eStatus);
    void OnError(QProcess::ProcessError eError);

    QProcess* m_pProcess = nullptr;
    SChannel m_output{QProcess::StandardOutput, ELogLevel_Normal, true, COutputLineAssembler(), nullptr};
    SChannel m_error{QProcess::StandardError, ELogLevel_Error, false, COutputLineAssembler(), nullptr};
    int m_nStopWaitMs;
    qint64 m_nStepBytes;
    // Set once the process has ended: an empty buffer then means the unfinished lines are complete.
    bool m_bEnded = false;
    // Set by Stop(): the end that follows is the one asked for, not a crash.
    bool m_bStopRequested = false;
    // How the run ended, logged after the last output line.
    QString m_strEndLine;
    ELogLevel m_eEndLevel = ELogLevel_Normal;
    int m_nExitCode = -1;
    // Set by Start() until signal_Ended was emitted for that run.
    bool m_bEndPending = false;
};
