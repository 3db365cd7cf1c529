#include "Ovrel.h"

#include <QtTest>

#include <cmath>

using namespace Ovrel::Geometry;
using namespace Ovrel::Utils;

using GeometryPtr = std::shared_ptr<COvrelGeometry>;
Q_DECLARE_METATYPE(GeometryPtr)

namespace
{

QString Text(const COvrelPoint& point)
{
    return QString("%1,%2").arg(point.x()).arg(point.y());
}

QString Text(const COvrelRectangle& box)
{
    return QString("%1,%2 %3x%4").arg(box.x()).arg(box.y()).arg(box.width()).arg(box.height());
}

// "x,y" of each point, "x,y>x,y" of each line, joined by spaces.
QString Text(const COvrelGeometryArray& array)
{
    QStringList parts;
    for (int i = 0; i < array.Size(); ++i)
    {
        if (const auto* pPoint = dynamic_cast<const COvrelPoint*>(array.At(i).get()))
            parts << Text(*pPoint);
        else if (const auto* pLine = dynamic_cast<const COvrelLine*>(array.At(i).get()))
            parts << Text(pLine->start()) + ">" + Text(pLine->end());
    }
    return parts.join(' ');
}

} // namespace

class OvrelGeometryTest : public QObject
{
    Q_OBJECT

private slots:
    void shapesDescribeAndMoveThemselves_data()
    {
        QTest::addColumn<GeometryPtr>("pGeometry");
        QTest::addColumn<QString>("strBoundary");
        QTest::addColumn<int>("nType");
        QTest::addColumn<QString>("strOutline"); // "vertices / segments"; the ellipse's chords are not listed
        QTest::addColumn<QPointF>("inside");
        QTest::addColumn<QPointF>("outside");
        const auto row = [](const char* szRow, const GeometryPtr& pGeometry, const char* szBoundary, int nType,
                            const char* szOutline, QPointF inside, QPointF outside) {
            QTest::newRow(szRow) << pGeometry << QString(szBoundary) << nType << QString(szOutline) << inside
                                 << outside;
        };
        row("point", std::make_shared<COvrelPoint>(3, 4), "3,4 0x0", 0, "3,4 / ", {3, 4}, {3.01, 4});
        row("line drawn right to left", std::make_shared<COvrelLine>(5, 1, 1, 4), "1,1 4x3", 1, "5,1 1,4 / 5,1>1,4",
            {3, 2.5}, {3, 3});
        row("rectangle, its edge inside", std::make_shared<COvrelRectangle>(2, 3, 4, 5), "2,3 4x5", 2,
            "2,3 6,3 6,8 2,8 / 2,3>6,3 6,3>6,8 6,8>2,8 2,8>2,3", {6, 3}, {6.01, 5});
        row("rectangle drawn up-left", std::make_shared<COvrelRectangle>(10, 10, -4, -2), "6,8 4x2", 2,
            "6,8 10,8 10,10 6,10 / 6,8>10,8 10,8>10,10 10,10>6,10 6,10>6,8", {7, 9}, {5, 9});
        row("ellipse, its outline inside", std::make_shared<COvrelEllipse>(2, 3, 6, 4), "2,3 6x4", 4, "2,3 8,3 8,7 2,7",
            {8, 5}, {2.5, 3.5});
        const std::vector<COvrelPoint> triangle{{1, 1}, {5, 2}, {3, 6}};
        auto pArray = std::make_shared<COvrelGeometryArray>();
        pArray->AddGeometry(std::make_shared<COvrelPoint>(-2, 9));
        pArray->AddGeometry(std::make_shared<COvrelRectangle>(1, 1, 3, 3));
        row("polygon", std::make_shared<COvrelPolygon>(triangle), "1,1 4x5", 6, "1,1 5,2 3,6 / 1,1>5,2 5,2>3,6 3,6>1,1",
            {3, 3}, {5, 5});
        row("array: a point and a box", pArray, "-2,1 6x8", 7, "-2,9 1,1 4,1 4,4 1,4 / 1,1>4,1 4,1>4,4 4,4>1,4 1,4>1,1",
            {2, 2}, {0, 5});
    }

