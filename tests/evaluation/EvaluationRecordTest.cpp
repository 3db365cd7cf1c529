#include "EvaluationCase.h"

#include "project/evaluation/CDetectionEvaluator.h"
#include "project/evaluation/CEvaluationComparison.h"
#include "project/evaluation/CEvaluationRecord.h"
#include "project/evaluation/CEvaluationStore.h"
#include "project/store/CProjectLayout.h"

#include <QtTest>

Q_DECLARE_METATYPE(CClassFigures)

using namespace EvaluationCase;

namespace
{
const QDateTime FIRST(QDate(2026, 3, 1), QTime(10, 0, 0, 250), Qt::UTC);

CEvaluationRecord Record(const QDateTime& date, const QString& strWeights)
{
    CDetectionEvaluator evaluator({"cat", "dog", "bird"}, 0.5);
    evaluator.AddImage("a", {Box(0, 0), Box(1, 20)}, {Detection(0, 0, 0.9f), Detection(1, 22, 0.7f)});
    return CEvaluationRecord::FromResult(evaluator.Evaluate(), strWeights, date);
}

CClassFigures Figures(const QString& strName, int nBoxes, double dblAP50)
{
    CClassFigures figures;
    figures.Name = strName;
    figures.Boxes = nBoxes;
    figures.AP50 = dblAP50;
    return figures;
}
} // namespace

class EvaluationRecordTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString Folder() const { return CProjectLayout(m_dir.path(), "p").EvaluationFolder(); }

private slots:
    void cleanup() { QDir(Folder()).removeRecursively(); }

    void savedRecordReadsBackWhole()
    {
        const CEvaluationRecord saved = Record(FIRST, "/w/config_1000.weights");
        CEvaluationStore store(Folder());
        QString strError;

        const QString strPath = store.Save(saved, strError);
        const QVector<CEvaluationRecord> loaded = store.LoadNewest(1);

        QCOMPARE(strPath, Folder() + "/evaluation_20260301-100000-250.json");
        QCOMPARE(loaded.size(), 1);
        QCOMPARE(loaded[0].ToJson(), saved.ToJson());
        QCOMPARE(loaded[0].Date, FIRST);
        QCOMPARE(loaded[0].WeightsPath, QString("/w/config_1000.weights"));
        QCOMPARE(loaded[0].Classes.size(), 3);
        QCOMPARE(loaded[0].Classes[1].Name, QString("dog"));
        QVERIFY(store.Skipped().isEmpty());
    }

    // Two of the same millisecond (neither overwrites the other) and one later: newest first, the later saved of the
    // same millisecond next; the count keeps the newest.
    void newestComeFirst()
    {
        CEvaluationStore store(Folder());
        QString strError;
        QVERIFY(!store.Save(Record(FIRST, "one"), strError).isEmpty());
        QVERIFY(!store.Save(Record(FIRST, "two"), strError).isEmpty());
        QVERIFY(!store.Save(Record(FIRST.addSecs(3600), "three"), strError).isEmpty());

        const QVector<CEvaluationRecord> all = store.LoadNewest(5);
        const QVector<CEvaluationRecord> two = store.LoadNewest(2);

        QStringList weights;
        for (const CEvaluationRecord& record : all)
            weights << record.WeightsPath;
        QCOMPARE(weights, QStringList({"three", "two", "one"}));
        QCOMPARE(two.size(), 2);
        QCOMPARE(two[1].WeightsPath, QString("two"));
    }

    void brokenRecordIsSkippedWithItsReason_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("reason");

        QTest::newRow("not JSON") << QByteArray("{\"version\": 1,") << "not JSON";
        QTest::newRow("an array") << QByteArray("[1, 2]") << "not a JSON object";
        QTest::newRow("a key missing") << QByteArray("{\"version\": 1}") << "\"weights\" is not a string";
        QTest::newRow("a class of the wrong type")
            << Record(FIRST, "w").ToJson().replace("\"name\": \"dog\"", "\"name\": 3")
            << "\"name\" of class 1 is not a string";
        QTest::newRow("a date that is none")
            << Record(FIRST, "w").ToJson().replace("2026-03-01", "yesterday") << "\"date\" is not a date";
    }
    void brokenRecordIsSkippedWithItsReason()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, reason);
        CEvaluationStore store(Folder());
        QString strError;
        QVERIFY(!store.Save(Record(FIRST, "good"), strError).isEmpty());
        // The broken one is the newest.
        const QString strBroken = CProjectLayout::EvaluationFileName(FIRST.addDays(1));
        QFile file(Folder() + "/" + strBroken);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
        file.close();

        const QVector<CEvaluationRecord> loaded = store.LoadNewest(2);

        QCOMPARE(loaded.size(), 1);
        QCOMPARE(loaded[0].WeightsPath, QString("good"));
        QCOMPARE(store.Skipped().size(), 1);
        QVERIFY2(store.Skipped()[0].startsWith(strBroken + ": " + reason), qPrintable(store.Skipped()[0]));
    }

    void classesCompareByName_data()
    {
        QTest::addColumn<CClassFigures>("newest");
        QTest::addColumn<int>("change");
        QTest::addColumn<double>("previous");

        // The previous evaluation: cat 0.5, dog 0.5, bird without boxes (no fish at all).
        QTest::newRow("up") << Figures("cat", 2, 0.6) << int(EClassChange_Up) << 0.5;
        QTest::newRow("down") << Figures("cat", 2, 0.4) << int(EClassChange_Down) << 0.5;
        QTest::newRow("same within the tolerance") << Figures("dog", 2, 0.5004) << int(EClassChange_Same) << 0.5;
        QTest::newRow("just beyond the tolerance") << Figures("dog", 2, 0.4994) << int(EClassChange_Down) << 0.5;
        QTest::newRow("new class") << Figures("fish", 1, 0.3) << int(EClassChange_New) << 0.0;
        QTest::newRow("class measured for the first time") << Figures("bird", 1, 0.3) << int(EClassChange_New) << 0.0;
        QTest::newRow("class without boxes now") << Figures("cat", 0, 0.0) << int(EClassChange_Unmeasured) << 0.5;
    }
    void classesCompareByName()
    {
        QFETCH(CClassFigures, newest);
        CEvaluationRecord previous;
        previous.Classes = {Figures("bird", 0, 0.0), Figures("dog", 3, 0.5), Figures("cat", 3, 0.5)};
        CEvaluationRecord latest;
        latest.Classes = {newest};

        const QVector<CClassChange> changes = CEvaluationComparison::Compare(latest, previous);

        QCOMPARE(changes.size(), 1);
        QCOMPARE(changes[0].Name, newest.Name);
        QTEST(int(changes[0].Change), "change");
        QTEST(changes[0].Previous, "previous");
        QCOMPARE(changes[0].Newest, newest.AP50);
    }
};

QTEST_MAIN(EvaluationRecordTest)
#include "EvaluationRecordTest.moc"
