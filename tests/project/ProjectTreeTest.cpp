#include "project/CDatasetImageEntry.h"
#include "project/CDatasetImageRecord.h"
#include "project/CProjectModel.h"
#include "project/ECommandState.h"
#include "views/CProjectItem.h"
#include "views/CProjectView.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTimer>
#include <QTreeView>
#include <QtTest>

namespace
{
std::shared_ptr<CDatasetImageRecord> MakeImage(int nID, const QString& strName)
{
    auto pRecord = std::make_shared<CDatasetImageRecord>();
    pRecord->SetID(nID);
    pRecord->SetName(strName);
    pRecord->SetFullPath(QStringLiteral("Images/") + strName);
    return pRecord;
}

QImage IconImage(const QIcon& icon)
{
    return icon.pixmap(32, 32).toImage().convertToFormat(QImage::Format_ARGB32);
}

struct SMenuSeen
{
    bool bShown = false;
    QStringList lstTexts;
    QList<bool> lstEnabled;
};
} // namespace

// A project view on a model, shown so that rows have geometry for right clicks and double clicks.
class ProjectTreeTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<CProjectModel> m_pModel;
    std::unique_ptr<CProjectView> m_pView;

    QTreeView* Tree() const { return m_pView->findChild<QTreeView*>(); }
    QStandardItemModel* Items() const { return qobject_cast<QStandardItemModel*>(Tree()->model()); }
    QStandardItem* ProjectNode() const { return Items()->item(0); }
    QStandardItem* Node(const QString& strText) const;
    static QStringList Texts(const QStandardItem* pNode);
    void OpenProject(int nTrain, int nTest);
    SMenuSeen RightClick(const QModelIndex& index, const QString& strTrigger = QString());

private slots:
    void init();
    void cleanup();

    void projectChangeBuildsTheSkeleton();
    void imagesAppearNumberedInListOrder();
    void burstOfAddsIsInsertedInOneBlock();
    void shrinkingListLeavesExactlyTheRemainingImages_data();
    void shrinkingListLeavesExactlyTheRemainingImages();
    void removingMiddleImageRenumbersRows();
    void sortRelabelsRowsInPlace();
    void iconFollowsValidationWithoutListSignal();
    void closeEmptiesTreeAndIgnoresLaterListSignals();
    void clearTreeForgetsNodes();
    void selectingImagesOpensEachOnce();
    void contextMenusHoldTheirEntries_data();
    void contextMenusHoldTheirEntries();
    void menuEntriesEmitTheirSignals_data();
    void menuEntriesEmitTheirSignals();
    void removeEmitsSelectedImagesOfItsKindInSelectionOrder_data();
    void removeEmitsSelectedImagesOfItsKindInSelectionOrder();
    void menusAreDisabledWhileCommandRuns_data();
    void menusAreDisabledWhileCommandRuns();
    void doubleClickOpensEditors_data();
    void doubleClickOpensEditors();
};

QStandardItem* ProjectTreeTest::Node(const QString& strText) const
{
    QStandardItem* pProject = ProjectNode();
    for (int i = 0; pProject && i < pProject->rowCount(); ++i)
    {
        if (pProject->child(i)->text() == strText)
        {
            return pProject->child(i);
        }
    }
    return nullptr;
}

QStringList ProjectTreeTest::Texts(const QStandardItem* pNode)
{
    QStringList lstTexts;
    for (int i = 0; pNode && i < pNode->rowCount(); ++i)
    {
        lstTexts << pNode->child(i)->text();
    }
    return lstTexts;
}

// Training images 1..nTrain named t1.jpg.., test images 101.. named e1.jpg..; waits until the tree shows them.
void ProjectTreeTest::OpenProject(int nTrain, int nTest)
{
    m_pModel->SetProject(QStringLiteral("/data/Birds"), QStringLiteral("Birds"));
    for (int i = 1; i <= nTrain; ++i)
    {
        m_pModel->AddTrainImage(MakeImage(i, QStringLiteral("t%1.jpg").arg(i)));
    }
    for (int i = 1; i <= nTest; ++i)
    {
        m_pModel->AddTestImage(MakeImage(100 + i, QStringLiteral("e%1.jpg").arg(i)));
    }
    QTRY_COMPARE(Node(QStringLiteral("Train Images"))->rowCount(), nTrain);
    QTRY_COMPARE(Node(QStringLiteral("Test Images"))->rowCount(), nTest);
}

