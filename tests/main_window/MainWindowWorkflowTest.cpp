#include "CMainWindowCase.h"

#include "canvas/CDrawableObject.h"
#include "canvas/CDrawableObjectModel.h"
#include "frame/CSetting.h"
#include "project/CProjectController.h"
#include "project/CProjectModel.h"
#include "project/CRoiAnnotationHost.h"
#include "project/ECommandState.h"
#include "project/run/CTrainingChartModel.h"
#include "views/CBoxListView.h"
#include "workspace/CImageViewerController.h"
#include "workspace/CImageWorkspaceController.h"

#include <QComboBox>
#include <QDockWidget>
#include <QToolBar>

#include <csignal>

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

        // One key press on the focused canvas is one step back or forth.
        Canvas(0)->setFocus();
        QTRY_VERIFY(Canvas(0)->hasFocus());
        QTest::keySequence(Canvas(0), QKeySequence::Undo);
        QCOMPARE(Rows(a), QStringList{Box(20, 10, 40, 30, "cat")});
        QTest::keySequence(Canvas(0), QKeySequence::Redo);
        QCOMPARE(Rows(a), QStringList{Box(30, 15, 40, 30, "cat")});

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

        // The window's Undo and Redo reach only the canvas with the focus.
        Canvas(1)->setFocus();
        QTRY_VERIFY(Canvas(1)->hasFocus());
        Action("Undo")->trigger();
        QCOMPARE(Rows(c), QStringList());
        QCOMPARE(Rows(a), QStringList{Box(30, 15, 40, 30, "dog")});
        QCOMPARE(Boxes(0), Rows(a));
        Action("Redo")->trigger();
        QCOMPARE(Rows(c), QStringList{Box(100, 50, 50, 40, "cat")});
        QCOMPARE(Rows(b), QStringList());
    }

    // Regression: turning "Quick class" on stored only the flag; the class its box showed was not stored, so the
    // first box still opened the chooser.
    void quickClassTurnedOnTakesTheClassShown()
    {
        // The class stored last is one of another project.
        CSetting::Set(CRoiAnnotationHost::QUICK_CLASS_NAME, QString("eel"));
        QVERIFY(CreateProjectFromDialog("quick"));
        AddImages(true, {WriteImage("a.png", Qt::darkGreen)});
        const int a = ImageID("a.png");
        Sql({"INSERT INTO category (NAME) VALUES ('cat'), ('dog')"});
        emit m_pWindow->GetProjectController()->signal_ClassesChanged();
        auto* pClassBox = m_pWindow->findChild<QComboBox*>(CRoiAnnotationHost::QUICK_CLASS_NAME);
        QCOMPARE(pClassBox->currentText(), QString("cat"));
        QVERIFY(ShowWindow());
        QVERIFY(ClickImageInTree("a.png"));
        const int nAskedBefore = m_pAnswers->asked.size();
        QVERIFY(!Action("Quick class")->isChecked());

        Action("Quick class")->trigger();
        Drag(0, Mode::EImageView2DMode_Drawing_Rectanlge, QPointF(20, 10), QPointF(60, 40));

        QCOMPARE(Rows(a), QStringList{Box(20, 10, 40, 30, "cat")});
        QCOMPARE(Boxes(0), Rows(a));
        QCOMPARE(m_pAnswers->asked.size(), nAskedBefore);
        // The box takes the colour its class shows in the quick-class box, and the box list lists it.
        const QImage swatch = pClassBox->itemIcon(0).pixmap(16, 16).toImage();
        const auto pBox = m_pWindow->GetWorkspaceController()->GetViewerController(0)->GetObjectModel()->GetObject(0);
        QCOMPARE(pBox->GetColour(), swatch.pixelColor(8, 8));
        QTRY_COMPARE(m_pWindow->GetBoxListView()->CountText(), QString("1 box(es)"));
        Action("Quick class")->trigger();
    }

    // Closing asks while the trainer runs: No keeps window and trainer, Yes closes the window and ends the trainer
    // with it.
    void closingWhileTrainingAsksAndEndsTheTrainer_data()
    {
        QTest::addColumn<bool>("yes");
        QTest::newRow("answered no") << false;
        QTest::newRow("answered yes") << true;
    }
    void closingWhileTrainingAsksAndEndsTheTrainer()
    {
        QFETCH(bool, yes);
        QVERIFY(CreateProjectFromDialog("closing"));
        const QString strTrainer = m_pSandbox->Path("trainer.sh");
        QFile script(strTrainer);
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\necho $$ > trainer.pid\nexec sleep 60\n");
        script.close();
        QVERIFY(script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        CSetting::Set("TAMSEL_COMMAND_EXE_YOLO3", strTrainer);
        CSetting::Set("TAMSEL_COMMAND_ARG_YOLO3", QString("detector train"));
        Action("Start")->trigger();
        QFile pidFile(m_strDir + "/trainer.pid");
        QTRY_VERIFY(pidFile.exists() && pidFile.size() > 0);
        QVERIFY(pidFile.open(QIODevice::ReadOnly));
        const pid_t nPid = static_cast<pid_t>(pidFile.readAll().trimmed().toLongLong());
        QTRY_COMPARE(m_pWindow->GetProjectModel()->GetCommandState(), static_cast<int>(ECommandState_Running));

        m_pAnswers->messages.push_back(yes ? QMessageBox::Yes : QMessageBox::No);
        QCOMPARE(m_pWindow->close(), yes);

        QCOMPARE(m_pAnswers->asked.last().strText, QString("Program is running, do you want to close it?"));
        QCOMPARE(::kill(nPid, 0), 0);
        if (!yes)
            return;
        m_pWindow.reset();
        QCOMPARE(::kill(nPid, 0), -1);
    }

    void buildingAndTrainingLockTheWindowUntilStopped()
    {
        const QString strTrainer = "/usr/bin/darknet";
        QFile cfg("/usr/share/darknet/cfg/yolov3-tiny.cfg");
        if (!QFileInfo::exists(strTrainer) || !cfg.open(QIODevice::ReadOnly))
            QSKIP("The darknet package is not installed");
        QVERIFY(CreateProjectFromDialog("run"));
        AddImages(true, {WriteImage("a.png", Qt::darkGreen), WriteImage("b.png", Qt::darkBlue)});
        AddImages(false, {WriteImage("c.png", Qt::darkRed)});
        const int a = ImageID("a.png");
        const int b = ImageID("b.png");
        const int c = ImageID("c.png");
        // One class; boxes inside, at the corner of and beyond the 200 x 100 images.
        Sql({"INSERT INTO category (NAME) VALUES ('cat')",
             QString(
                 "INSERT INTO dataset_roi (X, Y, WIDTH, HEIGHT, IMAGE_ID, CATEGORY_ID) VALUES (50, 25, 100, 50, %1, "
                 "1), (10, 10, 30, 20, %1, 1), (0, 0, 20, 10, %2, 1), (150, 80, 100, 40, %3, 1)")
                 .arg(a)
                 .arg(b)
                 .arg(c)});
        // The package's tiny network, made small: 64 pixels, one class, one image per step, no size changes.
        QString strConfiguration = QString::fromUtf8(cfg.readAll());
        const QList<QPair<QString, QString>> lstEdits = {{"^width=\\d+", "width=64"},
                                                         {"^height=\\d+", "height=64"},
                                                         {"^batch=\\d+", "batch=1"},
                                                         {"^subdivisions=\\d+", "subdivisions=1"},
                                                         {"^max_batches *= *\\d+", "max_batches=1000"},
                                                         {"^steps=.*$", "steps=800,900"},
                                                         {"^classes=80", "classes=1"},
                                                         {"^filters=255", "filters=18"},
                                                         {"^random=1", "random=0"}};
        for (const auto& edit : lstEdits)
            strConfiguration.replace(QRegularExpression(edit.first, QRegularExpression::MultilineOption), edit.second);
        QCOMPARE(strConfiguration.count("filters=18"), 2);
        m_pWindow->GetProjectController()->slot_UpdateProjectProperty("PROJECT_CONFIGURATION", strConfiguration);
        CSetting::Set("TAMSEL_COMMAND_EXE_YOLO3", strTrainer);
        CSetting::Set("TAMSEL_COMMAND_ARG_YOLO3", QString("detector train"));
        QVERIFY(ShowWindow());

        // F7 builds; the label lines and the other files of a build are the build tests' own.
        QTest::keyClick(m_pWindow.get(), Qt::Key_F7);
        QCOMPARE(ProjectFile("train.txt") + ProjectFile("test.txt"),
                 QByteArray("Images/a.png\nImages/b.png\nImages/c.png\n"));
        QCOMPARE(ProjectFile("config.txt"), strConfiguration.toUtf8());

        // The tool bar's "Start" runs the trainer until its first training step shows in the log view.
        QToolBar* pToolBar = m_pWindow->findChild<QToolBar*>();
        QTest::mouseClick(pToolBar->widgetForAction(Action("Start")), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!LogViewLines("^\\d+: \\S+, \\S+ avg, ").isEmpty(), 60000);
        // The chart follows the same run: its dock is shown and the step is on it.
        QVERIFY(m_pWindow->findChild<QDockWidget*>("Training")->isVisible());
        QCOMPARE(m_pWindow->GetTrainingChartModel()->MaxBatches(), 1000);
        QTRY_VERIFY(m_pWindow->GetTrainingChartModel()->Iteration() > 0);
        QCOMPARE(m_pWindow->GetCommandState(), 1);
        QCOMPARE(DisabledActions(m_pWindow.get()),
                 QString("Import Dataset,New Project,Open Project,Redo,Save,Setting,Start,Undo"));
        QVERIFY(!m_pWindow->GetWorkspaceView()->isEnabled());

        // Shift+F5 stops it.
        QTest::keyClick(m_pWindow.get(), Qt::Key_F5, Qt::ShiftModifier);
        QTRY_COMPARE(m_pWindow->GetCommandState(), 0);
        QTRY_COMPARE(LogViewLines("^Stop Command OK$").size(), 1);
        QCOMPARE(DisabledActions(m_pWindow.get()), QString("Stop"));
        QVERIFY(m_pWindow->GetWorkspaceView()->isEnabled());

        // Closed and opened again from "Recent", every image shows its boxes again.
        emit m_pWindow->GetProjectView()->signal_CloseProject();
        QCOMPARE(m_pWindow->windowTitle(), QString("OvrelTrainer"));
        m_pWindow->GetRecentMenu()->actions()[0]->trigger();
        QCOMPARE(m_pWindow->windowTitle(), QString("run - OvrelTrainer"));
        const QList<QPair<QString, int>> lstImages = {{"a.png", a}, {"b.png", b}, {"c.png", c}};
        for (const auto& image : lstImages)
        {
            QVERIFY(ClickImageInTree(image.first));
            QCOMPARE(Boxes(0), Rows(image.second));
        }
        QCOMPARE(Boxes(0), QStringList{Box(150, 80, 100, 40, "cat")});
    }
};

int RunMainWindowWorkflowTest(int argc, char** argv)
{
    MainWindowWorkflowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "MainWindowWorkflowTest.moc"
