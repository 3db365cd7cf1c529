#include "CRoiTestCase.h"

#include <QTreeView>

using namespace ProjectTest;

// Moving through a project list from a view and copying the boxes of the image a view showed before.
class RoiNavigationTest : public CRoiTestCase
{
    Q_OBJECT

    // Training images t1.png to t4.png (IDs 1 to 4) and test images s1.png, s2.png (IDs 5, 6). Image 2 has a box, so
    // does image 6.
    void ListProject()
    {
        ImagesProject({"t1.png train", "t2.png train", "t3.png train", "t4.png train", "s1.png test", "s2.png test"},
                      {"2 10 20 30 40 1", "6 5 5 10 10 2"});
        // The tree shows the lists once the event loop has run.
        QTRY_COMPARE(TreeImageNames().size(), 6);
    }
    static QString ImageName(int nID)
    {
        return nID <= 4 ? QString("t%1.png").arg(nID) : QString("s%1.png").arg(nID - 4);
    }
    QStringList TreeImageNames() const
    {
        QStringList lstNames;
        const QAbstractItemModel* pModel = m_pCase->view.findChild<QTreeView*>()->model();
        const QModelIndex project = pModel->index(0, 0);
        for (int nNode = 0; nNode < pModel->rowCount(project); ++nNode)
        {
            const QModelIndex node = pModel->index(nNode, 0, project);
            for (int i = 0; i < pModel->rowCount(node); ++i)
                lstNames.append(pModel->index(i, 0, node).data().toString());
        }
        return lstNames;
    }
    QString TreeCurrent() const { return m_pCase->view.findChild<QTreeView*>()->currentIndex().data().toString(); }
    // Opens the image through the tree's signal, in view nViewID.
    void OpenListImage(int nImageID, int nViewID)
    {
        m_pCase->answers.dialogs.push_back(CWorkspaceFixture::Choose(nViewID, &m_lstOffered));
        emit m_pCase->view.signal_OpenImageFile(nImageID, "Images/" + ImageName(nImageID));
    }
    QStringList TrainOrder() const
    {
        QStringList lstIDs;
        for (const auto& pEntry : m_pCase->model.GetTrainImages())
            lstIDs.append(QString::number(pEntry->GetImageID()));
        return lstIDs;
    }

private slots:
    void pagingFollowsTheListOfTheImage_data()
    {
        QTest::addColumn<QString>("order");
        QTest::addColumn<int>("start");
        // Each key: "+" Page Down, "-" Page Up, "*" Ctrl+Page Down.
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("page down walks the training list") << "" << 1 << "++" << QStringList({"2", "3"});
        QTest::newRow("page up walks back") << "" << 3 << "--" << QStringList({"2", "1"});
        QTest::newRow("page down stays at the end of the list") << "" << 3 << "++" << QStringList({"4", "4"});
        QTest::newRow("page up stays at the start") << "" << 1 << "-" << QStringList({"1"});
        QTest::newRow("test images stay in the test list") << "" << 5 << "++" << QStringList({"6", "6"});
        QTest::newRow("ctrl page down skips images with boxes") << "" << 1 << "*" << QStringList({"3"});
        QTest::newRow("ctrl page down without such an image left stays") << "" << 5 << "*" << QStringList({"5"});
        QTest::newRow("after sorting twice the order is descending")
            << "sort" << 4 << "++-" << QStringList({"3", "2", "3"});
        QTest::newRow("after sorting ctrl page down skips a box on the way")
            << "sort" << 3 << "*" << QStringList({"1"});
    }
    void pagingFollowsTheListOfTheImage()
    {
        QFETCH(QString, order);
        QFETCH(int, start);
        QFETCH(QString, keys);
        QFETCH(QStringList, shown);
        ListProject();
        if (order == "sort")
        {
            m_pCase->controller.slot_SortTrainImage();
            m_pCase->controller.slot_SortTrainImage();
            QCOMPARE(TrainOrder(), QStringList({"4", "3", "2", "1"}));
        }
        // View 0 shows an image of the other list: it keeps it.
        OpenListImage(start <= 4 ? 5 : 1, 0);
        OpenListImage(start, 1);
        const int nAskedBefore = m_pCase->answers.asked.size();

        QStringList lstShown;
        for (const QChar key : keys)
        {
            m_pCase->controller.OpenAdjacentImage(1, key == '-' ? -1 : 1, key == '*');
            lstShown.append(QString::number(m_pCase->controller.GetCurrentImageID()));
        }

        QCOMPARE(lstShown, shown);
        // In the same view, without asking which, and the other view keeps its image.
        QCOMPARE(m_pCase->answers.asked.size(), nAskedBefore);
        QCOMPARE(m_pCase->controller.GetCurrentViewID(), 1);
        QCOMPARE(Boxes(1), Rows(shown.last().toInt()));
        QCOMPARE(BoundIDs(1), RowIDs(shown.last().toInt()));
        QVERIFY(Viewer(0)->GetCurrentImageUID() != CImageWorkspaceController::kNoImage);
        // The tree follows a move; opened from the tree's own signal, the start image was never the tree's choice.
        if (shown.last().toInt() != start)
            QVERIFY(TreeCurrent().endsWith(ImageName(shown.last().toInt())));
    }

