#include "BenchTiming.h"
// Times opening a 4000 x 3000 JPEG in a shown canvas, from the controller's OpenFile until the canvas has painted
// it, against COvrelImage::LoadFromFile of the same file in the same run (goal: at most 1.2 times as long). The two
// sides alternate; the median of each counts. Neither side pays for freeing the previous image.

#include "canvas/CDrawableObjectModel.h"
#include "canvas/CImageView2D.h"
#include "canvas/CImageView2DController.h"
#include "canvas/CImageViewModeModel.h"
#include "images/CImageListModel.h"

#include "Utils/COvrelImage.h"

#include <QApplication>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

using Ovrel::Utils::COvrelImage;
using Ovrel::Utils::EOvrelResult_OK;

using BenchTiming::Median;
using BenchTiming::Milliseconds;

namespace
{

constexpr int kRuns = 9;
constexpr double kGoal = 1.2;

// Smooth colour gradients with a pseudo-random grain, so that the JPEG carries the detail of a photograph.
bool WritePhoto(const QString& strPath)
{
    COvrelImage picture;
    if (picture.Create(4000, 3000, 3) != EOvrelResult_OK)
        return false;
    unsigned int nSeed = 12345;
    for (int y = 0; y < picture.GetHeight(); ++y)
    {
        unsigned char* pRow = picture.GetRows()[y];
        for (int x = 0; x < picture.GetWidth(); ++x)
        {
            nSeed = nSeed * 1664525u + 1013904223u;
            const int nGrain = static_cast<int>(nSeed >> 28) - 8;
            const double dblWave = 100.0 * std::sin(x * 0.01) * std::cos(y * 0.013);
            pRow[x * 3 + 0] = static_cast<unsigned char>(std::clamp(x * 255 / 4000 + nGrain, 0, 255));
            pRow[x * 3 + 1] = static_cast<unsigned char>(std::clamp(y * 255 / 3000 + nGrain, 0, 255));
            pRow[x * 3 + 2] = static_cast<unsigned char>(std::clamp(128 + static_cast<int>(dblWave) + nGrain, 0, 255));
        }
    }
    return picture.SaveToFile(strPath.toStdWString()) == EOvrelResult_OK;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QTemporaryDir folder;
    const QString strPath = folder.filePath("photo.jpg");
    if (!folder.isValid() || !WritePhoto(strPath))
    {
        std::fprintf(stderr, "cannot write the test photograph\n");
        return 1;
    }

    CImageListModel images;
    CDrawableObjectModel objects;
    CImageViewModeModel modes;
    CImageView2D canvas(&images, &objects, &modes, 0);
    CImageView2DController controller(&images, &objects, &modes, &canvas, nullptr, nullptr, nullptr);
    canvas.resize(1280, 960);
    canvas.show();
    QApplication::processEvents();

    std::vector<double> oursTimes;
    std::vector<double> baselineTimes;
    bool bOk = true;
    std::unique_ptr<COvrelImage> pPlain;
    for (int nRun = 0; nRun < kRuns; ++nRun)
    {
        controller.slot_ClearImage();
        QApplication::processEvents();
        oursTimes.push_back(Milliseconds(
            [&]
            {
                controller.OpenFile(strPath);
                canvas.repaint();
            }));
        bOk = bOk && images.GetImageCount() == 1 && !canvas.GetDisplayImage().isNull();

        pPlain = std::make_unique<COvrelImage>();
        baselineTimes.push_back(
            Milliseconds([&] { bOk = pPlain->LoadFromFile(strPath.toStdWString()) == EOvrelResult_OK && bOk; }));
        pPlain.reset();
    }

    const double dblOurs = Median(oursTimes);
    const double dblBaseline = Median(baselineTimes);
    const double dblRatio = dblOurs / dblBaseline;
    std::printf("BENCH canvas_open_jpeg: %.2f x (goal <= %.1f)\n", dblRatio, kGoal);
    std::printf("    open and paint %.2f ms, library load %.2f ms (4000 x 3000 JPEG, %d runs, medians)%s\n", dblOurs,
                dblBaseline, kRuns,
                !bOk                ? ", FAILED"
                : dblRatio <= kGoal ? ""
                                    : ", above goal");
    return bOk ? 0 : 1;
}
