#include "CCanvasFixture.h"
#include "CPromptAnswers.h"
#include "CSignalRecorder.h"

#include "canvas/CDrawableGeometry.h"
#include "canvas/CPixelGridPainter.h"

#include "Geometry/COvrelLine.h"
#include "Geometry/COvrelRectangle.h"
#include "Utils/COvrelImage.h"

#define QTEST_QPA_MOUSE_HANDLING
#include <QFontMetrics>
#include <QtTest>

#include <functional>

using Ovrel::Geometry::COvrelLine;
using Ovrel::Geometry::COvrelRectangle;
using ObjectPtr = std::shared_ptr<CDrawableObject>;
using ModelChange = std::function<void(CDrawableObjectModel&, const ObjectPtr&)>;
Q_DECLARE_METATYPE(ModelChange)

namespace
{
const QColor kGrey(120, 120, 120);
const QColor kGrid(0, 100, 255);
const QColor kSelected(255, 0, 0);
const QColor kUnselected(0, 255, 0);

ObjectPtr Rectangle(double x, double y, double dblWidth, double dblHeight)
{
    auto pObject = std::make_shared<CDrawableGeometry>(std::make_shared<COvrelRectangle>(x, y, dblWidth, dblHeight));
    pObject->SetDisplayName(false);
    return pObject;
}

// Pixels of the image inside the area for which the test holds.
int CountPixels(const QImage& image, const QRect& area, const std::function<bool(QColor)>& test)
{
    int nCount = 0;
    const QRect inside = area.intersected(image.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            nCount += test(image.pixelColor(x, y)) ? 1 : 0;
    return nCount;
}

// Every screen pixel of the image pixel's square shows the image pixel's colour (the tests place pixel edges on whole
// screen pixels).
bool ShowsImagePixel(const QImage& grab, const CImageView2D& canvas, int x, int y, int nChannels)
{
    const QPointF topLeft = canvas.MapToScreen(QPointF(x, y));
    const QPointF bottomRight = canvas.MapToScreen(QPointF(x + 1, y + 1));
    const QRect square(topLeft.toPoint(), bottomRight.toPoint() - QPoint(1, 1));
    const QColor expected = CCanvasFixture::PatternColour(x, y, nChannels);
    return !square.intersected(grab.rect()).isEmpty() &&
           CountPixels(grab, square, [&](QColor c) { return c != expected; }) == 0;
}
} // namespace

class CanvasPaintTest : public QObject
{
    Q_OBJECT
private slots:

    void imagePixelsLandWhereTheyShould_data()
    {
        QTest::addColumn<int>("nChannels");
        QTest::addColumn<int>("nZoomDelta");
        QTest::addColumn<QPoint>("zoomAt");
        QTest::addColumn<QPoint>("screen");
        QTest::addColumn<QPoint>("pixel");

        // Each channel count once; the places on screen with three channels.
        QTest::newRow("grey") << 1 << 0 << QPoint() << QPoint(2, 0) << QPoint(1, 0);
        QTest::newRow("four channels") << 4 << 0 << QPoint() << QPoint(2, 0) << QPoint(1, 0);
        // Two screen pixels per image pixel: screen 0 and 1 show pixel 0, screen 2 pixel 1.
        QTest::newRow("fit, first pixel") << 3 << 0 << QPoint() << QPoint(1, 1) << QPoint(0, 0);
        QTest::newRow("fit, last pixel") << 3 << 0 << QPoint() << QPoint(398, 199) << QPoint(199, 99);
        // Twice about the centre: viewport (-200, -100, 800, 400), four screen pixels per image pixel.
        QTest::newRow("zoomed, corner") << 3 << 1000 << QPoint(200, 100) << QPoint(3, 3) << QPoint(50, 25);
        QTest::newRow("zoomed, next column") << 3 << 1000 << QPoint(200, 100) << QPoint(4, 0) << QPoint(51, 25);
    }

    void imagePixelsLandWhereTheyShould()
    {
        QFETCH(int, nChannels);
        QFETCH(int, nZoomDelta);
        QFETCH(QPoint, zoomAt);
        QFETCH(QPoint, screen);
        QFETCH(QPoint, pixel);
        CCanvasFixture fixture(QSize(400, 200));
        fixture.PushPattern(200, 100, nChannels);
        if (nZoomDelta != 0)
            QVERIFY(fixture.Wheel(zoomAt, nZoomDelta));

        const QImage grab = fixture.Grab();

        QCOMPARE(grab.pixelColor(screen), CCanvasFixture::PatternColour(pixel.x(), pixel.y(), nChannels));
        QVERIFY(ShowsImagePixel(grab, *fixture.canvas, pixel.x(), pixel.y(), nChannels));
    }

