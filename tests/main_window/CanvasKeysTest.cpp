#include "CMainWindowCase.h"

#include "CCanvasKeyActions.h"
#include "project/CProjectController.h"
#include "project/CRoiAnnotationHost.h"
#include "workspace/CSelectImageViewDialog.h"

#include <QComboBox>
#include <QStatusBar>

// The keys a user labels with: on the canvas (draw, relabel, nudge, cancel), paging to the next image without boxes,
// the viewer the tree proposes, and the list of every shortcut.
class CanvasKeysTest : public CMainWindowCase
{
    Q_OBJECT

    using Mode = CImageViewModeModel;

    // Project "keys": training images a.png and b.png, test image c.png, classes cat, dog and bird, shown in the
    // window; a.png is open in viewer 0.
    void OpenProjectImage()
    {
        QVERIFY(CreateProjectFromDialog("keys"));
        AddImages(true, {WriteImage("a.png", Qt::darkGreen), WriteImage("b.png", Qt::darkBlue)});
        AddImages(false, {WriteImage("c.png", Qt::darkRed)});
        Sql({"INSERT INTO category (NAME) VALUES ('cat'), ('dog'), ('bird')"});
        emit m_pWindow->GetProjectController()->signal_ClassesChanged();
        QVERIFY(ShowWindow());
        QVERIFY(ClickImageInTree("a.png"));
    }
    // As OpenProjectImage, with "Quick class" on (cat) and a cat box at (20, 10, 40, 30) on a.png, selected, and the
    // canvas holding the focus.
    void DrawSelectedBox()
    {
        // The quick class chosen by an earlier test is stored.
        CSetting::Set(CRoiAnnotationHost::QUICK_CLASS_NAME, QString("cat"));
        OpenProjectImage();
        if (QTest::currentTestFailed())
            return;
        Action("Quick class")->setChecked(true);
        Drag(0, Mode::EImageView2DMode_Drawing_Rectanlge, QPointF(20, 10), QPointF(60, 40));
        QCOMPARE(Rows(ImageID("a.png")), QStringList{Box(20, 10, 40, 30, "cat")});
        FocusCanvas(0);
    }
    void FocusCanvas(int nViewID)
    {
        Canvas(nViewID)->setFocus();
        QTRY_VERIFY(Canvas(nViewID)->hasFocus());
    }
    void Press(const QString& strKeys)
    {
        for (const QString& strKey : strKeys.split(',', Qt::SkipEmptyParts))
            QTest::keySequence(Canvas(0), QKeySequence(strKey));
    }
    QString QuickClass() const
    {
        return m_pWindow->findChild<QComboBox*>(CRoiAnnotationHost::QUICK_CLASS_NAME)->currentText();
    }

private slots:
    void init() { NewSandboxAndWindow(); }
    void cleanup() { CloseWindow(); }

    void keysOverACanvasEditTheSelectedBoxes_data()
    {
        QTest::addColumn<bool>("selected");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QStringList>("after");
        QTest::addColumn<QStringList>("undone"); // after one undo
        QTest::addColumn<QString>("quick");

        const QStringList drawn{Box(20, 10, 40, 30, "cat")};
        QTest::newRow("a digit gives the selected box that class")
            << true << "2" << QStringList{Box(20, 10, 40, 30, "dog")} << drawn << "cat";
        QTest::newRow("without a selection a digit chooses the quick class")
            << false << "3" << drawn << QStringList() << "bird";
        QTest::newRow("arrows move by a pixel, with Shift by ten, as one step")
            << true << "Right,Right,Shift+Down" << QStringList{Box(22, 20, 40, 30, "cat")} << drawn << "cat";
        QTest::newRow("a move stops at the image's edge")
            << true << "Shift+Left,Shift+Left,Shift+Left,Up" << QStringList{Box(0, 9, 40, 30, "cat")} << drawn << "cat";
        QTest::newRow("a relabel ends a run of moves")
            << true << "Right,2,Left" << QStringList{Box(20, 10, 40, 30, "dog")}
            << QStringList{Box(21, 10, 40, 30, "dog")} << "cat";
    }
    void keysOverACanvasEditTheSelectedBoxes()
    {
        QFETCH(bool, selected);
        QFETCH(QString, keys);
        QFETCH(QStringList, after);
        QFETCH(QStringList, undone);
        QFETCH(QString, quick);
        DrawSelectedBox();
        const int a = ImageID("a.png");
        if (!selected)
            QTest::mouseClick(Canvas(0), Qt::LeftButton, Qt::NoModifier, Canvas(0)->MapToScreen({150, 80}).toPoint());

        Press(keys);

        QCOMPARE(Rows(a), after);
        QCOMPARE(Boxes(0), after);
        QCOMPARE(QuickClass(), quick);
        QTest::keySequence(Canvas(0), QKeySequence::Undo);
        QCOMPARE(Rows(a), undone);
        QCOMPARE(Boxes(0), undone);
    }

