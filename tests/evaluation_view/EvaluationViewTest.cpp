#include "EvaluationCase.h"

#include "project/evaluation/CDetectionEvaluator.h"
#include "project/evaluation/CDoubtfulLabelFinder.h"
#include "views/CEvaluationClassTable.h"
#include "views/CEvaluationEntryList.h"
#include "views/CEvaluationView.h"
#include "views/CPrecisionRecallChart.h"

#include <QSignalSpy>
#include <QTabWidget>
#include <QtCharts/QLineSeries>
#include <QtTest>

using namespace EvaluationCase;

namespace
{
CClassFigures Figures(const char* pszName, int nBoxes, double dblAP50)
{
    CClassFigures figures;
    figures.Name = pszName;
    figures.Boxes = nBoxes;
    figures.Detections = nBoxes + 3;
    figures.AP50 = dblAP50;
    figures.AP50To95 = dblAP50 / 2;
    figures.TruePositives = nBoxes / 2;
    figures.Missed = nBoxes - nBoxes / 2;
    return figures;
}

// The evaluation the table test shows and the previous one it is compared with: "car" rose, "person" fell, "bird"
// moved less than the table shows, "cat" is new, "dog" has no boxes any more and "fish" never had any.
void HandMade(CEvaluationResult& result, CEvaluationRecord& newest, CEvaluationRecord& previous)
{
    result.Classes = {Figures("car", 8, 0.75), Figures("person", 4, 0.4), Figures("bird", 2, 0.5),
                      Figures("cat", 6, 0.9),  Figures("dog", 0, 0.0),    Figures("fish", 0, 0.0)};
    result.Curves.resize(result.Classes.size());
    result.Curves[0] = {{0.5, 1.0}, {0.75, 1.0}, {1.0, 0.5}};
    result.ImageCount = 12;
    result.ScoreThreshold = 0.25;
    result.MeanAP50 = 0.64;
    result.MeanAP50To95 = 0.32;
    result.ClassesInMean = 4;
    result.OutsideTable = 3;
    newest = CEvaluationRecord::FromResult(result, "backup/yolo_final.weights",
                                           QDateTime(QDate(2026, 3, 4), QTime(5, 6, 7)));
    previous.Date = QDateTime(QDate(2026, 3, 1), QTime(8, 0, 0));
    previous.Classes = {Figures("car", 8, 0.5), Figures("person", 4, 0.6), Figures("bird", 2, 0.5002),
                        Figures("dog", 3, 0.3), Figures("fish", 0, 0.0)};
}

bool SameDetections(const CDetectionList& actual, const CDetectionList& expected)
{
    if (actual.size() != expected.size())
        return false;
    for (int i = 0; i < actual.size(); ++i)
        if (actual[i].ClassIndex != expected[i].ClassIndex || actual[i].Box != expected[i].Box ||
            actual[i].Score != expected[i].Score)
            return false;
    return true;
}
} // namespace

class EvaluationViewTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { qRegisterMetaType<CDetectionList>(); }

    void tableShowsFiguresAndChanges_data()
    {
        QTest::addColumn<QString>("className");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("text");

        const auto row = [](const char* pszClass, int nColumn, const QString& strText) {
            QTest::newRow(qPrintable(QString("%1 %2").arg(pszClass).arg(nColumn)))
                << QString(pszClass) << nColumn << strText;
        };
        row("car", CEvaluationClassTable::EColumn_Boxes, "8");
        row("car", CEvaluationClassTable::EColumn_AP50, "0.750");
        row("car", CEvaluationClassTable::EColumn_AP50To95, "0.375");
        row("car", CEvaluationClassTable::EColumn_Missed, "4");
        row("car", CEvaluationClassTable::EColumn_Change, QString::fromUtf8("\u2191 was 0.500"));
        row("person", CEvaluationClassTable::EColumn_Change, QString::fromUtf8("\u2193 was 0.600"));
        row("bird", CEvaluationClassTable::EColumn_Change, "= was 0.500");
        row("cat", CEvaluationClassTable::EColumn_Change, "new");
        row("dog", CEvaluationClassTable::EColumn_AP50, "no boxes");
        row("dog", CEvaluationClassTable::EColumn_AP50To95, "not in mean");
        row("dog", CEvaluationClassTable::EColumn_Change, "no boxes now, was 0.300");
        row("fish", CEvaluationClassTable::EColumn_Change, "no boxes");
    }

    void tableShowsFiguresAndChanges()
    {
        QFETCH(QString, className);
        QFETCH(int, column);
        QFETCH(QString, text);
        CEvaluationResult result;
        CEvaluationRecord newest;
        CEvaluationRecord previous;
        HandMade(result, newest, previous);
        CEvaluationView view;

        view.ShowEvaluation(result, {}, newest, &previous);

        QCOMPARE(view.GetClassTable()->CellText(className, CEvaluationClassTable::EColumn(column)), text);
    }

    // Numbers sort as numbers, and a class without boxes below every measured one.
    void sortingByAP50PutsClassesWithoutBoxesLast()
    {
        CEvaluationResult result;
        CEvaluationRecord newest;
        CEvaluationRecord previous;
        HandMade(result, newest, previous);
        result.Classes[1].AP50 = 0.05;
        CEvaluationView view;
        view.ShowEvaluation(result, {}, newest, nullptr);
        CEvaluationClassTable* pTable = view.GetClassTable();

        pTable->sortByColumn(CEvaluationClassTable::EColumn_AP50, Qt::DescendingOrder);

        QStringList lstOrder;
        for (int nRow = 0; nRow < pTable->rowCount(); ++nRow)
            lstOrder << pTable->item(nRow, CEvaluationClassTable::EColumn_Class)->text();
        QCOMPARE(lstOrder.mid(0, 4), QStringList({"cat", "car", "bird", "person"}));
        QCOMPARE(pTable->ClassIndexOfRow(0), 3);
        QCOMPARE(pTable->CellText("car", CEvaluationClassTable::EColumn_Change), QString());
    }

    void headerTellsOverallFigures_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("weights") << "backup/yolo_final.weights";
        QTest::newRow("date") << "2026-03-04 05:06:07";
        QTest::newRow("threshold and images") << "Threshold: 0.250   Images: 12";
        QTest::newRow("means") << "mAP@0.5: 0.640   mAP@0.5:0.95: 0.320   (4 of 6 classes have boxes)";
        QTest::newRow("outside the table") << "3 boxes or detections had a class outside the class table";
    }

    void headerTellsOverallFigures()
    {
        QFETCH(QString, text);
        CEvaluationResult result;
        CEvaluationRecord newest;
        CEvaluationRecord previous;
        HandMade(result, newest, previous);
        CEvaluationView view;

        view.ShowEvaluation(result, {}, newest, &previous);

        QVERIFY2(view.HeaderText().contains(text), qPrintable(view.HeaderText()));
    }

    // Only classes with boxes have a curve, the curve drawn ends where the evaluator's ends, and the class chosen in
    // the table stands out.
    void curvesDrawClassesWithBoxes()
    {
        CEvaluationResult result;
        CEvaluationRecord newest;
        CEvaluationRecord previous;
        HandMade(result, newest, previous);
        CEvaluationView view;

        view.ShowEvaluation(result, {}, newest, nullptr);

        QtCharts::QLineSeries* pCar = view.GetChart()->SeriesOf(0);
        QVERIFY(pCar);
        QCOMPARE(pCar->name(), QString("car"));
        QCOMPARE(pCar->at(pCar->count() - 1), QPointF(1.0, 0.5));
        QVERIFY(!view.GetChart()->SeriesOf(4));
        // Choosing a class in the table draws its curve over the others.
        view.GetClassTable()->setCurrentCell(1, CEvaluationClassTable::EColumn_Class);
        QVERIFY(view.GetChart()->SeriesOf(1)->pen().widthF() > pCar->pen().widthF());
        QVERIFY(pCar->pen().color().alpha() < view.GetChart()->SeriesOf(1)->pen().color().alpha());
        view.Clear();
        QVERIFY(!view.GetChart()->SeriesOf(0));
        QCOMPARE(view.GetClassTable()->rowCount(), 0);
    }

    void doubleClickOpensImageWithItsDetections_data()
    {
        QTest::addColumn<int>("list");
        QTest::addColumn<QString>("firstColumn");
        QTest::addColumn<QString>("imageKey");
        QTest::addColumn<CDetectionList>("detections");

        // The missed box on "b" is offered with the image's false detection, which lies too far off to match it.
        QTest::newRow("missed box") << int(CEvaluationView::EList_Missed) << "cat"
                                    << "b.jpg" << CDetectionList{Detection(0, 5, 0.6f)};
        QTest::newRow("false detection") << int(CEvaluationView::EList_False) << "dog"
                                         << "c.jpg" << CDetectionList{Detection(1, FAR, 0.9f)};
        QTest::newRow("suspect: missing box") << int(CEvaluationView::EList_Suspect) << "probably a missing box"
                                              << "c.jpg" << CDetectionList{Detection(1, FAR, 0.9f)};
        QTest::newRow("suspect: wrong class") << int(CEvaluationView::EList_Suspect) << "probably the wrong class"
                                              << "d.jpg" << CDetectionList{Detection(1, 0, 0.95f)};
        QTest::newRow("suspect: sloppy box") << int(CEvaluationView::EList_Suspect) << "probably a wrong or sloppy box"
                                             << "e.jpg" << CDetectionList();
    }

    void doubleClickOpensImageWithItsDetections()
    {
        QFETCH(int, list);
        QFETCH(QString, firstColumn);
        QFETCH(QString, imageKey);
        QFETCH(CDetectionList, detections);
        const ImageList images{
            {"a.jpg", {Box(0, 0)}, {Detection(0, 0, 0.9f)}},
            {"b.jpg", {Box(0, 0)}, {Detection(0, 5, 0.6f)}},
            {"c.jpg", {Box(0, 0)}, {Detection(0, 0, 0.9f), Detection(1, FAR, 0.9f), Detection(0, 300, 0.7f)}},
            {"d.jpg", {Box(0, 0)}, {Detection(1, 0, 0.95f)}},
            {"e.jpg", {Box(0, 0), Box(1, 100)}, {Detection(0, 0, 0.9f)}},
        };
        CDetectionEvaluator evaluator({"cat", "dog"}, 0.5);
        CDoubtfulLabelFinder finder(0.5);
        CDoubtfulLabelList suspects;
        for (const SImage& image : images)
        {
            evaluator.AddImage(image.Key, image.Boxes, image.Detections);
            suspects += finder.Find(image.Key, image.Boxes, image.Detections);
        }
        const CEvaluationResult result = evaluator.Evaluate();
        CEvaluationView view;
        view.ShowEvaluation(result, suspects, CEvaluationRecord::FromResult(result, "w", QDateTime()), nullptr);
        view.resize(900, 900);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        CEvaluationEntryList* pList = view.GetList(CEvaluationView::EList(list));
        view.GetListTabs()->setCurrentWidget(pList);
        // The entry of that image with that text after its name: the lists hold others too.
        QTreeWidgetItem* pEntry = nullptr;
        for (QTreeWidgetItem* pItem : pList->findItems(imageKey, Qt::MatchExactly, 0))
            if (pItem->text(1) == firstColumn)
                pEntry = pItem;
        QVERIFY(pEntry);
        pList->scrollToItem(pEntry);
        QSignalSpy spy(&view, &CEvaluationView::signal_OpenImage);

        // A widget double click event comes alone; the view expects the press of the same row before it.
        const QPoint point = pList->visualItemRect(pEntry).center();
        QTest::mouseClick(pList->viewport(), Qt::LeftButton, Qt::NoModifier, point);
        QTest::mouseDClick(pList->viewport(), Qt::LeftButton, Qt::NoModifier, point);

        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy[0][0].toString(), imageKey);
        QVERIFY(SameDetections(spy[0][1].value<CDetectionList>(), detections));
    }

    // The training list's check replaces the suspect list and names classes by the table given.
    void trainingSuspectsReplaceTheList()
    {
        CEvaluationView view;
        CDoubtfulLabel suspect;
        suspect.ImageKey = "t.jpg";
        suspect.Rule = EDoubtRule_WrongClass;
        suspect.BoxIndex = 0;
        suspect.Box = Box(0, 0);
        suspect.DetectionIndex = 0;
        suspect.Detection = Detection(1, 0, 0.9f);
        QSignalSpy shown(&view, &CEvaluationView::signal_Shown);

        view.ShowSuspects({suspect}, {"cat", "dog"});

        CEvaluationEntryList* pList = view.GetList(CEvaluationView::EList_Suspect);
        QCOMPARE(pList->topLevelItemCount(), 1);
        QCOMPARE(pList->topLevelItem(0)->text(2), QString("cat"));
        QCOMPARE(pList->topLevelItem(0)->text(3), QString("dog"));
        QCOMPARE(view.GetListTabs()->currentWidget(), pList);
        QCOMPARE(shown.count(), 1);
    }
};

QTEST_MAIN(EvaluationViewTest)
#include "EvaluationViewTest.moc"
