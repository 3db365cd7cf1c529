#include "CRoiTestCase.h"

#include "canvas/CDrawableRuler.h"

using namespace ProjectTest;

// Boxes on project images and their dataset_roi rows: opening, each edit, undo and redo, two views, refusals.
class RoiAnnotationTest : public CRoiTestCase
{
    Q_OBJECT

private:
    // The lines of the log since the test began that are in lstExpected, in the order they were first logged.
    QStringList LoggedOf(const QStringList& lstExpected) const
    {
        QStringList lstFound;
        for (const QString& strLine : Log())
        {
            if (lstExpected.contains(strLine))
                lstFound.append(strLine);
        }
        lstFound.removeDuplicates();
        return lstFound;
    }
    unsigned int FirstUID(int nViewID) const { return Geometries(nViewID).front()->GetUID(); }

private slots:
    void openingImageShowsItsRowsAsBoxes_data()
    {
        QTest::addColumn<QStringList>("rois");
        QTest::addColumn<QString>("answer"); // the class chooser's answer; null: never asked
        QTest::addColumn<QStringList>("boxes");
        QTest::addColumn<int>("asked");
        QTest::newRow("known classes, other image's rows stay away")
            << QStringList({"1 10 20 30 40 1", "1 50.5 10 20 20 2", "2 5 5 5 5 3"}) << QString()
            << QStringList({Box(10, 20, 30, 40, "cat"), Box(50.5, 10, 20, 20, "dog")}) << 0;
        QTest::newRow("vanished class, chooser accepts")
            << QStringList({"1 10 20 30 40 9"}) << QString("bird") << QStringList(Box(10, 20, 30, 40, "bird")) << 1;
        // Cancel leaves the box and its row as they are: the file holds it, so the view shows it.
        QTest::newRow("vanished class, chooser cancelled")
            << QStringList({"1 10 20 30 40 9", "1 1 2 3 4 1"}) << QString("")
            << QStringList({Box(1, 2, 3, 4, "cat"), Box(10, 20, 30, 40, "")}) << 1;
    }
    void openingImageShowsItsRowsAsBoxes()
    {
        QFETCH(QStringList, rois);
        QFETCH(QString, answer);
        QFETCH(QStringList, boxes);
        QFETCH(int, asked);
        AnnotatedProject(rois);
        const int nAskedBefore = m_pCase->answers.asked.size();

        OpenImage(1, 0, answer.isNull() ? QStringList() : QStringList(answer.isEmpty() ? QString() : answer));

        QCOMPARE(Boxes(0), boxes);
        QCOMPARE(Rows(1), boxes);
        QCOMPARE(BoundIDs(0), RowIDs(1));
        QCOMPARE(Boxes(1), QStringList());
        // The view chooser, then one class chooser per box whose class is gone.
        QCOMPARE(m_pCase->answers.asked.size() - nAskedBefore, 1 + asked);
        QCOMPARE(m_pCase->controller.GetCurrentImageID(), 1);
        QCOMPARE(m_pCase->controller.GetCurrentViewID(), 0);
        QCOMPARE(LoggedOf({"[DEBUG] Open Image 1 : Images/a.png", "[DEBUG] Open Image ID 1"}),
                 QStringList({"[DEBUG] Open Image 1 : Images/a.png", "[DEBUG] Open Image ID 1"}));
    }