    void outsideTheImageIsGrey()
    {
        CCanvasFixture fixture(QSize(400, 400));
        fixture.PushPattern(100, 50);

        const QImage grab = fixture.Grab();

        // The image covers rows 100 to 299.
        QCOMPARE(CountPixels(grab, QRect(0, 0, 400, 100), [](QColor c) { return c != kGrey; }), 0);
        QCOMPARE(CountPixels(grab, QRect(0, 300, 400, 100), [](QColor c) { return c != kGrey; }), 0);
        QCOMPARE(grab.pixelColor(0, 100), CCanvasFixture::PatternColour(0, 0, 3));
        QCOMPARE(grab.pixelColor(399, 299), CCanvasFixture::PatternColour(99, 49, 3));
    }

    void outlineLiesOnScreenPixelOfItsEdge_data()
    {
        QTest::addColumn<int>("nZoomDelta");
        QTest::addColumn<int>("nLeftEdge");
        QTest::addColumn<int>("nRow");

        // The rectangle (20, 10, 40, 30): its left edge at image x 20; image row 20 crosses it away from the handles.
        QTest::newRow("two screen pixels per pixel") << 0 << 40 << 40;
        QTest::newRow("four, zoomed at the corner") << 1000 << 80 << 80;
        QTest::newRow("eight, zoomed at the corner") << 3000 << 160 << 160;
    }

    void outlineLiesOnScreenPixelOfItsEdge()
    {
        QFETCH(int, nZoomDelta);
        QFETCH(int, nLeftEdge);
        QFETCH(int, nRow);
        CCanvasFixture fixture(QSize(400, 200));
        fixture.PushPattern(200, 100);
        if (nZoomDelta != 0)
            QVERIFY(fixture.Wheel(QPoint(0, 0), nZoomDelta));

        fixture.objects.AddObject(Rectangle(20, 10, 40, 30));
        const QImage grab = fixture.Grab();

        // One screen pixel wide at every zoom: the pixels either side show the image (outside) or the fill (inside).
        QCOMPARE(grab.pixelColor(nLeftEdge, nRow), kSelected);
        QCOMPARE(grab.pixelColor(nLeftEdge - 1, nRow), CCanvasFixture::PatternColour(19, 20, 3));
        // The translucent red fill over the image.
        const QColor inside = grab.pixelColor(nLeftEdge + 1, nRow);
        QVERIFY2(inside.red() > CCanvasFixture::PatternColour(20, 20, 3).red() + 30 && inside != kSelected,
                 qPrintable(inside.name()));
    }

    void objectsFollowTheModel_data()
    {
        QTest::addColumn<ModelChange>("change");
        QTest::addColumn<QList<QPoint>>("points");
        QTest::addColumn<QList<QColor>>("colours");

        // The rectangle (20, 10, 40, 30) has its left edge on screen x 40; (40, 50) lies on it, (200, 50) on the left
        // edge of the same rectangle moved to x 100.
        const QList<QPoint> points{{40, 50}, {200, 50}};
        const QColor atEdge = CCanvasFixture::PatternColour(20, 25, 3);
        const QColor atMoved = CCanvasFixture::PatternColour(100, 25, 3);
        QTest::newRow("added, so selected") << ModelChange([](CDrawableObjectModel&, const ObjectPtr&) {}) << points
                                            << QList<QColor>{kSelected, atMoved};
        QTest::newRow("deselected") << ModelChange([](CDrawableObjectModel& model, const ObjectPtr&)
                                                   { model.DeselectAll(); })
                                    << points << QList<QColor>{kUnselected, atMoved};
        QTest::newRow("deleted") << ModelChange([](CDrawableObjectModel& model, const ObjectPtr& pObject)
                                                { model.DeleteObject(pObject->GetUID()); })
                                 << points << QList<QColor>{atEdge, atMoved};
        QTest::newRow("cleared") << ModelChange([](CDrawableObjectModel& model, const ObjectPtr&) { model.ClearAll(); })
                                 << points << QList<QColor>{atEdge, atMoved};
        QTest::newRow("moved") << ModelChange([](CDrawableObjectModel&, const ObjectPtr& pObject)
                                              { pObject->MoveTopLeftTo(QPointF(100, 10)); })
                               << points << QList<QColor>{atEdge, kSelected};
        QTest::newRow("second added in front") << ModelChange(
                                                      [](CDrawableObjectModel& model, const ObjectPtr&)
                                                      {
                                                          model.DeselectAll();
                                                          model.AddObject(Rectangle(100, 10, 40, 30));
                                                      })
                                               << points << QList<QColor>{kUnselected, kSelected};
    }