// Right-clicks the row as a user does. When the menu is up, records its entries, clicks the entry with the given
// text, if any, and makes sure the menu is closed.
SMenuSeen ProjectTreeTest::RightClick(const QModelIndex& index, const QString& strTrigger)
{
    SMenuSeen seen;
    QTreeView* pTree = Tree();
    pTree->scrollTo(index);
    const QPoint point = pTree->visualRect(index).center();
    QTimer timer;
    timer.setSingleShot(true);
    connect(&timer, &QTimer::timeout, this,
            [&]()
            {
                auto* pMenu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
                if (!pMenu)
                {
                    return;
                }
                seen.bShown = true;
                QAction* pTrigger = nullptr;
                for (QAction* pAction : pMenu->actions())
                {
                    seen.lstTexts << pAction->text();
                    seen.lstEnabled << pAction->isEnabled();
                    if (pAction->text() == strTrigger)
                    {
                        pTrigger = pAction;
                    }
                }
                // Clicked as a user does, so that a disabled entry refuses the click; the menu closes itself after
                // a click that took effect.
                if (pTrigger)
                {
                    QTest::mouseClick(pMenu, Qt::LeftButton, Qt::NoModifier, pMenu->actionGeometry(pTrigger).center());
                }
                if (pMenu->isVisible())
                {
                    pMenu->close();
                }
            });
    timer.start(0);
    QContextMenuEvent event(QContextMenuEvent::Mouse, point, pTree->viewport()->mapToGlobal(point));
    QApplication::sendEvent(pTree->viewport(), &event);
    return seen;
}

void ProjectTreeTest::init()
{
    m_pModel = std::make_unique<CProjectModel>();
    m_pView = std::make_unique<CProjectView>(m_pModel.get());
    m_pView->resize(300, 700);
    m_pView->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_pView.get()));
}

void ProjectTreeTest::cleanup()
{
    m_pView.reset();
    m_pModel.reset();
}

void ProjectTreeTest::projectChangeBuildsTheSkeleton()
{
    m_pModel->SetProject(QStringLiteral("/data/Birds"), QStringLiteral("Birds"));

    QCOMPARE(Items()->rowCount(), 1);
    auto* pProject = dynamic_cast<CProjectItem*>(ProjectNode());
    QVERIFY(pProject);
    QCOMPARE(pProject->text(), QStringLiteral("Birds"));
    QCOMPARE(pProject->GetItemType(), EProjectItemType_Project);
    QCOMPARE(Texts(pProject), (QStringList{"Classes", "Configuration", "Parameters", "Train Images", "Test Images"}));
    const QList<EProjectItemType> lstKinds{EProjectItemType_Classes, EProjectItemType_Configuration,
                                           EProjectItemType_Parameters, EProjectItemType_TrainImages,
                                           EProjectItemType_TestImages};
    for (int i = 0; i < lstKinds.size(); ++i)
    {
        auto* pNode = dynamic_cast<CProjectItem*>(pProject->child(i));
        QVERIFY(pNode);
        QCOMPARE(pNode->GetItemType(), lstKinds[i]);
        QVERIFY(!pNode->GetImage());
        QVERIFY(!pNode->icon().isNull());
    }
    QCOMPARE(IconImage(pProject->icon()), IconImage(QIcon(QStringLiteral(":/Image/open-folder.png"))));
    QCOMPARE(IconImage(Node(QStringLiteral("Test Images"))->icon()),
             IconImage(QIcon(QStringLiteral(":/Image/photo.png"))));
    QVERIFY(Tree()->isExpanded(pProject->index()));

    // The same project again changes nothing; another one rebuilds.
    m_pModel->SetProject(QStringLiteral("/data/Birds"), QStringLiteral("Birds"));
    QCOMPARE(ProjectNode(), pProject);
    m_pModel->SetProject(QStringLiteral("/data/Cats"), QStringLiteral("Cats"));
    QCOMPARE(Items()->rowCount(), 1);
    QCOMPARE(ProjectNode()->text(), QStringLiteral("Cats"));
}

