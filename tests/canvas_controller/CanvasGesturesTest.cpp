#include "CCanvasFixture.h"
#include "CTestSandbox.h"

#include "canvas/CCanvasDrawingGestures.h"
#include "canvas/CCanvasSelectionGestures.h"
#include "canvas/CDrawableGeometry.h"
#include "canvas/CDrawableRuler.h"
#include "frame/CUndoStack.h"

#include "Geometry/COvrelPolygon.h"

#include <QMenu>
#include <QTimer>
#include <QtTest>

using Mode = CImageViewModeModel::EImageView2DMode;
using Ovrel::Geometry::COvrelPolygon;

Q_DECLARE_METATYPE(Qt::Key)

namespace
{
QString Box(const QRectF& box)
{
    return QString("%1,%2,%3,%4").arg(box.x()).arg(box.y()).arg(box.width()).arg(box.height());
}
} // namespace

class CanvasGesturesTest : public QObject
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

    void drawingAddsOneUndoableObject_data()
    {
        QTest::addColumn<Mode>("eMode");
        QTest::addColumn<QPointF>("from");
        QTest::addColumn<QPointF>("to");
        QTest::addColumn<QString>("strBox");
        QTest::addColumn<QString>("strNamePrefix");
        QTest::newRow("rectangle") << Mode::EImageView2DMode_Drawing_Rectanlge << QPointF(10, 10) << QPointF(30, 20)
                                   << "10,10,20,10"
                                   << "Rectangle_";
        QTest::newRow("rectangle dragged up and left")
            << Mode::EImageView2DMode_Drawing_Rectanlge << QPointF(30, 20) << QPointF(10, 10) << "10,10,20,10"
            << "Rectangle_";
        QTest::newRow("ellipse") << Mode::EImageView2DMode_Drawing_Ellipse << QPointF(10, 10) << QPointF(30, 20)
                                 << "10,10,20,10"
                                 << "Ellipse_";
        QTest::newRow("circle about the press point")
            << Mode::EImageView2DMode_Drawing_Circle << QPointF(10, 10) << QPointF(13, 14) << "5,5,10,10"
            << "Ellipse_";
        QTest::newRow("ruler") << Mode::EImageView2DMode_Drawing_Line << QPointF(10, 10) << QPointF(13, 14)
                               << "10,10,3,4"
                               << "Line_";
    }

    void drawingAddsOneUndoableObject()
    {
        QFETCH(Mode, eMode);
        QFETCH(QPointF, from);
        QFETCH(QPointF, to);
        QFETCH(QString, strBox);
        QFETCH(QString, strNamePrefix);
        F().SetMode(eMode);
        QSignalSpy added(&F().objects, &CDrawableObjectModel::signal_AddDrawableObject);

        F().Press(from);
        F().Move((from + to) / 2);
        F().Move(to);
        // While dragging, only the preview exists.
        QCOMPARE(F().objects.GetDrawingObjects().size(), size_t(1));
        QCOMPARE(Box(F().objects.GetDrawingObjects().front()->GetBoundary()), strBox);
        QCOMPARE(F().objects.GetObjectCount(), 0);
        F().Release(to);

        QCOMPARE(added.count(), 1);
        QCOMPARE(F().Objects(), QStringList{strBox + "*"});
        const std::shared_ptr<CDrawableObject> pDrawn = F().objects.GetObject(0);
        QVERIFY(pDrawn->GetName().startsWith(strNamePrefix));
        QVERIFY(pDrawn->GetDisplayName());
        QCOMPARE(bool(std::dynamic_pointer_cast<CDrawableRuler>(pDrawn)), eMode == Mode::EImageView2DMode_Drawing_Line);
        QVERIFY(F().objects.GetDrawingObjects().empty());
        QCOMPARE(F().modes.GetMode(), Mode::EImageView2DMode_Selecting);
        QCOMPARE(F().UndoCount(), 1);

        F().Key(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(F().objects.GetObjectCount(), 0);
        F().Key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(F().objects.GetObject(0), pDrawn);
        QCOMPARE(Box(pDrawn->GetBoundary()), strBox);
    }

    void gesturesWithoutAnImageCreateNothing_data()
    {
        QTest::addColumn<Mode>("eMode");
        QTest::newRow("selecting") << Mode::EImageView2DMode_Selecting;
        QTest::newRow("rectangle") << Mode::EImageView2DMode_Drawing_Rectanlge;
        QTest::newRow("ellipse") << Mode::EImageView2DMode_Drawing_Ellipse;
        QTest::newRow("circle") << Mode::EImageView2DMode_Drawing_Circle;
        QTest::newRow("ruler") << Mode::EImageView2DMode_Drawing_Line;
        QTest::newRow("polygon") << Mode::EImageView2DMode_Drawing_Polygon;
    }

    void gesturesWithoutAnImageCreateNothing()
    {
        QFETCH(Mode, eMode);
        F().controller->slot_CloseImage();
        QVERIFY(!F().canvas->GetCurrentImage());
        F().SetMode(eMode);
        QSignalSpy drawing(&F().objects, &CDrawableObjectModel::signal_ChangeDrawingObject);

        for (const QPointF& corner : {QPointF(10, 10), QPointF(60, 10), QPointF(60, 40), QPointF(10, 11)})
            F().Drag(corner, corner + QPointF(20, 15));

        QCOMPARE(F().objects.GetObjectCount(), 0);
        QCOMPARE(F().UndoCount(), 0);
        QCOMPARE(drawing.count(), 0);
        QVERIFY(!F().objects.GetWaitingObject());
    }

    void clickSelectsTheObjectUnderThePointWithoutAnUndoStep_data()
    {
        QTest::addColumn<QPointF>("point");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::addColumn<QStringList>("selection");
        // B (added last) is listed first; A was selected before the click.
        const Qt::KeyboardModifiers none = Qt::NoModifier;
        QTest::newRow("inside A only") << QPointF(20, 20) << none << QStringList{"60,30,50,40", "10,10,60,40*"};
        QTest::newRow("where both lie, the newer")
            << QPointF(65, 35) << none << QStringList{"60,30,50,40*", "10,10,60,40"};
        QTest::newRow("outside both") << QPointF(150, 90) << none << QStringList{"60,30,50,40", "10,10,60,40"};
        QTest::newRow("ctrl adds B") << QPointF(100, 60) << Qt::KeyboardModifiers(Qt::ControlModifier)
                                     << QStringList{"60,30,50,40*", "10,10,60,40*"};
        QTest::newRow("ctrl where both lie") << QPointF(65, 35) << Qt::KeyboardModifiers(Qt::ControlModifier)
                                             << QStringList{"60,30,50,40*", "10,10,60,40*"};
        QTest::newRow("ctrl outside keeps A") << QPointF(150, 90) << Qt::KeyboardModifiers(Qt::ControlModifier)
                                              << QStringList{"60,30,50,40", "10,10,60,40*"};
    }

    void clickSelectsTheObjectUnderThePointWithoutAnUndoStep()
    {
        QFETCH(QPointF, point);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        QFETCH(QStringList, selection);
        const auto pA = F().AddRectangle(10, 10, 60, 40);
        F().AddRectangle(60, 30, 50, 40);
        F().objects.DeselectAll();
        pA->SetSelected(true);

        F().Click(point, modifiers);

        QCOMPARE(F().Objects(), selection);
        QCOMPARE(F().UndoCount(), 0);
    }

    void rubberBandSelectsObjectsWithACornerInside_data()
    {
        QTest::addColumn<QPointF>("from");
        QTest::addColumn<QPointF>("to");
        QTest::addColumn<QStringList>("selection");
        // A (10,10)-(30,30), B (50,10)-(70,30), C (20,50)-(80,90); C is listed first.
        QTest::newRow("around A") << QPointF(5, 5) << QPointF(35, 35)
                                  << QStringList{"20,50,60,40", "50,10,20,20", "10,10,20,20*"};
        QTest::newRow("one corner of B and of C")
            << QPointF(90, 60) << QPointF(65, 25) << QStringList{"20,50,60,40*", "50,10,20,20*", "10,10,20,20"};
        QTest::newRow("dragged up and left over A and B")
            << QPointF(75, 35) << QPointF(25, 5) << QStringList{"20,50,60,40", "50,10,20,20*", "10,10,20,20*"};
        QTest::newRow("across C, touching no corner")
            << QPointF(40, 45) << QPointF(60, 95) << QStringList{"20,50,60,40", "50,10,20,20", "10,10,20,20"};
    }

    void rubberBandSelectsObjectsWithACornerInside()
    {
        QFETCH(QPointF, from);
        QFETCH(QPointF, to);
        QFETCH(QStringList, selection);
        F().AddRectangle(10, 10, 20, 20);
        F().AddRectangle(50, 10, 20, 20);
        F().AddRectangle(20, 50, 60, 40);
        F().objects.DeselectAll();

        F().Press(from);
        F().Move(to);
        QCOMPARE(F().objects.GetDrawingObjects().size(), size_t(1));
        QCOMPARE(F().objects.GetDrawingObjects().front()->GetBoundary(), QRectF(from, to).normalized());
        F().Release(to);

        QCOMPARE(F().Objects(), selection);
        QVERIFY(F().objects.GetDrawingObjects().empty());
        QCOMPARE(F().UndoCount(), 0);
        QCOMPARE(F().controller->GetSelectionGestures()->IsGroup(), selection.join(' ').contains('*'));
    }

    void dragMovesTheSelectionAsOneUndoStep_data()
    {
        QTest::addColumn<QString>("strPick");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::addColumn<QStringList>("moved");
        // A (10,10,20,20) and B (50,10,20,20); every drag grabs inside A at (15,15) and lets go at (35,45).
        const Qt::KeyboardModifiers none = Qt::NoModifier;
        QTest::newRow("A alone") << "" << none << QStringList{"50,10,20,20", "30,40,20,20*"};
        QTest::newRow("rubber band group") << "band" << none << QStringList{"70,40,20,20*", "30,40,20,20*"};
        QTest::newRow("ctrl-clicked group grabbed without ctrl")
            << "ctrl B, ctrl A" << none << QStringList{"70,40,20,20*", "30,40,20,20*"};
        QTest::newRow("press beside the group starts afresh")
            << "ctrl B" << none << QStringList{"50,10,20,20", "30,40,20,20*"};
        // B was grabbed at another point: it must still move with the mouse, not jump.
        QTest::newRow("ctrl-drag adds A to B")
            << "ctrl B" << Qt::KeyboardModifiers(Qt::ControlModifier) << QStringList{"70,40,20,20*", "30,40,20,20*"};
    }

    void dragMovesTheSelectionAsOneUndoStep()
    {
        QFETCH(QString, strPick);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        QFETCH(QStringList, moved);
        F().AddRectangle(10, 10, 20, 20);
        F().AddRectangle(50, 10, 20, 20);
        F().objects.DeselectAll();
        if (strPick == "band")
            F().Drag(QPointF(5, 5), QPointF(80, 35));
        if (strPick.startsWith("ctrl B"))
            F().Click(QPointF(62, 25), Qt::ControlModifier);
        if (strPick.endsWith("ctrl A"))
            F().Click(QPointF(15, 15), Qt::ControlModifier);
        const QString strBefore = QString(F().Objects().join(' ')).remove('*');
        const int nUndoBefore = F().UndoCount();

        F().Drag(QPointF(15, 15), QPointF(35, 45), modifiers);

        QCOMPARE(F().Objects(), moved);
        QCOMPARE(F().UndoCount() - nUndoBefore, 1);
        F().controller->GetUndoStack()->Undo();
        QCOMPARE(QString(F().Objects().join(' ')).remove('*'), strBefore);
        F().controller->GetUndoStack()->Redo();
        QCOMPARE(QString(F().Objects().join(' ')).remove('*'), QString(moved.join(' ')).remove('*'));
    }

    void resizeByAHandleIsUndoable_data()
    {
        QTest::addColumn<QPointF>("grab");
        QTest::addColumn<QPointF>("to");
        QTest::addColumn<QString>("strResized");
        // Rectangle (20,20,40,30); the grab lies up to 4 image pixels (8 screen pixels) from a corner.
        QTest::newRow("bottom-right, on it") << QPointF(60, 50) << QPointF(80, 70) << "20,20,60,50";
        QTest::newRow("bottom-right, 3 px off: the corner keeps its distance")
            << QPointF(63, 50) << QPointF(83, 60) << "20,20,60,40";
        QTest::newRow("top-left") << QPointF(18, 18) << QPointF(8, 28) << "10,30,50,20";
        QTest::newRow("top-right") << QPointF(60, 20) << QPointF(70, 10) << "20,10,50,40";
        QTest::newRow("bottom-right across the top-left") << QPointF(60, 50) << QPointF(10, 10) << "10,10,10,10";
        QTest::newRow("bottom-right across the left side") << QPointF(60, 50) << QPointF(5, 70) << "5,20,15,50";
        QTest::newRow("top-left across the bottom-right") << QPointF(20, 20) << QPointF(90, 80) << "60,50,30,30";
    }

    void resizeByAHandleIsUndoable()
    {
        QFETCH(QPointF, grab);
        QFETCH(QPointF, to);
        QFETCH(QString, strResized);
        F().AddRectangle(20, 20, 40, 30);

        F().Move(grab + QPointF(0.5, 0));
        F().Move(grab);
        QVERIFY(F().controller->GetSelectionGestures()->IsResizing());
        QCOMPARE(F().canvas->cursor().shape(), Qt::CrossCursor);
        F().Drag(grab, to);

        QCOMPARE(F().Objects(), QStringList{strResized + "*"});
        QCOMPARE(F().UndoCount(), 1);
        F().controller->GetUndoStack()->Undo();
        QCOMPARE(F().Objects(), QStringList{"20,20,40,30*"});
        F().controller->GetUndoStack()->Redo();
        QCOMPARE(F().Objects(), QStringList{strResized + "*"});
    }

    void hoveringAwayFromHandlesDisarmsResizing()
    {
        F().AddRectangle(20, 20, 40, 30);
        F().Move(QPointF(61, 51));
        QVERIFY(F().controller->GetSelectionGestures()->IsResizing());

        F().Move(QPointF(40, 35));

        QVERIFY(!F().controller->GetSelectionGestures()->IsResizing());
        QCOMPARE(F().canvas->cursor().shape(), Qt::ArrowCursor);
    }

    void deleteRemovesTheSelectionAsOneUndoStep_data()
    {
        QTest::addColumn<Qt::Key>("eKey");
        QTest::addColumn<QString>("strPick");
        QTest::addColumn<QStringList>("remaining");
        // A (10,10,20,20), B (50,10,20,20), C (90,10,20,20); C is listed first.
        const QStringList all{"90,10,20,20", "50,10,20,20", "10,10,20,20"};
        QTest::newRow("Delete, two selected") << Qt::Key_Delete << "AB" << QStringList{"90,10,20,20"};
        QTest::newRow("Delete, first and last selected") << Qt::Key_Delete << "AC" << QStringList{"50,10,20,20"};
        QTest::newRow("Backspace, one selected")
            << Qt::Key_Backspace << "B" << QStringList{"90,10,20,20", "10,10,20,20"};
        QTest::newRow("Delete, none selected: an empty step") << Qt::Key_Delete << "" << all;
        QTest::newRow("object menu Delete, one selected")
            << Qt::Key_unknown << "C" << QStringList{"50,10,20,20", "10,10,20,20"};
    }

    void deleteRemovesTheSelectionAsOneUndoStep()
    {
        QFETCH(Qt::Key, eKey);
        QFETCH(QString, strPick);
        QFETCH(QStringList, remaining);
        const std::shared_ptr<CDrawableObject> vctObjects[] = {
            F().AddRectangle(10, 10, 20, 20), F().AddRectangle(50, 10, 20, 20), F().AddRectangle(90, 10, 20, 20)};
        F().objects.DeselectAll();
        for (int nObject = 0; nObject < 3; ++nObject)
            vctObjects[nObject]->SetSelected(strPick.contains(QChar('A' + nObject)));
        const QStringList before = F().Objects();

        if (eKey == Qt::Key_unknown)
            emit F().canvas->signal_DeleteDrawableObject();
        else
            F().Key(eKey);

        QCOMPARE(QString(F().Objects().join(' ')).remove('*'), remaining.join(' '));
        QCOMPARE(F().UndoCount(), 1);
        F().controller->GetUndoStack()->Undo();
        // Objects that come back take their old places: the list and drawing order are as before the delete.
        QCOMPARE(F().Objects().replaceInStrings("*", ""), QStringList(before).replaceInStrings("*", ""));
    }

    void polygonClosesNearItsFirstVertex_data()
    {
        QTest::addColumn<QPointF>("last");
        QTest::addColumn<int>("nVertexClicks");
        QTest::addColumn<bool>("bClosed");
        // Vertices a (20,20), b (80,20), c (50,70), then the last click; 5 image pixels are 10 screen pixels.
        QTest::newRow("4 px from a: closed") << QPointF(24, 20) << 3 << true;
        QTest::newRow("on a: closed") << QPointF(20, 20) << 3 << true;
        QTest::newRow("6 px from a: stays open") << QPointF(26, 20) << 3 << false;
        QTest::newRow("two edges only: stays open") << QPointF(20, 20) << 2 << false;
    }

    void polygonClosesNearItsFirstVertex()
    {
        QFETCH(QPointF, last);
        QFETCH(int, nVertexClicks);
        QFETCH(bool, bClosed);
        const QPointF vertices[] = {{20, 20}, {80, 20}, {50, 70}};
        F().SetMode(Mode::EImageView2DMode_Drawing_Polygon);
        for (int nClick = 0; nClick < nVertexClicks; ++nClick)
        {
            F().Move(vertices[nClick] - QPointF(1, 1));
            F().Click(vertices[nClick]);
        }
        F().Move(last + QPointF(3, 3));
        QVERIFY(F().objects.GetWaitingObject());
        QCOMPARE(F().objects.GetDrawingObjects().size(), size_t(nVertexClicks));

        F().Click(last);

        QCOMPARE(F().objects.GetObjectCount(), bClosed ? 1 : 0);
        QCOMPARE(F().UndoCount(), bClosed ? 1 : 0);
        QCOMPARE(F().controller->GetDrawingGestures()->IsPolygonInProgress(), !bClosed);
        QCOMPARE(F().modes.GetMode(),
                 bClosed ? Mode::EImageView2DMode_Selecting : Mode::EImageView2DMode_Drawing_Polygon);
        if (!bClosed)
        {
            QCOMPARE(F().objects.GetDrawingObjects().size(), size_t(nVertexClicks + 1));
            return;
        }
        QVERIFY(F().objects.GetDrawingObjects().empty());
        QVERIFY(!F().objects.GetWaitingObject());
        const auto pObject = std::dynamic_pointer_cast<CDrawableGeometry>(F().objects.GetObject(0));
        const auto pPolygon = std::dynamic_pointer_cast<COvrelPolygon>(pObject->GetData());
        QVERIFY(pPolygon);
        QStringList corners;
        for (const auto& vertex : pPolygon->GetVertices())
            corners << QString("%1,%2").arg(vertex.x()).arg(vertex.y());
        QCOMPARE(corners, (QStringList{"20,20", "80,20", "50,70"}));
        F().controller->GetUndoStack()->Undo();
        QCOMPARE(F().objects.GetObjectCount(), 0);
    }

    void unfinishedPolygonContinuesAfterAModeChange()
    {
        F().SetMode(Mode::EImageView2DMode_Drawing_Polygon);
        F().Click(QPointF(20, 20));
        F().Click(QPointF(80, 20));
        // Another mode chosen keeps it; Escape would drop it.
        F().SetMode(Mode::EImageView2DMode_Selecting);
        F().SetMode(Mode::EImageView2DMode_Drawing_Polygon);

        F().Click(QPointF(50, 70));
        F().Click(QPointF(21, 21));

        QCOMPARE(F().objects.GetObjectCount(), 1);
        QCOMPARE(Box(F().objects.GetObject(0)->GetBoundary()), QString("20,20,60,50"));
    }

    void contextMenuOpensTheMenuOfWhatIsUnderTheMouse_data()
    {
        QTest::addColumn<QPointF>("point");
        QTest::addColumn<bool>("bObjectMenu");
        QTest::newRow("on the rectangle") << QPointF(30, 30) << true;
        QTest::newRow("beside it") << QPointF(150, 80) << false;
    }

    void contextMenuOpensTheMenuOfWhatIsUnderTheMouse()
    {
        QFETCH(QPointF, point);
        QFETCH(bool, bObjectMenu);
        const auto pRectangle = F().AddRectangle(20, 20, 40, 30);
        F().objects.DeselectAll();
        QWidget* pOpened = nullptr;
        // The menu runs its own event loop; close it from inside that loop, noting which one it was.
        QTimer closer;
        connect(&closer, &QTimer::timeout, this,
                [&]
                {
                    if (QWidget* pPopup = QApplication::activePopupWidget())
                    {
                        pOpened = pPopup;
                        pPopup->close();
                    }
                });
        closer.start(10);

        F().Press(point, Qt::NoModifier, Qt::RightButton);
        F().Release(point, Qt::NoModifier, Qt::RightButton);
        QTRY_VERIFY(pOpened);

        QCOMPARE(pOpened, bObjectMenu ? static_cast<QWidget*>(F().canvas->GetObjectMenu())
                                      : static_cast<QWidget*>(F().canvas->GetImageMenu()));
        QCOMPARE(pRectangle->GetSelected(), bObjectMenu);
    }
};

QTEST_MAIN(CanvasGesturesTest)
#include "CanvasGesturesTest.moc"