    void objectsFollowTheModel()
    {
        QFETCH(ModelChange, change);
        QFETCH(QList<QPoint>, points);
        QFETCH(QList<QColor>, colours);
        CCanvasFixture fixture(QSize(400, 200));
        fixture.PushPattern(200, 100);
        const ObjectPtr pObject = Rectangle(20, 10, 40, 30);
        fixture.objects.AddObject(pObject);
        // Painted once before the change, so that the change has to reach what is painted.
        fixture.Grab();

        change(fixture.objects, pObject);
        const QImage grab = fixture.Grab();

        for (int i = 0; i < points.size(); ++i)
            QCOMPARE(grab.pixelColor(points[i]), colours[i]);
    }

    void gestureObjectsShowOnTheLayer()
    {
        CCanvasFixture fixture(QSize(400, 200));
        fixture.PushPattern(200, 100);
        const auto pLine = std::make_shared<CDrawableGeometry>(std::make_shared<COvrelLine>(100, 10, 100, 90));
        // Left edge of the rectangle on screen x 40, the line on screen x 200.
        const auto colourAt = [&fixture](int x, int y) { return fixture.Grab().pixelColor(x, y); };

        fixture.objects.AddDrawingObject(Rectangle(20, 10, 40, 30));
        fixture.objects.SetWaitingObject(pLine);
        QCOMPARE(colourAt(40, 50), kUnselected);
        QCOMPARE(colourAt(200, 100), kUnselected);

        fixture.objects.ClearDrawingObjects();
        QCOMPARE(colourAt(40, 50), CCanvasFixture::PatternColour(20, 25, 3));
        QCOMPARE(colourAt(200, 100), kUnselected);

        fixture.objects.ClearWaitingObject();
        QCOMPARE(colourAt(200, 100), CCanvasFixture::PatternColour(100, 50, 3));

        fixture.objects.AddDrawingObject(Rectangle(20, 10, 40, 30));
        QCOMPARE(colourAt(40, 50), kUnselected);
        fixture.objects.ClearAll();
        QCOMPARE(colourAt(40, 50), CCanvasFixture::PatternColour(20, 25, 3));
    }

    void objectsJustOffScreenStillReachIn_data()
    {
        QTest::addColumn<bool>("bLabel");
        QTest::addColumn<int>("nPan");
        QTest::addColumn<QRect>("area");
        QTest::addColumn<QColor>("colour");

        // Eight screen pixels per image pixel; the object (0.25, 10, 1, 1) lies on screen x 2 to 10, rows 80 to 88.
        // Panned 12 to the left its right edge is at x -2, and the handle there (radius 3) reaches x 1.
        QTest::newRow("handle of an object left of the view") << false << -12 << QRect(0, 77, 2, 7) << kSelected;
        // Panned 40 to the left the whole object lies at x -38 to -30; its name, written from x -38, reaches in.
        QTest::newRow("name of an object left of the view")
            << true << -40 << QRect(0, 55, 60, 30) << QColor(10, 10, 10);
    }

    void objectsJustOffScreenStillReachIn()
    {
        QFETCH(bool, bLabel);
        QFETCH(int, nPan);
        QFETCH(QRect, area);
        QFETCH(QColor, colour);
        CCanvasFixture fixture(QSize(400, 200));
        fixture.PushPattern(200, 100);
        QVERIFY(fixture.Wheel(QPoint(0, 0), 3000));
        fixture.modes.SetMode(CImageViewModeModel::EImageView2DMode_Panning);
        fixture.DragOnScreen(QPoint(200, 100), QPoint(200 + nPan, 100));
        const ObjectPtr pObject = Rectangle(0.25, 10, 1, 1);
        pObject->SetDisplayName(bLabel);

        fixture.objects.AddObject(pObject);
        const QImage grab = fixture.Grab();

        QCOMPARE(fixture.canvas->GetViewport(), QRect(nPan, 0, 1600, 800));
        QVERIFY(CountPixels(grab, area, [&](QColor c) { return c == colour; }) > 0);
    }