void ProjectTreeTest::imagesAppearNumberedInListOrder()
{
    OpenProject(3, 2);

    QCOMPARE(Texts(Node(QStringLiteral("Train Images"))), (QStringList{"[0] t1.jpg", "[1] t2.jpg", "[2] t3.jpg"}));
    QCOMPARE(Texts(Node(QStringLiteral("Test Images"))), (QStringList{"[0] e1.jpg", "[1] e2.jpg"}));
    auto* pItem = dynamic_cast<CProjectItem*>(Node(QStringLiteral("Test Images"))->child(1));
    QVERIFY(pItem);
    QCOMPARE(pItem->GetItemType(), EProjectItemType_TestImage);
    QCOMPARE(pItem->GetImage(), m_pModel->FindTestImage(102));
    QVERIFY(Tree()->isExpanded(Node(QStringLiteral("Train Images"))->index()));
}

void ProjectTreeTest::burstOfAddsIsInsertedInOneBlock()
{
    m_pModel->SetProject(QStringLiteral("/data/Birds"), QStringLiteral("Birds"));
    QSignalSpy spyInserted(Items(), &QAbstractItemModel::rowsInserted);
    const int nCount = 20000;

    for (int i = 1; i <= nCount; ++i)
    {
        m_pModel->AddTrainImage(MakeImage(i, QStringLiteral("img%1.jpg").arg(i)));
    }

    QTRY_COMPARE(Node(QStringLiteral("Train Images"))->rowCount(), nCount);
    QCOMPARE(spyInserted.count(), 1);
    QCOMPARE(Node(QStringLiteral("Train Images"))->child(nCount - 1)->text(), QStringLiteral("[19999] img20000.jpg"));
}

void ProjectTreeTest::shrinkingListLeavesExactlyTheRemainingImages_data()
{
    QTest::addColumn<QList<int>>("remove");
    QTest::addColumn<bool>("clear");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("cleared") << QList<int>{} << true << QStringList{};
    QTest::newRow("all removed one by one") << QList<int>{5, 1, 3, 2, 4} << false << QStringList{};
    QTest::newRow("several removed") << QList<int>{2, 4, 5} << false << QStringList{"[0] t1.jpg", "[1] t3.jpg"};
    QTest::newRow("first removed") << QList<int>{1} << false
                                   << QStringList{"[0] t2.jpg", "[1] t3.jpg", "[2] t4.jpg", "[3] t5.jpg"};
    QTest::newRow("cleared then one added") << QList<int>{} << true << QStringList{"[0] new.jpg"};
}

void ProjectTreeTest::shrinkingListLeavesExactlyTheRemainingImages()
{
    QFETCH(QList<int>, remove);
    QFETCH(bool, clear);
    QFETCH(QStringList, expected);
    OpenProject(5, 1);

    if (clear)
    {
        m_pModel->ClearTrainImages();
    }
    for (int nID : remove)
    {
        m_pModel->RemoveTrainImage(nID);
    }
    if (expected.value(0).endsWith(QStringLiteral("new.jpg")))
    {
        m_pModel->AddTrainImage(MakeImage(9, QStringLiteral("new.jpg")));
    }

    QTRY_COMPARE(Texts(Node(QStringLiteral("Train Images"))), expected);
    QCOMPARE(Texts(Node(QStringLiteral("Test Images"))), (QStringList{"[0] e1.jpg"}));
}

void ProjectTreeTest::removingMiddleImageRenumbersRows()
{
    OpenProject(3, 0);
    QStandardItem* pTrain = Node(QStringLiteral("Train Images"));
    QStandardItem* pFirstRow = pTrain->child(0);
    QSignalSpy spyChanged(Items(), &QAbstractItemModel::dataChanged);

    m_pModel->RemoveTrainImage(2);

    QTRY_COMPARE(pTrain->rowCount(), 2);
    QCOMPARE(Texts(pTrain), (QStringList{"[0] t1.jpg", "[1] t3.jpg"}));
    // The row that still shows its image is the same, untouched item; the next one now shows the third image.
    QCOMPARE(pTrain->child(0), pFirstRow);
    QCOMPARE(dynamic_cast<CProjectItem*>(pTrain->child(1))->GetImage(), m_pModel->FindTrainImage(3));
    QVERIFY(!spyChanged.isEmpty());
    for (const auto& args : qAsConst(spyChanged))
    {
        QCOMPARE(args.at(0).toModelIndex(), pTrain->child(1)->index());
    }
}

