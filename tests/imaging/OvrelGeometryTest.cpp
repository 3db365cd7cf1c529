#include "Geometry/COvrelEllipse.h"
#include "Geometry/COvrelGeometryArray.h"
#include "Geometry/COvrelLine.h"
#include "Geometry/COvrelPoint.h"
#include "Geometry/COvrelPolygon.h"
#include "Geometry/COvrelRectangle.h"

#include <QtTest>

#include <cmath>
#include <memory>

using namespace Ovrel::Geometry;
using Ovrel::Utils::EOvrelResult_OK;

using GeometryPtr = std::shared_ptr<COvrelGeometry>;
Q_DECLARE_METATYPE(GeometryPtr)

namespace
{

QString Text(double value)
{
    return QString::number(value, 'g', 10);
}

QString Text(const COvrelRectangle& box)
{
    return QString("%1,%2 %3x%4").arg(Text(box.x()), Text(box.y()), Text(box.width()), Text(box.height()));
}

// "x,y x,y ..." of the points of an array; "?" for a member that is not a point.
QString Points(const COvrelGeometryArray& array)
{
    QStringList points;
    for (int i = 0; i < array.Size(); ++i)
    {
        const auto* pPoint = dynamic_cast<const COvrelPoint*>(array.At(i).get());
        points << (pPoint ? Text(pPoint->x()) + "," + Text(pPoint->y()) : QString("?"));
    }
    return points.join(' ');
}

// "x1,y1>x2,y2 ..." of the lines of an array.
QString Lines(const COvrelGeometryArray& array)
{
    QStringList lines;
    for (int i = 0; i < array.Size(); ++i)
    {
        const auto* pLine = dynamic_cast<const COvrelLine*>(array.At(i).get());
        lines << (pLine ? QString("%1,%2>%3,%4")
                              .arg(Text(pLine->start().x()), Text(pLine->start().y()), Text(pLine->end().x()),
                                   Text(pLine->end().y()))
                        : QString("?"));
    }
    return lines.join(' ');
}

GeometryPtr Triangle()
{
    return std::make_shared<COvrelPolygon>(std::vector<COvrelPoint>{{1, 1}, {5, 2}, {3, 6}});
}

GeometryPtr PointAndBox()
{
    auto pArray = std::make_shared<COvrelGeometryArray>();
    pArray->AddGeometry(std::make_shared<COvrelPoint>(-2, 9));
    pArray->AddGeometry(std::make_shared<COvrelRectangle>(1, 1, 3, 3));
    return pArray;
}

} // namespace

class OvrelGeometryTest : public QObject
{
    Q_OBJECT

private slots:
    void typesAndBoundaries_data()
    {
        QTest::addColumn<GeometryPtr>("pGeometry");
        QTest::addColumn<int>("nType");
        QTest::addColumn<QString>("strBoundary");
        QTest::newRow("point") << GeometryPtr(std::make_shared<COvrelPoint>(3, 4)) << 0 << "3,4 0x0";
        QTest::newRow("line") << GeometryPtr(std::make_shared<COvrelLine>(5, 1, 1, 4)) << 1 << "1,1 4x3";
        QTest::newRow("rectangle") << GeometryPtr(std::make_shared<COvrelRectangle>(2, 3, 4, 5)) << 2 << "2,3 4x5";
        QTest::newRow("rectangle drawn up-left")
            << GeometryPtr(std::make_shared<COvrelRectangle>(10, 10, -4, -2)) << 2 << "6,8 4x2";
        QTest::newRow("ellipse") << GeometryPtr(std::make_shared<COvrelEllipse>(2, 3, 6, 4)) << 4 << "2,3 6x4";
        QTest::newRow("polygon") << Triangle() << 6 << "1,1 4x5";
        QTest::newRow("array") << PointAndBox() << 7 << "-2,1 6x8";
        QTest::newRow("empty array") << GeometryPtr(std::make_shared<COvrelGeometryArray>()) << 7 << "0,0 0x0";
    }

    void typesAndBoundaries()
    {
        QFETCH(GeometryPtr, pGeometry);
        QFETCH(int, nType);
        QFETCH(QString, strBoundary);

        QCOMPARE(int(pGeometry->GetType()), nType);
        QCOMPARE(Text(pGeometry->GetBoundary()), strBoundary);
    }

