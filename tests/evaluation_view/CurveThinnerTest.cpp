#include "views/CCurveThinner.h"

#include <QtTest>

#include <random>

namespace
{
// A curve as the evaluator makes it: detections in score order, each a hit with the chance given, over nBoxes boxes;
// precision made monotone from the right.
QVector<QPointF> RankedCurve(int nDetections, int nBoxes, double dblHitChance, unsigned int nSeed)
{
    std::mt19937 generator(nSeed);
    std::bernoulli_distribution hit(dblHitChance);
    QVector<QPointF> curve;
    int nHits = 0;
    for (int i = 0; i < nDetections; ++i)
    {
        if (nHits < nBoxes && hit(generator))
            ++nHits;
        curve.append(QPointF(double(nHits) / nBoxes, double(nHits) / (i + 1)));
    }
    for (int i = curve.size() - 2; i >= 0; --i)
        curve[i].setY(std::max(curve[i].y(), curve[i + 1].y()));
    return curve;
}

// Precision falls at every point, recall rises at every point but the last few, which stand at the full recall.
QVector<QPointF> FallingCurve(int nPoints)
{
    QVector<QPointF> curve;
    for (int i = 0; i < nPoints; ++i)
        curve.append(
            QPointF(std::min(1.0, double(i + 1) / (nPoints - 10)), 1.0 - 0.9 * i * i / double(nPoints) / nPoints));
    return curve;
}
} // namespace

class CurveThinnerTest : public QObject
{
    Q_OBJECT

private slots:
    void thinningKeepsEndsAndArea_data()
    {
        QTest::addColumn<QVector<QPointF>>("curve");
        QTest::addColumn<int>("maxPoints");

        QTest::newRow("long curve of many steps") << RankedCurve(20000, 12000, 0.6, 7) << 300;
        QTest::newRow("steps fewer than the limit") << RankedCurve(5000, 40, 0.01, 11) << 300;
        QTest::newRow("falls steeply at the start") << RankedCurve(3000, 3000, 0.05, 3) << 50;
        QTest::newRow("precision falls at every point") << FallingCurve(10000) << 300;
        QTest::newRow("short curve") << RankedCurve(10, 10, 0.5, 5) << 300;
        // Every detection a false one: the whole curve stands at recall 0.
        QTest::newRow("no hit") << RankedCurve(1000, 10, 0.0, 1) << 20;
    }

    void thinningKeepsEndsAndArea()
    {
        QFETCH(QVector<QPointF>, curve);
        QFETCH(int, maxPoints);

        const QVector<QPointF> thinned = CCurveThinner::Thin(curve, maxPoints);

        QVERIFY(thinned.size() <= maxPoints);
        QCOMPARE(thinned.first(), curve.first());
        QCOMPARE(thinned.last(), curve.last());
        QVERIFY2(qAbs(CCurveThinner::Area(thinned) - CCurveThinner::Area(curve)) < 1e-6,
                 qPrintable(QString("%1 against %2")
                                .arg(CCurveThinner::Area(thinned), 0, 'g', 10)
                                .arg(CCurveThinner::Area(curve), 0, 'g', 10)));
        for (int i = 1; i < thinned.size(); ++i)
        {
            QVERIFY(thinned[i].x() >= thinned[i - 1].x());
            QVERIFY(thinned[i].y() <= thinned[i - 1].y() + 1e-12);
        }
    }

    // Drawn as a line, the steps turn at the previous recall: the area under the line is the area under the steps.
    void stepsTurnAtThePreviousRecall()
    {
        const QVector<QPointF> curve{{0.0, 1.0}, {0.5, 1.0}, {0.5, 0.5}, {1.0, 0.5}};

        const QVector<QPointF> expected{{0.0, 1.0}, {0.0, 1.0}, {0.0, 1.0}, {0.5, 1.0},
                                        {0.5, 0.5}, {0.5, 0.5}, {0.5, 0.5}, {1.0, 0.5}};
        QCOMPARE(CCurveThinner::Steps(curve), expected);
    }
};

QTEST_MAIN(CurveThinnerTest)
#include "CurveThinnerTest.moc"
