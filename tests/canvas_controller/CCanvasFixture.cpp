#include "CCanvasFixture.h"

#include "canvas/CDrawableGeometry.h"
#include "frame/CUndoStack.h"

#include "Geometry/COvrelRectangle.h"
#include "Utils/COvrelImage.h"

#include <QtTest>

using Ovrel::Utils::COvrelImage;

CCanvasFixture::CCanvasFixture()
    : canvas(std::make_unique<CImageView2D>(&images, &objects, &modes, 0)),
      controller(
          std::make_unique<CImageView2DController>(&images, &objects, &modes, canvas.get(), nullptr, nullptr, nullptr))
{
    canvas->resize(400, 200);
}

CCanvasFixture::~CCanvasFixture()
{
    controller.reset();
    canvas.reset();
}

bool CCanvasFixture::Show()
{
    canvas->show();
    canvas->activateWindow();
    canvas->setFocus();
    return QTest::qWaitForWindowExposed(canvas.get()) && QTest::qWaitForWindowActive(canvas.get()) &&
           canvas->hasFocus();
}

std::shared_ptr<COvrelImage> CCanvasFixture::PushImage(int nWidth, int nHeight)
{
    auto pImage = std::make_shared<COvrelImage>();
    pImage->Create(nWidth, nHeight, 3);
    for (int y = 0; y < nHeight; ++y)
        for (int x = 0; x < nWidth; ++x)
        {
            unsigned char* pPixel = pImage->GetPixel(x, y);
            pPixel[0] = static_cast<unsigned char>(x % 256);
            pPixel[1] = static_cast<unsigned char>(y % 256);
            pPixel[2] = 7;
        }
    controller->PushImage(pImage);
    return pImage;
}

std::shared_ptr<CDrawableGeometry> CCanvasFixture::AddRectangle(double x, double y, double dblWidth, double dblHeight)
{
    auto pObject = std::make_shared<CDrawableGeometry>(
        std::make_shared<Ovrel::Geometry::COvrelRectangle>(x, y, dblWidth, dblHeight));
    controller->AddObject(pObject);
    return pObject;
}

void CCanvasFixture::SetMode(CImageViewModeModel::EImageView2DMode eMode)
{
    modes.SetMode(eMode);
}

QPoint CCanvasFixture::ToScreen(const QPointF& imagePoint) const
{
    return canvas->MapToScreen(imagePoint).toPoint();
}

void CCanvasFixture::Press(const QPointF& imagePoint, Qt::KeyboardModifiers modifiers, Qt::MouseButton button)
{
    QTest::mousePress(canvas.get(), button, modifiers, ToScreen(imagePoint));
}

void CCanvasFixture::Move(const QPointF& imagePoint)
{
    QTest::mouseMove(canvas.get(), ToScreen(imagePoint));
}

void CCanvasFixture::Release(const QPointF& imagePoint, Qt::KeyboardModifiers modifiers, Qt::MouseButton button)
{
    QTest::mouseRelease(canvas.get(), button, modifiers, ToScreen(imagePoint));
}

void CCanvasFixture::Click(const QPointF& imagePoint, Qt::KeyboardModifiers modifiers)
{
    Press(imagePoint, modifiers);
    Release(imagePoint, modifiers);
}

void CCanvasFixture::Drag(const QPointF& from, const QPointF& to, Qt::KeyboardModifiers modifiers)
{
    Press(from, modifiers);
    for (int nStep = 1; nStep <= 4; ++nStep)
        Move(from + (to - from) * nStep / 4.0);
    Release(to, modifiers);
}

void CCanvasFixture::Key(Qt::Key eKey, Qt::KeyboardModifiers modifiers)
{
    QTest::keyClick(canvas.get(), eKey, modifiers);
}

int CCanvasFixture::UndoCount() const
{
    return controller->GetUndoStack()->UndoCount();
}

int CCanvasFixture::RedoCount() const
{
    return controller->GetUndoStack()->RedoCount();
}

QStringList CCanvasFixture::Objects() const
{
    QStringList lines;
    for (int nIndex = 0; nIndex < objects.GetObjectCount(); ++nIndex)
    {
        const std::shared_ptr<CDrawableObject> pObject = objects.GetObject(nIndex);
        const QRectF box = pObject->GetBoundary();
        lines << QString("%1,%2,%3,%4%5")
                     .arg(box.x())
                     .arg(box.y())
                     .arg(box.width())
                     .arg(box.height())
                     .arg(pObject->GetSelected() ? "*" : "");
    }
    return lines;
}
