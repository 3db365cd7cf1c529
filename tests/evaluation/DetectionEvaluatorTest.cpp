#include "EvaluationCase.h"

#include "project/evaluation/CDetectionEvaluator.h"

#include <QtTest>

using namespace EvaluationCase;

namespace
{
const QStringList CLASSES = {"cat", "dog"};

CEvaluationResult Evaluate(const ImageList& images, double dblThreshold)
{
    CDetectionEvaluator evaluator(CLASSES, dblThreshold);
    for (const SImage& image : images)
        evaluator.AddImage(image.Key, image.Boxes, image.Detections);
    return evaluator.Evaluate();
}

// Three cats at x = 0, 20, 40 and five cat detections: the first box found at 0.9 and again at 0.7, a false detection
// at 0.6, the other two boxes found at 0.4.
ImageList ThreeCats()
{
    return {{"a",
             {Box(0, 0), Box(0, 20), Box(0, 40)},
             {Detection(0, 0, 0.9f), Detection(0, 0, 0.7f), Detection(0, FAR, 0.6f), Detection(0, 20, 0.4f),
              Detection(0, 40, 0.4f)}}};
}
} // namespace

// The AP arithmetic on cases worked out by hand; the expected numbers are literal.
class DetectionEvaluatorTest : public QObject
{
    Q_OBJECT

private slots:
    void averagePrecision_data()
    {
        QTest::addColumn<ImageList>("images");
        QTest::addColumn<double>("catAP50");
        QTest::addColumn<double>("catAP50To95");
        QTest::addColumn<double>("meanAP50");

        QTest::newRow("exact detection") << ImageList{{"a", {Box(0, 0)}, {Detection(0, 0, 0.9f)}}} << 1.0 << 1.0 << 1.0;
        // Ranks: TP (P 1, R 1/2), duplicate FP (P 1/2), TP (P 2/3, R 1). Monotone from the right: 1, 2/3, 2/3.
        // AP = 1/2 * 1 + 1/2 * 2/3 = 0.8333. A duplicate counted as found would give 1.
        QTest::newRow("duplicate is a false positive")
            << ImageList{{"a",
                          {Box(0, 0), Box(0, 20)},
                          {Detection(0, 0, 0.9f), Detection(0, 0, 0.8f), Detection(0, 20, 0.7f)}}}
            << 0.833333 << 0.833333 << 0.833333;
        // 3 boxes; ranks TP, FP, FP, TP, TP: P = 1, 1/2, 1/3, 2/4, 3/5 at R = 1/3, 1/3, 1/3, 2/3, 1.
        // Monotone: 1, .6, .6, .6, .6. AP = (1 + .6 + .6) / 3 = 0.7333 (the raw steps would give 0.7).
        QTest::newRow("precision made monotone from the right")
            << ImageList{{"a",
                          {Box(0, 0), Box(0, 20), Box(0, 40)},
                          {Detection(0, 0, 0.9f), Detection(0, FAR, 0.8f), Detection(0, FAR, 0.7f),
                           Detection(0, 20, 0.6f), Detection(0, 40, 0.5f)}}}
            << 0.733333 << 0.733333 << 0.733333;
        QTest::newRow("no detections") << ImageList{{"a", {Box(0, 0)}, {}}} << 0.0 << 0.0 << 0.0;
        // The dog has no box: its detection is listed but the mean is the cat's alone, 1 (not 1/2).
        QTest::newRow("class without boxes left out of the mean")
            << ImageList{{"a", {Box(0, 0)}, {Detection(0, 0, 0.9f), Detection(1, 0, 0.95f)}}} << 1.0 << 1.0 << 1.0;
        // Scores sort across images: the false 0.9 of b comes before the 0.6 of a. P = 0, 1/2 -> AP = 1/2.
        QTest::newRow("ranked by score over all images")
            << ImageList{{"a", {Box(0, 0)}, {Detection(0, 0, 0.6f)}}, {"b", {}, {Detection(0, FAR, 0.9f)}}} << 0.5
            << 0.5 << 0.5;
        // Equal scores go in the order of feeding: the false detection of the earlier image first -> AP 1/2.
        QTest::newRow("tie: earlier image first")
            << ImageList{{"a", {}, {Detection(0, FAR, 0.9f)}}, {"b", {Box(0, 0)}, {Detection(0, 0, 0.9f)}}} << 0.5
            << 0.5 << 0.5;
        // ... and within an image the order of its list: true first -> P 1 at R 1 -> AP 1; false first -> AP 1/2.
        QTest::newRow("tie: true detection listed first")
            << ImageList{{"a", {Box(0, 0)}, {Detection(0, 0, 0.9f), Detection(0, FAR, 0.9f)}}} << 1.0 << 1.0 << 1.0;
        QTest::newRow("tie: false detection listed first")
            << ImageList{{"a", {Box(0, 0)}, {Detection(0, FAR, 0.9f), Detection(0, 0, 0.9f)}}} << 0.5 << 0.5 << 0.5;
        // IoU of (0,0,10,5) with (0,0,10,10) is 50/100 = 0.5: found at IoU 0.5 only, so AP50:95 = (1 + 9 * 0) / 10.
        QTest::newRow("IoU of exactly one half matches")
            << ImageList{{"a", {Box(0, 0)}, {{0, QRectF(0, 0, 10, 5), 0.9f}}}} << 1.0 << 0.1 << 1.0;
        // IoU 85/100 reaches the steps 0.50 to 0.85 exactly: AP50:95 = 8 / 10.
        QTest::newRow("IoU exactly on a step of 0.5:0.95")
            << ImageList{{"a", {Box(0, 0)}, {{0, QRectF(0, 0, 10, 8.5), 0.9f}}}} << 1.0 << 0.8 << 1.0;
        // The first detection lies on the second box (IoU 1) and on the first at 0.667: it takes the second, and the
        // other detection the first, at every IoU. Taking the first box above the IoU would leave one unfound from 0.7.
        QTest::newRow("box of highest IoU is taken")
            << ImageList{{"a", {Box(0, 0), Box(0, 2)}, {Detection(0, 2, 0.9f), Detection(0, 0, 0.8f)}}} << 1.0 << 1.0
            << 1.0;
        // Shifts 1 and 2 overlap at 0.818 and 0.667: found at 7 of the 10 IoUs (0.50 to 0.80) and at 4 (0.50 to
        // 0.65). AP at each IoU: 1 for the first 4, then P = 1, 1/2 at R = 1/2 for 3 -> 1/2, then 0 for 3.
        // AP50:95 = (4 * 1 + 3 * 0.5 + 3 * 0) / 10 = 0.55.
        QTest::newRow("0.5:0.95 over ten IoUs")
            << ImageList{{"a", {Box(0, 0), Box(0, 20)}, {Detection(0, 1, 0.9f), Detection(0, 22, 0.8f)}}} << 1.0 << 0.55
            << 1.0;
        // Boxes at 0 and 3 overlap at 0.538. Both detections lie on the box at 0: the second one's box of highest IoU
        // is taken, so it is a false positive although the box at 3 is unmatched and reaches 0.538. At every IoU:
        // P = 1 at R = 1/2, then a false one -> AP = 1/2.
        QTest::newRow("second detection of a taken box is false though another box reaches the IoU")
            << ImageList{{"a", {Box(0, 0), Box(0, 3)}, {Detection(0, 0, 0.9f), Detection(0, 0, 0.8f)}}} << 0.5 << 0.5
            << 0.5;
    }
    void averagePrecision()
    {
        QFETCH(ImageList, images);
        QFETCH(double, catAP50);
        QFETCH(double, catAP50To95);
        QFETCH(double, meanAP50);

        const CEvaluationResult result = Evaluate(images, 0.5);

        QCOMPARE(result.Classes.size(), CLASSES.size());
        QVERIFY(qAbs(result.Classes[0].AP50 - catAP50) < 1e-6);
        QVERIFY(qAbs(result.Classes[0].AP50To95 - catAP50To95) < 1e-6);
        QVERIFY(qAbs(result.MeanAP50 - meanAP50) < 1e-6);
        // With the cat the only class with boxes, the means are the cat's.
        QVERIFY(qAbs(result.MeanAP50To95 - catAP50To95) < 1e-6);
        QCOMPARE(result.ClassesInMean, 1);
    }