void ProjectTreeTest::sortRelabelsRowsInPlace()
{
    m_pModel->SetProject(QStringLiteral("/data/Birds"), QStringLiteral("Birds"));
    m_pModel->AddTrainImage(MakeImage(1, QStringLiteral("b.jpg")));
    m_pModel->AddTrainImage(MakeImage(2, QStringLiteral("A.jpg")));
    m_pModel->AddTrainImage(MakeImage(3, QStringLiteral("a.jpg")));
    QTRY_COMPARE(Node(QStringLiteral("Train Images"))->rowCount(), 3);
    QSignalSpy spyInserted(Items(), &QAbstractItemModel::rowsInserted);
    QSignalSpy spyRemoved(Items(), &QAbstractItemModel::rowsRemoved);

    m_pModel->SortTrainImages();

    QTRY_COMPARE(Texts(Node(QStringLiteral("Train Images"))), (QStringList{"[0] A.jpg", "[1] a.jpg", "[2] b.jpg"}));
    QCOMPARE(spyInserted.count(), 0);
    QCOMPARE(spyRemoved.count(), 0);
}

void ProjectTreeTest::iconFollowsValidationWithoutListSignal()
{
    OpenProject(2, 1);
    QStandardItem* pRow = Node(QStringLiteral("Train Images"))->child(1);
    const QImage imageOk = IconImage(QIcon(QStringLiteral(":/Image/validate_ok.png")));
    const QImage imageError = IconImage(QIcon(QStringLiteral(":/Image/validate_error.png")));
    QVERIFY(imageOk != imageError);
    QCOMPARE(IconImage(pRow->icon()), imageError);
    QSignalSpy spyTrain(m_pModel.get(), &CProjectModel::signal_ChangeTrainImageList);

    m_pModel->FindTrainImage(2)->SetValidation(true);
    QCOMPARE(IconImage(pRow->icon()), imageOk);
    QCOMPARE(IconImage(Node(QStringLiteral("Train Images"))->child(0)->icon()), imageError);

    m_pModel->GetTrainImages()[1]->SetValidation(false);
    QCOMPARE(IconImage(pRow->icon()), imageError);
    QCOMPARE(spyTrain.count(), 0);

    // A row that takes another entry follows the new one only.
    auto pOld = m_pModel->FindTrainImage(1);
    m_pModel->RemoveTrainImage(1);
    QTRY_COMPARE(Node(QStringLiteral("Train Images"))->rowCount(), 1);
    QStandardItem* pFirst = Node(QStringLiteral("Train Images"))->child(0);
    pOld->SetValidation(true);
    QCOMPARE(IconImage(pFirst->icon()), imageError);
    m_pModel->FindTrainImage(2)->SetValidation(true);
    QCOMPARE(IconImage(pFirst->icon()), imageOk);
}

void ProjectTreeTest::closeEmptiesTreeAndIgnoresLaterListSignals()
{
    OpenProject(2, 1);

    m_pModel->Close();
    QCOMPARE(Items()->rowCount(), 0);

    m_pModel->AddTrainImage(MakeImage(7, QStringLiteral("late.jpg")));
    m_pModel->AddTestImage(MakeImage(8, QStringLiteral("late.jpg")));
    QCoreApplication::processEvents();
    QCOMPARE(Items()->rowCount(), 0);

    // The next project shows only what the list signals after it bring.
    m_pModel->SetProject(QStringLiteral("/data/Cats"), QStringLiteral("Cats"));
    QCOMPARE(Texts(ProjectNode()).size(), 5);
    m_pModel->AddTrainImage(MakeImage(9, QStringLiteral("cat.jpg")));
    QTRY_COMPARE(Texts(Node(QStringLiteral("Train Images"))), (QStringList{"[0] late.jpg", "[1] cat.jpg"}));
}

void ProjectTreeTest::clearTreeForgetsNodes()
{
    OpenProject(2, 0);
    // A change still waiting to be shown must not reach the deleted nodes.
    m_pModel->AddTrainImage(MakeImage(3, QStringLiteral("t3.jpg")));

    m_pView->ClearTree();
    m_pModel->RemoveTrainImage(1);
    QCoreApplication::processEvents();

    QCOMPARE(Items()->rowCount(), 0);
}

