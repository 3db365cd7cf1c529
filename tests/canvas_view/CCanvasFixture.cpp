#include "CCanvasFixture.h"

#include "Utils/COvrelImage.h"

#define QTEST_QPA_MOUSE_HANDLING
#include <QApplication>
#include <QWheelEvent>
#include <QtTest>

using Ovrel::Utils::COvrelImage;

CCanvasFixture::CCanvasFixture(const QSize& size, int nViewID)
    : canvas(std::make_unique<CImageView2D>(&images, &objects, &mode, nViewID))
{
    canvas->resize(size);
    canvas->show();
    QVERIFY(QTest::qWaitForWindowExposed(canvas.get()));
}

CCanvasFixture::~CCanvasFixture() = default;

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

void CCanvasFixture::Drag(const QPoint& from, const QPoint& to)
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
