#include "canvas/CDrawableBlank.h"
#include "canvas/CDrawableGeometry.h"
#include "canvas/CDrawableRuler.h"

#include "Ovrel.h"

#include <QtTest>

#include <functional>
#include <memory>

using namespace Ovrel::Geometry;

using GeometryPtr = std::shared_ptr<COvrelGeometry>;
using ObjectPtr = std::shared_ptr<CDrawableObject>;
using ObjectChange = std::function<void(CDrawableObject&)>;
using PointList = QVector<QPointF>;
Q_DECLARE_METATYPE(GeometryPtr)
Q_DECLARE_METATYPE(ObjectPtr)
Q_DECLARE_METATYPE(ObjectChange)

namespace
{
GeometryPtr Triangle()
{
    return std::make_shared<COvrelPolygon>(std::vector<COvrelPoint>{{10, 10}, {50, 10}, {30, 40}});
}

GeometryPtr PointAndLine()
{
    auto pArray = std::make_shared<COvrelGeometryArray>();
    pArray->AddGeometry(std::make_shared<COvrelPoint>(5, 6));
    pArray->AddGeometry(std::make_shared<COvrelLine>(1, 2, 9, 12));
    return pArray;
}

// A circle as the canvas draws it: an ellipse around the press point (10, 10) dragged to (13, 14), radius 5.
GeometryPtr CanvasCircle()
{
    return std::make_shared<COvrelEllipse>(5, 5, 10, 10);
}
} // namespace

class DrawableObjectTest : public QObject
{
    Q_OBJECT
private slots:
    void generatedNameFollowsGeometryKind_data();
    void generatedNameFollowsGeometryKind();
    void storedNameReplacesGeneratedOne();
    void settersAnnounceOnlyRealChanges_data();
    void settersAnnounceOnlyRealChanges();

    void boundaryAndHandlesOfEachKind_data();
    void boundaryAndHandlesOfEachKind();
    void movingHandleReshapesEachKind_data();
    void movingHandleReshapesEachKind();
};

void DrawableObjectTest::generatedNameFollowsGeometryKind_data()
{
    QTest::addColumn<ObjectPtr>("pObject");
    QTest::addColumn<QString>("strPattern"); // %1 is the UID
    QTest::addColumn<int>("nType");
    const auto geometry = [](GeometryPtr pGeometry) { return std::make_shared<CDrawableGeometry>(pGeometry); };
    QTest::newRow("point") << ObjectPtr(geometry(std::make_shared<COvrelPoint>(1, 2))) << "Point_%1" << 1;
    QTest::newRow("line") << ObjectPtr(geometry(std::make_shared<COvrelLine>(0, 0, 5, 5))) << "Line_%1" << 1;
    QTest::newRow("rectangle") << ObjectPtr(geometry(std::make_shared<COvrelRectangle>(0, 0, 5, 5))) << "Rectangle_%1"
                               << 1;
    QTest::newRow("ellipse") << ObjectPtr(geometry(std::make_shared<COvrelEllipse>(0, 0, 8, 4))) << "Ellipse_%1" << 1;
    QTest::newRow("polygon") << ObjectPtr(geometry(Triangle())) << "Polygon_%1" << 1;
    QTest::newRow("geometry array") << ObjectPtr(geometry(PointAndLine())) << "GeometryArray_%1" << 1;
    QTest::newRow("no geometry") << ObjectPtr(geometry(nullptr)) << "" << 1;
    QTest::newRow("ruler") << ObjectPtr(std::make_shared<CDrawableRuler>(QPointF(0, 0), QPointF(3, 4))) << "Line_%1"
                           << 3;
    QTest::newRow("blank") << ObjectPtr(std::make_shared<CDrawableBlank>()) << "Object_%1" << 0;
}

void DrawableObjectTest::generatedNameFollowsGeometryKind()
{
    QFETCH(ObjectPtr, pObject);
    QFETCH(QString, strPattern);
    QFETCH(int, nType);

    QCOMPARE(pObject->GetName(), strPattern.isEmpty() ? QString() : strPattern.arg(pObject->GetUID()));
    QCOMPARE(int(pObject->GetType()), nType);
}

void DrawableObjectTest::storedNameReplacesGeneratedOne()
{
    CDrawableGeometry object(std::make_shared<COvrelRectangle>(0, 0, 5, 5));
    const QString strGenerated = QString("Rectangle_%1").arg(object.GetUID());
    QSignalSpy spy(&object, &CDrawableObject::signal_ChangeDrawableObjectProperty);

    object.SetName("");
    QCOMPARE(object.GetName(), strGenerated);
    QCOMPARE(spy.count(), 0);

    object.SetName("car");
    object.SetName("car");
    QCOMPARE(object.GetName(), QString("car"));
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toUInt(), object.GetUID());

    // Without its geometry a named object has no name either.
    object.SetData(nullptr);
    QCOMPARE(object.GetName(), QString());
}

