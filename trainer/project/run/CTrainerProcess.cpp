#include "project/run/CTrainerProcess.h"

#include "frame/CLogger.h"
#include "project/ECommandState.h"
#include "project/run/CTrainerCommandLine.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTimer>

#include <algorithm>

namespace
{
// One read from the process's buffer; small enough that a handler can look at the clock often.
const qint64 READ_SLICE_BYTES = 256 * 1024;
// What one handler call may take before it lets the event loop run again.
const qint64 STEP_BYTES = 4 * 1024 * 1024;
const qint64 STEP_MS = 10;
const int DESTROY_WAIT_MS = 1000;

int CommandState(QProcess::ProcessState eState)
{
    switch (eState)
    {
    case QProcess::Starting:
        return ECommandState_Starting;
    case QProcess::Running:
        return ECommandState_Running;
    case QProcess::NotRunning:
        break;
    }
    return ECommandState_Stopped;
}
} // namespace

CTrainerProcess::CTrainerProcess(int nStopWaitMs, QObject* pParent)
    : ITrainerJob(pParent), m_nStopWaitMs(nStopWaitMs), m_nStepBytes(STEP_BYTES)
{
    m_pProcess = new QProcess();
    for (SChannel* pChannel : {&m_output, &m_error})
    {
        pChannel->pResume = new QTimer(this);
        pChannel->pResume->setSingleShot(true);
        pChannel->pResume->setInterval(0);
        connect(pChannel->pResume, &QTimer::timeout, this, [this, pChannel] { ReadChannel(*pChannel); });
    }
    connect(m_pProcess, &QProcess::readyReadStandardOutput, this, &CTrainerProcess::ReadStandardOutput);
    connect(m_pProcess, &QProcess::readyReadStandardError, this, &CTrainerProcess::ReadStandardError);
    connect(m_pProcess, &QProcess::stateChanged, this, &CTrainerProcess::OnStateChanged);
    connect(m_pProcess, QOverload<int, QProcess::ExitStatus>::of(&QProcess::finished), this,
            &CTrainerProcess::OnFinished);
    connect(m_pProcess, &QProcess::errorOccurred, this, &CTrainerProcess::OnError);
}

CTrainerProcess::~CTrainerProcess()
{
    // Whoever listens may already be half destroyed: nothing from the process reaches the slots any more.
    m_pProcess->disconnect(this);
    blockSignals(true);
    if (m_pProcess->state() != QProcess::NotRunning)
    {
        m_pProcess->terminate();
        if (!m_pProcess->waitForFinished(DESTROY_WAIT_MS))
        {
            m_pProcess->kill();
            m_pProcess->waitForFinished(DESTROY_WAIT_MS);
        }
    }
    DrainAll();
    delete m_pProcess;
}

QStringList CTrainerProcess::Arguments(const QString& strArgumentSetting, const QString& strInitialWeights)
{
    return CTrainerCommandLine::Arguments(strArgumentSetting, strInitialWeights);
}

QProcessEnvironment CTrainerProcess::LineBufferedEnvironment()
{
    return CTrainerCommandLine::LineBuffered(QProcessEnvironment::systemEnvironment());
}

bool CTrainerProcess::Start(const QString& strExecutable, const QString& strArgumentSetting,
                            const QString& strInitialWeights, const QString& strWorkingDir)
{
    CLogger::Write(ELogLevel_Normal, "Start Command");
    if (m_pProcess->state() != QProcess::NotRunning)
    {
        CLogger::Write(ELogLevel_Error, "Command is already running");
        return false;
    }
    if (!QFile::exists(strExecutable))
    {
        CLogger::Write(ELogLevel_Error, "Execution file %s does not exist", qUtf8Printable(strExecutable));
        return false;
    }
    // What the last run left unread belongs before this run's lines; starting again empties the process's buffers.
    DrainAll();
    m_bEnded = false;
    m_bStopRequested = false;
    m_strEndLine.clear();
    m_nExitCode = -1;
    m_bEndPending = true;
    for (SChannel* pChannel : {&m_output, &m_error})
    {
        pChannel->assembler.Clear();
        pChannel->bDrained = false;
    }

    m_pProcess->setWorkingDirectory(strWorkingDir);
    m_pProcess->setProcessEnvironment(LineBufferedEnvironment());
    const CTrainerCommandLine commandLine(strExecutable, strArgumentSetting, strInitialWeights);
    commandLine.Log();
    // The trainer's input is never written: read-only closes it on the trainer's side.
    m_pProcess->start(commandLine.Program(), commandLine.Arguments(), QIODevice::ReadOnly | QIODevice::Text);
    return true;
}

void CTrainerProcess::Stop()
{
    m_bStopRequested = true;
    m_pProcess->terminate();
    // Waiting on a process that does not run fails at once, so a stop without a trainer reports failure.
    if (m_pProcess->waitForFinished(m_nStopWaitMs))
        CLogger::Write(ELogLevel_Normal, "Stop Command OK");
    else
        CLogger::Write(ELogLevel_Error, "Stop Command Failed");
    m_pProcess->kill();
}

