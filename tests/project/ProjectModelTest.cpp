#include "project/CDatasetImageEntry.h"
#include "project/CDatasetImageRecord.h"
#include "project/CProjectModel.h"
#include "project/CProjectTrainingRecord.h"
#include "project/ECommandState.h"

#include <QSignalSpy>
#include <QtTest>

#include <algorithm>

namespace
{
std::shared_ptr<CDatasetImageRecord> MakeImage(int nID, const QString& strName)
{
    auto pRecord = std::make_shared<CDatasetImageRecord>();
    pRecord->SetID(nID);
    pRecord->SetName(strName);
    pRecord->SetFullPath(QStringLiteral("Images/") + strName);
    pRecord->SetType(QStringLiteral("train"));
    return pRecord;
}

QStringList Names(const CProjectModel::EntryList& vctList)
{
    QStringList lstNames;
    for (const auto& pEntry : vctList)
    {
        lstNames << pEntry->GetName();
    }
    return lstNames;
}

QList<int> IDs(const CProjectModel::EntryList& vctList)
{
    QList<int> lstIDs;
    for (const auto& pEntry : vctList)
    {
        lstIDs << pEntry->GetImageID();
    }
    return lstIDs;
}

// Training images with IDs 1, 2, ... named after the given names.
void FillTrain(CProjectModel& model, const QStringList& lstNames)
{
    int nID = 1;
    for (const QString& strName : lstNames)
    {
        model.AddTrainImage(MakeImage(nID++, strName));
    }
}
} // namespace

class ProjectModelTest : public QObject
{
    Q_OBJECT

private slots:
    void setProjectEmitsOnlyOnChange_data();
    void setProjectEmitsOnlyOnChange();
    void addedImagesAreWrappedAndAnnounced();
    void recordOfAnotherClassGivesEmptyEntry();
    void findReturnsFirstMatchOrNothing();
    void removeKeepsOrderAndAnnouncesOnlyRealRemovals_data();
    void removeKeepsOrderAndAnnouncesOnlyRealRemovals();
    void clearEmptiesOnlyItsList();
    void sortAlternatesDirectionByCodeUnits_data();
    void sortAlternatesDirectionByCodeUnits();
    void shuffleReordersOnlyTheTrainingList_data();
    void shuffleReordersOnlyTheTrainingList();
    void shuffleChangesTheOrder();
    void commandStateEmitsOnlyOnChange();
    void closeOnlyWhileStopped_data();
    void closeOnlyWhileStopped();
    void validationEmitsOnFirstCallAndOnChange_data();
    void validationEmitsOnFirstCallAndOnChange();
    void listCopiesShareValidation();
};

void ProjectModelTest::setProjectEmitsOnlyOnChange_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("emitted");

    QTest::newRow("same values") << "/p/Birds"
                                 << "Birds" << 0;
    QTest::newRow("other folder") << "/q/Birds"
                                  << "Birds" << 1;
    QTest::newRow("other name") << "/p/Birds"
                                << "Cats" << 1;
    QTest::newRow("both empty") << ""
                                << "" << 1;
}

void ProjectModelTest::setProjectEmitsOnlyOnChange()
{
    QFETCH(QString, folder);
    QFETCH(QString, name);
    QFETCH(int, emitted);
    CProjectModel model;
    model.SetProject(QStringLiteral("/p/Birds"), QStringLiteral("Birds"));
    QSignalSpy spy(&model, &CProjectModel::signal_ChangeProject);

    model.SetProject(folder, name);

    QCOMPARE(spy.count(), emitted);
    QCOMPARE(model.GetProjectDir(), folder);
    QCOMPARE(model.GetProjectName(), name);
}

void ProjectModelTest::addedImagesAreWrappedAndAnnounced()
{
    CProjectModel model;
    QSignalSpy spyTrain(&model, &CProjectModel::signal_ChangeTrainImageList);
    QSignalSpy spyTest(&model, &CProjectModel::signal_ChangeTestImageList);

    model.AddTrainImage(MakeImage(7, QStringLiteral("a.jpg")));
    model.AddTrainImage(MakeImage(9, QStringLiteral("b.jpg")));
    model.AddTestImage(MakeImage(11, QStringLiteral("c.png")));

    QCOMPARE(spyTrain.count(), 2);
    QCOMPARE(spyTest.count(), 1);
    QCOMPARE(IDs(model.GetTrainImages()), (QList<int>{7, 9}));
    QCOMPARE(IDs(model.GetTestImages()), (QList<int>{11}));
    const auto pEntry = model.GetTestImages().front();
    QCOMPARE(pEntry->GetName(), QStringLiteral("c.png"));
    QCOMPARE(pEntry->GetFullPath(), QStringLiteral("Images/c.png"));
    QVERIFY(!pEntry->IsValid());
}