    void moveTopLeftToKeepsTheShape_data()
    {
        QTest::addColumn<GeometryPtr>("pGeometry");
        QTest::addColumn<QString>("strVertices");
        QTest::newRow("point") << GeometryPtr(std::make_shared<COvrelPoint>(3, 4)) << "10,20";
        QTest::newRow("line drawn right to left")
            << GeometryPtr(std::make_shared<COvrelLine>(5, 1, 1, 4)) << "14,20 10,23";
        QTest::newRow("rectangle") << GeometryPtr(std::make_shared<COvrelRectangle>(2, 3, 4, 5))
                                   << "10,20 14,20 14,25 10,25";
        QTest::newRow("ellipse") << GeometryPtr(std::make_shared<COvrelEllipse>(2, 3, 6, 4))
                                 << "10,20 16,20 16,24 10,24";
        QTest::newRow("polygon") << Triangle() << "10,20 14,21 12,25";
        QTest::newRow("array") << PointAndBox() << "10,28 13,20 16,20 16,23 13,23";
    }

    void moveTopLeftToKeepsTheShape()
    {
        QFETCH(GeometryPtr, pGeometry);
        QFETCH(QString, strVertices);
        const COvrelRectangle before = pGeometry->GetBoundary();

        QCOMPARE(pGeometry->MoveTopLeftTo(COvrelPoint(10, 20)), EOvrelResult_OK);

        const COvrelRectangle after = pGeometry->GetBoundary();
        QCOMPARE(Text(after), QString("10,20 %1x%2").arg(Text(before.width()), Text(before.height())));
        COvrelGeometryArray segments, vertices;
        QCOMPARE(pGeometry->Segmentize(segments, vertices), EOvrelResult_OK);
        QCOMPARE(Points(vertices), strVertices);
        QVERIFY(pGeometry->MoveTopLeftTo(COvrelPoint(std::nan(""), 0)) != EOvrelResult_OK);
        QCOMPARE(Text(pGeometry->GetBoundary()), Text(after));
    }

    void cornerSettersKeepTheOppositeCorner_data()
    {
        QTest::addColumn<bool>("bEllipse");
        QTest::addColumn<int>("nCorner");
        QTest::addColumn<QPointF>("to");
        QTest::addColumn<QString>("strBox");
        // The box is (2, 2) to (6, 6).
        for (bool bEllipse : {false, true})
        {
            const char* szKind = bEllipse ? "ellipse" : "rectangle";
            QTest::addRow("%s top-left", szKind) << bEllipse << 0 << QPointF(0, 1) << "0,1 6x5";
            QTest::addRow("%s top-right", szKind) << bEllipse << 1 << QPointF(8, 0) << "2,0 6x6";
            QTest::addRow("%s bottom-right", szKind) << bEllipse << 2 << QPointF(3, 3) << "2,2 1x1";
            QTest::addRow("%s bottom-left", szKind) << bEllipse << 3 << QPointF(1, 7) << "1,2 5x5";
            QTest::addRow("%s top-left across", szKind) << bEllipse << 0 << QPointF(9, 9) << "6,6 3x3";
        }
    }

    void cornerSettersKeepTheOppositeCorner()
    {
        QFETCH(bool, bEllipse);
        QFETCH(int, nCorner);
        QFETCH(QPointF, to);
        QFETCH(QString, strBox);
        COvrelRectangle rectangle(2, 2, 4, 4);
        COvrelEllipse ellipse(2, 2, 4, 4);
        const COvrelPoint point(to.x(), to.y());

        switch (nCorner)
        {
        case 0:
            bEllipse ? ellipse.SetTopLeft(point) : rectangle.SetTopLeft(point);
            break;
        case 1:
            bEllipse ? ellipse.SetTopRight(point) : rectangle.SetTopRight(point);
            break;
        case 2:
            bEllipse ? ellipse.SetBottomRight(point) : rectangle.SetBottomRight(point);
            break;
        default:
            bEllipse ? ellipse.SetBottomLeft(point) : rectangle.SetBottomLeft(point);
        }

        QCOMPARE(Text(bEllipse ? ellipse.GetBoundary() : rectangle.GetBoundary()), strBox);
    }

    void ellipseMeasuresFromItsBox()
    {
        const COvrelEllipse ellipse(2, 3, 6, 4);

        QCOMPARE(ellipse.centerX(), 5.0);
        QCOMPARE(ellipse.centerY(), 5.0);
        QCOMPARE(ellipse.radiusA(), 3.0);
        QCOMPARE(ellipse.radiusB(), 2.0);
    }