int CTrainerProcess::State() const
{
    return CommandState(m_pProcess->state());
}

void CTrainerProcess::ReadStandardOutput()
{
    ReadChannel(m_output);
}

void CTrainerProcess::ReadStandardError()
{
    ReadChannel(m_error);
}

void CTrainerProcess::ReadChannel(SChannel& channel)
{
    QElapsedTimer elapsed;
    elapsed.start();
    m_pProcess->setReadChannel(channel.eChannel);
    qint64 nTaken = 0;
    while (m_pProcess->isOpen() && nTaken < m_nStepBytes && elapsed.elapsed() < STEP_MS)
    {
        const QByteArray baChunk = m_pProcess->read(std::min(READ_SLICE_BYTES, m_nStepBytes - nTaken));
        if (baChunk.isEmpty())
            break;
        nTaken += baChunk.size();
        LogLines(channel, channel.assembler.Append(baChunk));
    }
    // Only new data makes the process signal again: what is left over is picked up on a later step of the loop.
    if (m_pProcess->bytesAvailable() > 0)
        channel.pResume->start();
    else if (m_bEnded)
        FinishChannel(channel);
}

void CTrainerProcess::LogLines(const SChannel& channel, const QStringList& lstLines)
{
    for (const QString& strLine : lstLines)
    {
        const QString strText = channel.bTrim ? strLine.trimmed() : strLine;
        CLogger::Write(channel.eLevel, "%s", strText.toUtf8().constData());
        if (&channel == &m_output)
            emit signal_OutputLine(strText);
    }
}

void CTrainerProcess::FinishChannel(SChannel& channel)
{
    if (channel.bDrained)
        return;
    channel.bDrained = true;
    if (channel.assembler.HasTail())
        LogLines(channel, {channel.assembler.TakeTail()});
    if (m_output.bDrained && m_error.bDrained && !m_strEndLine.isEmpty())
    {
        CLogger::Write(m_eEndLevel, "%s", qUtf8Printable(m_strEndLine));
        m_strEndLine.clear();
    }
    EndWhenDone();
}

void CTrainerProcess::EndWhenDone()
{
    if (!m_bEndPending || !m_bEnded || !m_output.bDrained || !m_error.bDrained ||
        m_pProcess->state() != QProcess::NotRunning)
        return;
    m_bEndPending = false;
    emit signal_Ended(m_nExitCode);
}

void CTrainerProcess::DrainAll()
{
    for (SChannel* pChannel : {&m_output, &m_error})
    {
        pChannel->pResume->stop();
        // A process never started has no open device to read.
        if (m_pProcess->isOpen())
        {
            m_pProcess->setReadChannel(pChannel->eChannel);
            LogLines(*pChannel, pChannel->assembler.Append(m_pProcess->readAll()));
        }
        if (pChannel->assembler.HasTail())
            LogLines(*pChannel, {pChannel->assembler.TakeTail()});
    }
}

void CTrainerProcess::EndRun(ELogLevel eLevel, const QString& strLine)
{
    m_bEnded = true;
    m_eEndLevel = eLevel;
    m_strEndLine = strLine;
    // The end line waits until both channels have logged what the process wrote before it ended.
    ReadChannel(m_output);
    ReadChannel(m_error);
}

void CTrainerProcess::OnStateChanged(QProcess::ProcessState eState)
{
    emit signal_CommandStateChanged(CommandState(eState));
    // A start that failed may tell its end before it tells the state.
    if (eState == QProcess::NotRunning)
        EndWhenDone();
}

void CTrainerProcess::OnFinished(int nExitCode, QProcess::ExitStatus eStatus)
{
    // After a crash the exit code is the signal that ended the process.
    m_nExitCode = eStatus == QProcess::CrashExit ? 128 + nExitCode : nExitCode;
    if (eStatus == QProcess::CrashExit)
    {
        // A trainer ended by Stop() dies of the signal it was sent; only an unasked end is a crash.
        EndRun(ELogLevel_Error, m_bStopRequested ? QString() : "Command Crashed: " + m_pProcess->errorString());
        return;
    }
    EndRun(nExitCode == 0 ? ELogLevel_Normal : ELogLevel_Error,
           QString("Command Finished with exit code %1").arg(nExitCode));
}

void CTrainerProcess::OnError(QProcess::ProcessError eError)
{
    switch (eError)
    {
    case QProcess::FailedToStart:
        // No finished signal follows: this is the end of the run.
        EndRun(ELogLevel_Error, "Start Command Failed: " + m_pProcess->errorString());
        break;
    case QProcess::Crashed:
    case QProcess::Timedout:
        // A crash is reported with the finished signal that follows; a timeout is Stop()'s to report.
        break;
    default:
        CLogger::Write(ELogLevel_Error, "Command Error: %s", qUtf8Printable(m_pProcess->errorString()));
        break;
    }
}