void ProjectModelTest::recordOfAnotherClassGivesEmptyEntry()
{
    CProjectModel model;
    auto pOther = std::make_shared<CProjectTrainingRecord>();
    pOther->SetID(4);
    pOther->SetName(QStringLiteral("Birds"));

    model.AddTrainImage(pOther);
    model.AddTestImage(nullptr);

    QCOMPARE(model.GetTrainImages().size(), size_t(1));
    const auto pEntry = model.GetTrainImages().front();
    QVERIFY(!pEntry->GetRecord());
    QCOMPARE(pEntry->GetImageID(), -1);
    QVERIFY(pEntry->GetName().isEmpty());
    QVERIFY(pEntry->GetFullPath().isEmpty());
    QCOMPARE(model.GetTestImages().front()->GetImageID(), -1);
}

void ProjectModelTest::findReturnsFirstMatchOrNothing()
{
    CProjectModel model;
    model.AddTrainImage(MakeImage(3, QStringLiteral("first.jpg")));
    model.AddTrainImage(MakeImage(3, QStringLiteral("second.jpg")));
    model.AddTestImage(MakeImage(5, QStringLiteral("test.jpg")));

    QCOMPARE(model.FindTrainImage(3)->GetName(), QStringLiteral("first.jpg"));
    QVERIFY(!model.FindTrainImage(5));
    QCOMPARE(model.FindTestImage(5)->GetName(), QStringLiteral("test.jpg"));
    QVERIFY(!model.FindTestImage(3));
}

void ProjectModelTest::removeKeepsOrderAndAnnouncesOnlyRealRemovals_data()
{
    QTest::addColumn<QList<int>>("ids");
    QTest::addColumn<int>("remove");
    QTest::addColumn<QList<int>>("expected");
    QTest::addColumn<int>("emitted");

    QTest::newRow("middle") << QList<int>{1, 2, 3} << 2 << QList<int>{1, 3} << 1;
    QTest::newRow("first") << QList<int>{1, 2, 3} << 1 << QList<int>{2, 3} << 1;
    QTest::newRow("last") << QList<int>{1, 2, 3} << 3 << QList<int>{1, 2} << 1;
    QTest::newRow("unknown id") << QList<int>{1, 2, 3} << 8 << QList<int>{1, 2, 3} << 0;
    QTest::newRow("only the first of equal ids") << QList<int>{4, 5, 4} << 4 << QList<int>{5, 4} << 1;
    QTest::newRow("empty list") << QList<int>{} << 1 << QList<int>{} << 0;
}

void ProjectModelTest::removeKeepsOrderAndAnnouncesOnlyRealRemovals()
{
    QFETCH(QList<int>, ids);
    QFETCH(int, remove);
    QFETCH(QList<int>, expected);
    QFETCH(int, emitted);
    CProjectModel model;
    for (int nID : ids)
    {
        model.AddTrainImage(MakeImage(nID, QString::number(nID)));
        model.AddTestImage(MakeImage(nID, QString::number(nID)));
    }
    QSignalSpy spyTrain(&model, &CProjectModel::signal_ChangeTrainImageList);
    QSignalSpy spyTest(&model, &CProjectModel::signal_ChangeTestImageList);

    model.RemoveTrainImage(remove);
    QCOMPARE(IDs(model.GetTrainImages()), expected);
    QCOMPARE(spyTrain.count(), emitted);
    QCOMPARE(IDs(model.GetTestImages()), ids);

    model.RemoveTestImage(remove);
    QCOMPARE(IDs(model.GetTestImages()), expected);
    QCOMPARE(spyTest.count(), emitted);
}

void ProjectModelTest::clearEmptiesOnlyItsList()
{
    CProjectModel model;
    FillTrain(model, {QStringLiteral("a"), QStringLiteral("b")});
    model.AddTestImage(MakeImage(10, QStringLiteral("t")));
    QSignalSpy spyTrain(&model, &CProjectModel::signal_ChangeTrainImageList);
    QSignalSpy spyTest(&model, &CProjectModel::signal_ChangeTestImageList);

    model.ClearTrainImages();
    QVERIFY(model.GetTrainImages().empty());
    QCOMPARE(model.GetTestImages().size(), size_t(1));
    QCOMPARE(spyTrain.count(), 1);
    QCOMPARE(spyTest.count(), 0);

    model.ClearTestImages();
    model.ClearTestImages();
    QVERIFY(model.GetTestImages().empty());
    QCOMPARE(spyTest.count(), 2);
}

