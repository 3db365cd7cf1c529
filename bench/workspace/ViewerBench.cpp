#include "BenchTiming.h"
// Times one viewer of a shown 1 x 1 workspace:
// - adding 200 JPEG photographs of 1600 x 1200 one by one, as files dropped on the canvas arrive: each is loaded and
//   pushed onto the viewer's images (which lists it with a thumbnail and makes it current), and once all are in, the
//   viewer is painted; against COvrelImage::LoadFromFile of the same 200 files in the same run (goal: at most 1.3
//   times as long);
// - switching the current image among those 200, from the switch until the canvas has painted the new image and
//   every pending event has been handled (goal: under 30 ms; the median of 60 switches counts, the slowest is shown).

#include "canvas/CImageView2D.h"
#include "canvas/CImageView2DController.h"
#include "images/CImageListModel.h"
#include "workspace/CImageLayoutModel.h"
#include "workspace/CImageViewer.h"
#include "workspace/CImageViewerController.h"
#include "workspace/CImageWorkspaceController.h"
#include "workspace/CImageWorkspaceView.h"
#include "workspace/CThumbnailCache.h"

#include "Utils/COvrelImage.h"

#include <QApplication>
#include <QFile>
#include <QStandardItemModel>
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

constexpr int kImages = 200;
constexpr int kWidth = 1600;
constexpr int kHeight = 1200;
constexpr int kSwitches = 60;
constexpr int kRounds = 3;
constexpr double kAddGoal = 1.3;
constexpr double kSwitchGoal = 30.0;

// Colour gradients with a pseudo-random grain, so that the JPEG carries the detail of a photograph; nSeed varies it.
bool WritePhoto(const QString& strPath, unsigned int nSeed)
{
    COvrelImage picture;
    if (picture.Create(kWidth, kHeight, 3) != EOvrelResult_OK)
        return false;
    for (int y = 0; y < kHeight; ++y)
    {
        unsigned char* pRow = picture.GetRows()[y];
        for (int x = 0; x < kWidth; ++x)
        {
            nSeed = nSeed * 1664525u + 1013904223u;
            const int nGrain = static_cast<int>(nSeed >> 28) - 8;
            const double dblWave = 100.0 * std::sin(x * 0.01) * std::cos(y * 0.013);
            pRow[x * 3 + 0] = static_cast<unsigned char>(std::clamp(x * 255 / kWidth + nGrain, 0, 255));
            pRow[x * 3 + 1] = static_cast<unsigned char>(std::clamp(y * 255 / kHeight + nGrain, 0, 255));
            pRow[x * 3 + 2] = static_cast<unsigned char>(std::clamp(128 + static_cast<int>(dblWave) + nGrain, 0, 255));
        }
    }
    return picture.SaveToFile(strPath.toStdWString()) == EOvrelResult_OK;
}

// Eight different photographs, each copied to 25 names; every file is read once so that both sides find them cached.
std::vector<QString> WritePhotos(const QTemporaryDir& folder)
{
    std::vector<QString> vctPaths;
    for (int i = 0; i < kImages; ++i)
    {
        const QString strPath = folder.filePath(QString("photo %1.jpg").arg(i, 3, 10, QChar('0')));
        const bool bWritten = i < 8 ? WritePhoto(strPath, 12345u + i) : QFile::copy(vctPaths[i % 8], strPath);
        if (!bWritten)
            return {};
        vctPaths.push_back(strPath);
    }
    for (const QString& strPath : vctPaths)
    {
        QFile file(strPath);
        if (!file.open(QIODevice::ReadOnly) || file.readAll().isEmpty())
            return {};
    }
    return vctPaths;
}

