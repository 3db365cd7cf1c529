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

        // Two training images and one test image through the tree, two classes, then the project again from "Recent".
        AddImages(true, {WriteImage("a.png", Qt::darkGreen), WriteImage("b.png", Qt::darkBlue)});
        AddImages(false, {WriteImage("c.png", Qt::darkRed)});
        const int a = ImageID("a.png");
        const int b = ImageID("b.png");
        const int c = ImageID("c.png");
        QVERIFY(a >= 0 && b >= 0 && c >= 0);
        QCOMPARE(Sql({"SELECT NAME, TYPE FROM dataset_image ORDER BY ID"}),
                 (QList<QStringList>{{"a.png", "train"}, {"b.png", "train"}, {"c.png", "test"}}));
        Sql({"INSERT INTO category (NAME) VALUES ('cat'), ('dog')"});
        emit m_pWindow->GetProjectView()->signal_CloseProject();
        QCOMPARE(m_pWindow->windowTitle(), QString("OvrelTrainer"));
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
        QCOMPARE(Rows(a), QStringList{Box(20, 10, 40, 30, "cat")});
        QCOMPARE(Boxes(0), Rows(a));

        // Moving it rewrites the row.
        Drag(0, Mode::EImageView2DMode_Selecting, QPointF(40, 25), QPointF(50, 30));
        QCOMPARE(Rows(a), QStringList{Box(30, 15, 40, 30, "cat")});

        // Keys on the focused canvas: one press is one step back or forth, also across the box's own drawing.
        Canvas(0)->setFocus();
        QTRY_VERIFY(Canvas(0)->hasFocus());
        QTest::keySequence(Canvas(0), QKeySequence::Undo);
        QCOMPARE(Rows(a), QStringList{Box(20, 10, 40, 30, "cat")});
        QTest::keySequence(Canvas(0), QKeySequence::Undo);
        QCOMPARE(Rows(a), QStringList());
        QCOMPARE(Boxes(0), QStringList());
        QTest::keySequence(Canvas(0), QKeySequence::Redo);
        QCOMPARE(Rows(a), QStringList{Box(20, 10, 40, 30, "cat")});
        QTest::keySequence(Canvas(0), QKeySequence::Redo);
        QCOMPARE(Rows(a), QStringList{Box(30, 15, 40, 30, "cat")});
        QCOMPARE(Boxes(0), Rows(a));

        // "Update" on the box asks for its class again.
        QCOMPARE(int(Geometries(0).size()), 1);
        AnswerClass("dog");
        ChooseObjectMenuEntry(0, Geometries(0)[0]->GetUID(), "Update");
        QCOMPARE(Rows(a), QStringList{Box(30, 15, 40, 30, "dog")});
        QCOMPARE(Boxes(0), Rows(a));

        // Two viewers: the test image goes to the second one, and its box to its own row.
        Action("[2x1]")->trigger();
        AnswerViewer(1);
        QVERIFY(ClickImageInTree("c.png"));
        QCOMPARE(m_lstOffered, (QStringList{"Image View [0]", "Image View [1]"}));
        QCOMPARE(Viewer(1)->GetImageListModel()->GetImageCount(), 1);
        AnswerClass("cat");
        Drag(1, Mode::EImageView2DMode_Drawing_Rectanlge, QPointF(100, 50), QPointF(150, 90));
        QCOMPARE(Rows(c), QStringList{Box(100, 50, 50, 40, "cat")});
        QCOMPARE(Boxes(1), Rows(c));
        QCOMPARE(Rows(a), QStringList{Box(30, 15, 40, 30, "dog")});

        // Undo reaches only the canvas with the focus.
        Canvas(1)->setFocus();
        QTRY_VERIFY(Canvas(1)->hasFocus());
        QTest::keySequence(Canvas(1), QKeySequence::Undo);
        QCOMPARE(Rows(c), QStringList());
        QCOMPARE(Rows(a), QStringList{Box(30, 15, 40, 30, "dog")});
        QCOMPARE(Boxes(0), Rows(a));
        Action("Redo")->trigger();
        QCOMPARE(Rows(c), QStringList{Box(100, 50, 50, 40, "cat")});
        QCOMPARE(Rows(b), QStringList());
    }
};

int RunMainWindowWorkflowTest(int argc, char** argv)
{
    MainWindowWorkflowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "MainWindowWorkflowTest.moc"