void ProjectModelTest::sortAlternatesDirectionByCodeUnits_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("firstSort");
    QTest::addColumn<QStringList>("secondSort");

    QTest::newRow("upper case first") << QStringList{"b", "A", "a"} << QStringList{"A", "a", "b"}
                                      << QStringList{"b", "a", "A"};
    QTest::newRow("digits as text") << QStringList{"9.jpg", "10.jpg", "1.jpg"}
                                    << QStringList{"1.jpg", "10.jpg", "9.jpg"}
                                    << QStringList{"9.jpg", "10.jpg", "1.jpg"};
    QTest::newRow("accent after ascii") << QStringList{QString::fromUtf8("\xc3\xa4.png"), "z.png", "Z.png"}
                                        << QStringList{"Z.png", "z.png", QString::fromUtf8("\xc3\xa4.png")}
                                        << QStringList{QString::fromUtf8("\xc3\xa4.png"), "z.png", "Z.png"};
    QTest::newRow("empty list") << QStringList{} << QStringList{} << QStringList{};
    QTest::newRow("one image") << QStringList{"x"} << QStringList{"x"} << QStringList{"x"};
}

void ProjectModelTest::sortAlternatesDirectionByCodeUnits()
{
    QFETCH(QStringList, names);
    QFETCH(QStringList, firstSort);
    QFETCH(QStringList, secondSort);
    CProjectModel model;
    FillTrain(model, names);
    model.AddTestImage(MakeImage(100, QStringLiteral("z")));
    model.AddTestImage(MakeImage(101, QStringLiteral("a")));
    QSignalSpy spy(&model, &CProjectModel::signal_ChangeTrainImageList);
    QSignalSpy spyTest(&model, &CProjectModel::signal_ChangeTestImageList);

    model.SortTrainImages();
    QCOMPARE(Names(model.GetTrainImages()), firstSort);
    QCOMPARE(spy.count(), 1);

    model.SortTrainImages();
    QCOMPARE(Names(model.GetTrainImages()), secondSort);
    QCOMPARE(spy.count(), 2);

    model.SortTrainImages();
    QCOMPARE(Names(model.GetTrainImages()), firstSort);
    QCOMPARE(Names(model.GetTestImages()), (QStringList{"z", "a"}));
    QCOMPARE(spyTest.count(), 0);
}

void ProjectModelTest::shuffleReordersOnlyTheTrainingList_data()
{
    QTest::addColumn<int>("count");

    QTest::newRow("empty") << 0;
    QTest::newRow("one image") << 1;
    QTest::newRow("two images") << 2;
    QTest::newRow("many images") << 200;
}

void ProjectModelTest::shuffleReordersOnlyTheTrainingList()
{
    QFETCH(int, count);
    CProjectModel model;
    QStringList lstNames;
    for (int i = 0; i < count; ++i)
    {
        lstNames << QStringLiteral("img%1").arg(i);
    }
    FillTrain(model, lstNames);
    model.AddTestImage(MakeImage(1000, QStringLiteral("t1")));
    model.AddTestImage(MakeImage(1001, QStringLiteral("t0")));
    const auto vctBefore = model.GetTrainImages();
    QSignalSpy spy(&model, &CProjectModel::signal_ChangeTrainImageList);

    model.ShuffleTrainImages();

    QCOMPARE(spy.count(), 1);
    auto vctAfter = model.GetTrainImages();
    QCOMPARE(vctAfter.size(), vctBefore.size());
    // The same entries, not copies of them.
    auto vctSortedBefore = vctBefore;
    std::sort(vctSortedBefore.begin(), vctSortedBefore.end());
    std::sort(vctAfter.begin(), vctAfter.end());
    QVERIFY(vctAfter == vctSortedBefore);
    QCOMPARE(Names(model.GetTestImages()), (QStringList{"t1", "t0"}));
}

void ProjectModelTest::shuffleChangesTheOrder()
{
    CProjectModel model;
    QStringList lstNames;
    for (int i = 0; i < 30; ++i)
    {
        lstNames << QStringLiteral("img%1").arg(i, 2, 10, QLatin1Char('0'));
    }
    FillTrain(model, lstNames);

    // A fresh seed per call: two shuffles of 30 images agree with the original or each other only by a 1 in 30!
    // chance.
    model.ShuffleTrainImages();
    const QStringList lstFirst = Names(model.GetTrainImages());
    model.ShuffleTrainImages();
    const QStringList lstSecond = Names(model.GetTrainImages());

    QVERIFY(lstFirst != lstNames);
    QVERIFY(lstSecond != lstFirst);
}

