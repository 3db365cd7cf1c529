#include "CRoiTestCase.h"

#include "Utils/COvrelImage.h"

#include <QTreeView>

// Each project image keeps its own undo history while the project is open: paging away and back brings it back, and
// no undo or redo ever changes another image.
class RoiHistoryTest : public CRoiTestCase
{
    Q_OBJECT

    // Training images a.png, b.png, c.png (IDs 1 to 3). Image 1 has two boxes, image 2 one, image 3 none.
    void PagedProject()
    {
        ImagesProject({"a.png train", "b.png train", "c.png train"},
                      {"1 10 20 30 40 1", "1 60 30 20 20 2", "2 5 5 20 20 2"}, false);
        OpenPagedProject();
    }
    void OpenPagedProject()
    {
        m_pCase->controller.OpenProject(m_strDir, "roi");
        // The lists are the model's once the event loop has run.
        QTRY_COMPARE(m_pCase->view.findChild<QTreeView*>()->model()->rowCount(), 1);
        QTRY_COMPARE(m_pCase->model.GetTrainImages().size(), size_t(3));
    }
    void Page(int nViewID, int nStep) { QVERIFY(m_pCase->controller.OpenAdjacentImage(nViewID, nStep)); }
    int UndoCount(int nViewID) const { return Canvas(nViewID)->GetUndoStack()->UndoCount(); }
    // Image 2's box is (5, 5, 20, 20).
    void Edit(const QString& strEdit)
    {
        if (strEdit == "draw")
        {
            AnswerClass("cat");
            Draw(0, QPointF(100, 10), QPointF(140, 50));
        }
        else if (strEdit == "delete")
        {
            Select(0, QPointF(15, 15));
            DeleteSelection(0);
        }
        else if (strEdit == "move")
            Drag(0, QPointF(15, 15), QPointF(20, 30));
        else if (strEdit == "resize")
        {
            Select(0, QPointF(15, 15));
            Drag(0, QPointF(25, 25), QPointF(30, 20));
        }
        else if (strEdit == "relabel")
        {
            AnswerClass("bird");
            m_pCase->controller.ChangeROIClass(0, Geometries(0).front()->GetUID());
        }
        else if (strEdit == "copy from previous image")
            QCOMPARE(m_pCase->controller.CopyPreviousBoxes(0), 2);
        else if (strEdit == "filter")
        {
            auto pFiltered = std::make_shared<Ovrel::Utils::COvrelImage>();
            QCOMPARE(pFiltered->CopyFrom(*Viewer(0)->GetCurrentImage()), Ovrel::Utils::EOvrelResult_OK);
            Canvas(0)->ApplyImage(pFiltered);
        }
    }

private slots:
    void undoAndRedoStayWithTheImageTheyWereMadeOn_data()
    {
        QTest::addColumn<QString>("edit");
        for (const char* pszEdit :
             {"draw", "delete", "move", "resize", "relabel", "copy from previous image", "filter"})
            QTest::newRow(pszEdit) << pszEdit;
    }
    void undoAndRedoStayWithTheImageTheyWereMadeOn()
    {
        QFETCH(QString, edit);
        PagedProject();
        OpenImage(1, 0);
        Page(0, 1);
        const QStringList lstBefore = Rows(2);
        Edit(edit);
        const QStringList lstAfter = Rows(2);
        const int nSteps = UndoCount(0);
        QVERIFY(edit == "filter" || lstAfter != lstBefore);

        // Page Down, then Ctrl+Z and Ctrl+Shift+Z on the next image.
        Page(0, 1);
        const auto pShown = Viewer(0)->GetCurrentImage();
        Undo(0);
        Redo(0);
        Undo(0);
        QCOMPARE(Viewer(0)->GetCurrentImage(), pShown);
        QCOMPARE(Rows(3), QStringList());
        QCOMPARE(Boxes(0), QStringList());
        QCOMPARE(Rows(2), lstAfter);

        // Page Up: the edit is undone and redone on its own image.
        Page(0, -1);
        QCOMPARE(Boxes(0), Rows(2));
        // A filter keeps the boxes of a project image, so its history fits the image too.
        QCOMPARE(UndoCount(0), nSteps);
        Undo(0);
        QCOMPARE(Rows(2), lstBefore);
        QCOMPARE(Boxes(0), Rows(2));
        QCOMPARE(BoundIDs(0), RowIDs(2));
        Redo(0);
        QCOMPARE(Rows(2), lstAfter);
        QCOMPARE(Boxes(0), Rows(2));
        QCOMPARE(BoundIDs(0), RowIDs(2));
    }

    // Each view has its own canvas and history; an image that moves to the other view leaves its history behind,
    // since those commands hold the first view's objects.
    void historyStaysOnItsViewAndImage()
    {
        PagedProject();
        OpenImage(1, 0);
        OpenImage(2, 1);
        Select(0, QPointF(20, 30));
        DeleteSelection(0);
        AnswerClass("dog");
        Draw(1, QPointF(100, 10), QPointF(140, 50));
        const QStringList lstFirst = Rows(1);
        const QStringList lstSecond = Rows(2);

        OpenImage(1, 1);
        Undo(0);
        Undo(1);
        Redo(0);
        Redo(1);

        QCOMPARE(Geometries(0).size(), size_t(0));
        QCOMPARE(Rows(1), lstFirst);
        QCOMPARE(Boxes(1), Rows(1));
        QCOMPARE(Rows(2), lstSecond);

        // Back on its first view the moved image starts afresh; the other image still has its draw to undo.
        OpenImage(2, 1);
        Undo(1);
        QCOMPARE(Rows(2), QStringList(Box(5, 5, 20, 20, "dog")));
        QCOMPARE(Boxes(1), Rows(2));
    }

    // Rows changed behind a parked history make it stale: it is dropped, never applied.
    void staleHistoryIsDropped_data()
    {
        QTest::addColumn<QString>("change");
        QTest::newRow("box changed in the file") << "UPDATE dataset_roi SET X = 7 WHERE IMAGE_ID = 2";
        QTest::newRow("row added by another path")
            << "INSERT INTO dataset_roi (X, Y, WIDTH, HEIGHT, IMAGE_ID, CATEGORY_ID) VALUES (1, 1, 5, 5, 2, 3)";
        QTest::newRow("class renamed") << "UPDATE category SET NAME = 'kitten' WHERE ID = 2";
        QTest::newRow("project closed and opened") << "reopen";
    }
    void staleHistoryIsDropped()
    {
        QFETCH(QString, change);
        PagedProject();
        OpenImage(2, 0);
        Drag(0, QPointF(15, 15), QPointF(20, 30));
        Page(0, 1);

        if (change == "reopen")
        {
            QVERIFY(m_pCase->controller.CloseProject());
            OpenPagedProject();
            OpenImage(2, 0);
        }
        else
        {
            Sql({change});
            Page(0, -1);
        }
        const QStringList lstRows = Rows(2);
        Undo(0);
        Redo(0);

        QCOMPARE(UndoCount(0), 0);
        QCOMPARE(Rows(2), lstRows);
        QCOMPARE(Boxes(0), Rows(2));
        QCOMPARE(BoundIDs(0), RowIDs(2));
    }
};

int RunRoiHistoryTest(int argc, char** argv)
{
    RoiHistoryTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "RoiHistoryTest.moc"
