#pragma once

#include "canvas/CDrawableObjectModel.h"
#include "canvas/CImageView2D.h"
#include "canvas/CImageViewModeModel.h"
#include "images/CImageListModel.h"

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QSize>

#include <memory>

namespace Ovrel
{
namespace Utils
{
class COvrelImage;
}
} // namespace Ovrel

// A canvas of a given size shown as a window of its own (offscreen), with its three models.
class CCanvasFixture
{
public:
    explicit CCanvasFixture(const QSize& size, int nViewID = 0);
    ~CCanvasFixture();

    // A library image whose pixels tell where they are (PatternColour), made current through the image list.
    std::shared_ptr<Ovrel::Utils::COvrelImage> PushPattern(int nWidth, int nHeight, int nChannels = 3);
    // The colour the pattern image shows at pixel (x, y): never the canvas grey nor a colour the canvas draws with.
    static QColor PatternColour(int x, int y, int nChannels);

    // A real wheel event at the position, nDelta eighths of a degree; whether the canvas accepted it.
    bool Wheel(const QPoint& position, int nDelta);
    // Left button pressed at one point, dragged through the others and released at the last.
    void Drag(const QPoint& from, const QPoint& to);
    // The canvas and its layers as they are on screen.
    QImage Grab();

    CImageListModel images;
    CDrawableObjectModel objects;
    CImageViewModeModel mode;
    std::unique_ptr<CImageView2D> canvas;
};