void ProjectTreeTest::selectingImagesOpensEachOnce()
{
    OpenProject(2, 1);
    QSignalSpy spy(m_pView.get(), &CProjectView::signal_OpenImageFile);
    QItemSelectionModel* pSelection = Tree()->selectionModel();
    const auto select = [pSelection](QStandardItem* pItem)
    { pSelection->setCurrentIndex(pItem->index(), QItemSelectionModel::ClearAndSelect); };

    select(ProjectNode());
    select(Node(QStringLiteral("Classes")));
    select(Node(QStringLiteral("Train Images")));
    QCOMPARE(spy.count(), 0);

    select(Node(QStringLiteral("Train Images"))->child(1));
    select(Node(QStringLiteral("Train Images"))->child(1));
    select(Node(QStringLiteral("Test Images"))->child(0));
    select(Node(QStringLiteral("Parameters")));

    QCOMPARE(spy.count(), 2);
    QCOMPARE(spy.at(0).at(0).toInt(), 2);
    QCOMPARE(spy.at(0).at(1).toString(), QStringLiteral("Images/t2.jpg"));
    QCOMPARE(spy.at(1).at(0).toInt(), 101);
    QCOMPARE(spy.at(1).at(1).toString(), QStringLiteral("Images/e1.jpg"));
}

void ProjectTreeTest::contextMenusHoldTheirEntries_data()
{
    QTest::addColumn<QString>("node");
    QTest::addColumn<int>("row");
    QTest::addColumn<QStringList>("entries");

    QTest::newRow("project") << "" << -1 << QStringList{"Close", "Delete", "Properties"};
    QTest::newRow("classes") << "Classes" << -1 << QStringList{"Edit Class Categories"};
    QTest::newRow("configuration") << "Configuration" << -1 << QStringList{"Edit Configuration"};
    QTest::newRow("parameters") << "Parameters" << -1 << QStringList{"Edit Parameters"};
    QTest::newRow("train images") << "Train Images" << -1 << QStringList{"Add Image", "Shuffle Image", "Sort Image"};
    QTest::newRow("test images") << "Test Images" << -1 << QStringList{"Add Image"};
    QTest::newRow("train image") << "Train Images" << 0 << QStringList{"Remove Image"};
    QTest::newRow("test image") << "Test Images" << 0 << QStringList{"Remove Image"};
}

void ProjectTreeTest::contextMenusHoldTheirEntries()
{
    QFETCH(QString, node);
    QFETCH(int, row);
    QFETCH(QStringList, entries);
    OpenProject(1, 1);
    QStandardItem* pItem = node.isEmpty() ? ProjectNode() : Node(node);
    if (row >= 0)
    {
        pItem = pItem->child(row);
    }

    const SMenuSeen seen = RightClick(pItem->index());

    QVERIFY(seen.bShown);
    QCOMPARE(seen.lstTexts, entries);
    QVERIFY(!seen.lstEnabled.contains(false));
}

void ProjectTreeTest::menuEntriesEmitTheirSignals_data()
{
    QTest::addColumn<QString>("node");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QByteArray>("signal");

    QTest::newRow("close") << ""
                           << "Close" << QByteArray(SIGNAL(signal_CloseProject()));
    QTest::newRow("delete") << ""
                            << "Delete" << QByteArray(SIGNAL(signal_DeleteProject()));
    QTest::newRow("properties") << ""
                                << "Properties" << QByteArray(SIGNAL(signal_ProjectProperty()));
    QTest::newRow("classes") << "Classes"
                             << "Edit Class Categories" << QByteArray(SIGNAL(signal_EditClasses()));
    QTest::newRow("parameters") << "Parameters"
                                << "Edit Parameters" << QByteArray(SIGNAL(signal_EditParameters()));
    QTest::newRow("configuration") << "Configuration"
                                   << "Edit Configuration" << QByteArray(SIGNAL(signal_EditConfiguration()));
    QTest::newRow("add train") << "Train Images"
                               << "Add Image" << QByteArray(SIGNAL(signal_AddTrainImage()));
    QTest::newRow("shuffle") << "Train Images"
                             << "Shuffle Image" << QByteArray(SIGNAL(signal_ShuffleTrainImage()));
    QTest::newRow("sort") << "Train Images"
                          << "Sort Image" << QByteArray(SIGNAL(signal_SortTrainImage()));
    QTest::newRow("add test") << "Test Images"
                              << "Add Image" << QByteArray(SIGNAL(signal_AddTestImage()));
}

