#include "EvaluationCase.h"

#include "project/evaluation/CDoubtfulLabelFinder.h"

#include <QtTest>

using namespace EvaluationCase;

namespace
{
// "<rule> b<box index> d<detection index>", -1 where the entry has none.
QString Describe(const CDoubtfulLabel& suspect)
{
    static const char* RULES[] = {"wrong class", "missing box", "sloppy box"};
    return QString("%1 b%2 d%3").arg(RULES[suspect.Rule]).arg(suspect.BoxIndex).arg(suspect.DetectionIndex);
}
} // namespace

// One row per rule where it fires and rows where it must not; the user's threshold is 0.5.
class DoubtfulLabelFinderTest : public QObject
{
    Q_OBJECT

private slots:
    void suspects_data()
    {
        QTest::addColumn<CLabelledBoxList>("boxes");
        QTest::addColumn<CDetectionList>("detections");
        QTest::addColumn<QStringList>("expected");

        QTest::newRow("wrong class") << CLabelledBoxList{Box(1, 0)} << CDetectionList{Detection(0, 0, 0.9f)}
                                     << QStringList{"wrong class b0 d0"};
        // A cat on a dog's box, but also on a cat's box (IoU 0.818): two objects, no fault.
        QTest::newRow("not wrong class when its own class is there too")
            << CLabelledBoxList{Box(1, 0), Box(0, 1)} << CDetectionList{Detection(0, 0, 0.9f), Detection(1, 0, 0.6f)}
            << QStringList();
        QTest::newRow("not wrong class below the sure score")
            << CLabelledBoxList{Box(1, 0)} << CDetectionList{Detection(0, 0, 0.79f)} << QStringList();
        QTest::newRow("missing box") << CLabelledBoxList{Box(0, 0)}
                                     << CDetectionList{Detection(0, 0, 0.9f), Detection(0, FAR, 0.85f)}
                                     << QStringList{"missing box b-1 d1"};
        // A dog's box at IoU 0.333 >= 0.3: something is labelled there (and below 0.5, not a wrong class).
        QTest::newRow("not missing when any box is near")
            << CLabelledBoxList{Box(1, 0)} << CDetectionList{Detection(0, 5, 0.9f)} << QStringList();
        // The third box is reached only at IoU 0.25 while both others are found.
        QTest::newRow("sloppy box") << CLabelledBoxList{Box(0, 0), Box(1, 20), Box(0, 40)}
                                    << CDetectionList{Detection(0, 0, 0.6f), Detection(1, 20, 0.6f),
                                                      Detection(0, 46, 0.6f)}
                                    << QStringList{"sloppy box b2 d-1"};
        QTest::newRow("sloppy box reached only by another class")
            << CLabelledBoxList{Box(0, 0), Box(1, 20)} << CDetectionList{Detection(0, 0, 0.6f), Detection(0, 20, 0.6f)}
            << QStringList{"sloppy box b1 d-1"};
        QTest::newRow("not sloppy when another box is not found either")
            << CLabelledBoxList{Box(0, 0), Box(0, 20), Box(0, 40)} << CDetectionList{Detection(0, 0, 0.6f)}
            << QStringList();
        QTest::newRow("not sloppy as the only box") << CLabelledBoxList{Box(0, 0)} << CDetectionList() << QStringList();
        // The other box is reached, but below the user's threshold: the model does not find it.
        QTest::newRow("not sloppy when the others are found below the threshold")
            << CLabelledBoxList{Box(0, 0), Box(0, 20)} << CDetectionList{Detection(0, 0, 0.4f)} << QStringList();
    }
    void suspects()
    {
        QFETCH(CLabelledBoxList, boxes);
        QFETCH(CDetectionList, detections);

        const CDoubtfulLabelList suspects = CDoubtfulLabelFinder(0.5).Find("img", boxes, detections);

        QStringList found;
        for (const CDoubtfulLabel& suspect : suspects)
        {
            QCOMPARE(suspect.ImageKey, QString("img"));
            if (suspect.BoxIndex >= 0)
                QCOMPARE(suspect.Box.Box, boxes[suspect.BoxIndex].Box);
            if (suspect.DetectionIndex >= 0)
                QCOMPARE(suspect.Detection.Box, detections[suspect.DetectionIndex].Box);
            found << Describe(suspect);
        }
        QTEST(found, "expected");
    }
};

QTEST_MAIN(DoubtfulLabelFinderTest)
#include "DoubtfulLabelFinderTest.moc"
