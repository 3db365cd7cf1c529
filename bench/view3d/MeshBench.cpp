#include "BenchTiming.h"

#include "view3d/CImageView3D.h"
#include "view3d/CImageView3DModel.h"

#include "Utils/COvrelImage.h"

#include <QApplication>
#include <QSurfaceFormat>
#include <QtTest>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <unistd.h>

using Ovrel::Utils::COvrelImage;

namespace
{
const int kSide = 2000;
const double kBuildGoal = 30.0;   // million pixels a second
const double kUploadGoal = 200.0; // ms on the GUI thread
const int kRuns = 5;

// The upload needs OpenGL on a window system; without a display the program runs itself again under Xvfb.
void EnsureDisplay(char* argv[])
{
    if (std::getenv("DISPLAY") || std::getenv("OVREL_BENCH_XVFB"))
        return;
    setenv("OVREL_BENCH_XVFB", "1", 1);
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    execlp("xvfb-run", "xvfb-run", "-a", "-s", "-screen 0 1920x1080x24", argv[0], static_cast<char*>(nullptr));
    std::fprintf(stderr, "cannot start xvfb-run; the upload is not measured\n");
}

std::shared_ptr<COvrelImage> Photograph()
{
    auto pImage = std::make_shared<COvrelImage>();
    pImage->Create(kSide, kSide, 3);
    std::mt19937 random(17);
    unsigned char* const* ppRows = pImage->GetRows();
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide * 3; ++x)
            ppRows[y][x] = static_cast<unsigned char>(random());
    return pImage;
}
} // namespace

int main(int argc, char* argv[])
{
    if (std::getenv("QT_QPA_PLATFORM") && QString(std::getenv("QT_QPA_PLATFORM")) == "offscreen")
        unsetenv("QT_QPA_PLATFORM");
    EnsureDisplay(argv);
    QSurfaceFormat format;
    format.setVersion(3, 3);
    format.setProfile(QSurfaceFormat::CoreProfile);
    format.setDepthBufferSize(24);
    QSurfaceFormat::setDefaultFormat(format);
    QApplication app(argc, argv);

    const std::shared_ptr<COvrelImage> pImage = Photograph();
    CImageView3DModel model;
    std::vector<double> vctBuilds;
    for (int n = 0; n < kRuns; ++n)
    {
        vctBuilds.push_back(BenchTiming::Milliseconds([&] { model.BuildMesh(pImage); }));
        // As the upload does: the arrays are emptied and their storage kept for the next build.
        QMutexLocker lock(model.GetMutex());
        model.EmptyMesh();
    }
    const double dblBuild = BenchTiming::Median(vctBuilds);
    const double dblRate = kSide * static_cast<double>(kSide) / (dblBuild / 1000.0) / 1e6;
    std::printf("BENCH view3d_mesh_build: %.1f Mpx/s (goal >= %.0f)\n", dblRate, kBuildGoal);
    std::printf("    median %.1f ms for %d x %d RGB on %d threads%s\n", dblBuild, kSide, kSide,
                QThread::idealThreadCount(), dblRate >= kBuildGoal ? "" : "  ** below goal **");

    CImageView3D view(&model);
    view.resize(400, 400);
    view.show();
    if (!QTest::qWaitForWindowExposed(&view) || !view.IsInitialised())
    {
        std::printf("BENCH view3d_mesh_upload: n/a ms (goal < %.0f ms)\n    no OpenGL context\n", kUploadGoal);
        return dblRate >= kBuildGoal ? 0 : 1;
    }
    std::vector<double> vctUploads;
    for (int n = 0; n < kRuns; ++n)
    {
        model.BuildMesh(pImage);
        // The view's upload is the queued call that the finished build left behind.
        vctUploads.push_back(
            BenchTiming::Milliseconds([&] { QCoreApplication::sendPostedEvents(&view, QEvent::MetaCall); }));
    }
    const double dblUpload = BenchTiming::Median(vctUploads);
    std::printf("BENCH view3d_mesh_upload: %.1f ms (goal < %.0f ms)\n", dblUpload, kUploadGoal);
    std::printf("    median of %d uploads of %d floats and %d indices%s\n", kRuns, view.GetUploadedFloatCount(),
                view.GetUploadedIndexCount(), dblUpload < kUploadGoal ? "" : "  ** above goal **");
    return dblRate >= kBuildGoal && dblUpload < kUploadGoal ? 0 : 1;
}
