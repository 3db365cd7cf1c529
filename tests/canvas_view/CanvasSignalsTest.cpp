#include "CCanvasFixture.h"
#include "CSignalRecorder.h"

#include "canvas/CDrawingObjectLayer.h"

#define QTEST_QPA_MOUSE_HANDLING
#include <QAction>
#include <QMenu>
#include <QMimeData>
#include <QTimer>
#include <QUrl>
#include <QtTest>

using Mode = CImageViewModeModel::EImageView2DMode;
Q_DECLARE_METATYPE(Mode)
Q_DECLARE_METATYPE(QKeySequence::StandardKey)

namespace
{
// A 200 x 100 image fitted into 400 x 200: two screen pixels per image pixel.
const QSize kCanvasSize(400, 200);
const QPoint kPress(40, 20);    // image (20, 10)
const QPoint kRelease(100, 61); // image (50, 30.5)

// What popped up: the menu and where.
struct SOpenedMenu
{
    QMenu* pMenu = nullptr;
    QPoint position;
};

// Once the next menu is open: notes it, then chooses the entry (with Return, as a user does) or, without such an
// entry, closes it, so that its exec always returns.
void WhenMenuOpens(SOpenedMenu& opened, const QString& strEntry)
{
    QTimer::singleShot(0,
                       [&opened, strEntry]
                       {
                           auto* pMenu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
                           if (!pMenu)
                               return;
                           opened.pMenu = pMenu;
                           opened.position = pMenu->pos();
                           for (QAction* pAction : pMenu->actions())
                               if (pAction->text() == strEntry)
                               {
                                   pMenu->setActiveAction(pAction);
                                   QTest::keyClick(pMenu, Qt::Key_Return);
                                   return;
                               }
                           pMenu->close();
                       });
}
} // namespace

class CanvasSignalsTest : public QObject
{
    Q_OBJECT
private slots:

    void dragEmitsTheSignalsOfTheMode_data()
    {
        QTest::addColumn<Mode>("eMode");
        QTest::addColumn<bool>("bDrag");
        QTest::addColumn<QStringList>("expected");

        const QString strMove = "signal_ChangeMousePosition(50,30.5)";
        QTest::newRow("selecting") << CImageViewModeModel::EImageView2DMode_Selecting << true
                                   << QStringList{"signal_Active()", "signal_SelectMovingStart(20,10)", strMove,
                                                  "signal_SelectMovingDoing(20,10;50,30.5)",
                                                  "signal_SelectMovingEnd(20,10;50,30.5)"};
        QTest::newRow("panning") << CImageViewModeModel::EImageView2DMode_Panning << true
                                 << QStringList{"signal_Active()", strMove};
        // Drawing rectangles, ellipses, circles and rulers by dragging is followed through the controller's gestures.
        QTest::newRow("polygon") << CImageViewModeModel::EImageView2DMode_Drawing_Polygon << true
                                 << QStringList{"signal_Active()", "signal_DrawPolygonStart(20,10)", strMove,
                                                "signal_DrawPolygonDoing(20,10;50,30.5)",
                                                "signal_DrawPolygonEnd(20,10;50,30.5)"};
        // A click without moving finishes only polygons: one point spans no rectangle, ellipse, circle or ruler.
        QTest::newRow("selecting click") << CImageViewModeModel::EImageView2DMode_Selecting << false
                                         << QStringList{"signal_Active()", "signal_SelectMovingStart(20,10)"};
        QTest::newRow("panning click") << CImageViewModeModel::EImageView2DMode_Panning << false
                                       << QStringList{"signal_Active()"};
        QTest::newRow("polygon vertex click")
            << CImageViewModeModel::EImageView2DMode_Drawing_Polygon << false
            << QStringList{"signal_Active()", "signal_DrawPolygonStart(20,10)", "signal_DrawPolygonEnd(20,10;20,10)"};
        QTest::newRow("rectangle click") << CImageViewModeModel::EImageView2DMode_Drawing_Rectanlge << false
                                         << QStringList{"signal_Active()", "signal_DrawRectangleStart(20,10)"};
    }

    void dragEmitsTheSignalsOfTheMode()
    {
        QFETCH(Mode, eMode);
        QFETCH(bool, bDrag);
        QFETCH(QStringList, expected);
        CCanvasFixture fixture(kCanvasSize);
        fixture.PushPattern(200, 100);
        fixture.modes.SetMode(eMode);
        QTest::mouseMove(fixture.canvas.get(), kPress);
        CSignalRecorder recorder(fixture.canvas.get());

        const QPoint release = bDrag ? kRelease : kPress;
        QTest::mousePress(fixture.canvas.get(), Qt::LeftButton, Qt::NoModifier, kPress);
        if (bDrag)
            QTest::mouseMove(fixture.canvas.get(), release);
        QTest::mouseRelease(fixture.canvas.get(), Qt::LeftButton, Qt::NoModifier, release);

        QCOMPARE(recorder.Take(), expected);
    }

