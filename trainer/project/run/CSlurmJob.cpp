#include "project/run/CSlurmJob.h"

#include "frame/CLogger.h"
#include "project/ECommandState.h"
#include "project/run/CTrainerCommandLine.h"
#include "project/store/CProjectLayout.h"

#include <QDir>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTimer>

namespace
{
const qint64 READ_SLICE_BYTES = 256 * 1024;
const qint64 STEP_BYTES = 4 * 1024 * 1024;
const qint64 STEP_MS = 10;
const int DESTROY_WAIT_MS = 1000;
// sbatch and scancel give up on their own after the controller's message timeout (10 s by default).
const int COMMAND_WAIT_MS = 15000;

// The job states of a job that has not ended, by what they show as; every other state is an end.
int CommandState(const QString& strState)
{
    static const QStringList lstStarting{"PENDING",     "CONFIGURING",  "REQUEUED",
                                         "REQUEUE_FED", "REQUEUE_HOLD", "RESV_DEL_HOLD"};
    static const QStringList lstRunning{"RUNNING",   "COMPLETING", "SUSPENDED", "STOPPED",
                                        "SIGNALING", "STAGE_OUT",  "RESIZING"};
    if (lstStarting.contains(strState))
        return ECommandState_Starting;
    if (lstRunning.contains(strState))
        return ECommandState_Running;
    return -1;
}

// Slurm gives "<exit code>:<signal>"; the signal is told only when there was one.
QString ExitCodeText(const QString& strExitCode)
{
    const QString strSignal = strExitCode.section(':', 1);
    return strSignal.isEmpty() || strSignal == "0" ? strExitCode.section(':', 0, 0) : strExitCode;
}
} // namespace

CSlurmJob::CSlurmJob(const SSettings& settings, QObject* pParent)
    : ITrainerJob(pParent), m_settings(settings), m_nState(ECommandState_Stopped)
{
    m_pSubmit = NewCommand();
    m_pQuery = NewCommand();
    m_pCancel = NewCommand();
    connect(m_pSubmit, QOverload<int, QProcess::ExitStatus>::of(&QProcess::finished), this, &CSlurmJob::OnSubmitted);
    connect(m_pQuery, QOverload<int, QProcess::ExitStatus>::of(&QProcess::finished), this, &CSlurmJob::OnQueryFinished);
    connect(m_pCancel, QOverload<int, QProcess::ExitStatus>::of(&QProcess::finished), this,
            &CSlurmJob::OnCancelFinished);
    // A command that cannot be started sends no finished signal: its error is its end.
    connect(m_pSubmit, &QProcess::errorOccurred, this,
            [this](QProcess::ProcessError eError)
            {
                if (eError == QProcess::FailedToStart)
                    OnSubmitted();
            });
    connect(m_pQuery, &QProcess::errorOccurred, this,
            [this](QProcess::ProcessError eError)
            {
                if (eError != QProcess::FailedToStart || m_strJobId.isEmpty())
                    return;
                if (m_eQuery == EQuery_Accounting)
                    Finish(QStringLiteral("UNKNOWN"), QStringLiteral("unknown"));
                else
                    OnQueryFailed(m_pQuery->errorString());
            });
    connect(m_pCancel, &QProcess::errorOccurred, this,
            [this](QProcess::ProcessError eError)
            {
                if (eError == QProcess::FailedToStart)
                    OnCancelFinished();
            });

    m_pPoll = new QTimer(this);
    m_pPoll->setInterval(m_settings.nPollMs);
    connect(m_pPoll, &QTimer::timeout, this,
            [this]
            {
                // A file system that tells no changes (a network mount) is read at each poll.
                ReadOutput(false);
                Query();
            });
    m_pResume = new QTimer(this);
    m_pResume->setSingleShot(true);
    m_pResume->setInterval(0);
    connect(m_pResume, &QTimer::timeout, this, [this] { ReadOutput(false); });
    m_pWatcher = new QFileSystemWatcher(this);
    connect(m_pWatcher, &QFileSystemWatcher::fileChanged, this, [this] { ReadOutput(false); });
    connect(m_pWatcher, &QFileSystemWatcher::directoryChanged, this, [this] { ReadOutput(false); });
}

