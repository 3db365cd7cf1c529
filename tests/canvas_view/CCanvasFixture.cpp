#include "CCanvasFixture.h"

#include "canvas/CDrawableGeometry.h"
#include "frame/CUndoStack.h"

#include "Geometry/COvrelRectangle.h"
#include "Utils/COvrelImage.h"

#ifndef QTEST_QPA_MOUSE_HANDLING
#define QTEST_QPA_MOUSE_HANDLING
#endif
#include <QApplication>
#include <QWheelEvent>
#include <QtTest>

using Ovrel::Utils::COvrelImage;

CCanvasFixture::CCanvasFixture(const QSize& size, int nViewID)
    : canvas(std::make_unique<CImageView2D>(&images, &objects, &modes, nViewID))
{
    canvas->resize(size);
    canvas->show();
    QVERIFY(QTest::qWaitForWindowExposed(canvas.get()));
}

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

QColor CCanvasFixture::PatternColour(int x, int y, int nChannels)
{
    if (nChannels == 1)
    {
        const int nGrey = 10 + (7 * x + 3 * y) % 100;
        return QColor(nGrey, nGrey, nGrey);
    }
    return QColor(10 + (9 * x) % 90, 140 + (11 * y) % 100, 60);
}

std::shared_ptr<COvrelImage> CCanvasFixture::PushPattern(int nWidth, int nHeight, int nChannels)
{
    auto pImage = std::make_shared<COvrelImage>();
    if (pImage->Create(nWidth, nHeight, nChannels) != Ovrel::Utils::EOvrelResult_OK)
        return nullptr;
    for (int y = 0; y < nHeight; ++y)
        for (int x = 0; x < nWidth; ++x)
        {
            const QColor colour = PatternColour(x, y, nChannels);
            unsigned char* pPixel = pImage->GetPixel(x, y);
            pPixel[0] = static_cast<unsigned char>(colour.red());
            if (nChannels >= 3)
            {
                pPixel[1] = static_cast<unsigned char>(colour.green());
                pPixel[2] = static_cast<unsigned char>(colour.blue());
            }
            if (nChannels == 4)
                pPixel[3] = 255;
        }
    images.PushImage(pImage);
    return pImage;
}

bool CCanvasFixture::Wheel(const QPoint& position, int nDelta)
{
    QWheelEvent event(QPointF(position), QPointF(canvas->mapToGlobal(position)), QPoint(), QPoint(0, nDelta),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(canvas.get(), &event);
    return event.isAccepted();
}

void CCanvasFixture::DragOnScreen(const QPoint& from, const QPoint& to)
{
    QTest::mouseMove(canvas.get(), from);
    QTest::mousePress(canvas.get(), Qt::LeftButton, Qt::NoModifier, from);
    QTest::mouseMove(canvas.get(), to);
    QTest::mouseRelease(canvas.get(), Qt::LeftButton, Qt::NoModifier, to);
}

QImage CCanvasFixture::Grab()
{
    return canvas->grab().toImage().convertToFormat(QImage::Format_RGB32);
}
