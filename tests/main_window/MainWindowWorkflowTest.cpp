#include "CMainWindowCase.h"

#include "project/CProjectController.h"
#include "project/CProjectModel.h"

// The user's road through the program, one workflow per test, each on a fresh HOME: a project made from the dialog,
// images picked in the tree, boxes drawn, moved, relabelled, undone and redone on the canvases, and the rows that
// every step leaves in the project file.
class MainWindowWorkflowTest : public CMainWindowCase
{
    Q_OBJECT

    using Mode = CImageViewModeModel;

private slots:
    void init() { NewSandboxAndWindow(); }
    void cleanup() { CloseWindow(); }

    void annotatingImagesKeepsTheirRows()
    {
        QCOMPARE(m_pWindow->windowTitle(), QString("OvrelTrainer"));
        QVERIFY(CreateProjectFromDialog("zoo"));
        QCOMPARE(m_pWindow->windowTitle(), QString("zoo - OvrelTrainer"));
        emit m_pWindow->GetProjectView()->signal_CloseProject();
        QCOMPARE(m_pWindow->windowTitle(), QString("OvrelTrainer"));

        // Two training images and one test image with two classes, then the project again from "Recent".
        QVERIFY(WriteProjectImage("a.png", Qt::darkGreen));
        QVERIFY(WriteProjectImage("b.png", Qt::darkBlue));
        QVERIFY(WriteProjectImage("c.png", Qt::darkRed));
        Sql({"INSERT INTO category (ID, NAME) VALUES (1, 'cat'), (2, 'dog')",
             "INSERT INTO dataset_image (ID, NAME, FULL_PATH, TYPE, WIDTH, HEIGHT, PROJECT_ID) VALUES "
             "(1, 'a.png', 'Images/a.png', 'train', 200, 100, 1), (2, 'b.png', 'Images/b.png', 'train', 200, 100, 1), "
             "(3, 'c.png', 'Images/c.png', 'test', 200, 100, 1)"});
        QCOMPARE(m_pWindow->GetRecentMenu()->actions().size(), 1);
        m_pWindow->GetRecentMenu()->actions()[0]->trigger();
        QCOMPARE(m_pWindow->windowTitle(), QString("zoo - OvrelTrainer"));
        QCOMPARE(int(m_pWindow->GetProjectModel()->GetTrainImages().size()), 2);
        QVERIFY(ShowWindow());

        // The tree opens a.png in the only viewer; a drag draws a box and the chooser's class goes into its row.
        QVERIFY(ClickImageInTree("a.png"));
        QCOMPARE(Viewer(0)->GetImageListModel()->GetImageCount(), 1);
        AnswerClass("cat");
        Drag(0, Mode::EImageView2DMode_Drawing_Rectanlge, QPointF(20, 10), QPointF(60, 40));
        QCOMPARE(Rows(1), QStringList{Box(20, 10, 40, 30, "cat")});
        QCOMPARE(Boxes(0), Rows(1));

        // Moving it rewrites the row.
        Drag(0, Mode::EImageView2DMode_Selecting, QPointF(40, 25), QPointF(50, 30));
        QCOMPARE(Rows(1), QStringList{Box(30, 15, 40, 30, "cat")});

        // Keys on the focused canvas: one press is one step back or forth, also across the box's own drawing.
        Canvas(0)->setFocus();
        QTRY_VERIFY(Canvas(0)->hasFocus());
        QTest::keyClick(Canvas(0), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(Rows(1), QStringList{Box(20, 10, 40, 30, "cat")});
        QTest::keyClick(Canvas(0), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(Rows(1), QStringList());
        QCOMPARE(Boxes(0), QStringList());
        QTest::keyClick(Canvas(0), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(Rows(1), QStringList{Box(20, 10, 40, 30, "cat")});
        QTest::keyClick(Canvas(0), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(Rows(1), QStringList{Box(30, 15, 40, 30, "cat")});
        QCOMPARE(Boxes(0), Rows(1));

        // "Update" on the box asks for its class again.
        QCOMPARE(int(Geometries(0).size()), 1);
        AnswerClass("dog");
        ChooseObjectMenuEntry(0, Geometries(0)[0]->GetUID(), "Update");
        QCOMPARE(Rows(1), QStringList{Box(30, 15, 40, 30, "dog")});
        QCOMPARE(Boxes(0), Rows(1));

        // Two viewers: the test image goes to the second one, and its box to its own row.
        Action("[2x1]")->trigger();
        AnswerViewer(1);
        QVERIFY(ClickImageInTree("c.png"));
        QCOMPARE(m_lstOffered, (QStringList{"Image View [0]", "Image View [1]"}));
        QCOMPARE(Viewer(1)->GetImageListModel()->GetImageCount(), 1);
        AnswerClass("cat");
        Drag(1, Mode::EImageView2DMode_Drawing_Rectanlge, QPointF(100, 50), QPointF(150, 90));
        QCOMPARE(Rows(3), QStringList{Box(100, 50, 50, 40, "cat")});
        QCOMPARE(Boxes(1), Rows(3));
        QCOMPARE(Rows(1), QStringList{Box(30, 15, 40, 30, "dog")});

        // Undo reaches only the canvas with the focus.
        Canvas(1)->setFocus();
        QTRY_VERIFY(Canvas(1)->hasFocus());
        QTest::keyClick(Canvas(1), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(Rows(3), QStringList());
        QCOMPARE(Rows(1), QStringList{Box(30, 15, 40, 30, "dog")});
        QCOMPARE(Boxes(0), Rows(1));
        Action("Redo")->trigger();
        QCOMPARE(Rows(3), QStringList{Box(100, 50, 50, 40, "cat")});
        QCOMPARE(Rows(2), QStringList());
    }
};

int RunMainWindowWorkflowTest(int argc, char** argv)
{
    MainWindowWorkflowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "MainWindowWorkflowTest.moc"
