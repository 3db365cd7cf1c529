#include "CPromptAnswers.h"

#include "project/CProjectController.h"
#include "project/CProjectModel.h"
#include "project/ECommandState.h"
#include "project/store/CDatasetImageEntry.h"
#include "project/store/CDatasetImageRecord.h"
#include "views/CProjectView.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QStandardItemModel>
#include <QTimer>
#include <QTreeView>
#include <QtTest>

#include <algorithm>

namespace
{
std::shared_ptr<CDatasetImageRecord> MakeImage(int nID, const QString& strName)
{
    auto pRecord = std::make_shared<CDatasetImageRecord>();
    pRecord->SetID(nID);
    pRecord->SetName(strName);
    pRecord->SetFullPath("Images/" + strName);
    return pRecord;
}

QImage Pixels(const QIcon& icon)
{
    return icon.pixmap(32, 32).toImage().convertToFormat(QImage::Format_ARGB32);
}

// The validation icon of a row, told by its pixels: "ok", "error" or "?".
QString Validation(const QStandardItem* pRow)
{
    const QImage image = Pixels(pRow->icon());
    return image == Pixels(QIcon(":/Image/validate_ok.png"))      ? "ok"
           : image == Pixels(QIcon(":/Image/validate_error.png")) ? "error"
                                                                  : "?";
}

QStringList Texts(const QStandardItem* pNode)
{
    QStringList lstTexts;
    for (int i = 0; pNode && i < pNode->rowCount(); ++i)
        lstTexts << pNode->child(i)->text();
    return lstTexts;
}

// One data row, its values in the order of the columns.
template <class... T> void Row(const char* pName, T... values)
{
    (QTest::newRow(pName) << ... << values);
}
} // namespace

// The project model and the tree view that follows it, shown so that rows have geometry for mouse clicks.
class ProjectTreeTest : public QObject
{
    Q_OBJECT

public slots:
    void Record() { m_lstSent << sender()->metaObject()->method(senderSignalIndex()).name().mid(7); }

private slots:
    void init();
    void cleanup() { m_pView.reset(), m_pModel.reset(); }

    void projectLifeBuildsAndEmptiesTheTree();
    void burstOfAddsIsInsertedInOneBlock();
    void listChangeSignalsOnceAndTreeFollows_data();
    void listChangeSignalsOnceAndTreeFollows();
    void shuffleReordersTheSameEntriesAfreshEachTime();
    void iconFollowsValidationOfTheRowsCurrentEntry();
    void fillInSlicesEndsShowingTheListChangedMidway_data();
    void fillInSlicesEndsShowingTheListChangedMidway();
    void menusAndDoubleClickSendTheirSignalsOnlyWhileStopped_data();
    void menusAndDoubleClickSendTheirSignalsOnlyWhileStopped();
    void doubleClickOpensAnEditorOnlyWhileStopped_data();
    void doubleClickOpensAnEditorOnlyWhileStopped();
    void removeTakesSelectedImagesOfTheClickedKind_data();
    void removeTakesSelectedImagesOfTheClickedKind();

private:
    std::unique_ptr<CProjectModel> m_pModel;
    std::unique_ptr<CProjectView> m_pView;
    QStringList m_lstSent;