    void pixelValuesShownOnlyWhenTheyFit_data()
    {
        QTest::addColumn<int>("nChannels");
        QTest::addColumn<int>("nPixelSize");
        QTest::addColumn<bool>("bShown");

        const int nFontHeight = QFontMetrics(CPixelGridPainter::ValueFont()).height();
        QTest::newRow("grey at the grid's zoom") << 1 << 50 << true;
        QTest::newRow("three channels, just room") << 3 << 3 * nFontHeight + 5 << true;
        QTest::newRow("three channels, a pixel short") << 3 << 3 * nFontHeight + 4 << false;
        QTest::newRow("four channels, just room") << 4 << 4 * nFontHeight + 5 << true;
        QTest::newRow("four channels, a pixel short") << 4 << 4 * nFontHeight + 4 << false;
        QTest::newRow("four channels where three fit") << 4 << 3 * nFontHeight + 5 << false;
    }

    void pixelValuesShownOnlyWhenTheyFit()
    {
        QFETCH(int, nChannels);
        QFETCH(int, nPixelSize);
        QFETCH(bool, bShown);
        // A 3 x 2 image fills a canvas of 3 x 2 pixel sizes exactly.
        CCanvasFixture fixture(QSize(3 * nPixelSize, 2 * nPixelSize));
        fixture.PushPattern(3, 2, nChannels);
        QCOMPARE(fixture.canvas->GetDisplayScale(), double(nPixelSize));

        const QImage grab = fixture.Grab();

        // Inside pixel (1, 0): the values' black background and each value's colour (the pattern has none of them).
        const QRect pixel(nPixelSize + 1, 1, nPixelSize - 2, nPixelSize - 2);
        const auto near = [](QColor c, int r, int g, int b)
        { return std::abs(c.red() - r) < 60 && std::abs(c.green() - g) < 60 && std::abs(c.blue() - b) < 60; };
        QList<std::function<bool(QColor)>> valueColours;
        if (nChannels >= 3)
            valueColours << [&](QColor c) { return near(c, 255, 0, 0); } << [&](QColor c) { return near(c, 0, 255, 0); }
                         << [&](QColor c) { return near(c, 0, 0, 255); };
        if (nChannels != 3)
            valueColours << [&](QColor c) { return near(c, 255, 255, 255); };
        QCOMPARE(CountPixels(grab, pixel, [](QColor c) { return c == Qt::black; }) > 0, bShown);
        for (const auto& isValueColour : valueColours)
            QCOMPARE(CountPixels(grab, pixel, isValueColour) > 0, bShown);
    }

    void gridFromFiftyScreenPixelsPerPixel_data()
    {
        QTest::addColumn<int>("nPixelSize");
        QTest::addColumn<bool>("bShown");

        QTest::newRow("fifty") << 50 << true;
        QTest::newRow("forty-nine") << 49 << false;
        QTest::newRow("seventy") << 70 << true;
    }

    void gridFromFiftyScreenPixelsPerPixel()
    {
        QFETCH(int, nPixelSize);
        QFETCH(bool, bShown);
        CCanvasFixture fixture(QSize(4 * nPixelSize, 2 * nPixelSize));
        fixture.PushPattern(4, 2, 3);

        const QImage grab = fixture.Grab();

        const auto isGrid = [](QColor c) { return c == kGrid; };
        // Along the edge between pixels 0 and 1, and between rows 0 and 1.
        QCOMPARE(CountPixels(grab, QRect(nPixelSize - 1, 5, 2, nPixelSize - 10), isGrid) >= nPixelSize - 10, bShown);
        QCOMPARE(CountPixels(grab, QRect(5, nPixelSize - 1, nPixelSize - 10, 2), isGrid) >= nPixelSize - 10, bShown);
        if (!bShown)
            QCOMPARE(CountPixels(grab, grab.rect(), isGrid), 0);
    }

