// Writes 1,000,000 lines with CLogger::Write from a thread of its own while the GUI thread runs its event loop with a
// log view shown. Goals: every line in the day's file, in order, within 1 s after the last write; no event-loop step
// longer than 100 ms.

#include "frame/CLogModel.h"
#include "frame/CLogView.h"
#include "frame/CLogger.h"
#include "frame/CSetting.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <atomic>
#include <cstdio>

namespace
{
const int LINES = 1000000;
const qint64 DRAIN_GOAL_MS = 1000;
const qint64 STEP_GOAL_MS = 100;

// Checks that the log files of the folder hold exactly the bench lines, in order.
bool LinesInOrder(const QString& strDir)
{
    int nNext = 0;
    const QDir dir(strDir);
    for (const QString& strName : dir.entryList({"*.txt"}, QDir::Files, QDir::Name))
    {
        QFile file(dir.filePath(strName));
        if (!file.open(QIODevice::ReadOnly))
            return false;
        while (!file.atEnd())
        {
            const QByteArray baLine = file.readLine();
            const QByteArray baExpected = " bench line " + QByteArray::number(nNext) + "\n";
            if (!baLine.startsWith("[NORMAL][") || !baLine.endsWith(baExpected))
            {
                std::fprintf(stderr, "line %d is out of place: %s", nNext, baLine.constData());
                return false;
            }
            ++nNext;
        }
    }
    if (nNext != LINES)
        std::fprintf(stderr, "the files hold %d lines, not %d\n", nNext, LINES);
    return nNext == LINES;
}
} // namespace

int main(int argc, char* argv[])
{
    QTemporaryDir home;
    qputenv("HOME", home.path().toUtf8());
    QApplication app(argc, argv);
    const QString strLogDir = home.path() + "/Log";
    CSetting::Set("GENERAL_LOG_DIR", strLogDir);

    CLogView view;
    view.resize(800, 400);
    view.show();
    int nHandedOut = 0;
    QElapsedTimer clock;
    qint64 nAllInFileMs = -1;
    // Handed out means already written to the file: the views hear of a message only after that.
    QObject::connect(&CLogModel::GetInstance(), &CLogModel::signal_NewMessages, &view,
                     [&](const QVector<SLogMessage>& vctMessages)
                     {
                         nHandedOut += vctMessages.size();
                         if (nHandedOut >= LINES)
                             nAllInFileMs = clock.elapsed();
                     });

    std::atomic<qint64> nLastWriteMs{-1};
    clock.start();
    QThread* pWriter = QThread::create(
        [&]
        {
            for (int i = 0; i < LINES; ++i)
                CLogger::Write(ELogLevel_Normal, "bench line %d", i);
            nLastWriteMs = clock.elapsed();
        });
    pWriter->start();

    qint64 nLongestStep = 0;
    QElapsedTimer step;
    while (nAllInFileMs < 0)
    {
        if (clock.elapsed() > 120000)
        {
            std::fprintf(stderr, "only %d of %d lines reached the file within 120 s\n", nHandedOut, LINES);
            return 1;
        }
        step.restart();
        app.processEvents();
        nLongestStep = std::max(nLongestStep, step.elapsed());
    }
    pWriter->wait();
    delete pWriter;

    const qint64 nDrainMs = nAllInFileMs - nLastWriteMs;
    std::printf("writer: %d lines in %lld ms; all in the file at %lld ms\n", LINES,
                static_cast<long long>(nLastWriteMs.load()), static_cast<long long>(nAllInFileMs));
    if (!LinesInOrder(strLogDir))
        return 1;
    std::printf("BENCH log_file_after_last_write: %lld ms (goal < %lld ms)\n", static_cast<long long>(nDrainMs),
                static_cast<long long>(DRAIN_GOAL_MS));
    std::printf("BENCH log_longest_event_loop_step: %lld ms (goal < %lld ms)\n", static_cast<long long>(nLongestStep),
                static_cast<long long>(STEP_GOAL_MS));
    return 0;
}
