#include "CCanvasFixture.h"
#include "CLogCapture.h"
#include "CTestSandbox.h"

#include "canvas/CDrawableGeometry.h"
#include "canvas/CDrawableObjectPanel.h"
#include "canvas/CImageView2DSidePanel.h"
#include "canvas/CImageView2DToolPanel.h"
#include "frame/CMVCRegistry.h"
#include "frame/CSetting.h"
#include "frame/CUndoStack.h"

#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QScrollArea>
#include <QtTest>

using Mode = CImageViewModeModel::EImageView2DMode;

class CanvasControllerTest : public QObject
{
    Q_OBJECT

private:
    CTestSandbox m_sandbox;
    std::unique_ptr<CLogCapture> m_pLog;
    std::unique_ptr<CCanvasFixture> m_pFixture;

    CCanvasFixture& F() { return *m_pFixture; }

    QPushButton* Button(const QString& strText)
    {
        for (QPushButton* pButton : F().controller->GetToolPanel()->findChildren<QPushButton*>())
        {
            if (pButton->text() == strText)
                return pButton;
        }
        return nullptr;
    }

private slots:
    void initTestCase()
    {
        CSetting::Set("GENERAL_LOG_DIR", m_sandbox.Home());
        m_pLog = std::make_unique<CLogCapture>(m_sandbox.Home());
    }

    void init()
    {
        m_pFixture = std::make_unique<CCanvasFixture>();
        F().PushImage();
    }

    void cleanup() { m_pFixture.reset(); }

    void buttonsKeysAndSlotsChooseTheMode_data()
    {
        QTest::addColumn<QString>("strAction"); // a tool panel button's text, or "escape", "ruler", "panning"
        QTest::addColumn<Mode>("eStart");
        QTest::addColumn<bool>("bShown");
        QTest::addColumn<Mode>("eMode");
        // Drawing modes are chosen only on a canvas that is shown.
        const Mode line = Mode::EImageView2DMode_Drawing_Line;
        const Mode polygon = Mode::EImageView2DMode_Drawing_Polygon;
        QTest::newRow("Select") << "Select" << line << false << Mode::EImageView2DMode_Selecting;
        QTest::newRow("Panning") << "Panning" << line << false << Mode::EImageView2DMode_Panning;
        QTest::newRow("Rect") << "Rect" << line << true << Mode::EImageView2DMode_Drawing_Rectanlge;
        QTest::newRow("Circle") << "Circle" << line << true << Mode::EImageView2DMode_Drawing_Circle;
        QTest::newRow("Ellipse") << "Ellipse" << line << true << Mode::EImageView2DMode_Drawing_Ellipse;
        QTest::newRow("Polygon") << "Polygon" << line << true << polygon;
        QTest::newRow("Rect on a hidden canvas") << "Rect" << line << false << line;
        QTest::newRow("Polygon on a hidden canvas") << "Polygon" << line << false << line;
        QTest::newRow("Escape") << "escape" << polygon << true << Mode::EImageView2DMode_Selecting;
        QTest::newRow("Escape on a hidden canvas") << "escape" << polygon << false << polygon;
        QTest::newRow("ruler") << "ruler" << polygon << true << line;
        QTest::newRow("ruler on a hidden canvas") << "ruler" << polygon << false << polygon;
        QTest::newRow("panning on a hidden canvas") << "panning" << polygon << false << Mode::EImageView2DMode_Panning;
    }

    void buttonsKeysAndSlotsChooseTheMode()
    {
        QFETCH(QString, strAction);
        QFETCH(Mode, eStart);
        QFETCH(bool, bShown);
        QFETCH(Mode, eMode);
        F().SetMode(eStart);
        if (bShown)
            QVERIFY(F().Show());

        if (strAction == "escape")
            emit F().canvas->signal_PressKey(Qt::Key_Escape);
        else if (strAction == "ruler")
            F().controller->slot_DrawRuler();
        else if (strAction == "panning")
            F().controller->slot_ChangePanningMode();
        else
        {
            QPushButton* pButton = Button(strAction);
            QVERIFY(pButton);
            F().controller->GetToolPanel()->show();
            QVERIFY(QTest::qWaitForWindowExposed(F().controller->GetToolPanel()));
            QTest::mouseClick(pButton, Qt::LeftButton);
        }

        QCOMPARE(F().modes.GetMode(), eMode);
    }