void ProjectTreeTest::menuEntriesEmitTheirSignals()
{
    QFETCH(QString, node);
    QFETCH(QString, entry);
    QFETCH(QByteArray, signal);
    OpenProject(0, 0);
    QSignalSpy spy(m_pView.get(), signal.constData());
    QSignalSpy spyAddTrain(m_pView.get(), &CProjectView::signal_AddTrainImage);
    QSignalSpy spyAddTest(m_pView.get(), &CProjectView::signal_AddTestImage);

    const SMenuSeen seen = RightClick((node.isEmpty() ? ProjectNode() : Node(node))->index(), entry);

    QVERIFY(seen.bShown);
    QCOMPARE(spy.count(), 1);
    // The two "Add Image" entries belong to different lists.
    QCOMPARE(spyAddTrain.count() + spyAddTest.count(), signal.contains("Add") ? 1 : 0);
}

void ProjectTreeTest::removeEmitsSelectedImagesOfItsKindInSelectionOrder_data()
{
    QTest::addColumn<bool>("train");
    QTest::addColumn<QList<int>>("trainRows");
    QTest::addColumn<QList<int>>("testRows");
    QTest::addColumn<QList<int>>("expectedTrain");
    QTest::addColumn<QList<int>>("expectedTest");

    QTest::newRow("two train and one test, from a train image")
        << true << QList<int>{2, 0} << QList<int>{1} << QList<int>{3, 1} << QList<int>{};
    QTest::newRow("from a test image") << false << QList<int>{1} << QList<int>{0, 1} << QList<int>{}
                                       << QList<int>{101, 102};
    QTest::newRow("single train image") << true << QList<int>{1} << QList<int>{} << QList<int>{2} << QList<int>{};
}

void ProjectTreeTest::removeEmitsSelectedImagesOfItsKindInSelectionOrder()
{
    QFETCH(bool, train);
    QFETCH(QList<int>, trainRows);
    QFETCH(QList<int>, testRows);
    QFETCH(QList<int>, expectedTrain);
    QFETCH(QList<int>, expectedTest);
    OpenProject(3, 2);
    // The controller removes each image from the model as it hears of it, reshaping the tree on the way.
    connect(m_pView.get(), &CProjectView::signal_RemoveTrainImage, m_pModel.get(), &CProjectModel::RemoveTrainImage);
    connect(m_pView.get(), &CProjectView::signal_RemoveTestImage, m_pModel.get(), &CProjectModel::RemoveTestImage);
    QSignalSpy spyTrain(m_pView.get(), &CProjectView::signal_RemoveTrainImage);
    QSignalSpy spyTest(m_pView.get(), &CProjectView::signal_RemoveTestImage);
    QItemSelectionModel* pSelection = Tree()->selectionModel();
    pSelection->select(Node(QStringLiteral("Classes"))->index(), QItemSelectionModel::Select);
    for (int nRow : trainRows)
    {
        pSelection->select(Node(QStringLiteral("Train Images"))->child(nRow)->index(), QItemSelectionModel::Select);
    }
    for (int nRow : testRows)
    {
        pSelection->select(Node(QStringLiteral("Test Images"))->child(nRow)->index(), QItemSelectionModel::Select);
    }
    const QModelIndex clicked = train ? Node(QStringLiteral("Train Images"))->child(trainRows.first())->index()
                                      : Node(QStringLiteral("Test Images"))->child(testRows.first())->index();

    const SMenuSeen seen = RightClick(clicked, QStringLiteral("Remove Image"));

    QVERIFY(seen.bShown);
    QList<int> lstTrain;
    QList<int> lstTest;
    for (const auto& args : qAsConst(spyTrain))
    {
        lstTrain << args.at(0).toInt();
    }
    for (const auto& args : qAsConst(spyTest))
    {
        lstTest << args.at(0).toInt();
    }
    QCOMPARE(lstTrain, expectedTrain);
    QCOMPARE(lstTest, expectedTest);
    QTRY_COMPARE(Node(QStringLiteral("Train Images"))->rowCount(), 3 - expectedTrain.size());
    QTRY_COMPARE(Node(QStringLiteral("Test Images"))->rowCount(), 2 - expectedTest.size());
}

