// Runs a fake trainer, a shell script whose `seq 1 1000000` (coreutils) prints a million lines as fast as the pipe
// takes them, through CTrainerProcess inside the application's event loop with a log view shown. Goals: every line in
// the day's file, in order, within 1 s after the trainer ended; memory growth under 200 MB; no event-loop step longer
// than 100 ms (measured as the longest gap between ticks of a 1 ms timer).

#include "frame/CLogModel.h"
#include "frame/CLogView.h"
#include "frame/CSetting.h"
#include "project/CTrainerProcess.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>

namespace
{
const int LINES = 1000000;
const qint64 DRAIN_GOAL_MS = 1000;
const qint64 MEMORY_GOAL_MB = 200;
const qint64 STEP_GOAL_MS = 100;
const char* const END_LINE = "Command Finished with exit code 0";

// A field of /proc/self/status in kB.
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

// Checks that the log files of the folder hold the trainer's lines 1 to LINES in order, between the start lines and
// the end line.
bool LinesInOrder(const QString& strDir)
{
    int nNext = 1;
    const QDir dir(strDir);
    for (const QString& strName : dir.entryList({"*.txt"}, QDir::Files, QDir::Name))
    {
        QFile file(dir.filePath(strName));
        if (!file.open(QIODevice::ReadOnly))
            return false;
        while (!file.atEnd())
        {
            const QByteArray baLine = file.readLine();
            if (nNext > LINES || !baLine.startsWith("[NORMAL]["))
                continue;
            if (baLine.endsWith("] " + QByteArray::number(nNext) + "\n"))
                ++nNext;
        }
    }
    if (nNext != LINES + 1)
        std::fprintf(stderr, "the files hold lines 1 to %d in order, not 1 to %d\n", nNext - 1, LINES);
    return nNext == LINES + 1;
}
} // namespace

int main(int argc, char* argv[])
{
    QTemporaryDir home;
    qputenv("HOME", home.path().toUtf8());
    QApplication app(argc, argv);
    const QString strLogDir = home.path() + "/Log";
    CSetting::Set("GENERAL_LOG_DIR", strLogDir);
    const QString strProject = home.path() + "/Project";
    QDir().mkpath(strProject);
    const QString strScript = strProject + "/darknet.sh";
    const QString strEndFile = strProject + "/end_ms";
    {
        QFile script(strScript);
        if (!script.open(QIODevice::WriteOnly))
            return 1;
        script.write("#!/bin/sh\nseq 1 " + QByteArray::number(LINES) + "\ndate +%s%3N > end_ms\n");
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    CLogView view;
    view.resize(800, 400);
    view.show();
    app.processEvents();

    qint64 nAllInFileAt = -1;
    // Handed out means already written to the file: the views hear of a message only after that.
    QObject::connect(&CLogModel::GetInstance(), &CLogModel::signal_NewMessages, &app,
                     [&](const QVector<SLogMessage>& vctMessages)
                     {
                         if (nAllInFileAt < 0 && !vctMessages.isEmpty() && vctMessages.last().strMessage == END_LINE)
                         {
                             nAllInFileAt = QDateTime::currentMSecsSinceEpoch();
                             app.quit();
                         }
                     });

    qint64 nLongestStep = 0;
    QElapsedTimer step;
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    ticker.setInterval(1);
    QObject::connect(&ticker, &QTimer::timeout, &app, [&] { nLongestStep = std::max(nLongestStep, step.restart()); });
    QTimer::singleShot(180000, &app,
                       []
                       {
                           std::fprintf(stderr, "the trainer's lines did not all reach the file within 180 s\n");
                           QCoreApplication::exit(1);
                       });

    const qint64 nRssBefore = StatusKB("VmRSS");
    const qint64 nHwmBefore = StatusKB("VmHWM");
    CTrainerProcess trainer;
    QElapsedTimer clock;
    clock.start();
    trainer.Start(strScript, "detector train", "", strProject);
    step.start();
    ticker.start();
    if (app.exec() != 0)
        return 1;
    ticker.stop();
    const qint64 nTotalMs = clock.elapsed();
    const qint64 nRssAfter = StatusKB("VmRSS");
    const qint64 nHwmAfter = StatusKB("VmHWM");

    QFile endFile(strEndFile);
    if (!endFile.open(QIODevice::ReadOnly))
    {
        std::fprintf(stderr, "the trainer did not write its end time\n");
        return 1;
    }
    const qint64 nEndedAt = endFile.readAll().trimmed().toLongLong();
    if (!LinesInOrder(strLogDir))
        return 1;
    const qint64 nGrowthMB = std::max(nHwmAfter - nHwmBefore, nRssAfter - nRssBefore) / 1024;
    std::printf(
        "trainer: %d lines; all in the file %lld ms after the start; RSS %lld -> %lld kB, peak %lld -> %lld kB\n",
        LINES, static_cast<long long>(nTotalMs), static_cast<long long>(nRssBefore), static_cast<long long>(nRssAfter),
        static_cast<long long>(nHwmBefore), static_cast<long long>(nHwmAfter));
    std::printf("BENCH trainer_output_in_file_after_end: %lld ms (goal < %lld ms)\n",
                static_cast<long long>(nAllInFileAt - nEndedAt), static_cast<long long>(DRAIN_GOAL_MS));
    std::printf("BENCH trainer_output_memory_growth: %lld MB (goal < %lld MB)\n", static_cast<long long>(nGrowthMB),
                static_cast<long long>(MEMORY_GOAL_MB));
    std::printf("BENCH trainer_output_longest_event_loop_step: %lld ms (goal < %lld ms)\n",
                static_cast<long long>(nLongestStep), static_cast<long long>(STEP_GOAL_MS));
    return 0;
}