    void pagingFollowsAShuffle()
    {
        ListProject();
        m_pCase->controller.slot_ShuffleTrainImage();
        const QStringList lstOrder = TrainOrder();
        OpenListImage(lstOrder.front().toInt(), 0);

        QStringList lstShown;
        while (m_pCase->controller.OpenAdjacentImage(0, 1))
            lstShown.append(QString::number(m_pCase->controller.GetCurrentImageID()));

        QCOMPARE(lstShown, lstOrder.mid(1));
    }

    void pagingIntoAnImageShownElsewhereMovesIt()
    {
        ListProject();
        OpenListImage(2, 0);
        OpenListImage(1, 1);

        QVERIFY(m_pCase->controller.OpenAdjacentImage(1, 1));

        // One image, one view: its boxes are not left behind on the other view.
        QCOMPARE(Viewer(0)->GetCurrentImageUID(), CImageWorkspaceController::kNoImage);
        QCOMPARE(Geometries(0).size(), size_t(0));
        QCOMPARE(Boxes(1), Rows(2));
    }

    void copyingBoxesFromThePreviousImageIsOneUndoStep_data()
    {
        QTest::addColumn<QSize>("size"); // of b.png, the image the boxes are copied to
        QTest::addColumn<QStringList>("rois");
        QTest::addColumn<QStringList>("copied");
        const QSize same(200, 100);
        QTest::newRow("two classes") << same << QStringList({"1 10 20 30 40 1", "1 50 10 20 20 2"})
                                     << QStringList({Box(10, 20, 30, 40, "cat"), Box(50, 10, 20, 20, "dog")});
        QTest::newRow("the current image keeps its own boxes")
            << same << QStringList({"1 10 20 30 40 3", "2 60 60 10 10 1"})
            << QStringList({Box(10, 20, 30, 40, "bird")});
        QTest::newRow("a box whose class is gone is passed over")
            << same << QStringList({"1 10 20 30 40 9", "1 1 2 3 4 2"}) << QStringList({Box(1, 2, 3, 4, "dog")});
        QTest::newRow("a box over the edge of a smaller image is cut there")
            << QSize(100, 50) << QStringList({"1 80 30 40 40 1", "1 10 10 20 20 2"})
            << QStringList({Box(80, 30, 20, 20, "cat"), Box(10, 10, 20, 20, "dog")});
        QTest::newRow("a box beyond a smaller image is passed over")
            << QSize(100, 50) << QStringList({"1 150 60 30 30 1", "1 10 10 20 20 2"})
            << QStringList({Box(10, 10, 20, 20, "dog")});
    }
    void copyingBoxesFromThePreviousImageIsOneUndoStep()
    {
        QFETCH(QSize, size);
        QFETCH(QStringList, rois);
        QFETCH(QStringList, copied);
        AnnotatedProject(rois, false);
        QImage smaller(size, QImage::Format_RGB888);
        smaller.fill(Qt::darkGreen);
        QVERIFY(smaller.save(m_strDir + "/Images/b.png"));
        Sql({QString("UPDATE dataset_image SET WIDTH = %1, HEIGHT = %2 WHERE ID = 2")
                 .arg(size.width())
                 .arg(size.height())});
        m_pCase->controller.OpenProject(m_strDir, "roi");
        OpenImage(1, 0);
        OpenImage(2, 0);
        const QStringList lstOwn = Rows(2);
        const QStringList lstSource = Rows(1);
        const int nStepsBefore = Canvas(0)->GetUndoStack()->UndoCount();
        const int nAskedBefore = m_pCase->answers.asked.size();

        QCOMPARE(m_pCase->controller.CopyPreviousBoxes(0), copied.size());

        QStringList lstExpected = lstOwn + copied;
        lstExpected.sort();
        QCOMPARE(Rows(2), lstExpected);
        QCOMPARE(Boxes(0), Rows(2));
        QCOMPARE(BoundIDs(0), RowIDs(2));
        QCOMPARE(Rows(1), lstSource);
        QCOMPARE(Canvas(0)->GetUndoStack()->UndoCount(), nStepsBefore + 1);
        QCOMPARE(m_pCase->answers.asked.size(), nAskedBefore);
        QVERIFY(m_pCase->model.FindTestImage(2)->IsValid());

        Undo(0);
        QCOMPARE(Rows(2), lstOwn);
        QCOMPARE(Boxes(0), Rows(2));

        Redo(0);
        QCOMPARE(Rows(2), lstExpected);
        QCOMPARE(Boxes(0), Rows(2));
        QCOMPARE(BoundIDs(0), RowIDs(2));
    }

    void copyingWithoutAPreviousImageAddsNothing()
    {
        AnnotatedProject({"1 10 20 30 40 1"});
        OpenImage(2, 0);
        OpenImage(1, 1);

        QCOMPARE(m_pCase->controller.CopyPreviousBoxes(0), 0);

        QCOMPARE(Rows(2), QStringList());
        QCOMPARE(Canvas(0)->GetUndoStack()->UndoCount(), 0);
    }
};

int RunRoiNavigationTest(int argc, char** argv)
{
    RoiNavigationTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "RoiNavigationTest.moc"