    // The signals of the model and the view since the last call, by name without "signal_", in the order sent.
    QStringList Sent() { return std::exchange(m_lstSent, {}); }
    QTreeView* Tree() const { return m_pView->findChild<QTreeView*>(); }
    QStandardItemModel* Items() const { return qobject_cast<QStandardItemModel*>(Tree()->model()); }
    // The row showing that text; "" is the project node.
    QStandardItem* Node(const QString& strText) const
    {
        return strText.isEmpty() ? Items()->item(0)
                                 : Items()->findItems(strText, Qt::MatchExactly | Qt::MatchRecursive).value(0);
    }
    QStandardItem* Train() const { return Node("Train Images"); }
    // Each image row as "text mark" (Validation), training rows first.
    QStringList Shown() const
    {
        QStringList lstRows;
        for (QStandardItem* pNode : {Train(), Test()})
            for (int i = 0; pNode && i < pNode->rowCount(); ++i)
                lstRows << pNode->child(i)->text() + " " + Validation(pNode->child(i));
        return lstRows;
    }
    // What Shown() gives for a tree that follows the model.
    QStringList Expected() const
    {
        QStringList lstRows;
        for (const auto& vctList : {m_pModel->GetTrainImages(), m_pModel->GetTestImages()})
            for (size_t i = 0; i < vctList.size(); ++i)
                lstRows
                    << QString("[%1] %2 %3").arg(i).arg(vctList[i]->GetName(), vctList[i]->IsValid() ? "ok" : "error");
        return lstRows;
    }
    QStandardItem* Test() const { return Node("Test Images"); }
    // Space-separated model changes: -N and tN remove the training and the test image of ID N, validN and invalidN
    // validate the training image of ID N, "sort", "clear", "add" (a training image "new") and "close".
    void Change(const QString& strChanges)
    {
        for (const QString& strChange : strChanges.split(' ', Qt::SkipEmptyParts))
        {
            if (strChange == "clear")
                m_pModel->ClearTrainImages();
            else if (strChange == "sort")
                m_pModel->SortTrainImages();
            else if (strChange == "close")
                m_pModel->Close();
            else if (strChange == "add")
                m_pModel->AddTrainImage(MakeImage(99, "new"));
            else if (strChange.contains("valid"))
                m_pModel->FindTrainImage(strChange.section("valid", 1).toInt())->SetValidation(strChange[0] == 'v');
            else
                strChange[0] == 't' ? m_pModel->RemoveTestImage(strChange.mid(1).toInt())
                                    : m_pModel->RemoveTrainImage(-strChange.toInt());
        }
    }
    // Training images with IDs 1, 2, ..., test images with IDs 101, 102, ...; waits until the tree shows them.
    void OpenProject(const QStringList& lstTrain, const QStringList& lstTest);
    // Right-clicks the row as a user does and, while the menu is up, clicks the entry with the given text if there is
    // one (a disabled entry refuses the click). Returns the menu's entries, disabled ones marked with a leading "~".
    QStringList RightClick(QStandardItem* pItem, const QString& strTrigger = QString());
};

void ProjectTreeTest::init()
{
    m_pModel = std::make_unique<CProjectModel>();
    m_pView = std::make_unique<CProjectView>(m_pModel.get());
    for (QObject* pSender : {static_cast<QObject*>(m_pModel.get()), static_cast<QObject*>(m_pView.get())})
    {
        const QMetaObject* pMeta = pSender->metaObject();
        for (int i = pMeta->methodOffset(); i < pMeta->methodCount(); ++i)
            if (pMeta->method(i).methodType() == QMetaMethod::Signal)
                connect(pSender, pMeta->method(i), this, metaObject()->method(metaObject()->indexOfSlot("Record()")));
    }
    m_lstSent.clear();
    m_pView->resize(300, 700);
    m_pView->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_pView.get()));
}

void ProjectTreeTest::OpenProject(const QStringList& lstTrain, const QStringList& lstTest)
{
    m_pModel->SetProject("/data/Birds", "Birds");
    for (int i = 0; i < lstTrain.size(); ++i)
        m_pModel->AddTrainImage(MakeImage(i + 1, lstTrain[i]));
    for (int i = 0; i < lstTest.size(); ++i)
        m_pModel->AddTestImage(MakeImage(101 + i, lstTest[i]));
    QTRY_COMPARE(Train()->rowCount() + Test()->rowCount(), lstTrain.size() + lstTest.size());
    Sent();
}

QStringList ProjectTreeTest::RightClick(QStandardItem* pItem, const QString& strTrigger)
{
    QStringList lstEntries;
    const auto inspect = [&]()
    {
        auto* pMenu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QAction* pTrigger = nullptr;
        for (QAction* pAction : pMenu ? pMenu->actions() : QList<QAction*>())
        {
            lstEntries << (pAction->isEnabled() ? "" : "~") + pAction->text();
            pTrigger = pAction->text() == strTrigger ? pAction : pTrigger;
        }
        if (pTrigger)
            QTest::mouseClick(pMenu, Qt::LeftButton, Qt::NoModifier, pMenu->actionGeometry(pTrigger).center());
        if (pMenu && pMenu->isVisible())
            pMenu->close();
    };
    QTimer::singleShot(0, this, inspect);
    const QPoint point = Tree()->visualRect(pItem->index()).center();
    QContextMenuEvent event(QContextMenuEvent::Mouse, point, Tree()->viewport()->mapToGlobal(point));
    QApplication::sendEvent(Tree()->viewport(), &event);
    return lstEntries;
}