    void toolPanelChecksTheButtonOfTheModeAndLogsIt_data()
    {
        QTest::addColumn<Mode>("eMode");
        QTest::addColumn<QString>("strChecked");
        QTest::addColumn<QString>("strLogged");
        const auto row = [](const char* pszTag, Mode eMode, const char* pszChecked, const char* pszLogged)
        { QTest::newRow(pszTag) << eMode << QString(pszChecked) << QString("[DEBUG] ") + pszLogged; };
        row("selecting", Mode::EImageView2DMode_Selecting, "Select", "EImageView2DMode_Selecting");
        row("panning", Mode::EImageView2DMode_Panning, "Panning", "EImageView2DMode_Panning");
        row("rectangle", Mode::EImageView2DMode_Drawing_Rectanlge, "Rect", "EImageView2DMode_Drawing_Rectanlge");
        row("ellipse", Mode::EImageView2DMode_Drawing_Ellipse, "Ellipse", "EImageView2DMode_Drawing_Ellipse");
        row("circle", Mode::EImageView2DMode_Drawing_Circle, "Circle", "EImageView2DMode_Drawing_Circle");
        row("polygon", Mode::EImageView2DMode_Drawing_Polygon, "Polygon", "EImageView2DMode_Drawing_Polygon");
        row("ruler: none", Mode::EImageView2DMode_Drawing_Line, "", "EImageView2DMode_Drawing_Line");
    }

    void toolPanelChecksTheButtonOfTheModeAndLogsIt()
    {
        QFETCH(Mode, eMode);
        QFETCH(QString, strChecked);
        QFETCH(QString, strLogged);
        F().SetMode(Mode::EImageView2DMode_Drawing_Polygon);
        Button("Polygon")->setChecked(true);
        F().SetMode(eMode == Mode::EImageView2DMode_Drawing_Polygon ? Mode::EImageView2DMode_Selecting
                                                                    : Mode::EImageView2DMode_Drawing_Polygon);
        m_pLog->NewLines();

        F().SetMode(eMode);

        QStringList checked;
        for (QPushButton* pButton : F().controller->GetToolPanel()->findChildren<QPushButton*>())
        {
            if (pButton->isChecked())
                checked << pButton->text();
        }
        QCOMPARE(checked.join(' '), strChecked);
        QCOMPARE(m_pLog->NewLines(), QStringList{strLogged});
    }

    void activeCanvasShowsItsPanelsInTheSharedAreas()
    {
        QScrollArea tools;
        QScrollArea properties;
        QScrollArea bottom;
        auto* pOld = new QLabel("left over");
        tools.setWidget(pOld);
        CImageListModel images;
        CDrawableObjectModel objects;
        CImageView2D canvas(&images, &objects, &F().modes, 1);
        CImageView2DController first(&images, &objects, &F().modes, &canvas, &tools, &properties, &bottom);
        CDrawableObjectModel otherObjects;
        CImageView2D otherCanvas(&images, &otherObjects, &F().modes, 2);
        CImageView2DController second(&images, &otherObjects, &F().modes, &otherCanvas, &tools, &properties, &bottom);
        QPointer<QLabel> pWatchOld(pOld);

        canvas.show();
        QVERIFY(QTest::qWaitForWindowExposed(&canvas));
        QTest::mouseClick(&canvas, Qt::LeftButton);
        QCOMPARE(tools.widget(), first.GetToolPanel());
        QCOMPARE(properties.widget(), first.GetObjectPanel());
        QCOMPARE(bottom.widget(), first.GetSidePanel());
        QCOMPARE(first.GetObjectPanel()->minimumWidth(), 200);
        QVERIFY(pWatchOld);
        delete pOld;

        emit otherCanvas.signal_Active();
        QCOMPARE(tools.widget(), second.GetToolPanel());
        QCOMPARE(properties.widget(), second.GetObjectPanel());
        QCOMPARE(bottom.widget(), second.GetSidePanel());
        // Given back, not destroyed: the first canvas shows them again when it is active again.
        QVERIFY(first.GetToolPanel() && first.GetObjectPanel() && first.GetSidePanel());
        QVERIFY(!first.GetToolPanel()->parent());

        emit canvas.signal_Active();
        QCOMPARE(tools.widget(), first.GetToolPanel());
    }