CSlurmJob::~CSlurmJob()
{
    blockSignals(true);
    // A submission under way is finished, so that its job is kept in the job file and found again at the next open; a
    // cancel asked for is carried out and logged, since the user may not see the job again.
    for (QProcess* pProcess : {m_pSubmit, m_pCancel})
    {
        if (pProcess->state() != QProcess::NotRunning)
            pProcess->waitForFinished(COMMAND_WAIT_MS);
    }
    for (QProcess* pProcess : {m_pSubmit, m_pQuery, m_pCancel})
    {
        pProcess->disconnect(this);
        if (pProcess->state() != QProcess::NotRunning)
        {
            pProcess->kill();
            pProcess->waitForFinished(DESTROY_WAIT_MS);
        }
    }
}

QProcess* CSlurmJob::NewCommand()
{
    QProcess* pProcess = new QProcess(this);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (!m_settings.strSlurmConf.isEmpty())
        environment.insert(QStringLiteral("SLURM_CONF"), m_settings.strSlurmConf);
    pProcess->setProcessEnvironment(environment);
    return pProcess;
}

QString CSlurmJob::JobName(const QString& strDir)
{
    const QStringList lstProjects =
        QDir(strDir).entryList({QLatin1Char('*') + CProjectLayout::PROJECT_SUFFIX}, QDir::Files, QDir::Name);
    if (lstProjects.isEmpty())
        return QFileInfo(strDir).fileName();
    return lstProjects.first().chopped(CProjectLayout::PROJECT_SUFFIX.size());
}

QString CSlurmJob::ErrorText(QProcess* pProcess)
{
    if (pProcess->error() == QProcess::FailedToStart)
        return pProcess->errorString();
    const QString strText = QString::fromUtf8(pProcess->readAllStandardError()).trimmed();
    return strText.isEmpty() ? QString("exit code %1").arg(pProcess->exitCode()) : strText;
}

bool CSlurmJob::Start(const QString& strExecutable, const QString& strArgumentSetting, const QString& strInitialWeights,
                      const QString& strWorkingDir)
{
    CLogger::Write(ELogLevel_Normal, "Start Command");
    if (!m_strJobId.isEmpty() || m_pSubmit->state() != QProcess::NotRunning)
    {
        CLogger::Write(ELogLevel_Error, "Command is already running");
        return false;
    }
    const CProjectLayout layout(strWorkingDir);
    // The scheduler does not make the output file's folder: a job without it fails before the trainer starts.
    if (!QDir().mkpath(layout.BackupFolder()))
    {
        CLogger::Write(ELogLevel_Error, "Cannot create %s", qUtf8Printable(layout.BackupFolder()));
        return false;
    }
    const CTrainerCommandLine commandLine(strExecutable, strArgumentSetting, strInitialWeights);
    commandLine.Log();
    if (!WriteScript(layout.SlurmScript(), strWorkingDir, commandLine.ShellLine()))
        return false;

    m_strProjectDir = strWorkingDir;
    m_bStopRequested = false;
    m_nExitCode = -1;
    m_pSubmit->setWorkingDirectory(strWorkingDir);
    m_pSubmit->start(QStringLiteral("sbatch"), {QStringLiteral("--parsable"), CProjectLayout::SLURM_SCRIPT},
                     QIODevice::ReadOnly);
    SetState(ECommandState_Starting);
    return true;
}