    void segmentizeGivesOutlineAndHandles_data()
    {
        QTest::addColumn<GeometryPtr>("pGeometry");
        QTest::addColumn<QString>("strVertices");
        QTest::addColumn<QString>("strSegments");
        QTest::newRow("point") << GeometryPtr(std::make_shared<COvrelPoint>(3, 4)) << "3,4"
                               << "";
        QTest::newRow("line") << GeometryPtr(std::make_shared<COvrelLine>(5, 1, 1, 4)) << "5,1 1,4"
                              << "5,1>1,4";
        QTest::newRow("rectangle") << GeometryPtr(std::make_shared<COvrelRectangle>(2, 3, 4, 5)) << "2,3 6,3 6,8 2,8"
                                   << "2,3>6,3 6,3>6,8 6,8>2,8 2,8>2,3";
        QTest::newRow("polygon") << Triangle() << "1,1 5,2 3,6"
                                 << "1,1>5,2 5,2>3,6 3,6>1,1";
        QTest::newRow("two-vertex polygon")
            << GeometryPtr(std::make_shared<COvrelPolygon>(std::vector<COvrelPoint>{{1, 1}, {4, 5}})) << "1,1 4,5"
            << "1,1>4,5";
        QTest::newRow("array") << PointAndBox() << "-2,9 1,1 4,1 4,4 1,4"
                               << "1,1>4,1 4,1>4,4 4,4>1,4 1,4>1,1";
    }

    void segmentizeGivesOutlineAndHandles()
    {
        QFETCH(GeometryPtr, pGeometry);
        QFETCH(QString, strVertices);
        QFETCH(QString, strSegments);
        COvrelGeometryArray segments;
        COvrelGeometryArray vertices;
        segments.AddGeometry(std::make_shared<COvrelPoint>(99, 99));
        vertices.AddGeometry(std::make_shared<COvrelPoint>(99, 99));

        QCOMPARE(pGeometry->Segmentize(segments, vertices), EOvrelResult_OK);

        QCOMPARE(Points(vertices), strVertices);
        QCOMPARE(Lines(segments), strSegments);
    }

    void ellipseOutlineIsAClosedChain()
    {
        const COvrelEllipse ellipse(0, 0, 20, 10);
        COvrelGeometryArray segments;
        COvrelGeometryArray vertices;

        QCOMPARE(ellipse.Segmentize(segments, vertices), EOvrelResult_OK);

        QCOMPARE(Points(vertices), QString("0,0 20,0 20,10 0,10"));
        QCOMPARE(segments.Size(), 64);
        for (int i = 0; i < segments.Size(); ++i)
        {
            const auto* pLine = dynamic_cast<const COvrelLine*>(segments.At(i).get());
            const auto* pNext = dynamic_cast<const COvrelLine*>(segments.At((i + 1) % segments.Size()).get());
            QVERIFY(pLine && pNext);
            QVERIFY(pLine->end() == pNext->start());
            const double u = (pLine->start().x() - 10) / 10;
            const double v = (pLine->start().y() - 5) / 5;
            QVERIFY(std::fabs(u * u + v * v - 1.0) < 1e-9);
        }
    }

    void segmentizeHandsOutCopies()
    {
        COvrelRectangle rectangle(2, 3, 4, 5);
        COvrelGeometryArray segments;
        COvrelGeometryArray vertices;
        rectangle.Segmentize(segments, vertices);

        std::static_pointer_cast<COvrelPoint>(vertices.At(0))->Set(100, 100);

        QCOMPARE(Text(rectangle.GetBoundary()), QString("2,3 4x5"));
    }