    void crosshairFollowsDragAndLeavesOnRelease()
    {
        CCanvasFixture fixture(QSize(400, 200));
        fixture.PushPattern(200, 100);
        QTest::mouseMove(fixture.canvas.get(), QPoint(100, 50));
        QTest::mousePress(fixture.canvas.get(), Qt::LeftButton, Qt::NoModifier, QPoint(100, 50));
        QTest::mouseMove(fixture.canvas.get(), QPoint(300, 150));

        QImage grab = fixture.Grab();
        QCOMPARE(CountPixels(grab, QRect(0, 150, 400, 1), [](QColor c) { return c == kGrid; }), 400);
        QCOMPARE(CountPixels(grab, QRect(300, 0, 1, 200), [](QColor c) { return c == kGrid; }), 200);

        QTest::mouseRelease(fixture.canvas.get(), Qt::LeftButton, Qt::NoModifier, QPoint(300, 150));
        grab = fixture.Grab();
        QCOMPARE(CountPixels(grab, grab.rect(), [](QColor c) { return c == kGrid; }), 0);
    }

    void shownImageOutlivesLibraryBuffer()
    {
        CCanvasFixture fixture(QSize(400, 200));
        const auto pImage = fixture.PushPattern(200, 100);

        // The library image moves to a new buffer behind the canvas's back; the old pixels are still what is shown.
        QCOMPARE(pImage->Create(10, 10, 3), Ovrel::Utils::EOvrelResult_OK);
        const QImage grab = fixture.Grab();

        QVERIFY(ShowsImagePixel(grab, *fixture.canvas, 0, 0, 3));
        QVERIFY(ShowsImagePixel(grab, *fixture.canvas, 199, 99, 3));
        // Read here, byte by byte, so that AddressSanitizer sees every read (Qt's painting is not instrumented).
        const QImage shown = fixture.canvas->GetDisplayImage();
        QCOMPARE(shown.size(), QSize(200, 100));
        int nWrong = 0;
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x)
            {
                const uchar* pPixel = shown.constScanLine(y) + 3 * x;
                const QColor expected = CCanvasFixture::PatternColour(x, y, 3);
                nWrong += QColor(pPixel[0], pPixel[1], pPixel[2]) == expected ? 0 : 1;
            }
        QCOMPARE(nWrong, 0);
    }

    void withoutImageNothingIsDrawnAndNoPointHasScale_data()
    {
        QTest::addColumn<int>("nCase");

        QTest::newRow("never an image") << 0;
        QTest::newRow("empty library image") << 1;
        QTest::newRow("last image closed") << 2;
    }

    void withoutImageNothingIsDrawnAndNoPointHasScale()
    {
        QFETCH(int, nCase);
        CCanvasFixture fixture(QSize(400, 200));
        if (nCase == 1)
            fixture.images.PushImage(std::make_shared<Ovrel::Utils::COvrelImage>());
        if (nCase == 2)
        {
            fixture.PushPattern(200, 100);
            fixture.images.RemoveCurrentImage();
        }
        CPromptAnswers answers;
        fixture.modes.SetMode(CImageViewModeModel::EImageView2DMode_Drawing_Rectanlge);
        QTest::mouseMove(fixture.canvas.get(), QPoint(10, 10));
        CSignalRecorder recorder(fixture.canvas.get());

        fixture.objects.AddObject(Rectangle(20, 10, 40, 30));
        fixture.objects.AddDrawingObject(Rectangle(0, 0, 10, 10));
        QVERIFY(fixture.Wheel(QPoint(100, 100), 240));
        fixture.DragOnScreen(QPoint(10, 10), QPoint(90, 50));
        fixture.canvas->slot_Goto();
        const QImage grab = fixture.Grab();

        QCOMPARE(CountPixels(grab, grab.rect(), [](QColor c) { return c != kGrey; }), 0);
        QCOMPARE(fixture.canvas->GetWindow(), QRect());
        QCOMPARE(fixture.canvas->GetDisplayScale(), 0.0);
        QVERIFY(answers.asked.isEmpty());
        // Every point stands for the same finite place: the drag is there, but it has no extent, so it finishes
        // nothing.
        QCOMPARE(recorder.Take(),
                 (QStringList{"signal_Active()", "signal_DrawRectangleStart(0,0)", "signal_ChangeMousePosition(0,0)",
                              "signal_DrawRectangleDoing(0,0;0,0)"}));
    }
};

int RunCanvasPaintTest(int argc, char** argv)
{
    CanvasPaintTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "CanvasPaintTest.moc"
