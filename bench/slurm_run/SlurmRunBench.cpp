// A cluster job through a real single-node Slurm cluster started for the run (tests/support/slurm-cluster.sh, as
// root), with the default poll interval.
// (a) From Start to the first trainer line in the log, against `sbatch --wrap` of the same command whose output file
//     `tail -F` reads, in the same run; runs alternate and each figure is the median. Goal: at most 1.2 times the
//     reference plus the poll interval.
// (b) A job prints a million lines as fast as it can (`seq`, coreutils), then writes the time of its last write:
//     how long after it every line is in the day's log file, and how much the memory grows. Goals: < 1 s, < 200 MB.

#include "BenchTiming.h"
#include "frame/CLogModel.h"
#include "frame/CSetting.h"
#include "project/run/CSlurmJob.h"
#include "project/run/CTrainerCommandLine.h"
#include "project/store/CProjectLayout.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <cstdio>

#include <unistd.h>

namespace
{
const int RUNS = 5;
const int LINES = 1000000;
const qint64 DRAIN_GOAL_MS = 1000;
const qint64 MEMORY_GOAL_MB = 200;
const double FIRST_LINE_GOAL_RATIO = 1.2;
const int WAIT_MS = 120000;

qint64 StatusKB(const QByteArray& baField)
{
    QFile file("/proc/self/status");
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& baLine : file.readAll().split('\n'))
    {
        if (baLine.startsWith(baField + ":"))
            return baLine.mid(baField.size() + 1).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

bool Cluster(const QString& strCommand, const QString& strDir, QString* pOutput = nullptr)
{
    QProcess process;
    process.start("bash", {CLUSTER_SCRIPT, strCommand, strDir});
    const bool bOk =
        process.waitForFinished(120000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    if (pOutput)
        *pOutput = QString::fromUtf8(bOk ? process.readAllStandardOutput() : process.readAllStandardError());
    return bOk;
}

QString Script(const QString& strDir, const QByteArray& baBody)
{
    QDir().mkpath(strDir);
    const QString strPath = strDir + "/trainer.sh";
    QFile file(strPath);
    if (!file.open(QIODevice::WriteOnly))
        return {};
    file.write("#!/bin/sh\n" + baBody + "\n");
    file.close();
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return strPath;
}

// Runs the loop until bDone turns true or the wait ends; false on the wait's end.
bool Wait(const bool& bDone, int nWaitMs = WAIT_MS)
{
    QEventLoop loop;
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, &loop,
                     [&]
                     {
                         if (bDone)
                             loop.quit();
                     });
    check.start(1);
    QTimer::singleShot(nWaitMs, &loop, [&loop] { loop.exit(1); });
    return bDone || loop.exec() == 0;
}

// Milliseconds from Start to the job's first line; -1 when none came.
double OursToFirstLine(const QString& strDir, const CSlurmJob::SSettings& settings)
{
    const QString strTrainer = Script(strDir, "echo first");
    CSlurmJob job(settings);
    bool bLine = false;
    QObject::connect(&job, &ITrainerJob::signal_OutputLine, [&bLine] { bLine = true; });
    QElapsedTimer clock;
    clock.start();
    if (!job.Start(strTrainer, "", "", strDir) || !Wait(bLine))
        return -1;
    // The job ends on its own; the object need not follow it there.
    return static_cast<double>(clock.nsecsElapsed()) / 1e6;
}

// Milliseconds from sbatch --wrap of the same command to tail's first line of its output; -1 when none came.
double WrapToFirstLine(const QString& strDir)
{
    const QString strTrainer = Script(strDir, "echo first");
    const QString strOutput = strDir + "/wrap.out";
    QElapsedTimer clock;
    clock.start();
    QProcess sbatch;
    sbatch.start("sbatch", {"--parsable", "--chdir=" + strDir, "--output=" + strOutput, "--wrap",
                            "exec " + CTrainerCommandLine(strTrainer, "", "").ShellLine()});
    // Polling for the file every 0.1 s until it shows up, then following it through inotify.
    QProcess tail;
    tail.start("tail", {"-F", "-s", "0.1", "-n", "+1", strOutput});
    bool bLine = false;
    QObject::connect(&tail, &QProcess::readyReadStandardOutput, [&] { bLine = tail.canReadLine(); });
    const bool bSeen = Wait(bLine);
    const double dMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    sbatch.waitForFinished(10000);
    tail.kill();
    tail.waitForFinished(10000);
    return bSeen ? dMs : -1;
}

// (b): prints the figures; false when the run failed.
bool FollowMillionLines(const QString& strDir, const CSlurmJob::SSettings& settings)
{
    const QString strTrainer =
        Script(strDir, "seq 1 " + QByteArray::number(LINES) + "\ndate +%s%3N > " + strDir.toUtf8() + "/end_ms");
    const QByteArray baLast = QByteArray::number(LINES);
    qint64 nInLogAt = -1;
    int nNext = 1;
    bool bDone = false;
    // Handed out means already written to the day's file: the views hear of a message only after that.
    const QMetaObject::Connection inFile =
        QObject::connect(&CLogModel::GetInstance(), &CLogModel::signal_NewMessages,
                         [&](const QVector<SLogMessage>& vctMessages)
                         {
                             for (const SLogMessage& message : vctMessages)
                             {
                                 if (nNext <= LINES && message.strMessage == QString::number(nNext))
                                     ++nNext;
                             }
                             if (nInLogAt < 0 && nNext > LINES)
                             {
                                 nInLogAt = QDateTime::currentMSecsSinceEpoch();
                                 bDone = true;
                             }
                         });
    const qint64 nRssBefore = StatusKB("VmRSS");
    const qint64 nHwmBefore = StatusKB("VmHWM");
    {
        CSlurmJob job(settings);
        if (!job.Start(strTrainer, "", "", strDir) || !Wait(bDone, 300000))
        {
            std::fprintf(stderr, "the log holds lines 1 to %d in order, not 1 to %d\n", nNext - 1, LINES);
            return false;
        }
    }
    QObject::disconnect(inFile);
    const qint64 nRssAfter = StatusKB("VmRSS");
    const qint64 nHwmAfter = StatusKB("VmHWM");
    QFile endFile(strDir + "/end_ms");
    for (int i = 0; i < 100 && !endFile.exists(); ++i)
        QThread::msleep(50);
    if (!endFile.open(QIODevice::ReadOnly))
    {
        std::fprintf(stderr, "the job did not write its end time\n");
        return false;
    }
    const qint64 nEndedAt = endFile.readAll().trimmed().toLongLong();
    const qint64 nGrowthMB = std::max(nHwmAfter - nHwmBefore, nRssAfter - nRssBefore) / 1024;
    std::printf("job: %d lines; RSS %lld -> %lld kB, peak %lld -> %lld kB\n", LINES, static_cast<long long>(nRssBefore),
                static_cast<long long>(nRssAfter), static_cast<long long>(nHwmBefore),
                static_cast<long long>(nHwmAfter));
    std::printf("BENCH slurm_output_in_log_after_last_write: %lld ms (goal < %lld ms)\n",
                static_cast<long long>(nInLogAt - nEndedAt), static_cast<long long>(DRAIN_GOAL_MS));
    std::printf("BENCH slurm_output_memory_growth: %lld MB (goal < %lld MB)\n", static_cast<long long>(nGrowthMB),
                static_cast<long long>(MEMORY_GOAL_MB));
    return true;
}
} // namespace

int main(int argc, char* argv[])
{
    if (::geteuid() != 0)
    {
        std::printf("bench_slurm_run: skipped, starting the Slurm daemons needs root\n");
        return 0;
    }
    QTemporaryDir home;
    qputenv("HOME", home.path().toUtf8());
    QCoreApplication app(argc, argv);
    CSetting::Set("GENERAL_LOG_DIR", home.path() + "/Log");
    QString strConf;
    if (!Cluster("start", home.path() + "/cluster", &strConf))
    {
        std::fprintf(stderr, "the cluster did not start: %s\n", qPrintable(strConf));
        return 1;
    }
    strConf = strConf.trimmed();
    qputenv("SLURM_CONF", strConf.toUtf8());
    CSlurmJob::SSettings settings;
    settings.strSlurmConf = strConf;

    bool bOk = true;
    std::vector<double> vctOurs;
    std::vector<double> vctWrap;
    for (int i = 0; bOk && i < RUNS; ++i)
    {
        const double dOurs = OursToFirstLine(home.path() + QString("/ours%1").arg(i), settings);
        const double dWrap = WrapToFirstLine(home.path() + QString("/wrap%1").arg(i));
        bOk = dOurs >= 0 && dWrap >= 0;
        vctOurs.push_back(dOurs);
        vctWrap.push_back(dWrap);
    }
    if (!bOk)
        std::fprintf(stderr, "a job's first line did not come within %d s\n", WAIT_MS / 1000);
    else
    {
        const double dOurs = BenchTiming::Median(vctOurs);
        const double dWrap = BenchTiming::Median(vctWrap);
        std::printf("BENCH slurm_first_line: %.0f ms (goal <= %.0f ms: %.1f x sbatch --wrap + poll %d ms)\n", dOurs,
                    FIRST_LINE_GOAL_RATIO * dWrap + settings.nPollMs, FIRST_LINE_GOAL_RATIO, settings.nPollMs);
        std::printf("BENCH slurm_first_line_sbatch_wrap_tail: %.0f ms (goal none: the reference)\n", dWrap);
        std::printf("BENCH slurm_first_line_ratio: %.2f x (goal <= %.2f x plus the poll interval)\n", dOurs / dWrap,
                    FIRST_LINE_GOAL_RATIO);
        bOk = FollowMillionLines(home.path() + "/million", settings);
    }
    QProcess::execute("scancel", {"--user=root"});
    Cluster("stop", home.path() + "/cluster");
    return bOk ? 0 : 1;
}