bool CSlurmJob::WriteScript(const QString& strPath, const QString& strDir, const QString& strCommandLine) const
{
    // sbatch reads its own lines with double quotes around a value that holds blanks.
    const auto option = [](const QString& strName, const QString& strValue)
    {
        QString strQuoted = strValue;
        strQuoted.remove(QLatin1Char('"'));
        return QString("#SBATCH --%1=\"%2\"\n").arg(strName, strQuoted);
    };
    QString strScript = QStringLiteral("#!/bin/sh\n");
    strScript += option("job-name", JobName(strDir));
    strScript += option("chdir", strDir);
    strScript += option("output", CProjectLayout::SLURM_OUTPUT);
    if (!m_settings.strPartition.trimmed().isEmpty())
        strScript += option("partition", m_settings.strPartition.trimmed());
    if (!m_settings.strExtraOptions.trimmed().isEmpty())
        strScript += "#SBATCH " + m_settings.strExtraOptions.trimmed() + "\n";
    strScript += CTrainerCommandLine::LineBufferedShell();
    strScript += "exec " + strCommandLine + "\n";

    QSaveFile file(strPath);
    if (!file.open(QIODevice::WriteOnly) || file.write(strScript.toUtf8()) < 0 || !file.commit())
    {
        CLogger::Write(ELogLevel_Error, "Cannot write %s: %s", qUtf8Printable(strPath),
                       qUtf8Printable(file.errorString()));
        return false;
    }
    return true;
}

void CSlurmJob::OnSubmitted()
{
    const bool bOk = m_pSubmit->error() != QProcess::FailedToStart && m_pSubmit->exitStatus() == QProcess::NormalExit &&
                     m_pSubmit->exitCode() == 0;
    // "--parsable" prints "<id>" or "<id>;<cluster>".
    const QString strJobId =
        bOk ? QString::fromUtf8(m_pSubmit->readAllStandardOutput()).trimmed().section(';', 0, 0) : QString();
    if (strJobId.isEmpty())
    {
        // One log line per line of sbatch's message, as the log shows every other program's output.
        for (const QString& strLine : ErrorText(m_pSubmit).split('\n', Qt::SkipEmptyParts))
            CLogger::Write(ELogLevel_Error, "%s", qUtf8Printable(strLine.trimmed()));
        SetState(ECommandState_Stopped);
        emit signal_Ended(m_nExitCode);
        return;
    }
    CLogger::Write(ELogLevel_Normal, "Submitted job %s", qUtf8Printable(strJobId));
    const CProjectLayout layout(m_strProjectDir);
    QSaveFile file(layout.SlurmJobFile());
    if (!file.open(QIODevice::WriteOnly) || file.write(strJobId.toUtf8() + '\n') < 0 || !file.commit())
        CLogger::Write(ELogLevel_Warning, "Cannot keep the job ID in %s: %s", qUtf8Printable(layout.SlurmJobFile()),
                       qUtf8Printable(file.errorString()));
    Follow(strJobId, m_strProjectDir);
    // Asked to stop before the job had a name: it must not run on unnoticed.
    if (m_bStopRequested)
        Cancel();
}

bool CSlurmJob::Attach(const QString& strJobId, const QString& strProjectDir)
{
    if (!m_strJobId.isEmpty() || m_pSubmit->state() != QProcess::NotRunning || strJobId.trimmed().isEmpty())
        return false;
    CLogger::Write(ELogLevel_Normal, "Following job %s", qUtf8Printable(strJobId.trimmed()));
    m_bStopRequested = false;
    m_nExitCode = -1;
    Follow(strJobId.trimmed(), strProjectDir);
    return true;
}

void CSlurmJob::Follow(const QString& strJobId, const QString& strProjectDir)
{
    m_strJobId = strJobId;
    m_strProjectDir = strProjectDir;
    m_output.close();
    m_output.setFileName(CProjectLayout(strProjectDir).SlurmOutputFile(strJobId));
    m_assembler.Clear();
    m_quiet.invalidate();
    m_bQuietWarned = false;
    m_running.invalidate();
    m_bNoOutputWarned = false;
    // Until the output file is there, its folder tells when it comes.
    const QString strFolder = QFileInfo(m_output.fileName()).absolutePath();
    if (QFileInfo::exists(strFolder))
        m_pWatcher->addPath(strFolder);
    m_pPoll->start();
    Query();
}

void CSlurmJob::Query()
{
    if (m_strJobId.isEmpty() || m_pQuery->state() != QProcess::NotRunning)
        return;
    m_eQuery = EQuery_Control;
    m_pQuery->start(QStringLiteral("scontrol"), {"show", "job", "-o", m_strJobId}, QIODevice::ReadOnly);
}