void ProjectTreeTest::projectLifeBuildsAndEmptiesTheTree()
{
    OpenProject({"t1"}, {"e1"});
    QStandardItem* pProject = Node("");
    m_pModel->SetProject("/data/Birds", "Birds");
    for (int nState : {ECommandState_Stopped, ECommandState_Running, ECommandState_Running, ECommandState_Stopped})
        m_pModel->SetCommandState(nState);

    QCOMPARE(Sent(), (QStringList{"ChangeCommandState", "ChangeCommandState"}));
    QCOMPARE(Node(""), pProject);
    QCOMPARE(pProject->text(), QString("Birds"));
    QCOMPARE(Texts(pProject), (QStringList{"Classes", "Configuration", "Parameters", "Train Images", "Test Images"}));
    QCOMPARE(Pixels(pProject->icon()), Pixels(QIcon(":/Image/open-folder.png")));
    QCOMPARE(Pixels(Test()->icon()), Pixels(QIcon(":/Image/photo.png")));
    QVERIFY(Tree()->isExpanded(pProject->index()) && Tree()->isExpanded(Train()->index()));

    // A change still waiting to be shown must not reach the nodes that closing deletes.
    m_pModel->AddTrainImage(MakeImage(3, "t3"));
    Sent();
    m_pModel->Close();
    QCOMPARE(Sent(), QStringList{"CloseProject"});
    QCOMPARE(Items()->rowCount(), 0);
    QCOMPARE(m_pModel->GetProjectDir() + m_pModel->GetProjectName(), QString());
    QCOMPARE(m_pModel->GetTrainImages().size() + m_pModel->GetTestImages().size(), size_t(0));
    m_pModel->AddTrainImage(MakeImage(7, "late"));
    QCoreApplication::processEvents();
    QCOMPARE(Items()->rowCount(), 0);

    m_pModel->SetProject("/data/Birds", "Cats");
    QCOMPARE(Sent(), (QStringList{"ChangeTrainImageList", "ChangeProject"}));
    QCOMPARE(Texts(Items()->invisibleRootItem()), QStringList{"Cats"});
}

// Regression: one row insertion per added image made opening a project of 20,000 images take minutes.
void ProjectTreeTest::burstOfAddsIsInsertedInOneBlock()
{
    QStringList lstNames;
    for (int i = 1; i <= 20000; ++i)
        lstNames << QString("img%1.jpg").arg(i);
    m_pModel->SetProject("/data/Birds", "Birds");
    QSignalSpy spyInserted(Items(), &QAbstractItemModel::rowsInserted);

    OpenProject(lstNames, {});

    QCOMPARE(spyInserted.count(), 1);
    QCOMPARE(Train()->child(19999)->text(), QString("[19999] img20000.jpg"));
}

void ProjectTreeTest::listChangeSignalsOnceAndTreeFollows_data()
{
    QTest::addColumn<QString>("changes"); // as Change() takes them
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<QStringList>("sent");

    const QString T = "ChangeTrainImageList";
    Row("unknown removed", "-8 t8", QStringList{"[0] A", "[1] a", "[2] 10", "[3] 9", "[0] e"}, QStringList{});
    Row("middle removed", "-2", QStringList{"[0] A", "[1] 10", "[2] 9", "[0] e"}, QStringList{T});
    Row("several removed", "-1 -4", QStringList{"[0] a", "[1] 10", "[0] e"}, QStringList{T, T});
    Row("test image removed", "t101", QStringList{"[0] A", "[1] a", "[2] 10", "[3] 9"},
        QStringList{"ChangeTestImageList"});
    Row("sorted by code units", "sort", QStringList{"[0] 10", "[1] 9", "[2] A", "[3] a", "[0] e"}, QStringList{T});
    Row("sorted twice", "sort sort", QStringList{"[0] a", "[1] A", "[2] 9", "[3] 10", "[0] e"}, QStringList{T, T});
    Row("cleared", "clear", QStringList{"[0] e"}, QStringList{T});
    Row("cleared then added", "clear add", QStringList{"[0] new", "[0] e"}, QStringList{T, T});
}