    void withoutModeModelMouseIsIgnored()
    {
        CImageListModel images;
        CImageView2D canvas(&images, nullptr, nullptr, 0);
        canvas.resize(kCanvasSize);
        canvas.show();
        QVERIFY(QTest::qWaitForWindowExposed(&canvas));
        QTest::mouseMove(&canvas, kPress);
        CSignalRecorder recorder(&canvas);

        QTest::mousePress(&canvas, Qt::LeftButton, Qt::NoModifier, kPress);
        QTest::mouseMove(&canvas, kRelease);
        QTest::mouseRelease(&canvas, Qt::LeftButton, Qt::NoModifier, kRelease);

        QCOMPARE(recorder.Take(), QStringList());
    }

    void keysEmitPressAndStandardActions_data()
    {
        QTest::addColumn<QKeySequence>("keys");
        QTest::addColumn<QStringList>("expected");

        // The Control key goes down first, a key press of its own. Undo, redo, Escape and Delete are pressed as real
        // keys in the controller's gesture tests.
        const QString strControl = QString("signal_PressKey(%1)").arg(int(Qt::Key_Control));
        QTest::newRow("copy") << QKeySequence(Qt::CTRL + Qt::Key_C)
                              << QStringList{strControl, "signal_PressKey(67)", "signal_Copy()"};
        QTest::newRow("paste") << QKeySequence(Qt::CTRL + Qt::Key_V)
                               << QStringList{strControl, "signal_PressKey(86)", "signal_Paste()"};
        QTest::newRow("plain letter") << QKeySequence(Qt::Key_Z) << QStringList{"signal_PressKey(90)"};
    }

    void keysEmitPressAndStandardActions()
    {
        QFETCH(QKeySequence, keys);
        QFETCH(QStringList, expected);
        QVERIFY(!keys.isEmpty());
        CCanvasFixture fixture(kCanvasSize);
        CSignalRecorder recorder(fixture.canvas.get());

        QTest::keyClick(fixture.canvas.get(), Qt::Key(keys[0] & ~Qt::KeyboardModifierMask),
                        Qt::KeyboardModifiers(keys[0] & Qt::KeyboardModifierMask));

        QCOMPARE(recorder.Take(), expected);
    }

    void dropEmitsOneAddImagePerLocalFile_data()
    {
        QTest::addColumn<QList<QUrl>>("urls");
        QTest::addColumn<bool>("bAccepted");
        QTest::addColumn<QStringList>("expected");

        QTest::newRow("one file") << QList<QUrl>{QUrl::fromLocalFile("/data/a.png")} << true
                                  << QStringList{"signal_AddImage(/data/a.png)"};
        QTest::newRow("three files in order")
            << QList<QUrl>{QUrl::fromLocalFile("/data/c.png"), QUrl::fromLocalFile("/data/a b.jpg"),
                           QUrl::fromLocalFile("/data/doc.pdf")}
            << true
            << QStringList{"signal_AddImage(/data/c.png)", "signal_AddImage(/data/a b.jpg)",
                           "signal_AddImage(/data/doc.pdf)"};
        QTest::newRow("web address skipped")
            << QList<QUrl>{QUrl("https://example.org/x.png"), QUrl::fromLocalFile("/data/b.png")} << true
            << QStringList{"signal_AddImage(/data/b.png)"};
        QTest::newRow("text only refused") << QList<QUrl>{} << false << QStringList{};
    }