    void containedFollowsTheShape_data()
    {
        QTest::addColumn<GeometryPtr>("pGeometry");
        QTest::addColumn<QPointF>("point");
        QTest::addColumn<bool>("bInside");
        const GeometryPtr pRectangle = std::make_shared<COvrelRectangle>(2, 2, 4, 4);
        const GeometryPtr pEllipse = std::make_shared<COvrelEllipse>(0, 0, 10, 10);
        QTest::newRow("rectangle inside") << pRectangle << QPointF(3, 5) << true;
        QTest::newRow("rectangle edge") << pRectangle << QPointF(6, 2) << true;
        QTest::newRow("rectangle outside") << pRectangle << QPointF(6.01, 4) << false;
        QTest::newRow("ellipse centre") << pEllipse << QPointF(5, 5) << true;
        QTest::newRow("ellipse box corner") << pEllipse << QPointF(1, 1) << false;
        QTest::newRow("ellipse on the outline") << pEllipse << QPointF(10, 5) << true;
        QTest::newRow("triangle inside") << Triangle() << QPointF(3, 3) << true;
        QTest::newRow("triangle outside") << Triangle() << QPointF(5, 5) << false;
        QTest::newRow("line on it") << GeometryPtr(std::make_shared<COvrelLine>(0, 0, 10, 10)) << QPointF(4, 4) << true;
        QTest::newRow("line beside it") << GeometryPtr(std::make_shared<COvrelLine>(0, 0, 10, 10)) << QPointF(4, 5)
                                        << false;
        QTest::newRow("point itself") << GeometryPtr(std::make_shared<COvrelPoint>(3, 4)) << QPointF(3, 4) << true;
        QTest::newRow("array member") << PointAndBox() << QPointF(2, 2) << true;
        QTest::newRow("array gap") << PointAndBox() << QPointF(0, 5) << false;
    }

    void containedFollowsTheShape()
    {
        QFETCH(GeometryPtr, pGeometry);
        QFETCH(QPointF, point);
        QFETCH(bool, bInside);

        QCOMPARE(pGeometry->Contained(COvrelPoint(point.x(), point.y())), bInside);
    }

    void crossingPolygonUsesEvenOdd()
    {
        // A five-pointed star drawn in one stroke: its centre is crossed twice, so it is outside.
        std::vector<COvrelPoint> star;
        for (int i = 0; i < 5; ++i)
        {
            const double angle = -M_PI / 2 + i * 4 * M_PI / 5;
            star.emplace_back(50 + 40 * std::cos(angle), 50 + 40 * std::sin(angle));
        }
        const COvrelPolygon polygon(star);

        QVERIFY(!polygon.Contained(COvrelPoint(50, 50)));
        QVERIFY(polygon.Contained(COvrelPoint(50, 18)));
    }

    void distancesAndLengths()
    {
        QCOMPARE(COvrelPoint(0, 0).GetDistance(COvrelPoint(3, 4)), 5.0);
        const COvrelLine line(0, 0, 100, 100);
        QCOMPARE(QString::asprintf("%.03f", line.GetLength()), QString("141.421"));
        QCOMPARE(line.GetDistance(COvrelPoint(0, 10)), std::sqrt(50.0));
        QCOMPARE(line.GetDistance(COvrelPoint(-3, -4)), 5.0);
    }

    void lineEndsAreSetApart()
    {
        COvrelLine line(1, 2, 3, 4);

        line.SetStart(COvrelPoint(0, 0));
        line.SetEnd(COvrelPoint(6, 8));

        QCOMPARE(line.GetLength(), 10.0);
        QVERIFY(line.start() == COvrelPoint(0, 0));
        QVERIFY(line.end() == COvrelPoint(6, 8));
    }

    void pointEqualityIsTolerant()
    {
        QVERIFY(COvrelPoint(1, 2) == COvrelPoint(1 + 1e-12, 2));
        QVERIFY(COvrelPoint(0.1 + 0.2, 0) == COvrelPoint(0.3, 0));
        QVERIFY(COvrelPoint(1, 2) != COvrelPoint(1.001, 2));
        QVERIFY(COvrelPoint(1, 2) != COvrelPoint(1, 2.001));
    }

    void cloneIsDeepAndOfTheSameClass_data()
    {
        QTest::addColumn<GeometryPtr>("pGeometry");
        QTest::newRow("rectangle") << GeometryPtr(std::make_shared<COvrelRectangle>(2, 3, 4, 5));
        QTest::newRow("ellipse") << GeometryPtr(std::make_shared<COvrelEllipse>(2, 3, 4, 5));
        QTest::newRow("line") << GeometryPtr(std::make_shared<COvrelLine>(2, 3, 4, 5));
        QTest::newRow("polygon") << Triangle();
        QTest::newRow("array") << PointAndBox();
    }

    void cloneIsDeepAndOfTheSameClass()
    {
        QFETCH(GeometryPtr, pGeometry);
        const QString strBefore = Text(pGeometry->GetBoundary());

        const GeometryPtr pClone = pGeometry->Clone();
        pGeometry->MoveTopLeftTo(COvrelPoint(50, 50));

        QCOMPARE(pClone->GetType(), pGeometry->GetType());
        QVERIFY(typeid(*pClone) == typeid(*pGeometry));
        QVERIFY(pClone->GetUID() != pGeometry->GetUID());
        QCOMPARE(Text(pClone->GetBoundary()), strBefore);
    }

