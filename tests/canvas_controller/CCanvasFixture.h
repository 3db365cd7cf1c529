#pragma once

#include "canvas/CDrawableObjectModel.h"
#include "canvas/CImageView2D.h"
#include "canvas/CImageView2DController.h"
#include "canvas/CImageViewModeModel.h"
#include "images/CImageListModel.h"

#include <QPointF>
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

// One viewer's canvas with its models and controller, as a shown top-level widget of 400 x 200 pixels. An image of
// 200 x 100 pixels fills it exactly, so image point (x, y) lies at screen pixel (2x, 2y) and the gestures' tolerance
// of 10 screen pixels is 5 image pixels. Mouse events go through the window system layer, as a user's would.
class CCanvasFixture
{
public:
    CCanvasFixture();
    ~CCanvasFixture();

    // Shows the canvas and waits until it is exposed and has the keyboard focus.
    bool Show();
    // A 3-channel image whose pixel (x, y) holds (x mod 256, y mod 256, 7); appended and made current.
    std::shared_ptr<Ovrel::Utils::COvrelImage> PushImage(int nWidth = 200, int nHeight = 100);
    // A rectangle added without an undo step, as the application adds stored regions.
    std::shared_ptr<CDrawableGeometry> AddRectangle(double x, double y, double dblWidth, double dblHeight);
    void SetMode(CImageViewModeModel::EImageView2DMode eMode);

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

    int UndoCount() const;
    int RedoCount() const;
    // The committed objects in model order, each as "x,y,w,h" of its boundary with a '*' when selected.
    QStringList Objects() const;

    CImageListModel images;
    CDrawableObjectModel objects;
    CImageViewModeModel modes;
    std::unique_ptr<CImageView2D> canvas;
    std::unique_ptr<CImageView2DController> controller;
};