void ProjectTreeTest::menusAreDisabledWhileCommandRuns_data()
{
    QTest::addColumn<int>("state");
    QTest::addColumn<bool>("enabled");

    QTest::newRow("running") << int(ECommandState_Running) << false;
    QTest::newRow("starting") << int(ECommandState_Starting) << false;
    QTest::newRow("stopped again") << int(ECommandState_Stopped) << true;
    QTest::newRow("unknown state keeps running look") << 7 << false;
}

void ProjectTreeTest::menusAreDisabledWhileCommandRuns()
{
    QFETCH(int, state);
    QFETCH(bool, enabled);
    OpenProject(1, 1);
    m_pModel->SetCommandState(ECommandState_Running);
    QSignalSpy spyClose(m_pView.get(), &CProjectView::signal_CloseProject);

    m_pModel->SetCommandState(state);

    const QList<QStandardItem*> lstItems{ProjectNode(),
                                         Node(QStringLiteral("Classes")),
                                         Node(QStringLiteral("Configuration")),
                                         Node(QStringLiteral("Parameters")),
                                         Node(QStringLiteral("Train Images")),
                                         Node(QStringLiteral("Test Images")),
                                         Node(QStringLiteral("Train Images"))->child(0),
                                         Node(QStringLiteral("Test Images"))->child(0)};
    for (QStandardItem* pItem : lstItems)
    {
        const SMenuSeen seen = RightClick(pItem->index());
        QVERIFY2(seen.bShown, qPrintable(pItem->text()));
        QVERIFY(!seen.lstTexts.isEmpty());
        QCOMPARE(seen.lstEnabled.count(enabled), seen.lstTexts.size());
    }
    // A disabled entry does nothing when clicked.
    RightClick(ProjectNode()->index(), QStringLiteral("Close"));
    QCOMPARE(spyClose.count(), enabled ? 1 : 0);
}

void ProjectTreeTest::doubleClickOpensEditors_data()
{
    QTest::addColumn<QString>("node");
    QTest::addColumn<int>("classes");
    QTest::addColumn<int>("parameters");
    QTest::addColumn<int>("configuration");

    QTest::newRow("classes") << "Classes" << 1 << 0 << 0;
    QTest::newRow("parameters") << "Parameters" << 0 << 1 << 0;
    QTest::newRow("configuration") << "Configuration" << 0 << 0 << 1;
    QTest::newRow("train images") << "Train Images" << 0 << 0 << 0;
    QTest::newRow("project") << "" << 0 << 0 << 0;
}

void ProjectTreeTest::doubleClickOpensEditors()
{
    QFETCH(QString, node);
    QFETCH(int, classes);
    QFETCH(int, parameters);
    QFETCH(int, configuration);
    OpenProject(1, 0);
    QSignalSpy spyClasses(m_pView.get(), &CProjectView::signal_EditClasses);
    QSignalSpy spyParameters(m_pView.get(), &CProjectView::signal_EditParameters);
    QSignalSpy spyConfiguration(m_pView.get(), &CProjectView::signal_EditConfiguration);
    QSignalSpy spyOpen(m_pView.get(), &CProjectView::signal_OpenImageFile);
    const QModelIndex index = (node.isEmpty() ? ProjectNode() : Node(node))->index();

    // A widget double click event comes alone; the view expects the press of the same row before it.
    const QPoint point = Tree()->visualRect(index).center();
    QTest::mouseClick(Tree()->viewport(), Qt::LeftButton, Qt::NoModifier, point);
    QTest::mouseDClick(Tree()->viewport(), Qt::LeftButton, Qt::NoModifier, point);

    QCOMPARE(spyClasses.count(), classes);
    QCOMPARE(spyParameters.count(), parameters);
    QCOMPARE(spyConfiguration.count(), configuration);
    QCOMPARE(spyOpen.count(), 0);
}

QTEST_MAIN(ProjectTreeTest)
#include "ProjectTreeTest.moc"