void DrawableObjectTest::settersAnnounceOnlyRealChanges_data()
{
    QTest::addColumn<ObjectChange>("change");
    QTest::addColumn<int>("nSignals");
    QTest::newRow("select twice") << ObjectChange(
                                         [](CDrawableObject& o)
                                         {
                                             o.SetSelected(true);
                                             o.SetSelected(true);
                                         })
                                  << 1;
    QTest::newRow("offset within fuzzy equality") << ObjectChange(
                                                         [](CDrawableObject& o) {
                                                             o.SetMouseOffset({0, 1e-14});
                                                         })
                                                  << 0;
    QTest::newRow("pen") << ObjectChange([](CDrawableObject& o) { o.SetPen(QPen(Qt::red)); }) << 1;
}

void DrawableObjectTest::settersAnnounceOnlyRealChanges()
{
    QFETCH(ObjectChange, change);
    QFETCH(int, nSignals);

    CDrawableGeometry object(std::make_shared<COvrelRectangle>(0, 0, 5, 5));
    QSignalSpy spy(&object, &CDrawableObject::signal_ChangeDrawableObjectProperty);
    change(object);

    QCOMPARE(spy.count(), nSignals);
    for (const QList<QVariant>& arguments : spy)
        QCOMPARE(arguments.at(0).toUInt(), object.GetUID());
}

void DrawableObjectTest::boundaryAndHandlesOfEachKind_data()
{
    QTest::addColumn<ObjectPtr>("pObject");
    QTest::addColumn<QRectF>("boundary");
    QTest::addColumn<PointList>("handles"); // in the library's order

    const auto geometry = [](GeometryPtr pGeometry)
    { return ObjectPtr(std::make_shared<CDrawableGeometry>(pGeometry)); };
    QTest::newRow("point") << geometry(std::make_shared<COvrelPoint>(3, 4)) << QRectF(3, 4, 0, 0) << PointList{{3, 4}};
    QTest::newRow("line") << geometry(std::make_shared<COvrelLine>(11, 22, 1, 2)) << QRectF(1, 2, 10, 20)
                          << PointList{{11, 22}, {1, 2}};
    QTest::newRow("rectangle") << geometry(std::make_shared<COvrelRectangle>(10, 20, 30, 40)) << QRectF(10, 20, 30, 40)
                               << PointList{{10, 20}, {40, 20}, {40, 60}, {10, 60}};
    QTest::newRow("rectangle dragged up and left")
        << geometry(std::make_shared<COvrelRectangle>(40, 60, -30, -40)) << QRectF(10, 20, 30, 40)
        << PointList{{10, 20}, {40, 20}, {40, 60}, {10, 60}};
    QTest::newRow("circle drawn on the canvas")
        << geometry(CanvasCircle()) << QRectF(5, 5, 10, 10) << PointList{{5, 5}, {15, 5}, {15, 15}, {5, 15}};
    QTest::newRow("polygon") << geometry(Triangle()) << QRectF(10, 10, 40, 30)
                             << PointList{{10, 10}, {50, 10}, {30, 40}};
    QTest::newRow("geometry array") << geometry(PointAndLine()) << QRectF(1, 2, 8, 10)
                                    << PointList{{5, 6}, {1, 2}, {9, 12}};
    QTest::newRow("ruler") << ObjectPtr(std::make_shared<CDrawableRuler>(QPointF(0, 0), QPointF(100, 100)))
                           << QRectF(0, 0, 100, 100) << PointList{{0, 0}, {100, 100}};
    QTest::newRow("no geometry") << geometry(nullptr) << QRectF() << PointList{};
    QTest::newRow("ruler without line") << ObjectPtr(std::make_shared<CDrawableRuler>()) << QRectF() << PointList{};
    QTest::newRow("blank") << ObjectPtr(std::make_shared<CDrawableBlank>()) << QRectF(0, 0, 0, 0) << PointList{};
}