    void drawingKeysStartKeepAndCancel_data()
    {
        QTest::addColumn<bool>("keep");
        // "W" the key, "drag" a drag, "cancel" a drag with Escape pressed before the release, "vertex" a polygon click.
        QTest::addColumn<QString>("steps");
        QTest::addColumn<int>("boxes");
        QTest::addColumn<int>("mode");

        const int nSelecting = Mode::EImageView2DMode_Selecting;
        const int nRectangle = Mode::EImageView2DMode_Drawing_Rectanlge;
        QTest::newRow("W then a drag draws a box and ends drawing") << false << "W,drag" << 2 << nSelecting;
        QTest::newRow("keeping the drawing mode, each drag draws a box") << true << "W,drag,drag" << 3 << nRectangle;
        QTest::newRow("Escape cancels the drag in progress") << false << "W,cancel" << 1 << nSelecting;
        QTest::newRow("Escape drops an unfinished polygon") << false << "vertex,vertex,Esc" << 1 << nSelecting;
    }
    void drawingKeysStartKeepAndCancel()
    {
        QFETCH(bool, keep);
        QFETCH(QString, steps);
        QFETCH(int, boxes);
        QFETCH(int, mode);
        DrawSelectedBox();
        Action("Keep Drawing Mode")->setChecked(keep);
        QCOMPARE(CSetting::GetInt(CCanvasKeyActions::KEEP_DRAWING, 0), keep ? 1 : 0);

        QPointF from(100, 50);
        for (const QString& strStep : steps.split(','))
        {
            const QPoint start = Canvas(0)->MapToScreen(from).toPoint();
            const QPoint end = Canvas(0)->MapToScreen(from + QPointF(40, 30)).toPoint();
            if (strStep == "drag")
                CWorkspaceFixture::DrawRectangle(Canvas(0), from, from + QPointF(40, 30));
            else if (strStep == "cancel")
            {
                QTest::mousePress(Canvas(0), Qt::LeftButton, Qt::NoModifier, start);
                QTest::mouseMove(Canvas(0), end);
                QTest::keyClick(Canvas(0), Qt::Key_Escape);
                QTest::mouseRelease(Canvas(0), Qt::LeftButton, Qt::NoModifier, end);
            }
            else if (strStep == "vertex")
            {
                Workspace()->GetModeModel()->SetMode(Mode::EImageView2DMode_Drawing_Polygon);
                QTest::mouseClick(Canvas(0), Qt::LeftButton, Qt::NoModifier, start);
            }
            else
                Press(strStep);
            from += QPointF(10, 5);
        }

        QCOMPARE(Rows(ImageID("a.png")).size(), boxes);
        QCOMPARE(int(Workspace()->GetModeModel()->GetMode()), mode);
        // Nothing half drawn is left on the canvas.
        QCOMPARE(int(Viewer(0)->GetObjectModel()->GetDrawingObjects().size()), 0);
        QCOMPARE(Viewer(0)->GetObjectModel()->GetWaitingObject() == nullptr, true);
    }