void ProjectTreeTest::listChangeSignalsOnceAndTreeFollows()
{
    QFETCH(QString, changes);
    QFETCH(QStringList, shown);
    QFETCH(QStringList, sent);
    OpenProject({"A", "a", "10", "9"}, {"e"});
    const QStringList lstBefore = Texts(Train()) + Texts(Test());
    QSignalSpy spyInserted(Items(), &QAbstractItemModel::rowsInserted);
    QSignalSpy spyRemoved(Items(), &QAbstractItemModel::rowsRemoved);
    QSignalSpy spyChanged(Items(), &QAbstractItemModel::dataChanged);

    Change(changes);

    QCOMPARE(Sent(), sent);
    QTRY_COMPARE(Texts(Train()) + Texts(Test()), shown);
    // Rows are relabelled in place where their image changed, the others left alone; surplus rows go in one block.
    QCOMPARE(spyInserted.count() + spyRemoved.count(), shown.size() == lstBefore.size() ? 0 : 1);
    for (const auto& args : qAsConst(spyChanged))
        QVERIFY(!lstBefore.contains(Items()->itemFromIndex(args.at(0).toModelIndex())->text()));
}

void ProjectTreeTest::shuffleReordersTheSameEntriesAfreshEachTime()
{
    QStringList lstNames;
    for (int i = 0; i < 30; ++i)
        lstNames << QString::number(i);
    m_pModel->ShuffleTrainImages();
    QCOMPARE(Sent(), QStringList{"ChangeTrainImageList"});
    OpenProject(lstNames, {"e"});
    auto vctBefore = m_pModel->GetTrainImages();

    // Two shuffles of 30 images agree with the original or each other only by a 1 in 30! chance.
    m_pModel->ShuffleTrainImages();
    const auto vctFirst = m_pModel->GetTrainImages();
    m_pModel->ShuffleTrainImages();
    auto vctAfter = m_pModel->GetTrainImages();

    QVERIFY(vctFirst != vctBefore && vctAfter != vctFirst);
    // A fresh seed each time: the second shuffle does not repeat the first one's permutation.
    int nRepeated = 0;
    for (int i = 0; i < 30; ++i)
        nRepeated += vctAfter[i] == vctFirst[vctFirst[i]->GetName().toInt()];
    QVERIFY(nRepeated < 30);
    QCOMPARE(Sent(), (QStringList{"ChangeTrainImageList", "ChangeTrainImageList"}));
    QTRY_COMPARE(Train()->child(29)->text(), "[29] " + vctAfter[29]->GetName());
    // The same entries, not copies of them.
    std::sort(vctBefore.begin(), vctBefore.end());
    std::sort(vctAfter.begin(), vctAfter.end());
    QVERIFY(vctAfter == vctBefore);
}

void ProjectTreeTest::iconFollowsValidationOfTheRowsCurrentEntry()
{
    OpenProject({"t1", "t2"}, {});
    QStandardItem* pFirst = Train()->child(0);
    const auto pOld = m_pModel->FindTrainImage(1);
    QSignalSpy spyValidation(pOld.get(), &CDatasetImageEntry::signal_ChangeValidation);
    QCOMPARE(Validation(pFirst), QString("error"));

    // The first call tells that validation is known, later ones only a change.
    for (bool bValid : {false, false, true, true})
        pOld->SetValidation(bValid);
    QCOMPARE(spyValidation.count(), 2);
    QCOMPARE(Validation(pFirst) + Validation(Train()->child(1)), QString("okerror"));
    // The row reads its mark when painted: the tree is told to repaint it.
    QSignalSpy spyChanged(Items(), &QAbstractItemModel::dataChanged);
    QTRY_VERIFY(std::any_of(spyChanged.begin(), spyChanged.end(),
                            [&](const QList<QVariant>& args) {
                                return args.at(0).toModelIndex().parent() == Train()->index() &&
                                       args.at(0).toModelIndex().row() == 0;
                            }));

    // The first row takes the second entry; the removed entry no longer reaches it.
    m_pModel->RemoveTrainImage(1);
    QTRY_COMPARE(Train()->rowCount(), 1);
    QCOMPARE(Validation(pFirst), QString("error"));
    pOld->SetValidation(false);
    pOld->SetValidation(true);
    QCOMPARE(Validation(pFirst), QString("error"));
    m_pModel->FindTrainImage(2)->SetValidation(true);
    QCOMPARE(Validation(pFirst), QString("ok"));
}

void ProjectTreeTest::fillInSlicesEndsShowingTheListChangedMidway_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<int>("after"); // the change is made once the tree shows that many training rows (of 10)

    Row("no change", "", 1);
    Row("middle removed", "-5", 1);
    Row("middle removed by the last slice", "-5", 10);
    Row("test image removed", "t102", 1);
    Row("sorted", "sort", 1);
    Row("cleared then added", "clear add", 1);
    Row("shown rows validated", "valid1 invalid2", 1);
    Row("closed", "close", 1);
}

