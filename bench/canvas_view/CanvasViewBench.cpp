// Times one repaint of a 2D canvas of 1280 x 800 screen pixels, rendered offscreen into an image of its size, as the
// median of several: an 8000 x 6000 RGB image at fit, at one screen pixel per image pixel and zoomed in until the
// pixel values show (goal 16 ms each), and at fit with 10,000 rectangles over the image (goal 33 ms).

#include "Geometry/COvrelRectangle.h"
#include "Utils/COvrelImage.h"
#include "canvas/CDrawableGeometry.h"
#include "canvas/CDrawableObjectModel.h"
#include "canvas/CImageView2D.h"
#include "canvas/CImageViewModeModel.h"
#include "canvas/CPixelGridPainter.h"
#include "images/CImageListModel.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFontMetrics>
#include <QImage>
#include <QTemporaryDir>
#include <QWheelEvent>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <random>
#include <vector>

using Ovrel::Geometry::COvrelRectangle;
using Ovrel::Utils::COvrelImage;

namespace
{
constexpr int kRuns = 15;
constexpr int kImageWidth = 8000;
constexpr int kImageHeight = 6000;
const QSize kCanvasSize(1280, 800);

std::shared_ptr<COvrelImage> MakeImage()
{
    auto pImage = std::make_shared<COvrelImage>();
    if (pImage->Create(kImageWidth, kImageHeight, 3) != Ovrel::Utils::EOvrelResult_OK)
        return nullptr;
    unsigned char* const* ppRows = pImage->GetRows();
    for (int y = 0; y < kImageHeight; ++y)
        for (int x = 0; x < kImageWidth; ++x)
        {
            ppRows[y][3 * x] = static_cast<unsigned char>(x);
            ppRows[y][3 * x + 1] = static_cast<unsigned char>(y);
            ppRows[y][3 * x + 2] = static_cast<unsigned char>(x ^ y);
        }
    return pImage;
}

// Zooms by one wheel event at the centre of the canvas, to exactly dblScale times the fitted size.
void ZoomTo(CImageView2D& canvas, double dblScale)
{
    const int nDelta = static_cast<int>((dblScale / canvas.GetScale() - 1.0) / 0.001 + 0.5);
    const QPointF centre(canvas.width() / 2.0, canvas.height() / 2.0);
    QWheelEvent event(centre, canvas.mapToGlobal(centre.toPoint()), QPoint(), QPoint(0, nDelta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&canvas, &event);
}

// prepare runs untimed before each repaint.
double MedianRepaint(
    CImageView2D& canvas, const std::function<void()>& prepare = [] {})
{
    QImage target(canvas.size(), QImage::Format_ARGB32_Premultiplied);
    std::vector<double> vctTimes;
    for (int i = 0; i < kRuns; ++i)
    {
        prepare();
        QElapsedTimer timer;
        timer.start();
        canvas.render(&target);
        vctTimes.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::sort(vctTimes.begin(), vctTimes.end());
    return vctTimes[vctTimes.size() / 2];
}

void Report(const char* szName, double dblMs, double dblGoal, const QString& strDetail)
{
    std::printf("BENCH %s: %.2f ms (goal < %.0f ms)\n", szName, dblMs, dblGoal);
    std::printf("    %s%s\n", qPrintable(strDetail), dblMs < dblGoal ? "" : ", above goal");
}
} // namespace

int main(int argc, char** argv)
{
    // The object model logs every added object: into a day's file of a throwaway home.
    QTemporaryDir home;
    qputenv("HOME", home.path().toUtf8());
    QApplication app(argc, argv);
    CImageListModel imageList;
    CDrawableObjectModel objects;
    CImageViewModeModel mode;
    CImageView2D canvas(&imageList, &objects, &mode, 0);
    canvas.resize(kCanvasSize);
    canvas.show();
    QApplication::processEvents();

    const std::shared_ptr<COvrelImage> pImage = MakeImage();
    if (!pImage)
    {
        std::printf("BENCH canvas_repaint: failed (no image)\n");
        return 1;
    }
    imageList.PushImage(pImage);
    const auto detail = [&canvas]
    { return QString("%1 screen pixels per image pixel").arg(canvas.GetDisplayScale(), 0, 'f', 3); };

    Report("canvas_repaint_fit", MedianRepaint(canvas), 16, detail());

    // One screen pixel per image pixel: the scale over the fitted size that gives the image its own width.
    const double dblFitted = canvas.GetViewport().width();
    ZoomTo(canvas, kImageWidth / dblFitted);
    Report("canvas_repaint_one_to_one", MedianRepaint(canvas), 16, detail());

    // Just far enough in for three values a pixel.
    const int nFontHeight = QFontMetrics(CPixelGridPainter::ValueFont()).height();
    const double dblPixel = std::max(50.0, 3.0 * nFontHeight + 5.0) + 0.5;
    canvas.slot_ZoomFit();
    ZoomTo(canvas, dblPixel * kImageWidth / dblFitted);
    Report("canvas_repaint_pixel_values", MedianRepaint(canvas), 16,
           detail() + QString(", font height %1").arg(nFontHeight));

    canvas.slot_ZoomFit();
    std::mt19937 random(7);
    std::uniform_real_distribution<double> x(0, kImageWidth - 200);
    std::uniform_real_distribution<double> y(0, kImageHeight - 200);
    std::uniform_real_distribution<double> size(20, 200);
    for (int i = 0; i < 10000; ++i)
        objects.AddObject(std::make_shared<CDrawableGeometry>(
            std::make_shared<COvrelRectangle>(x(random), y(random), size(random), size(random))));
    objects.DeselectAll();
    const QString strObjects = QString(", %1 objects").arg(canvas.GetDrawableObjectCount());
    // Every object painted afresh: one of them changes before each repaint, as when the selection changes.
    const std::shared_ptr<CDrawableObject> pChanging = objects.GetObject(0);
    Report("canvas_repaint_10000_rectangles",
           MedianRepaint(canvas, [&] { pChanging->SetSelected(!pChanging->GetSelected()); }), 33,
           detail() + strObjects + ", one changed before each repaint");
    // The objects as they were: a crosshair step or a rubber band over them.
    Report("canvas_repaint_10000_rectangles_unchanged", MedianRepaint(canvas), 33,
           detail() + strObjects + ", none changed");
    // At one screen pixel per image pixel most of them lie off screen.
    ZoomTo(canvas, kImageWidth / dblFitted);
    Report("canvas_repaint_10000_rectangles_one_to_one",
           MedianRepaint(canvas, [&] { pChanging->SetSelected(!pChanging->GetSelected()); }), 33,
           detail() + strObjects + ", one changed before each repaint");
    return 0;
}