void DrawableObjectTest::boundaryAndHandlesOfEachKind()
{
    QFETCH(ObjectPtr, pObject);
    QFETCH(QRectF, boundary);
    QFETCH(PointList, handles);

    QCOMPARE(pObject->GetBoundary(), boundary);
    for (const QPointF& handle : handles)
    {
        // With no tolerance a handle is found only exactly on it.
        QPointF found(-1, -1);
        QVERIFY(pObject->FindResizePoint(0.0, handle, found, 0.0));
        QCOMPARE(found, handle);
        QVERIFY(!pObject->FindResizePoint(0.0, handle + QPointF(0.5, 0), found, 0.0));
        QVERIFY(pObject->FindResizePoint(0.6, handle + QPointF(0.3, 0.4), found, 0.0));
        QCOMPARE(found, handle);
    }
    // A tolerance that reaches everywhere finds the first handle in the library's order, and only handles exist.
    QPointF found(-1, -1);
    QCOMPARE(pObject->FindResizePoint(1e6, QPointF(500, 500), found, 0.0), !handles.isEmpty());
    if (!handles.isEmpty())
        QCOMPARE(found, handles.first());
}

void DrawableObjectTest::movingHandleReshapesEachKind_data()
{
    QTest::addColumn<GeometryPtr>("pGeometry");
    QTest::addColumn<QPointF>("from");
    QTest::addColumn<QPointF>("to");
    QTest::addColumn<QRectF>("boundary");
    QTest::addColumn<PointList>("handles");
    QTest::addColumn<int>("nSignals");

    const auto rectangle = [] { return GeometryPtr(std::make_shared<COvrelRectangle>(10, 20, 30, 40)); };
    QTest::newRow("line start") << GeometryPtr(std::make_shared<COvrelLine>(1, 2, 11, 22)) << QPointF(1, 2)
                                << QPointF(5, 5) << QRectF(5, 5, 6, 17) << PointList{{5, 5}, {11, 22}} << 1;
    QTest::newRow("rectangle top-left") << rectangle() << QPointF(10, 20) << QPointF(0, 0) << QRectF(0, 0, 40, 60)
                                        << PointList{{0, 0}, {40, 0}, {40, 60}, {0, 60}} << 1;
    QTest::newRow("rectangle bottom-left") << rectangle() << QPointF(10, 60) << QPointF(0, 70) << QRectF(0, 20, 40, 50)
                                           << PointList{{0, 20}, {40, 20}, {40, 70}, {0, 70}} << 1;
    QTest::newRow("rectangle corner a rounding away")
        << rectangle() << QPointF(40 + 1e-12, 60) << QPointF(45, 65) << QRectF(10, 20, 35, 45)
        << PointList{{10, 20}, {45, 20}, {45, 65}, {10, 65}} << 1;
    // Each kind moves its handle its own way; the command tests hold the shapes, these rows the announcement.
    QTest::newRow("ellipse corner") << GeometryPtr(std::make_shared<COvrelEllipse>(10, 20, 30, 40)) << QPointF(40, 60)
                                    << QPointF(30, 30) << QRectF(10, 20, 20, 10)
                                    << PointList{{10, 20}, {30, 20}, {30, 30}, {10, 30}} << 1;
    QTest::newRow("polygon vertex") << Triangle() << QPointF(30, 40) << QPointF(30, 60) << QRectF(10, 10, 40, 50)
                                    << PointList{{10, 10}, {50, 10}, {30, 60}} << 1;
    QTest::newRow("not a handle") << rectangle() << QPointF(25, 20) << QPointF(0, 0) << QRectF(10, 20, 30, 40)
                                  << PointList{{10, 20}, {40, 20}, {40, 60}, {10, 60}} << 0;
    QTest::newRow("point") << GeometryPtr(std::make_shared<COvrelPoint>(3, 4)) << QPointF(3, 4) << QPointF(9, 9)
                           << QRectF(3, 4, 0, 0) << PointList{{3, 4}} << 0;
    QTest::newRow("geometry array") << PointAndLine() << QPointF(5, 6) << QPointF(0, 0) << QRectF(1, 2, 8, 10)
                                    << PointList{{5, 6}, {1, 2}, {9, 12}} << 0;
}

void DrawableObjectTest::movingHandleReshapesEachKind()
{
    QFETCH(GeometryPtr, pGeometry);
    QFETCH(QPointF, from);
    QFETCH(QPointF, to);
    QFETCH(QRectF, boundary);
    QFETCH(PointList, handles);
    QFETCH(int, nSignals);

    CDrawableGeometry object(pGeometry);
    QSignalSpy spy(&object, &CDrawableObject::signal_ChangeDrawableObjectProperty);
    object.MoveResizePoint(from, to);

    QCOMPARE(object.GetBoundary(), boundary);
    for (const QPointF& handle : handles)
    {
        QPointF found;
        QVERIFY2(object.FindResizePoint(1e-6, handle, found, 0.0),
                 qPrintable(QString("%1,%2").arg(handle.x()).arg(handle.y())));
    }
    QCOMPARE(spy.count(), nSignals);
}

QTEST_MAIN(DrawableObjectTest)
#include "DrawableObjectTest.moc"