void ProjectTreeTest::fillInSlicesEndsShowingTheListChangedMidway()
{
    QFETCH(QString, change);
    QFETCH(int, after);
    m_pView->SetRowsPerStep(3);
    m_pModel->SetProject("/data/Birds", "Birds");
    for (int i = 1; i <= 10; ++i)
        m_pModel->AddTrainImage(MakeImage(i, QString("t%1").arg(i)));
    for (int i = 1; i <= 4; ++i)
        m_pModel->AddTestImage(MakeImage(100 + i, QString("e%1").arg(i)));
    for (const auto& vctList : {m_pModel->GetTrainImages(), m_pModel->GetTestImages()})
        for (const auto& pEntry : vctList)
            pEntry->SetValidation(pEntry->GetImageID() % 2 == 0);
    QList<int> lstBlocks;
    bool bChanged = false;
    connect(Items(), &QAbstractItemModel::rowsInserted, this,
            [&](const QModelIndex&, int nFirst, int nLast)
            {
                lstBlocks << nLast - nFirst + 1;
                if (bChanged || !Train() || Train()->rowCount() < after)
                    return;
                bChanged = true;
                Change(change);
            });

    if (change == "close")
    {
        QTRY_COMPARE(Items()->rowCount(), 0);
        for (int i = 0; i < 5; ++i)
            QCoreApplication::processEvents();
        QCOMPARE(Items()->rowCount(), 0);
        // Nothing of the closed project's fill reaches the next one.
        m_pModel->SetProject("/data/Birds", "Cats");
        Change("add");
    }
    QTRY_COMPARE(Shown(), Expected());

    QVERIFY(bChanged);
    QVERIFY(change == "close" || lstBlocks.size() > 2);
    QVERIFY(*std::max_element(lstBlocks.begin(), lstBlocks.end()) <= 3);
}

void ProjectTreeTest::menusAndDoubleClickSendTheirSignalsOnlyWhileStopped_data()
{
    QTest::addColumn<QString>("node");
    QTest::addColumn<QStringList>("entries"); // "entry=signal"
    QTest::addColumn<QStringList>("doubleClick");

    Row("project", "", QStringList{"Close=CloseProject", "Delete=DeleteProject", "Properties=ProjectProperty"},
        QStringList{});
    Row("classes", "Classes", QStringList{"Edit Class Categories=EditClasses"}, QStringList{"EditClasses"});
    Row("configuration", "Configuration", QStringList{"Edit Configuration=EditConfiguration"},
        QStringList{"EditConfiguration"});
    Row("parameters", "Parameters", QStringList{"Edit Parameters=EditParameters"}, QStringList{"EditParameters"});
    Row("train images", "Train Images",
        QStringList{"Add Image=AddTrainImage", "Shuffle Image=ShuffleTrainImage", "Sort Image=SortTrainImage"},
        QStringList{});
    Row("test images", "Test Images", QStringList{"Add Image=AddTestImage"}, QStringList{});
    // Nothing is selected, so there is nothing to remove; the click before the double click opens the image once.
    Row("train image", "[0] t1", QStringList{"Remove Image="}, QStringList{"OpenImageFile"});
    Row("test image", "[0] e1", QStringList{"Remove Image="}, QStringList{"OpenImageFile"});
}

void ProjectTreeTest::menusAndDoubleClickSendTheirSignalsOnlyWhileStopped()
{
    QFETCH(QString, node);
    QFETCH(QStringList, entries);
    QFETCH(QStringList, doubleClick);
    OpenProject({"t1"}, {"e1"});
    QSignalSpy spyOpen(m_pView.get(), &CProjectView::signal_OpenImageFile);

    for (int nState : {ECommandState_Running, ECommandState_Starting, ECommandState_Stopped})
    {
        m_pModel->SetCommandState(nState);
        Sent();
        const QString strMark = nState == ECommandState_Stopped ? "" : "~";
        for (const QString& strEntry : entries)
        {
            QCOMPARE(RightClick(Node(node), strEntry.section('=', 0, 0)),
                     QStringList(entries).replaceInStrings(QRegularExpression("^(.*)=.*$"), strMark + "\\1"));
            const QString strSent = strMark.isEmpty() ? strEntry.section('=', 1) : QString();
            QCOMPARE(Sent(), strSent.isEmpty() ? QStringList() : QStringList{strSent});
        }
    }
    // A widget double click event comes alone; the view expects the press of the same row before it.
    const QPoint point = Tree()->visualRect(Node(node)->index()).center();
    QTest::mouseClick(Tree()->viewport(), Qt::LeftButton, Qt::NoModifier, point);
    QTest::mouseDClick(Tree()->viewport(), Qt::LeftButton, Qt::NoModifier, point);
    QCOMPARE(Sent(), doubleClick);
    if (!spyOpen.isEmpty())
        QCOMPARE(spyOpen.at(0), (QList<QVariant>{node == "[0] t1" ? 1 : 101, "Images/" + node.mid(4)}));
}

