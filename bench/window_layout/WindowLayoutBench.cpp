// Times a switch of the window's image layout, 1x1 -> 2x1 -> 2x2 -> 1x1, from the command until the window has
// painted the new layout (the events the switch posts all handled), with a 6000 x 4000 photograph open in each of the
// four viewers. The first switch to a layout shows viewers that
// were never shown; the median of later rounds is the switch a user makes again and again. Goal: < 200 ms each.

#include "BenchTiming.h"

#include "MainWindow.h"
#include "workspace/CImageViewerController.h"
#include "workspace/CImageWorkspaceController.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QTemporaryDir>

#include <cstdio>
#include <map>
#include <vector>

namespace
{
const int ROUNDS = 5;
const double GOAL_MS = 200.0;

// The time until every event the switch posted is handled, the paint included.
double Switch(QApplication& app, MainWindow& window, QAction* pAction)
{
    QElapsedTimer timer;
    timer.start();
    pAction->trigger();
    window.repaint();
    app.processEvents();
    app.processEvents();
    return timer.nsecsElapsed() / 1e6;
}
} // namespace

int main(int argc, char* argv[])
{
    QTemporaryDir home;
    qputenv("HOME", home.path().toUtf8());
    QApplication app(argc, argv);
    MainWindow window(nullptr);
    window.resize(1600, 1000);
    window.show();
    app.processEvents();
    // A large picture in every viewer: a switch resizes the viewers that show one.
    const QString strImage = home.path() + "/large.png";
    QImage image(6000, 4000, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
    {
        auto* pLine = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            pLine[x] = qRgb(x % 256, y % 256, (x + y) % 256);
    }
    if (!image.save(strImage))
        return 1;
    for (int nView = 0; nView < 4; ++nView)
        window.GetWorkspaceController()->GetViewerController(nView)->OpenFile(strImage);
    // The pictures are decoded off the window's thread: the switches start once every viewer shows one.
    QElapsedTimer loading;
    loading.start();
    const auto allShown = [&window]
    {
        for (int nView = 0; nView < 4; ++nView)
        {
            if (window.GetWorkspaceController()->GetViewerController(nView)->GetCurrentImageUID() ==
                CImageWorkspaceController::kNoImage)
                return false;
        }
        return true;
    };
    while (!allShown() && loading.elapsed() < 60000)
        app.processEvents(QEventLoop::AllEvents, 50);
    if (!allShown())
    {
        std::fprintf(stderr, "the pictures were not shown\n");
        return 1;
    }

    const std::vector<std::pair<const char*, const char*>> vctSteps = {
        {"1x1_to_2x1", "[2x1]"}, {"2x1_to_2x2", "[2x2]"}, {"2x2_to_1x1", "[1x1]"}};
    std::map<const char*, std::vector<double>> mapTimes;
    std::map<const char*, double> mapFirst;
    for (int nRound = 0; nRound <= ROUNDS; ++nRound)
    {
        for (const auto& step : vctSteps)
        {
            QAction* pAction = window.GetAction(step.second);
            if (!pAction)
            {
                std::fprintf(stderr, "no action %s\n", step.second);
                return 1;
            }
            const double dblMs = Switch(app, window, pAction);
            if (nRound == 0)
                mapFirst[step.first] = dblMs;
            else
                mapTimes[step.first].push_back(dblMs);
        }
    }
    for (const auto& step : vctSteps)
    {
        std::printf("BENCH window_layout_%s_first: %.1f ms (goal < %.0f ms)\n", step.first, mapFirst[step.first],
                    GOAL_MS);
        std::printf("BENCH window_layout_%s: %.1f ms (goal < %.0f ms; median of %d)\n", step.first,
                    BenchTiming::Median(mapTimes[step.first]), GOAL_MS, ROUNDS);
    }
    return 0;
}