void CSlurmJob::OnQueryFinished()
{
    if (m_strJobId.isEmpty())
        return;
    const QString strOutput = QString::fromUtf8(m_pQuery->readAllStandardOutput());
    const bool bOk = m_pQuery->exitStatus() == QProcess::NormalExit && m_pQuery->exitCode() == 0;
    if (m_eQuery == EQuery_Accounting)
    {
        // "State|ExitCode", e.g. "CANCELLED by 0|0:15".
        const QString strLine = strOutput.trimmed().section('\n', 0, 0);
        // The controller knows every job that has not ended: without the accounting's word (a cluster may have
        // none) the job has ended, how is unknown.
        if (!bOk || strLine.isEmpty())
            Finish(QStringLiteral("UNKNOWN"), QStringLiteral("unknown"));
        else
            OnAnswer(strLine.section('|', 0, 0).section(' ', 0, 0), strLine.section('|', 1, 1));
        return;
    }
    if (!bOk)
    {
        const QString strError = ErrorText(m_pQuery);
        // The controller forgets an ended job after a while (MinJobAge); the accounting may still know it.
        if (strError.contains(QLatin1String("Invalid job id")))
        {
            m_eQuery = EQuery_Accounting;
            m_pQuery->start(QStringLiteral("sacct"), {"-X", "-n", "-P", "-o", "State,ExitCode", "-j", m_strJobId},
                            QIODevice::ReadOnly);
            return;
        }
        OnQueryFailed(strError);
        return;
    }
    static const QRegularExpression state(QStringLiteral("\\bJobState=(\\S+)"));
    static const QRegularExpression exitCode(QStringLiteral("\\bExitCode=(\\S+)"));
    const QRegularExpressionMatch stateMatch = state.match(strOutput);
    if (!stateMatch.hasMatch())
    {
        OnQueryFailed(QStringLiteral("no job state in: ") + strOutput.trimmed().left(200));
        return;
    }
    OnAnswer(stateMatch.captured(1), exitCode.match(strOutput).captured(1));
}

void CSlurmJob::OnQueryFailed(const QString& strReason)
{
    CLogger::Write(ELogLevel_Debug, "Job %s: no answer from the scheduler: %s", qUtf8Printable(m_strJobId),
                   qUtf8Printable(strReason));
    if (!m_quiet.isValid())
        m_quiet.start();
    if (!m_bQuietWarned && m_quiet.elapsed() >= m_settings.nQuietMs)
    {
        m_bQuietWarned = true;
        CLogger::Write(ELogLevel_Warning, "Job %s: the scheduler has not answered for %lld s: %s",
                       qUtf8Printable(m_strJobId), static_cast<long long>(m_quiet.elapsed() / 1000),
                       qUtf8Printable(strReason));
    }
}

void CSlurmJob::OnAnswer(const QString& strState, const QString& strExitCode)
{
    m_quiet.invalidate();
    m_bQuietWarned = false;
    const int nState = CommandState(strState);
    if (nState < 0)
    {
        Finish(strState, strExitCode);
        return;
    }
    if (nState == ECommandState_Running)
    {
        if (!m_running.isValid())
            m_running.start();
        ReadOutput(false);
        if (!m_bNoOutputWarned && !m_output.isOpen() && m_running.elapsed() >= m_settings.nNoOutputMs)
        {
            m_bNoOutputWarned = true;
            CLogger::Write(ELogLevel_Warning,
                           "Job %s writes no output to %s: is the project folder shared with the "
                           "cluster?",
                           qUtf8Printable(m_strJobId), qUtf8Printable(m_output.fileName()));
        }
    }
    SetState(nState);
}