const char* Verdict(bool bOk, bool bMet)
{
    return !bOk ? ", FAILED" : bMet ? "" : ", above goal";
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QTemporaryDir folder;
    const std::vector<QString> vctPaths = folder.isValid() ? WritePhotos(folder) : std::vector<QString>();
    if (vctPaths.empty())
    {
        std::fprintf(stderr, "cannot write the test photographs\n");
        return 1;
    }

    CImageLayoutModel layout;
    CImageWorkspaceView view(&layout);
    CImageWorkspaceController workspace(&layout, &view, nullptr, nullptr, nullptr);
    view.resize(1600, 1000);
    view.show();
    QApplication::processEvents();
    CImageViewerController* pViewer = workspace.GetViewerController(0);
    CImageView2DController* pCanvasController = pViewer->GetCanvasController();
    CImageListModel* pImages = pViewer->GetImageListModel();

    // The two sides alternate, and the median of each counts, so that a burst of other work on the machine does not
    // decide the ratio. Each side keeps its 200 images until it is done, as the viewer does, and each starts right
    // after the other side's images were freed, so that both find the same memory to reuse.
    bool bOk = true;
    std::vector<double> vctBaselines;
    std::vector<double> vctAdds;
    for (int nRound = 0; nRound < kRounds; ++nRound)
    {
        pCanvasController->slot_ClearImage();
        QApplication::processEvents();
        std::vector<std::unique_ptr<COvrelImage>> vctPlain;
        vctBaselines.push_back(Milliseconds(
            [&]
            {
                for (const QString& strPath : vctPaths)
                {
                    vctPlain.push_back(std::make_unique<COvrelImage>());
                    bOk = vctPlain.back()->LoadFromFile(strPath.toStdWString()) == EOvrelResult_OK && bOk;
                }
            }));
        vctPlain.clear();
        vctAdds.push_back(Milliseconds(
            [&]
            {
                for (const QString& strPath : vctPaths)
                    pCanvasController->slot_AddImageDragDrop(strPath);
                pViewer->GetCanvas()->repaint();
                QApplication::processEvents();
            }));
    }
    const CThumbnailCache& thumbnails = pViewer->GetViewer()->GetThumbnails();
    bOk = bOk && pImages->GetImageCount() == kImages && thumbnails.GetMadeCount() == kRounds * kImages &&
          pViewer->GetViewer()->GetThumbnailModel()->rowCount() == kImages;
    const double dblBaseline = Median(vctBaselines);
    const double dblAdd = Median(vctAdds);

    std::vector<double> vctSwitches;
    for (int i = 0; i < kSwitches; ++i)
    {
        // Jumps across the list, never to the image shown already.
        const int nIndex = (i * 67 + 13) % kImages;
        if (nIndex == pImages->GetCurrentIndex())
            continue;
        vctSwitches.push_back(Milliseconds(
            [&]
            {
                pCanvasController->slot_SelectImage(nIndex);
                pViewer->GetCanvas()->repaint();
                QApplication::processEvents();
            }));
        bOk = bOk && pViewer->GetCanvas()->GetCurrentImage() == pImages->GetImage(nIndex);
    }
    const double dblSwitch = Median(vctSwitches);
    const double dblSlowest = *std::max_element(vctSwitches.begin(), vctSwitches.end());

    const double dblRatio = dblAdd / dblBaseline;
    std::printf("BENCH viewer_add_200_images: %.2f x (goal <= %.1f)\n", dblRatio, kAddGoal);
    std::printf(
        "    added one by one in %.0f ms, library loads %.0f ms (%d JPEGs of %d x %d, medians of %d rounds), %d "
        "thumbnails made per round%s\n",
        dblAdd, dblBaseline, kImages, kWidth, kHeight, kRounds, thumbnails.GetMadeCount() / kRounds,
        Verdict(bOk, dblRatio <= kAddGoal));
    std::printf("BENCH viewer_switch_image: %.2f ms (goal < %.0f ms)\n", dblSwitch, kSwitchGoal);
    std::printf("    median of %zu switches among %d images until painted; slowest %.2f ms%s\n", vctSwitches.size(),
                kImages, dblSlowest, Verdict(bOk, dblSwitch < kSwitchGoal));
    return bOk ? 0 : 1;
}