    void dropEmitsOneAddImagePerLocalFile()
    {
        QFETCH(QList<QUrl>, urls);
        QFETCH(bool, bAccepted);
        QFETCH(QStringList, expected);
        CCanvasFixture fixture(kCanvasSize);
        CSignalRecorder recorder(fixture.canvas.get());
        QMimeData data;
        if (urls.isEmpty())
            data.setText("just text");
        else
            data.setUrls(urls);

        QDragEnterEvent enter(kPress, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(fixture.canvas.get(), &enter);
        QCOMPARE(enter.isAccepted(), bAccepted);
        if (bAccepted)
        {
            QDropEvent drop(kPress, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(fixture.canvas.get(), &drop);
        }

        QCOMPARE(recorder.Take(), expected);
    }

    void menuEntriesEmitTheirSignals_data()
    {
        QTest::addColumn<bool>("bObjectMenu");
        QTest::addColumn<QString>("strEntry");
        QTest::addColumn<QString>("strExpected");

        const auto row = [](bool bObject, const char* pszEntry, const char* pszSignal)
        { QTest::newRow(pszEntry) << bObject << QString(pszEntry) << QString(pszSignal); };
        // "Copy (C)" is chosen from the open menu in imageMenuOpensAtImagePoint.
        row(false, "Load Image", "signal_LoadImage()");
        row(false, "Load PDF", "signal_LoadPdf()");
        row(false, "Save Image", "signal_SaveImage()");
        row(false, "Close Image", "signal_CloseImage()");
        row(false, "Paste (P)", "signal_Paste()");
        row(false, "Switch To 3D View", "signal_Switch2DTo3D()");
        row(true, "Delete", "signal_DeleteDrawableObject()");
    }

    void menuEntriesEmitTheirSignals()
    {
        QFETCH(bool, bObjectMenu);
        QFETCH(QString, strEntry);
        QFETCH(QString, strExpected);
        CCanvasFixture fixture(kCanvasSize);
        CSignalRecorder recorder(fixture.canvas.get());
        QMenu* pMenu = bObjectMenu ? fixture.canvas->GetObjectMenu() : fixture.canvas->GetImageMenu();
        QAction* pEntry = nullptr;
        for (QAction* pAction : pMenu->actions())
            if (pAction->text() == strEntry)
                pEntry = pAction;
        QVERIFY(pEntry);

        pEntry->trigger();

        QCOMPARE(recorder.Take(), QStringList{strExpected});
    }

    void imageMenuOpensAtImagePoint()
    {
        CCanvasFixture fixture(kCanvasSize);
        fixture.PushPattern(200, 100);
        CSignalRecorder recorder(fixture.canvas.get());
        SOpenedMenu opened;
        WhenMenuOpens(opened, "Copy (C)");

        fixture.canvas->ShowImageMenu(QPointF(30.75, 12.25));

        QCOMPARE(opened.pMenu, fixture.canvas->GetImageMenu());
        // Image (30.75, 12.25) lies on screen (61.5, 24.5): whole pixels (61, 24).
        QCOMPARE(opened.position, fixture.canvas->mapToGlobal(QPoint(61, 24)));
        QCOMPARE(recorder.Take(), QStringList{"signal_Copy()"});
    }

    void objectActionsGetViewAndObjectOfOpenMenu()
    {
        CCanvasFixture fixture(kCanvasSize, 3);
        fixture.PushPattern(200, 100);
        QList<QPair<int, unsigned int>> calls;
        fixture.canvas->AddObjectAction("Properties", QIcon(),
                                        [&](int nViewID, unsigned int nUID) {
                                            calls.append({nViewID, nUID});
                                        });
        QCOMPARE(fixture.canvas->GetObjectMenu()->actions().last()->text(), QString("Properties"));
        SOpenedMenu opened;
        WhenMenuOpens(opened, "Properties");

        fixture.canvas->ShowObjectMenu(QPointF(10, 5), 42u);

        QCOMPARE(opened.pMenu, fixture.canvas->GetObjectMenu());
        QCOMPARE(opened.position, fixture.canvas->mapToGlobal(QPoint(20, 10)));
        QCOMPARE(calls, (QList<QPair<int, unsigned int>>{{3, 42u}}));
    }

    void cursorFollowsMode_data()
    {
        QTest::addColumn<Mode>("eMode");
        QTest::addColumn<int>("nCursor");

        QTest::newRow("selecting") << CImageViewModeModel::EImageView2DMode_Selecting << int(Qt::ArrowCursor);
        QTest::newRow("panning") << CImageViewModeModel::EImageView2DMode_Panning << int(Qt::SizeAllCursor);
        QTest::newRow("rectangle") << CImageViewModeModel::EImageView2DMode_Drawing_Rectanlge << int(Qt::CrossCursor);
        QTest::newRow("line") << CImageViewModeModel::EImageView2DMode_Drawing_Line << int(Qt::CrossCursor);
    }

    void cursorFollowsMode()
    {
        QFETCH(Mode, eMode);
        QFETCH(int, nCursor);
        CCanvasFixture fixture(kCanvasSize);
        // Away first, so that every row sees a change.
        fixture.modes.SetMode(eMode == CImageViewModeModel::EImageView2DMode_Panning
                                  ? CImageViewModeModel::EImageView2DMode_Drawing_Circle
                                  : CImageViewModeModel::EImageView2DMode_Panning);

        fixture.modes.SetMode(eMode);

        QCOMPARE(int(fixture.canvas->cursor().shape()), nCursor);
    }
};

int RunCanvasSignalsTest(int argc, char** argv)
{
    CanvasSignalsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "CanvasSignalsTest.moc"
