#pragma once

#include "canvas/CDrawableObjectModel.h"
#include "canvas/CImageView2D.h"
#include "canvas/CImageView2DController.h"
#include "canvas/CImageViewModeModel.h"
#include "images/CImageListModel.h"

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QPointF>
#include <QSize>
#include <QStringList>

#include <memory>

class CDrawableGeometry;

namespace Ovrel
{
namespace Utils
{
class COvrelImage;
}
} // namespace Ovrel

// One viewer's canvas with its three models, as a top-level widget (offscreen). Mouse events go through the window
// system layer, as a user's would (every file of a program that uses this fixture defines QTEST_QPA_MOUSE_HANDLING).
class CCanvasFixture
{
public:
    // The canvas alone, for its own mapping, signals and painting: of the given size, shown and exposed.
    explicit CCanvasFixture(const QSize& size, int nViewID = 0);
    // The canvas with its controller, 400 x 200 pixels, not shown yet (see Show). An image of 200 x 100 pixels fills
    // it exactly, so image point (x, y) lies at screen pixel (2x, 2y) and the gestures' tolerance of 10 screen pixels
    // is 5 image pixels.
    CCanvasFixture();
    ~CCanvasFixture();

    // Shows the canvas and waits until it is exposed and has the keyboard focus.
    bool Show();
    // Through the controller: a 3-channel image whose pixel (x, y) holds (x mod 256, y mod 256, 7); appended and made
    // current.
    std::shared_ptr<Ovrel::Utils::COvrelImage> PushImage(int nWidth = 200, int nHeight = 100);
    // Through the image list: an image whose pixels tell where they are (PatternColour), made current.
    std::shared_ptr<Ovrel::Utils::COvrelImage> PushPattern(int nWidth, int nHeight, int nChannels = 3);
    // The colour the pattern image shows at pixel (x, y): never the canvas grey nor a colour the canvas draws with.
    static QColor PatternColour(int x, int y, int nChannels);
    // A rectangle added through the controller without an undo step, as the application adds stored regions.
    std::shared_ptr<CDrawableGeometry> AddRectangle(double x, double y, double dblWidth, double dblHeight);
    void SetMode(CImageViewModeModel::EImageView2DMode eMode);

    // Image points.
    QPoint ToScreen(const QPointF& imagePoint) const;
    void Press(const QPointF& imagePoint, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
               Qt::MouseButton button = Qt::LeftButton);
    void Move(const QPointF& imagePoint);
    void Release(const QPointF& imagePoint, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
                 Qt::MouseButton button = Qt::LeftButton);
    void Click(const QPointF& imagePoint, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    // Press at from, four moves along the way, release at to.
    void Drag(const QPointF& from, const QPointF& to, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    void Key(Qt::Key eKey, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

    // Screen points: the left button pressed at one point, moved to the other and released there.
    void DragOnScreen(const QPoint& from, const QPoint& to);
    // A real wheel event at the screen position, nDelta eighths of a degree; whether the canvas accepted it.
    bool Wheel(const QPoint& position, int nDelta);
    // The canvas and its layers as they are on screen.
    QImage Grab();

    int UndoCount() const;
    int RedoCount() const;
    // The committed objects in model order, each as "x,y,w,h" of its boundary with a '*' when selected.
    QStringList Objects() const;

    CImageListModel images;
    CDrawableObjectModel objects;
    CImageViewModeModel modes;
    std::unique_ptr<CImageView2D> canvas;
    // Empty for the canvas alone.
    std::unique_ptr<CImageView2DController> controller;
};