void CSlurmJob::Finish(const QString& strState, const QString& strExitCode)
{
    m_pPoll->stop();
    m_pResume->stop();
    ReadOutput(true);
    if (m_assembler.HasTail())
    {
        const QString strLine = m_assembler.TakeTail().trimmed();
        CLogger::Write(ELogLevel_Normal, "%s", strLine.toUtf8().constData());
        emit signal_OutputLine(strLine);
    }
    const bool bExpected =
        (strState == "COMPLETED" && ExitCodeText(strExitCode) == "0") || (m_bStopRequested && strState == "CANCELLED");
    CLogger::Write(bExpected ? ELogLevel_Normal : ELogLevel_Error, "Job %s ended: %s (exit code %s)",
                   qUtf8Printable(m_strJobId), qUtf8Printable(strState), qUtf8Printable(ExitCodeText(strExitCode)));
    if (!m_pWatcher->files().isEmpty())
        m_pWatcher->removePaths(m_pWatcher->files());
    if (!m_pWatcher->directories().isEmpty())
        m_pWatcher->removePaths(m_pWatcher->directories());
    m_output.close();
    // Only a job that may still run is worth finding again when the project is opened.
    QFile::remove(CProjectLayout(m_strProjectDir).SlurmJobFile());
    m_strJobId.clear();
    m_nExitCode = ExitStatus(strState, strExitCode);
    SetState(ECommandState_Stopped);
    emit signal_Ended(m_nExitCode);
}

int CSlurmJob::ExitStatus(const QString& strState, const QString& strExitCode)
{
    bool bCode = false;
    bool bSignal = false;
    const int nCode = strExitCode.section(':', 0, 0).toInt(&bCode);
    const int nSignal = strExitCode.section(':', 1, 1).toInt(&bSignal);
    if (!bCode)
        return 1;
    const int nStatus = bSignal && nSignal > 0 ? 128 + nSignal : nCode;
    // A job the scheduler ended, or one cancelled before it ran, may tell 0:0: it did not succeed all the same.
    return nStatus == 0 && strState != QLatin1String("COMPLETED") ? 1 : nStatus;
}

void CSlurmJob::Stop()
{
    if (m_strJobId.isEmpty() && m_pSubmit->state() != QProcess::NotRunning)
    {
        m_bStopRequested = true;
        return;
    }
    if (m_strJobId.isEmpty())
    {
        CLogger::Write(ELogLevel_Error, "Stop Command Failed");
        return;
    }
    m_bStopRequested = true;
    Cancel();
}

void CSlurmJob::Cancel()
{
    if (m_pCancel->state() != QProcess::NotRunning)
        return;
    m_pCancel->start(QStringLiteral("scancel"), {m_strJobId}, QIODevice::ReadOnly);
}

void CSlurmJob::OnCancelFinished()
{
    if (m_pCancel->error() != QProcess::FailedToStart && m_pCancel->exitStatus() == QProcess::NormalExit &&
        m_pCancel->exitCode() == 0)
        CLogger::Write(ELogLevel_Normal, "Stop Command OK");
    else
        CLogger::Write(ELogLevel_Error, "Stop Command Failed: %s", qUtf8Printable(ErrorText(m_pCancel)));
    // The end shows at once rather than at the next poll.
    Query();
}

void CSlurmJob::ReadStandardOutput()
{
    ReadOutput(false);
}

void CSlurmJob::ReadOutput(bool bAll)
{
    if (m_strJobId.isEmpty())
        return;
    if (!m_output.isOpen())
    {
        // Unbuffered: a read at the end of a file that grows later must ask the file again.
        if (!m_output.exists() || !m_output.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
            return;
        m_pWatcher->addPath(m_output.fileName());
    }
    QElapsedTimer elapsed;
    elapsed.start();
    qint64 nTaken = 0;
    while (bAll || (nTaken < STEP_BYTES && elapsed.elapsed() < STEP_MS))
    {
        const QByteArray baChunk = m_output.read(READ_SLICE_BYTES);
        if (baChunk.isEmpty())
            return;
        nTaken += baChunk.size();
        for (const QString& strLine : m_assembler.Append(baChunk))
        {
            const QString strText = strLine.trimmed();
            CLogger::Write(ELogLevel_Normal, "%s", strText.toUtf8().constData());
            emit signal_OutputLine(strText);
        }
    }
    // What is left over is read on a later step of the loop; the file tells no change for it.
    m_pResume->start();
}

void CSlurmJob::SetState(int nState)
{
    if (nState == m_nState)
        return;
    m_nState = nState;
    emit signal_CommandStateChanged(nState);
}
