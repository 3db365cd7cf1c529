#include "CCanvasFixture.h"
#include "CTestSandbox.h"

#include "frame/CUndoStack.h"

#include <QtTest>

using Mode = CImageViewModeModel::EImageView2DMode;

namespace
{
QPolygonF Points(std::initializer_list<QPointF> points)
{
    return QPolygonF(QVector<QPointF>(points));
}
} // namespace

// What the drawing and editing gestures leave of a shape's geometry: boxes stay on their image, and a shape needs
// extent.
class CanvasShapeGeometryTest : public QObject
{
    Q_OBJECT

private:
    CTestSandbox m_sandbox;
    std::unique_ptr<CCanvasFixture> m_pFixture;

    CCanvasFixture& F() { return *m_pFixture; }

private slots:
    void init()
    {
        m_pFixture = std::make_unique<CCanvasFixture>();
        F().PushImage();
        QVERIFY(F().Show());
        QCOMPARE(F().canvas->GetDisplayScale(), 2.0);
    }

    void cleanup() { m_pFixture.reset(); }

    void clickWithoutDragAddsNoShape_data()
    {
        QTest::addColumn<Mode>("eMode");
        QTest::newRow("rectangle") << Mode::EImageView2DMode_Drawing_Rectanlge;
        QTest::newRow("ellipse") << Mode::EImageView2DMode_Drawing_Ellipse;
        QTest::newRow("circle") << Mode::EImageView2DMode_Drawing_Circle;
        QTest::newRow("ruler") << Mode::EImageView2DMode_Drawing_Line;
    }

    void clickWithoutDragAddsNoShape()
    {
        QFETCH(Mode, eMode);
        F().SetMode(eMode);
        QSignalSpy added(&F().objects, &CDrawableObjectModel::signal_AddDrawableObject);

        F().Move(QPointF(39, 39));
        F().Click(QPointF(40, 40));

        QCOMPARE(added.count(), 0);
        QCOMPARE(F().UndoCount(), 0);
        QVERIFY(F().objects.GetDrawingObjects().empty());
        // Nothing was drawn, so the mode stays for the drag the user meant.
        QCOMPARE(F().modes.GetMode(), eMode);
    }

    void boxesStayOnTheImage_data()
    {
        QTest::addColumn<QString>("strPath");
        QTest::addColumn<Mode>("eMode");
        // Draw: press at the first point, release at the second; polygon: a click on each, then on the first again;
        // move and resize: drag from the first point (on the box, or on its handle) to the second.
        QTest::addColumn<QPolygonF>("points");
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QStringList>("after");
        // The image is 100 x 100 pixels; the canvas shows the 100 image pixels beside it on either side.
        const Mode eRectangle = Mode::EImageView2DMode_Drawing_Rectanlge;
        const Mode eSelecting = Mode::EImageView2DMode_Selecting;
        const QStringList none;
        QTest::newRow("rectangle past the right edge")
            << "draw" << eRectangle << Points({{80, 10}, {130, 40}}) << none << QStringList{"80,10,20,30*"};
        QTest::newRow("rectangle from beside the image")
            << "draw" << eRectangle << Points({{-20, 60}, {30, 90}}) << none << QStringList{"0,60,30,30*"};
        QTest::newRow("rectangle wholly beside the image: none")
            << "draw" << eRectangle << Points({{-40, 10}, {-10, 40}}) << none << none;
        QTest::newRow("ellipse past the right edge")
            << "draw" << Mode::EImageView2DMode_Drawing_Ellipse << Points({{80, 10}, {130, 40}}) << none
            << QStringList{"80,10,20,30*"};
        QTest::newRow("circle cut at the right edge")
            << "draw" << Mode::EImageView2DMode_Drawing_Circle << Points({{90, 50}, {90, 70}}) << none
            << QStringList{"70,30,30,40*"};
        QTest::newRow("polygon with a vertex beside the image")
            << "polygon" << Mode::EImageView2DMode_Drawing_Polygon << Points({{80, 20}, {130, 20}, {90, 60}}) << none
            << QStringList{"80,20,20,40*"};
        QTest::newRow("move stops at the right edge") << "move" << eSelecting << Points({{20, 20}, {95, 20}})
                                                      << QStringList{"10,10,30,20"} << QStringList{"70,10,30,20*"};
        QTest::newRow("move stops at the bottom edge") << "move" << eSelecting << Points({{20, 20}, {20, 95}})
                                                       << QStringList{"10,10,30,20"} << QStringList{"10,80,30,20*"};
        QTest::newRow("group stops as one block at the left edge")
            << "group" << eSelecting << Points({{15, 15}, {-30, 15}}) << QStringList{"10,10,20,20", "50,10,20,20"}
            << QStringList{"40,10,20,20*", "0,10,20,20*"};
        QTest::newRow("resize stops at the left and top edges")
            << "resize" << eSelecting << Points({{20, 20}, {-10, -10}}) << QStringList{"20,20,40,30"}
            << QStringList{"0,0,60,50*"};
        // Grabbed 3 pixels above the corner, the corner would go 3 pixels below the mouse.
        QTest::newRow("resize stops at the right and bottom edges")
            << "resize" << eSelecting << Points({{60, 47}, {130, 99}}) << QStringList{"20,20,40,30"}
            << QStringList{"20,20,80,80*"};
        QTest::newRow("resize onto the opposite side is taken back")
            << "resize" << eSelecting << Points({{20, 20}, {60, 35}}) << QStringList{"20,20,40,30"}
            << QStringList{"20,20,40,30*"};
    }

    void boxesStayOnTheImage()
    {
        QFETCH(QString, strPath);
        QFETCH(Mode, eMode);
        QFETCH(QPolygonF, points);
        QFETCH(QStringList, before);
        QFETCH(QStringList, after);
        F().PushImage(100, 100);
        QCOMPARE(F().canvas->GetDisplayScale(), 2.0);
        for (const QString& strBox : before)
        {
            const QStringList v = strBox.split(',');
            F().AddRectangle(v[0].toDouble(), v[1].toDouble(), v[2].toDouble(), v[3].toDouble());
        }
        F().objects.DeselectAll();
        if (strPath == "group")
            F().Drag(QPointF(5, 5), QPointF(80, 35));
        const auto plain = [this] { return F().Objects().join(' ').remove('*'); };
        const QString strBefore = plain();
        const int nUndoBefore = F().UndoCount();
        F().SetMode(eMode);

        if (strPath == "polygon")
        {
            for (const QPointF& vertex : points + Points({points.front()}))
            {
                F().Move(vertex - QPointF(1, 1));
                F().Click(vertex);
            }
        }
        else
        {
            // Hovering over the handle arms the resize.
            if (strPath == "resize")
            {
                F().Move(points[0] + QPointF(0.5, 0));
                F().Move(points[0]);
            }
            F().Drag(points[0], points[1]);
        }

        QCOMPARE(F().Objects(), after);
        if (QString(after.join(' ')).remove('*') == strBefore)
        {
            QCOMPARE(F().UndoCount(), nUndoBefore);
            QCOMPARE(F().modes.GetMode(), eMode);
            return;
        }
        QCOMPARE(F().UndoCount(), nUndoBefore + 1);
        F().controller->GetUndoStack()->Undo();
        QCOMPARE(plain(), strBefore);
        F().controller->GetUndoStack()->Redo();
        QCOMPARE(plain(), QString(after.join(' ')).remove('*'));
    }
};

QTEST_MAIN(CanvasShapeGeometryTest)
#include "CanvasShapeGeometryTest.moc"