    void eachEditWritesItsRow_data()
    {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QString>("answer"); // null: the chooser is cancelled
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QStringList>("logged");
        const QString strCat = Box(10, 20, 30, 40, "cat");
        QTest::newRow("draw, class chosen") << "draw"
                                            << "dog" << QStringList({Box(100, 10, 40, 40, "dog"), strCat})
                                            << QStringList("[DEBUG] Add ROI to Image ID 1 OK");
        QTest::newRow("draw, chooser cancelled") << "draw" << QString() << QStringList(strCat) << QStringList();
        QTest::newRow("move") << "move" << QString() << QStringList(Box(15, 26, 30, 40, "cat"))
                              << QStringList("[DEBUG] Update ROI to ID 1 OK");
        QTest::newRow("resize") << "resize" << QString() << QStringList(Box(10, 20, 40, 45, "cat"))
                                << QStringList("[DEBUG] Update ROI to ID 1 OK");
        QTest::newRow("delete") << "delete" << QString() << QStringList()
                                << QStringList({"[DEBUG] Delete ROI to ID 1 OK",
                                                "[ERROR] Validate: need to update class name for image a.png"});
        QTest::newRow("relabel") << "relabel"
                                 << "bird" << QStringList(Box(10, 20, 30, 40, "bird"))
                                 << QStringList("[DEBUG] Update ROI to ID 1 OK");
        QTest::newRow("relabel cancelled") << "relabel" << QString() << QStringList(strCat) << QStringList();
        QTest::newRow("ruler") << "ruler" << QString() << QStringList(strCat) << QStringList();
        // The image is 200 x 100: no row reaches beyond it.
        QTest::newRow("draw past the edge") << "draw off the edge"
                                            << "dog" << QStringList({Box(100, 10, 100, 90, "dog"), strCat})
                                            << QStringList("[DEBUG] Add ROI to Image ID 1 OK");
        QTest::newRow("move against the edge")
            << "move off the edge" << QString() << QStringList(Box(170, 60, 30, 40, "cat"))
            << QStringList("[DEBUG] Update ROI to ID 1 OK");
        QTest::newRow("resize past the edge")
            << "resize off the edge" << QString() << QStringList(Box(10, 20, 190, 80, "cat"))
            << QStringList("[DEBUG] Update ROI to ID 1 OK");
        QTest::newRow("click without drag") << "click" << QString() << QStringList(strCat) << QStringList();
    }
    void eachEditWritesItsRow()
    {
        QFETCH(QString, edit);
        QFETCH(QString, answer);
        QFETCH(QStringList, rows);
        QFETCH(QStringList, logged);
        rows.sort();
        AnnotatedProject({"1 10 20 30 40 1"});
        OpenImage(1, 0);
        const int nAskedBefore = m_pCase->answers.asked.size();
        AnswerClass(answer);

        const bool bOff = edit.endsWith("off the edge");
        if (edit.startsWith("draw"))
            Draw(0, QPointF(100, 10), bOff ? QPointF(240, 130) : QPointF(140, 50));
        else if (edit == "click")
            Draw(0, QPointF(100, 10), QPointF(100, 10));
        else if (edit.startsWith("move"))
            Drag(0, QPointF(20, 30), bOff ? QPointF(300, 300) : QPointF(5, 6));
        else if (edit.startsWith("resize"))
            Drag(0, QPointF(40, 60), bOff ? QPointF(500, 500) : QPointF(10, 5));
        else if (edit == "delete")
        {
            Select(0, QPointF(20, 30));
            DeleteSelection(0);
        }
        else if (edit == "relabel")
            m_pCase->controller.ChangeROIClass(0, FirstUID(0));
        else if (edit == "ruler")
        {
            m_pWorkspace->controller->GetModeModel()->SetMode(CImageViewModeModel::EImageView2DMode_Drawing_Line);
            Canvas(0)->slot_DrawLineStart(QPointF(1, 1));
            Canvas(0)->slot_DrawLineEnd(QPointF(1, 1), QPointF(90, 90));
            QCOMPARE(Viewer(0)->GetObjectModel()->GetObjectCount(), 2);
        }

        QCOMPARE(Rows(1), rows);
        QCOMPARE(Boxes(0), rows);
        QCOMPARE(BoundIDs(0), RowIDs(1));
        QCOMPARE(LoggedOf(logged), logged);
        const bool bAsksClass = edit.startsWith("draw") || edit == "relabel";
        QCOMPARE(m_pCase->answers.asked.size() - nAskedBefore, bAsksClass ? 1 : 0);
        QCOMPARE(m_pCase->model.FindTrainImage(1)->IsValid(), !rows.isEmpty());
    }