    void nextImageWithoutBoxesGoesOnIntoTheTestList_data()
    {
        QTest::addColumn<QStringList>("boxed"); // besides a.png
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("message");
        QTest::newRow("the next training image") << QStringList() << "b.png"
                                                 << "";
        QTest::newRow("past the training images into the test images") << QStringList{"b.png"} << "c.png"
                                                                       << "";
        QTest::newRow("none left says so") << QStringList{"b.png", "c.png"} << "a.png"
                                           << "No image without boxes left";
    }
    void nextImageWithoutBoxesGoesOnIntoTheTestList()
    {
        QFETCH(QStringList, boxed);
        QFETCH(QString, shown);
        QFETCH(QString, message);
        DrawSelectedBox();
        for (const QString& strImage : boxed)
            Sql({QString("INSERT INTO dataset_roi (X, Y, WIDTH, HEIGHT, IMAGE_ID, CATEGORY_ID) VALUES "
                         "(1, 1, 5, 5, %1, 1)")
                     .arg(ImageID(strImage))});

        QTest::keyClick(Canvas(0), Qt::Key_PageDown, Qt::ControlModifier);

        QCOMPARE(m_pWindow->GetProjectController()->GetImageOfView(0), ImageID(shown));
        QCOMPARE(m_pWindow->statusBar()->currentMessage(), message);
    }

    void treeProposesTheViewerLastFocused_data()
    {
        QTest::addColumn<QString>("layout");
        QTest::addColumn<int>("focused");
        QTest::addColumn<QString>("layoutWhenOpening");
        QTest::addColumn<int>("proposed");
        QTest::newRow("2x1, second viewer") << "[2x1]" << 1 << "[2x1]" << 1;
        QTest::newRow("2x2, fourth viewer") << "[2x2]" << 3 << "[2x2]" << 3;
        QTest::newRow("2x2, first viewer") << "[2x2]" << 0 << "[2x2]" << 0;
        QTest::newRow("a viewer no longer shown is not proposed") << "[2x2]" << 3 << "[2x1]" << 0;
    }
    void treeProposesTheViewerLastFocused()
    {
        QFETCH(QString, layout);
        QFETCH(int, focused);
        QFETCH(QString, layoutWhenOpening);
        QFETCH(int, proposed);
        OpenProjectImage();
        Action(layout)->trigger();
        FocusCanvas(focused);
        Action(layoutWhenOpening)->trigger();
        int nProposed = -1;
        m_pAnswers->dialogs.push_back(
            [&nProposed](QDialog* pDialog)
            {
                if (auto* pChooser = qobject_cast<CSelectImageViewDialog*>(pDialog))
                    nProposed = pChooser->GetComboBox()->currentIndex();
                return int(QDialog::Rejected);
            });

        QVERIFY(ClickImageInTree("b.png"));

        QCOMPARE(nProposed, proposed);
    }

    void keyboardShortcutsListEveryShortcut()
    {
        Action("Keyboard Shortcuts")->trigger();

        QCOMPARE(m_pAnswers->asked.size(), 1);
        QCOMPARE(m_pAnswers->asked[0].strTitle, QString("Keyboard Shortcuts"));
        const QStringList lstLines = m_pAnswers->asked[0].strText.split('\n');
        for (const QString& strLine :
             {QString("Draw Box: W"), QString("Next Image Without Boxes: Ctrl+PgDown"), QString("Build: F7, Ctrl+B")})
            QVERIFY2(lstLines.contains(strLine), qPrintable(strLine));
        QVERIFY(m_pAnswers->asked[0].strText.contains("Arrow keys"));
        QVERIFY(m_pAnswers->asked[0].strText.contains("Escape"));
    }
};

int RunCanvasKeysTest(int argc, char** argv)
{
    CanvasKeysTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "CanvasKeysTest.moc"