    void arrayRefusesNullAndItself()
    {
        auto pArray = std::make_shared<COvrelGeometryArray>();

        QVERIFY(pArray->AddGeometry(nullptr) != EOvrelResult_OK);
        QVERIFY(pArray->AddGeometry(pArray) != EOvrelResult_OK);
        QCOMPARE(pArray->AddGeometry(std::make_shared<COvrelPoint>(1, 2)), EOvrelResult_OK);

        QCOMPARE(pArray->Size(), 1);
        QVERIFY(pArray->At(0));
        QVERIFY(!pArray->At(1));
        QVERIFY(!pArray->At(-1));
    }

    void polygonFromDrawnEdges_data()
    {
        QTest::addColumn<QVector<QLineF>>("edges");
        QTest::addColumn<QString>("strVertices");
        // The first click makes an edge of length zero; the last edge closes on the first vertex.
        QTest::newRow("clicked triangle")
            << QVector<QLineF>{{1, 1, 1, 1}, {1, 1, 9, 1}, {9, 1, 5, 7}, {5, 7, 1, 1}} << "1,1 9,1 5,7";
        QTest::newRow("dragged chain")
            << QVector<QLineF>{{0, 0, 0, 0}, {0, 0, 1, 0}, {1, 0, 2, 0}, {2, 0, 2, 3}, {2, 3, 0, 0}}
            << "0,0 1,0 2,0 2,3";
        QTest::newRow("single edge") << QVector<QLineF>{{1, 2, 3, 4}} << "1,2 3,4";
    }

    void polygonFromDrawnEdges()
    {
        QFETCH(QVector<QLineF>, edges);
        QFETCH(QString, strVertices);
        COvrelPolygon polygon;

        for (const QLineF& edge : edges)
            QCOMPARE(polygon.AddGeometry(COvrelLine(edge.x1(), edge.y1(), edge.x2(), edge.y2()).Clone()),
                     EOvrelResult_OK);

        COvrelGeometryArray segments;
        COvrelGeometryArray vertices;
        QCOMPARE(polygon.Segmentize(segments, vertices), EOvrelResult_OK);
        QCOMPARE(Points(vertices), strVertices);
        QCOMPARE(Points(polygon), strVertices);
    }

    void polygonRefusesOtherShapes()
    {
        COvrelPolygon polygon;

        QVERIFY(polygon.AddGeometry(std::make_shared<COvrelRectangle>(0, 0, 1, 1)) != EOvrelResult_OK);
        QVERIFY(polygon.AddGeometry(nullptr) != EOvrelResult_OK);
        QCOMPARE(polygon.AddGeometry(std::make_shared<COvrelPoint>(2, 3)), EOvrelResult_OK);

        QCOMPARE(Points(polygon), QString("2,3"));
    }

    void fromVerticesRebuildsAMovedVertex()
    {
        auto pPolygon = std::static_pointer_cast<COvrelPolygon>(Triangle());
        COvrelGeometryArray segments;
        COvrelGeometryArray vertices;
        pPolygon->Segmentize(segments, vertices);
        std::static_pointer_cast<COvrelPoint>(vertices.At(1))->Set(8, 0);

        QCOMPARE(pPolygon->FromVertices(vertices), EOvrelResult_OK);

        QCOMPARE(Points(*pPolygon), QString("1,1 8,0 3,6"));
        QCOMPARE(Text(pPolygon->GetBoundary()), QString("1,0 7x6"));
    }

    void fromVerticesRefusesNonPoints()
    {
        auto pPolygon = std::static_pointer_cast<COvrelPolygon>(Triangle());
        COvrelGeometryArray mixed;
        mixed.AddGeometry(std::make_shared<COvrelPoint>(0, 0));
        mixed.AddGeometry(std::make_shared<COvrelLine>(0, 0, 1, 1));

        QVERIFY(pPolygon->FromVertices(mixed) != EOvrelResult_OK);

        QCOMPARE(Points(*pPolygon), QString("1,1 5,2 3,6"));
    }
};

QTEST_MAIN(OvrelGeometryTest)
#include "OvrelGeometryTest.moc"