void ProjectModelTest::commandStateEmitsOnlyOnChange()
{
    CProjectModel model;
    QSignalSpy spy(&model, &CProjectModel::signal_ChangeCommandState);

    model.SetCommandState(ECommandState_Stopped);
    QCOMPARE(spy.count(), 0);
    model.SetCommandState(ECommandState_Starting);
    model.SetCommandState(ECommandState_Starting);
    model.SetCommandState(ECommandState_Running);

    QCOMPARE(spy.count(), 2);
    QCOMPARE(model.GetCommandState(), int(ECommandState_Running));
}

void ProjectModelTest::closeOnlyWhileStopped_data()
{
    QTest::addColumn<int>("state");
    QTest::addColumn<bool>("closes");

    QTest::newRow("stopped") << int(ECommandState_Stopped) << true;
    QTest::newRow("running") << int(ECommandState_Running) << false;
    QTest::newRow("starting") << int(ECommandState_Starting) << false;
}

void ProjectModelTest::closeOnlyWhileStopped()
{
    QFETCH(int, state);
    QFETCH(bool, closes);
    CProjectModel model;
    model.SetProject(QStringLiteral("/p/Birds"), QStringLiteral("Birds"));
    model.SetProjectID(12);
    FillTrain(model, {QStringLiteral("a"), QStringLiteral("b")});
    model.AddTestImage(MakeImage(10, QStringLiteral("t")));
    model.SetCommandState(state);
    QSignalSpy spyClose(&model, &CProjectModel::signal_CloseProject);
    QSignalSpy spyTrain(&model, &CProjectModel::signal_ChangeTrainImageList);
    QSignalSpy spyTest(&model, &CProjectModel::signal_ChangeTestImageList);
    QSignalSpy spyState(&model, &CProjectModel::signal_ChangeCommandState);
    QSignalSpy spyProject(&model, &CProjectModel::signal_ChangeProject);

    model.Close();

    QCOMPARE(spyClose.count(), closes ? 1 : 0);
    QCOMPARE(model.GetTrainImages().size(), size_t(closes ? 0 : 2));
    QCOMPARE(model.GetTestImages().size(), size_t(closes ? 0 : 1));
    QCOMPARE(model.GetProjectDir(), closes ? QString() : QStringLiteral("/p/Birds"));
    QCOMPARE(model.GetProjectName(), closes ? QString() : QStringLiteral("Birds"));
    QCOMPARE(model.GetCommandState(), state);
    QCOMPARE(model.GetProjectID(), 12);
    QCOMPARE(spyTrain.count() + spyTest.count() + spyState.count() + spyProject.count(), 0);
}

void ProjectModelTest::validationEmitsOnFirstCallAndOnChange_data()
{
    QTest::addColumn<QList<bool>>("calls");
    QTest::addColumn<int>("emitted");

    QTest::newRow("first false") << QList<bool>{false} << 1;
    QTest::newRow("false twice") << QList<bool>{false, false} << 1;
    QTest::newRow("true twice") << QList<bool>{true, true} << 1;
    QTest::newRow("flip flop") << QList<bool>{false, true, true, false} << 3;
    QTest::newRow("never") << QList<bool>{} << 0;
}

void ProjectModelTest::validationEmitsOnFirstCallAndOnChange()
{
    QFETCH(QList<bool>, calls);
    QFETCH(int, emitted);
    CDatasetImageEntry entry(MakeImage(1, QStringLiteral("a.jpg")));
    QSignalSpy spy(&entry, &CDatasetImageEntry::signal_ChangeValidation);

    for (bool bValid : calls)
    {
        entry.SetValidation(bValid);
    }

    QCOMPARE(spy.count(), emitted);
    QCOMPARE(entry.IsValid(), !calls.isEmpty() && calls.last());
    QCOMPARE(entry.IsValidationKnown(), !calls.isEmpty());
}

void ProjectModelTest::listCopiesShareValidation()
{
    CProjectModel model;
    FillTrain(model, {QStringLiteral("a"), QStringLiteral("b")});
    const auto vctCopy = model.GetTrainImages();

    model.FindTrainImage(2)->SetValidation(true);

    QVERIFY(!vctCopy[0]->IsValid());
    QVERIFY(vctCopy[1]->IsValid());
}

QTEST_MAIN(ProjectModelTest)
#include "ProjectModelTest.moc"
