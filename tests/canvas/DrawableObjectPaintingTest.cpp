#include "canvas/CDrawableBlank.h"
#include "canvas/CDrawableGeometry.h"
#include "canvas/CDrawableObjectPainter.h"
#include "canvas/CDrawableRuler.h"

#include "Geometry/COvrelRectangle.h"

#include <QImage>
#include <QPainter>
#include <QtTest>

#include <memory>

using ObjectPtr = std::shared_ptr<CDrawableObject>;
Q_DECLARE_METATYPE(ObjectPtr)

namespace
{
QImage BlackImage(int nSize)
{
    QImage image(nSize, nSize, QImage::Format_ARGB32);
    image.fill(Qt::black);
    return image;
}

// Paints the object with the image as window (image pixels) over a viewport nZoom times as large.
QImage Paint(const CDrawableObject& object, int nImageSize = 100, int nZoom = 1)
{
    QImage image = BlackImage(nImageSize * nZoom);
    QPainter painter(&image);
    painter.setViewport(0, 0, nImageSize * nZoom, nImageSize * nZoom);
    painter.setWindow(0, 0, nImageSize, nImageSize);
    CDrawableObjectPainter::Paint(painter, object, 1.0 / nZoom);
    return image;
}

bool IsOutline(QRgb rgb, bool bSelected)
{
    return bSelected ? (qRed(rgb) == 255 && qGreen(rgb) == 0) : (qGreen(rgb) == 255 && qRed(rgb) == 0);
}

// Pixels of the labels' opaque background inside the rectangle.
int LabelPixels(const QImage& image, const QRect& area)
{
    int nCount = 0;
    const QRect inside = area.intersected(image.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            nCount += image.pixel(x, y) == qRgb(10, 10, 10) ? 1 : 0;
    return nCount;
}
} // namespace

class DrawableObjectPaintingTest : public QObject
{
    Q_OBJECT
private slots:
    void rulerMeasuresItsLine();
    void labelsAreDrawnInScreenPixelsAtTheAnchor_data();
    void labelsAreDrawnInScreenPixelsAtTheAnchor();
    void rulerIsUnfilledWithLengthLabel();
    void objectsWithoutShapePaintNothing_data();
    void objectsWithoutShapePaintNothing();
    void rectanglesMatchStrokedDrawing_data();
    void rectanglesMatchStrokedDrawing();
    void renamedObjectShowsItsNewLabel();
};

void DrawableObjectPaintingTest::rulerMeasuresItsLine()
{
    CDrawableRuler ruler(QPointF(0, 0), QPointF(100, 100));
    QCOMPARE(ruler.GetType(), EImageView2DDrawbleObjectType_Ruler);
    QCOMPARE(ruler.GetPointText(), QPointF(100, 100));
    QCOMPARE(CDrawableObjectPainter::LabelText(ruler), QString("141.421 pixel"));
    // The ruler's label is its length whatever its name and label flag say.
    ruler.SetName("width");
    ruler.SetDisplayName(false);
    QCOMPARE(CDrawableObjectPainter::LabelText(ruler), QString("141.421 pixel"));

    ruler.SetData(std::make_shared<Ovrel::Geometry::COvrelRectangle>(0, 0, 5, 5));
    QCOMPARE(ruler.GetPointText(), QPointF(0, 0));
    QCOMPARE(CDrawableObjectPainter::LabelText(ruler), QString());
}

void DrawableObjectPaintingTest::labelsAreDrawnInScreenPixelsAtTheAnchor_data()
{
    QTest::addColumn<int>("nZoom");
    QTest::addColumn<bool>("bDisplayName");
    QTest::newRow("label at 1:1") << 1 << true;
    QTest::newRow("label at 4:1") << 4 << true;
    QTest::newRow("label switched off") << 4 << false;
}

void DrawableObjectPaintingTest::labelsAreDrawnInScreenPixelsAtTheAnchor()
{
    QFETCH(int, nZoom);
    QFETCH(bool, bDisplayName);
    CDrawableGeometry object(std::make_shared<Ovrel::Geometry::COvrelRectangle>(20, 30, 50, 40));
    object.SetName("car");
    object.SetDisplayName(bDisplayName);
    QCOMPARE(CDrawableObjectPainter::LabelText(object), bDisplayName ? QString("car") : QString());

    const QImage image = Paint(object, 100, nZoom);

    // The text's baseline starts at the boundary's top-left on screen; the label stands above it, right of it. Its
    // background spans the font's ascent above the baseline and its descent below, in whichever face "Arial" resolves
    // to on this machine.
    const QPoint anchor(20 * nZoom, 30 * nZoom);
    const QFontMetrics metrics(CDrawableObjectPainter::LabelFont(), &image);
    const int nTop = anchor.y() - metrics.ascent() - 1;
    const int nBottom = anchor.y() + metrics.descent() + 1;
    const int nAbove = LabelPixels(image, QRect(anchor.x() + 1, anchor.y() - 12, 30, 10));
    const int nElsewhere = LabelPixels(image, QRect(0, 0, image.width(), nTop)) +
                           LabelPixels(image, QRect(0, nBottom + 1, image.width(), image.height())) +
                           LabelPixels(image, QRect(0, 0, anchor.x() - 1, image.height()));
    QCOMPARE(nAbove > 50, bDisplayName);
    QCOMPARE(nElsewhere, 0);
}

void DrawableObjectPaintingTest::rulerIsUnfilledWithLengthLabel()
{
    CDrawableRuler ruler(QPointF(10, 10), QPointF(60, 10));
    ruler.SetSelected(true);

    const QImage image = Paint(ruler, 100, 2);

    // A red line of one screen pixel, with nothing filled around it and no box.
    QVERIFY(IsOutline(image.pixel(60, 20), true));
    QCOMPARE(image.pixel(60, 22), qRgb(0, 0, 0));
    QCOMPARE(image.pixel(60, 18), qRgb(0, 0, 0));
    // Unfilled handle circles at both ends.
    QVERIFY(IsOutline(image.pixel(20, 17), true));
    QCOMPARE(image.pixel(20, 19), qRgb(0, 0, 0));
    // The length label starts at the end point (120, 20 on screen).
    QVERIFY(LabelPixels(image, QRect(121, 8, 30, 10)) > 50);
    QCOMPARE(LabelPixels(image, QRect(0, 0, 110, 200)), 0);
}

void DrawableObjectPaintingTest::objectsWithoutShapePaintNothing_data()
{
    QTest::addColumn<ObjectPtr>("pObject");
    QTest::newRow("blank") << ObjectPtr(std::make_shared<CDrawableBlank>());
    QTest::newRow("geometry object without geometry") << ObjectPtr(std::make_shared<CDrawableGeometry>());
    QTest::newRow("ruler without line") << ObjectPtr(std::make_shared<CDrawableRuler>());
}

void DrawableObjectPaintingTest::objectsWithoutShapePaintNothing()
{
    QFETCH(ObjectPtr, pObject);
    pObject->SetName("named");
    QCOMPARE(Paint(*pObject), BlackImage(100));
}

void DrawableObjectPaintingTest::rectanglesMatchStrokedDrawing_data()
{
    QTest::addColumn<QRectF>("rectangle");
    QTest::addColumn<int>("nZoom");
    QTest::addColumn<bool>("bSelected");
    // Invalid for the canvas's own colours.
    QTest::addColumn<QColor>("colour");
    // Corners half a pixel and a sixty-fourth into a screen pixel, where a copied handle circle is the drawn one.
    const double dblPhase = 0.5 + 0.5 / 64;
    const QColor blue(31, 119, 180);
    QTest::newRow("1:1 unselected") << QRectF(20 + dblPhase, 30 + dblPhase, 41, 27) << 1 << false << QColor();
    QTest::newRow("1:1 selected") << QRectF(11 + dblPhase, 60 + dblPhase, 3, 30) << 1 << true << QColor();
    QTest::newRow("4:1 unselected") << QRectF(20 + dblPhase / 4, 30 + dblPhase / 4, 12.5, 7.25) << 4 << false
                                    << QColor();
    QTest::newRow("4:1 selected") << QRectF(5 + dblPhase / 4, 70 + dblPhase / 4, 60.75, 0.75) << 4 << true << QColor();
    QTest::newRow("too thin for whole pixels") << QRectF(40 + dblPhase, 40 + dblPhase, 30, 1) << 1 << false << QColor();
    QTest::newRow("own colour") << QRectF(20 + dblPhase, 30 + dblPhase, 41, 27) << 1 << false << blue;
    QTest::newRow("own colour selected is thick") << QRectF(20 + dblPhase, 30 + dblPhase, 41, 27) << 1 << true << blue;
    QTest::newRow("own colour selected 4:1")
        << QRectF(5 + dblPhase / 4, 20 + dblPhase / 4, 12.5, 7.25) << 4 << true << blue;
    QTest::newRow("own colour selected, too narrow for rings")
        << QRectF(11 + dblPhase, 60 + dblPhase, 3, 30) << 1 << true << blue;
}

// Rectangles are painted from whole pixels where that gives the pixels of stroking and filling them as shapes; the
// shapes drawn with the same pen and brush are the reference.
void DrawableObjectPaintingTest::rectanglesMatchStrokedDrawing()
{
    QFETCH(QRectF, rectangle);
    QFETCH(int, nZoom);
    QFETCH(bool, bSelected);
    QFETCH(QColor, colour);
    CDrawableGeometry object(std::make_shared<Ovrel::Geometry::COvrelRectangle>(rectangle.x(), rectangle.y(),
                                                                                rectangle.width(), rectangle.height()));
    object.SetSelected(bSelected);
    object.SetDisplayName(false);
    object.SetColour(colour);

    QImage expected = BlackImage(100 * nZoom);
    {
        QPainter painter(&expected);
        painter.setViewport(0, 0, 100 * nZoom, 100 * nZoom);
        painter.setWindow(0, 0, 100, 100);
        const bool bThick = colour.isValid() && bSelected;
        const QColor outline = colour.isValid() ? colour : bSelected ? QColor(255, 0, 0) : QColor(0, 255, 0);
        const double dblWidth = 1.0 / nZoom;
        painter.setPen(QPen(QBrush(outline), dblWidth, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
        painter.setBrush(QColor(outline.red(), outline.green(), outline.blue(), bThick ? 90 : 50));
        painter.drawRect(rectangle);
        if (bThick)
        {
            // Selected in a colour of its own: a ring either side of the outline.
            painter.save();
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(rectangle.adjusted(-dblWidth, -dblWidth, dblWidth, dblWidth));
            painter.drawRect(rectangle.adjusted(dblWidth, dblWidth, -dblWidth, -dblWidth));
            painter.restore();
        }
        for (const QPointF& corner :
             {rectangle.topLeft(), rectangle.topRight(), rectangle.bottomRight(), rectangle.bottomLeft()})
            painter.drawEllipse(corner, 3.0 / nZoom, 3.0 / nZoom);
    }

    QCOMPARE(Paint(object, 100, nZoom), expected);
}

void DrawableObjectPaintingTest::renamedObjectShowsItsNewLabel()
{
    CDrawableGeometry object(std::make_shared<Ovrel::Geometry::COvrelRectangle>(20, 30, 50, 40));
    object.SetName("car");
    const QImage car = Paint(object);
    object.SetName("bus");
    const QImage renamed = Paint(object);

    CDrawableGeometry bus(std::make_shared<Ovrel::Geometry::COvrelRectangle>(20, 30, 50, 40));
    bus.SetName("bus");
    QVERIFY(renamed != car);
    QCOMPARE(renamed, Paint(bus));
    // The label moves with its object.
    object.MoveTopLeftTo(QPointF(25, 50));
    QVERIFY(LabelPixels(Paint(object), QRect(26, 38, 30, 10)) > 50);
}

QTEST_MAIN(DrawableObjectPaintingTest)
#include "DrawableObjectPaintingTest.moc"