    void undoAndRedoNeedTheCanvasFocus()
    {
        QLineEdit elsewhere;
        QVERIFY(F().Show());
        F().AddRectangle(10, 10, 20, 20);
        F().controller->slot_SelectROIRectangle();
        F().Drag(QPointF(50, 50), QPointF(60, 60));
        QCOMPARE(F().objects.GetObjectCount(), 2);

        QVERIFY(F().controller->Undo());
        QCOMPARE(F().objects.GetObjectCount(), 1);
        QVERIFY(F().controller->Redo());
        QCOMPARE(F().objects.GetObjectCount(), 2);

        elsewhere.show();
        elsewhere.activateWindow();
        elsewhere.setFocus();
        QVERIFY(QTest::qWaitForWindowActive(&elsewhere));
        QVERIFY(!F().canvas->hasFocus());
        QVERIFY(!F().controller->Undo());
        emit F().canvas->signal_Undo();
        QCOMPARE(F().objects.GetObjectCount(), 2);
        QVERIFY(!F().controller->Redo());
    }

    void mousePositionReachesTheImageListAfterTheEvent()
    {
        QVERIFY(F().Show());
        QSignalSpy moved(&F().images, &CImageListModel::signal_MousePositionChanged);

        emit F().canvas->signal_ChangeMousePosition(QPointF(12.5, 7));

        QCOMPARE(moved.count(), 0);
        QTRY_COMPARE(F().images.GetMousePosition(), QPointF(12.5, 7));
        QCOMPARE(moved.count(), 1);
    }

    void objectsAddedByTheApplicationAreSelectedAlone()
    {
        const auto pFirst = F().AddRectangle(10, 10, 20, 20);
        const auto pSecond = F().AddRectangle(50, 10, 20, 20);

        QCOMPARE(F().Objects(), (QStringList{"50,10,20,20*", "10,10,20,20"}));
        QCOMPARE(F().UndoCount(), 0);
        QVERIFY(F().controller->DeleteObject(pFirst->GetUID()));
        QVERIFY(!F().controller->DeleteObject(pFirst->GetUID()));
        F().controller->RemoveObject(pSecond);
        QCOMPARE(F().objects.GetObjectCount(), 0);
    }

    void showMainWindowTakesTheFirstRegisteredMainWindow_data()
    {
        QTest::addColumn<bool>("bMaximise");
        QTest::addColumn<bool>("bCanvas");
        QTest::addColumn<Qt::WindowState>("eState");
        QTest::newRow("maximise") << true << true << Qt::WindowMaximized;
        QTest::newRow("minimise") << false << true << Qt::WindowMinimized;
        QTest::newRow("without a canvas") << true << false << Qt::WindowNoState;
    }

    void showMainWindowTakesTheFirstRegisteredMainWindow()
    {
        QFETCH(bool, bMaximise);
        QFETCH(bool, bCanvas);
        QFETCH(Qt::WindowState, eState);
        QWidget plain;
        QMainWindow window;
        QMainWindow later;
        CMVCRegistry::PushMVC(nullptr, &plain, nullptr);
        CMVCRegistry::PushMVC(nullptr, &window, nullptr);
        CMVCRegistry::PushMVC(nullptr, &later, nullptr);
        CImageView2DController controller(&F().images, &F().objects, &F().modes, bCanvas ? F().canvas.get() : nullptr,
                                          nullptr, nullptr, nullptr);

        controller.ShowMainWindow(bMaximise);

        QCOMPARE(window.windowState(), Qt::WindowStates(eState));
        QCOMPARE(later.windowState(), Qt::WindowStates(Qt::WindowNoState));
        QCOMPARE(plain.windowState(), Qt::WindowStates(Qt::WindowNoState));
    }
};

QTEST_MAIN(CanvasControllerTest)
#include "CanvasControllerTest.moc"