    void shapesDescribeAndMoveThemselves()
    {
        QFETCH(GeometryPtr, pGeometry);
        QFETCH(QString, strBoundary);
        QFETCH(int, nType);
        QFETCH(QString, strOutline);
        QFETCH(QPointF, inside);
        QFETCH(QPointF, outside);
        COvrelGeometryArray segments;
        COvrelGeometryArray vertices;
        vertices.AddGeometry(std::make_shared<COvrelPoint>(99, 99));

        QCOMPARE(int(pGeometry->GetType()), nType);
        QCOMPARE(Text(pGeometry->GetBoundary()), strBoundary);
        QCOMPARE(pGeometry->Segmentize(segments, vertices), EOvrelResult_OK);
        QCOMPARE(strOutline.contains('/') ? Text(vertices) + " / " + Text(segments) : Text(vertices), strOutline);
        QVERIFY(pGeometry->Contained(COvrelPoint(inside.x(), inside.y())));
        QVERIFY(!pGeometry->Contained(COvrelPoint(outside.x(), outside.y())));

        const COvrelRectangle box = pGeometry->GetBoundary();
        const GeometryPtr pClone = pGeometry->Clone();
        QStringList moved;
        for (int i = 0; i < vertices.Size(); ++i)
        {
            const auto pVertex = std::static_pointer_cast<COvrelPoint>(vertices.At(i));
            moved << Text(COvrelPoint(pVertex->x() + 10 - box.x(), pVertex->y() + 20 - box.y()));
            pVertex->Set(100, 100); // handles are copies: this leaves the shape
        }
        QCOMPARE(pGeometry->MoveTopLeftTo(COvrelPoint(10, 20)), EOvrelResult_OK);
        QVERIFY(pGeometry->MoveTopLeftTo(COvrelPoint(std::nan(""), 0)) != EOvrelResult_OK);
        QCOMPARE(pGeometry->Segmentize(segments, vertices), EOvrelResult_OK);
        QCOMPARE(Text(vertices), moved.join(' '));
        QVERIFY(typeid(*pClone) == typeid(*pGeometry) && pClone->GetUID() != pGeometry->GetUID());
        QCOMPARE(Text(pClone->GetBoundary()), strBoundary);
    }

    void distancesLengthsAndTolerantEquality()
    {
        const COvrelLine line(0, 0, 100, 100);
        QCOMPARE(COvrelPoint(0, 0).GetDistance(COvrelPoint(3, 4)), 5.0);
        QCOMPARE(QString::number(line.GetLength(), 'f', 3), QString("141.421"));
        QCOMPARE(line.GetDistance(COvrelPoint(0, 10)), std::sqrt(50.0));
        QCOMPARE(line.GetDistance(COvrelPoint(-3, -4)), 5.0);
        QVERIFY(COvrelPoint(0.1 + 0.2, 2) == COvrelPoint(0.3, 2) && COvrelPoint(1, 2) != COvrelPoint(1, 2.001));
        QVERIFY(COvrelObject::CompareEqual(1e6, 1e6 + 1e-4) && COvrelObject::CompareEqual(0.0, 1e-10));
        QVERIFY(COvrelObject::CompareEqual(1.0f, 1.0f + 1e-7f) && !COvrelObject::CompareEqual(1.0, 1.0 + 1e-7));
    }

    void polygonFromDrawnEdges_data()
    {
        QTest::addColumn<QVector<QLineF>>("edges");
        QTest::addColumn<QString>("strVertices");
        // The first click makes an edge of length zero; the last edge closes on the first vertex.
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
        QVERIFY(polygon.AddGeometry(std::make_shared<COvrelRectangle>(0, 0, 1, 1)) != EOvrelResult_OK);

        for (const QLineF& edge : edges)
            QCOMPARE(polygon.AddGeometry(std::make_shared<COvrelLine>(edge.x1(), edge.y1(), edge.x2(), edge.y2())),
                     EOvrelResult_OK);

        QCOMPARE(Text(polygon), strVertices);
        // Editing: a dragged handle comes back through FromVertices, which takes points only.
        COvrelGeometryArray segments;
        COvrelGeometryArray vertices;
        polygon.Segmentize(segments, vertices);
        std::static_pointer_cast<COvrelPoint>(vertices.At(0))->Set(-7, 8);
        QCOMPARE(polygon.FromVertices(vertices), EOvrelResult_OK);
        QVERIFY(polygon.FromVertices(segments) != EOvrelResult_OK);
        QCOMPARE(Text(polygon), "-7,8" + strVertices.mid(strVertices.indexOf(' ')));
    }
};

QTEST_MAIN(OvrelGeometryTest)
#include "OvrelGeometryTest.moc"