void ProjectTreeTest::doubleClickOpensAnEditorOnlyWhileStopped_data()
{
    QTest::addColumn<QString>("node");
    QTest::addColumn<int>("state");
    QTest::addColumn<QStringList>("sent");
    QTest::addColumn<int>("dialogs"); // editor dialogs executed

    // Regression: the menus were refused while the trainer ran, but a double click still opened the editors.
    constexpr int RUNNING = ECommandState_Running, STARTING = ECommandState_Starting;
    // One check guards every editor: each node is refused once, each refusing state at least once.
    Row("classes, running", "Classes", RUNNING, QStringList{}, 0);
    Row("configuration, starting", "Configuration", STARTING, QStringList{}, 0);
    Row("parameters, running", "Parameters", RUNNING, QStringList{}, 0);
    Row("classes, stopped", "Classes", int(ECommandState_Stopped), QStringList{"EditClasses"}, 1);
    Row("parameters, stopped again", "Parameters", -RUNNING, QStringList{"EditParameters"}, 1);
}

void ProjectTreeTest::doubleClickOpensAnEditorOnlyWhileStopped()
{
    QFETCH(QString, node);
    QFETCH(int, state);
    QFETCH(QStringList, sent);
    QFETCH(int, dialogs);
    OpenProject({"t1"}, {});
    CPromptAnswers answers;
    CProjectController controller(m_pModel.get(), m_pView.get());
    // A negative state is that state first, then stopped.
    m_pModel->SetCommandState(std::abs(state));
    if (state < 0)
        m_pModel->SetCommandState(ECommandState_Stopped);
    Sent();

    const QPoint point = Tree()->visualRect(Node(node)->index()).center();
    QTest::mouseClick(Tree()->viewport(), Qt::LeftButton, Qt::NoModifier, point);
    QTest::mouseDClick(Tree()->viewport(), Qt::LeftButton, Qt::NoModifier, point);

    QCOMPARE(Sent(), sent);
    QCOMPARE(answers.asked.size(), dialogs);
    for (const CPromptAnswers::SAsked& sAsked : qAsConst(answers.asked))
        QCOMPARE(sAsked.strKind, QString("dialog"));
}

void ProjectTreeTest::removeTakesSelectedImagesOfTheClickedKind_data()
{
    QTest::addColumn<QStringList>("selected"); // the first one is right-clicked
    QTest::addColumn<QStringList>("remaining");

    Row("train", QStringList{"[2] t3", "Classes", "[0] t1", "[1] e2"}, QStringList{"[0] t2", "[0] e1", "[1] e2"});
    Row("test", QStringList{"[1] e2", "[0] e1", "[1] t2"}, QStringList{"[0] t1", "[1] t2", "[2] t3"});
}

void ProjectTreeTest::removeTakesSelectedImagesOfTheClickedKind()
{
    QFETCH(QStringList, selected);
    QFETCH(QStringList, remaining);
    OpenProject({"t1", "t2", "t3"}, {"e1", "e2"});
    // The controller removes each image from the model as it hears of it, reshaping the tree on the way.
    connect(m_pView.get(), &CProjectView::signal_RemoveTrainImage, m_pModel.get(), &CProjectModel::RemoveTrainImage);
    connect(m_pView.get(), &CProjectView::signal_RemoveTestImage, m_pModel.get(), &CProjectModel::RemoveTestImage);
    for (const QString& strText : selected)
        Tree()->selectionModel()->select(Node(strText)->index(), QItemSelectionModel::Select);

    RightClick(Node(selected[0]), "Remove Image");

    QCOMPARE(Sent().filter("Remove").size(), 2);
    QTRY_COMPARE(Texts(Train()) + Texts(Test()), remaining);
}

QTEST_MAIN(ProjectTreeTest)
#include "ProjectTreeTest.moc"