    void classWithoutBoxesIsListedWithItsDetections()
    {
        const CEvaluationResult result = Evaluate(
            {{"a", {Box(0, 0)}, {Detection(0, 0, 0.9f), Detection(1, 0, 0.95f), Detection(1, 20, 0.2f)}}}, 0.5);

        const CClassFigures& dog = result.Classes[1];
        QCOMPARE(dog.Name, QString("dog"));
        QVERIFY(!dog.HasBoxes());
        QCOMPARE(dog.Detections, 2);
        QCOMPARE(dog.FalsePositives, 1);
        QCOMPARE(dog.AP50, 0.0);
        QVERIFY(result.Curves[1].isEmpty());
        // Overall, the dog's false detection counts: 1 true, 1 false.
        QCOMPARE(result.Precision, 0.5);
        QCOMPARE(result.Recall, 1.0);
    }

    // One set of boxes and detections, cut at several thresholds.
    void figuresAtThreshold_data()
    {
        QTest::addColumn<double>("threshold");
        QTest::addColumn<int>("truePositives");
        QTest::addColumn<int>("falsePositives");
        QTest::addColumn<int>("missed");
        QTest::addColumn<double>("precision");
        QTest::addColumn<double>("recall");
        QTest::addColumn<double>("f1");

        QTest::newRow("above every score") << 0.95 << 0 << 0 << 3 << 0.0 << 0.0 << 0.0;
        // 0.9 only: P 1, R 1/3, F1 = 2 * 1/3 / (4/3) = 1/2.
        QTest::newRow("0.8") << 0.8 << 1 << 0 << 2 << 1.0 << 0.333333 << 0.5;
        // 0.9 and its duplicate 0.7: P 1/2, R 1/3, F1 = (1/3) / (5/6) = 0.4. A score of 0.7f counts at 0.7.
        QTest::newRow("threshold equal to a score") << 0.7 << 1 << 1 << 2 << 0.5 << 0.333333 << 0.4;
        // Plus the false 0.6: P 1/3, R 1/3, F1 1/3. The boxes found at 0.4 stay missed.
        QTest::newRow("0.5") << 0.5 << 1 << 2 << 2 << 0.333333 << 0.333333 << 0.333333;
        // All five: P 3/5, R 1, F1 = 1.2 / 1.6 = 0.75.
        QTest::newRow("0.4") << 0.4 << 3 << 2 << 0 << 0.6 << 1.0 << 0.75;
    }
    void figuresAtThreshold()
    {
        QFETCH(double, threshold);

        const CEvaluationResult result = Evaluate(ThreeCats(), threshold);

        const CClassFigures& cat = result.Classes[0];
        QTEST(cat.TruePositives, "truePositives");
        QTEST(cat.FalsePositives, "falsePositives");
        QTEST(cat.Missed, "missed");
        QFETCH(double, precision);
        QFETCH(double, recall);
        QFETCH(double, f1);
        QVERIFY(qAbs(cat.Precision - precision) < 1e-6);
        QVERIFY(qAbs(cat.Recall - recall) < 1e-6);
        QVERIFY(qAbs(cat.F1 - f1) < 1e-6);
        QCOMPARE(result.TruePositives, cat.TruePositives);
        QVERIFY(qAbs(result.F1 - f1) < 1e-6);
    }