    // Undo and redo bring boxes back with the IDs of rows their removal deleted: each must get a row again.
    void undoAndRedoKeepRowsEqualToBoxes_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<int>("boxes");
        QTest::newRow("undo draw") << QStringList({"draw", "undo"}) << 1;
        QTest::newRow("redo draw") << QStringList({"draw", "undo", "redo"}) << 2;
        QTest::newRow("redo draw, then move it") << QStringList({"draw", "undo", "redo", "move new"}) << 2;
        QTest::newRow("undo delete") << QStringList({"delete", "undo"}) << 1;
        QTest::newRow("undo delete, then move it") << QStringList({"delete", "undo", "move old"}) << 1;
        QTest::newRow("redo delete") << QStringList({"delete", "undo", "redo"}) << 0;
        QTest::newRow("twice round") << QStringList({"delete", "undo", "redo", "undo", "redo", "undo"}) << 1;
        QTest::newRow("undo move") << QStringList({"move old", "undo"}) << 1;
    }
    void undoAndRedoKeepRowsEqualToBoxes()
    {
        QFETCH(QStringList, steps);
        QFETCH(int, boxes);
        AnnotatedProject({"1 10 20 30 40 1"});
        OpenImage(1, 0);

        for (const QString& strStep : steps)
        {
            if (strStep == "draw")
            {
                AnswerClass("dog");
                Draw(0, QPointF(100, 10), QPointF(140, 50));
            }
            else if (strStep == "delete")
            {
                Select(0, QPointF(20, 30));
                DeleteSelection(0);
            }
            else if (strStep == "move old")
                Drag(0, QPointF(20, 30), QPointF(7, 3));
            else if (strStep == "move new")
                Drag(0, QPointF(120, 30), QPointF(-7, 3));
            else if (strStep == "undo")
                Undo(0);
            else if (strStep == "redo")
                Redo(0);
            QCOMPARE(Rows(1), Boxes(0));
            QCOMPARE(BoundIDs(0), RowIDs(1));
        }
        QCOMPARE(Boxes(0).size(), boxes);
        QVERIFY(!BoundIDs(0).contains("unbound"));
    }

    // Regression: undoing a relabel back to a class deleted since showed the deleted name over a row of another class.
    void undoneRelabelToADeletedClassShowsTheRowsClass()
    {
        AnnotatedProject({"1 10 20 30 40 1"});
        OpenImage(1, 0);
        AnswerClass("bird");
        m_pCase->controller.ChangeROIClass(0, FirstUID(0));
        DeleteClassInEditor(0);
        QCOMPARE(Sql({"SELECT NAME FROM category ORDER BY ID"}), QList<QStringList>({{"dog"}, {"bird"}}));

        Undo(0);

        QCOMPARE(Rows(1), QStringList(Box(10, 20, 30, 40, "bird")));
        QCOMPARE(Boxes(0), Rows(1));
    }

    void boxesGoToTheImageOfTheirView()
    {
        AnnotatedProject();
        OpenImage(1, 0);
        OpenImage(2, 1);
        QCOMPARE(m_pCase->controller.GetCurrentImageID(), 2);

        AnswerClass("cat");
        Draw(0, QPointF(10, 10), QPointF(30, 30));
        AnswerClass("dog");
        Draw(1, QPointF(50, 50), QPointF(60, 70));
        Drag(0, QPointF(20, 20), QPointF(1, 1));

        QCOMPARE(Rows(1), QStringList(Box(11, 11, 20, 20, "cat")));
        QCOMPARE(Rows(2), QStringList(Box(50, 50, 10, 20, "dog")));
        QVERIFY(m_pCase->model.FindTrainImage(1)->IsValid());
        QVERIFY(m_pCase->model.FindTestImage(2)->IsValid());
        QVERIFY(Log().contains("[DEBUG] Add ROI to Image ID 1 OK"));
    }

    // One image, one view: a view that kept showing boxes whose rows the other view changed would show what the file
    // does not hold.
    void openingImageShownElsewhereClosesItThere()
    {
        AnnotatedProject({"1 10 20 30 40 1"});
        OpenImage(1, 0);
        OpenImage(1, 1);

        QCOMPARE(Viewer(0)->GetCurrentImageUID(), CImageWorkspaceController::kNoImage);
        QCOMPARE(Boxes(0), QStringList());
        QCOMPARE(Boxes(1), QStringList(Box(10, 20, 30, 40, "cat")));
        Select(1, QPointF(20, 30));
        DeleteSelection(1);
        QCOMPARE(Rows(1), QStringList());
    }

    void eventsOutsideProjectViewsAreRefused_data()
    {
        QTest::addColumn<QString>("situation");
        QTest::newRow("image opened outside the project") << "outside";
        QTest::newRow("view moved on to another image") << "moved on";
        QTest::newRow("project closed") << "closed";
    }
    void eventsOutsideProjectViewsAreRefused()
    {
        QFETCH(QString, situation);
        AnnotatedProject();
        OpenImage(1, 1);
        if (situation == "outside")
            Viewer(0)->OpenFile(m_pWorkspace->WriteImageFile("other.png", 100, 100));
        if (situation == "moved on")
            Viewer(1)->OpenFile(m_pWorkspace->WriteImageFile("other.png", 100, 100));
        if (situation == "closed")
            m_pCase->controller.CloseProject();
        const int nViewID = situation == "outside" ? 0 : 1;
        const int nAskedBefore = m_pCase->answers.asked.size();

        AnswerClass("cat");
        Draw(nViewID, QPointF(10, 10), QPointF(30, 30));

        QCOMPARE(m_pCase->answers.asked.size(), nAskedBefore);
        QCOMPARE(Sql({"SELECT COUNT(*) FROM dataset_roi"}), QList<QStringList>({{"0"}}));
        const QString strRefused = QString("[ERROR] Image ID %1 at view %2 is not valid or does not exist in database")
                                       .arg(static_cast<int>(Viewer(nViewID)->GetCurrentImageUID()))
                                       .arg(nViewID);
        QVERIFY2(Log().contains(strRefused), qPrintable(strRefused));
    }

    void editsWhileTrainerRunsAreRefused()
    {
        AnnotatedProject({"1 10 20 30 40 1"});
        OpenImage(1, 0);
        m_pCase->model.SetCommandState(ECommandState_Running);

        Draw(0, QPointF(100, 10), QPointF(140, 50));
        Drag(0, QPointF(20, 30), QPointF(5, 5));

        QCOMPARE(Rows(1), QStringList(Box(10, 20, 30, 40, "cat")));
        QVERIFY(!m_pCase->answers.asked.isEmpty());
        QCOMPARE(m_pCase->answers.asked.last().strText, QString("Project is still running"));
        QCOMPARE(m_pCase->answers.asked.last().eIcon, QMessageBox::Critical);
        m_pCase->model.SetCommandState(ECommandState_Stopped);
    }

    void missingImageFileIsLoggedAndOpensNothing()
    {
        AnnotatedProject({"1 10 20 30 40 1"});
        OpenImage(2, 0);
        QVERIFY(QFile::remove(m_strDir + "/Images/a.png"));
        m_pCase->answers.dialogs.clear();

        emit m_pCase->view.signal_OpenImageFile(1, "Images/a.png");

        QVERIFY(Log().contains(QString("[ERROR] File %1/Images/a.png not found").arg(m_strDir)));
        QCOMPARE(m_pCase->controller.GetCurrentImageID(), 2);
        QVERIFY(Viewer(0)->GetCurrentImageUID() != CImageWorkspaceController::kNoImage);
        QCOMPARE(Rows(1), QStringList(Box(10, 20, 30, 40, "cat")));
    }

    // A class deleted while its boxes are shown: edits keep the row, the image turns invalid until it is relabelled.
    void classDeletedWhileBoxesShown()
    {
        AnnotatedProject({"1 10 20 30 40 1"});
        OpenImage(1, 0);
        Sql({"DELETE FROM category WHERE ID = 1"});

        Drag(0, QPointF(20, 30), QPointF(5, 5));
        QCOMPARE(Rows(1), QStringList(Box(15, 25, 30, 40, "")));
        QVERIFY(!m_pCase->model.FindTrainImage(1)->IsValid());
        QVERIFY(Log().contains("[ERROR] Validate: need to update class name for image a.png"));

        AnswerClass("dog");
        m_pCase->controller.ChangeROIClass(0, FirstUID(0));
        QCOMPARE(Rows(1), QStringList(Box(15, 25, 30, 40, "dog")));
        QCOMPARE(Boxes(0), Rows(1));
        QVERIFY(m_pCase->model.FindTrainImage(1)->IsValid());
    }

    // A removed image's boxes have no rows any more: every view showing it closes it, the others keep theirs.
    void removingImageClosesItWhereShown_data()
    {
        QTest::addColumn<int>("removed");
        QTest::addColumn<bool>("firstKept");
        QTest::addColumn<bool>("secondKept");
        QTest::newRow("the training image") << 1 << false << true;
        QTest::newRow("the test image") << 2 << true << false;
    }
    void removingImageClosesItWhereShown()
    {
        QFETCH(int, removed);
        QFETCH(bool, firstKept);
        QFETCH(bool, secondKept);
        AnnotatedProject({"1 10 20 30 40 1", "2 5 5 5 5 2"});
        OpenImage(1, 0);
        OpenImage(2, 1);

        if (removed == 1)
            emit m_pCase->view.signal_RemoveTrainImage(1);
        else
            emit m_pCase->view.signal_RemoveTestImage(2);

        QCOMPARE(Viewer(0)->GetCurrentImageUID() != CImageWorkspaceController::kNoImage, firstKept);
        QCOMPARE(Viewer(1)->GetCurrentImageUID() != CImageWorkspaceController::kNoImage, secondKept);
        QCOMPARE(Boxes(0).size(), firstKept ? 1 : 0);
        QCOMPARE(Boxes(1).size(), secondKept ? 1 : 0);
        QCOMPARE(Rows(removed), QStringList());
        // The view that stays edits its own image's rows as before.
        const int nKeptView = firstKept ? 0 : 1;
        Select(nKeptView, QPointF(firstKept ? 20 : 7, firstKept ? 30 : 7));
        DeleteSelection(nKeptView);
        QCOMPARE(Rows(nKeptView + 1), QStringList());
    }

    // Edits are committed through a write-ahead log while the project is open; closed, the file holds them all on
    // its own, in the plain journal mode every reader understands.
    void closedProjectFileHoldsEveryEditOnItsOwn()
    {
        AnnotatedProject({"1 10 20 30 40 1"});
        OpenImage(1, 0);
        AnswerClass("dog");
        Draw(0, QPointF(100, 10), QPointF(140, 50));
        QCOMPARE(Rows(1).size(), 2);

        QVERIFY(m_pCase->controller.CloseProject());

        QCOMPARE(Sql({"PRAGMA journal_mode"}), QList<QStringList>({{"delete"}}));
        QVERIFY(!QFile::exists(DataFile() + "-wal"));
        QCOMPARE(Rows(1), QStringList({Box(10, 20, 30, 40, "cat"), Box(100, 10, 40, 40, "dog")}));
    }

    // A write the project file refuses must not leave the screen showing it: the box goes, or keeps its old class,
    // and the error is logged.
    void refusedWritesLeaveScreenAsFile_data()
    {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QString>("refused");
        QTest::addColumn<QString>("logged");
        QTest::newRow("draw") << "draw"
                              << "INSERT"
                              << "[ERROR] Add ROI to Image ID 1 Failed";
        QTest::newRow("relabel") << "relabel"
                                 << "UPDATE"
                                 << "[ERROR] Update ROI to ID 1 Failed";
    }
    void refusedWritesLeaveScreenAsFile()
    {
        QFETCH(QString, edit);
        QFETCH(QString, refused);
        QFETCH(QString, logged);
        AnnotatedProject({"1 10 20 30 40 1"});
        OpenImage(1, 0);
        Sql({QString("CREATE TRIGGER refuse BEFORE %1 ON dataset_roi BEGIN SELECT RAISE(ABORT, 'refused'); END")
                 .arg(refused)});

        AnswerClass("dog");
        if (edit == "draw")
            Draw(0, QPointF(100, 10), QPointF(140, 50));
        else
            m_pCase->controller.ChangeROIClass(0, FirstUID(0));

        QCOMPARE(Rows(1), QStringList(Box(10, 20, 30, 40, "cat")));
        QCOMPARE(Boxes(0), Rows(1));
        QVERIFY2(Log().contains(logged), qPrintable(logged));
    }
};

int RunRoiAnnotationTest(int argc, char** argv)
{
    RoiAnnotationTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "RoiAnnotationTest.moc"