    void imageListsHoldMissedBoxesAndFalseDetections()
    {
        ImageList images = ThreeCats();
        images.append({"clean", {Box(0, 0)}, {Detection(0, 0, 0.9f)}});

        const CEvaluationResult result = Evaluate(images, 0.5);

        // Only the image with something to show; the boxes found below the threshold are missed there.
        QCOMPARE(result.Images.size(), 1);
        const CImageEvaluation& image = result.Images[0];
        QCOMPARE(image.ImageKey, QString("a"));
        QCOMPARE(image.MissedBoxes.size(), 2);
        QCOMPARE(image.MissedBoxes[0].Box, QRectF(20, 0, 10, 10));
        QCOMPARE(image.MissedBoxes[1].Box, QRectF(40, 0, 10, 10));
        QCOMPARE(image.FalseDetections.size(), 2);
        QCOMPARE(image.FalseDetections[0].Score, 0.7f);
        QCOMPARE(image.FalseDetections[1].Score, 0.6f);
    }

    // The chart draws the steps whose area is the AP: the case "precision made monotone from the right".
    void curveIsTheMonotoneSteps()
    {
        const CEvaluationResult result =
            Evaluate({{"a",
                       {Box(0, 0), Box(0, 20), Box(0, 40)},
                       {Detection(0, 0, 0.9f), Detection(0, FAR, 0.8f), Detection(0, FAR, 0.7f), Detection(0, 20, 0.6f),
                        Detection(0, 40, 0.5f)}}},
                     0.5);

        const QVector<QPointF> expected = {{1 / 3.0, 1.0}, {1 / 3.0, 0.6}, {1 / 3.0, 0.6}, {2 / 3.0, 0.6}, {1.0, 0.6}};
        QCOMPARE(result.Curves[0], expected);
    }

    void boxesAndDetectionsOutsideTheTableAreCountedApart()
    {
        const CEvaluationResult result =
            Evaluate({{"a", {Box(0, 0), Box(5, 20)}, {Detection(0, 0, 0.9f), Detection(-1, 20, 0.9f)}}}, 0.5);

        QCOMPARE(result.OutsideTable, 2);
        QCOMPARE(result.Classes[0].AP50, 1.0);
        QCOMPARE(result.Missed, 0);
    }
};

QTEST_MAIN(DetectionEvaluatorTest)
#include "DetectionEvaluatorTest.moc"
