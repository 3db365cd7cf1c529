#include "CInsightRun.h"
#include "CLogMark.h"
#include "CTestSandbox.h"

#include "frame/CSetting.h"
#include "project/ECommandState.h"
#include "project/run/CTrainingChartModel.h"
#include "project/run/CTrainingRun.h"
#include "project/run/CTrainingSummaryParser.h"
#include "views/CTrainingChartView.h"

#include <QCheckBox>
#include <QRegularExpression>
#include <QtCharts/QLogValueAxis>
#include <QtCharts/QValueAxis>
#include <QtTest>

#include <cmath>
#include <memory>

// The iteration summaries of the trainer, read from real trainer output and from edge lines, and the chart model
// that follows a run.
class TrainingChartTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<CTestSandbox> m_pSandbox;

    static void Add(CTrainingChartModel& model, int nIteration, double dblLoss, double dblSeconds = 1.0)
    {
        STrainingSummary summary;
        summary.nIteration = nIteration;
        summary.dblLoss = dblLoss;
        summary.dblAverageLoss = dblLoss;
        summary.dblRate = 0.001;
        summary.dblSeconds = dblSeconds;
        model.AddSummary(summary);
    }

private slots:
    void initTestCase() { m_pSandbox = std::make_unique<CTestSandbox>(); }

    void parserReadsSummaryLines_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<bool>("parsed");
        QTest::addColumn<int>("iteration");
        QTest::addColumn<double>("loss");
        QTest::addColumn<double>("average");
        QTest::addColumn<double>("rate");
        QTest::addColumn<double>("seconds");
        QTest::addColumn<qlonglong>("images");

        QTest::newRow("plain") << "12: 845.130127, 850.412354 avg, 0.000000 rate, 0.331950 seconds, 12 images" << true
                               << 12 << 845.130127 << 850.412354 << 0.0 << 0.33195 << 12LL;
        QTest::newRow("blanks around") << "  7: 1.5, 2.5 avg, 0.001000 rate, 3.000000 seconds, 448 images  " << true
                                       << 7 << 1.5 << 2.5 << 0.001 << 3.0 << 448LL;
        QTest::newRow("avg loss and more after images")
            << "3: 2.25, 2.5 avg loss, 0.000100 rate, 1.5 seconds, 192 images, 10.50 hours left" << true << 3 << 2.25
            << 2.5 << 0.0001 << 1.5 << 192LL;
        QTest::newRow("diverged") << "40: -nan, nan avg, 0.001000 rate, 0.2 seconds, 40 images" << true << 40
                                  << double(NAN) << double(NAN) << 0.001 << 0.2 << 40LL;
        // The trainer's region, loading and saving lines are refused in the run test below.
        const auto refused = [](const char* szRow, const char* szLine)
        { QTest::newRow(szRow) << QString(szLine) << false << 0 << 0.0 << 0.0 << 0.0 << 0.0 << 0LL; };
        refused("cut short", "12: 845.130127, 850.412354 avg, 0.000000 rate");
        refused("text before", "x 12: 1.0, 1.0 avg, 0.1 rate, 1.0 seconds, 1 images");
        refused("not a number", "12: abc, 1.0 avg, 0.1 rate, 1.0 seconds, 1 images");
        refused("layer table", "   16 yolo");
        refused("empty", "");
    }

    void parserReadsSummaryLines()
    {
        QFETCH(QString, line);
        QFETCH(bool, parsed);
        STrainingSummary summary;
        summary.nIteration = -1;

        QCOMPARE(CTrainingSummaryParser::Parse(line, summary), parsed);

        if (!parsed)
        {
            QCOMPARE(summary.nIteration, -1);
            return;
        }
        QFETCH(int, iteration);
        QFETCH(double, loss);
        QFETCH(double, average);
        QFETCH(double, rate);
        QFETCH(double, seconds);
        QFETCH(qlonglong, images);
        QCOMPARE(summary.nIteration, iteration);
        QCOMPARE(std::isnan(summary.dblLoss), std::isnan(loss));
        if (!std::isnan(loss))
        {
            QCOMPARE(summary.dblLoss, loss);
            QCOMPARE(summary.dblAverageLoss, average);
        }
        QCOMPARE(summary.dblRate, rate);
        QCOMPARE(summary.dblSeconds, seconds);
        QCOMPARE(summary.nImages, images);
    }

    void chartModelThinsOldPointsKeepingFirstAndRecent_data()
    {
        QTest::addColumn<int>("maxPoints");
        QTest::addColumn<int>("iterations");

        QTest::newRow("below the limit") << 100 << 99;
        QTest::newRow("at the limit") << 100 << 100;
        QTest::newRow("many times the limit") << 100 << 10000;
        QTest::newRow("odd limit") << 33 << 5000;
    }

    void chartModelThinsOldPointsKeepingFirstAndRecent()
    {
        QFETCH(int, maxPoints);
        QFETCH(int, iterations);
        CTrainingChartModel model(maxPoints);
        model.Clear(iterations);

        for (int i = 1; i <= iterations; ++i)
            QVERIFY(model.AddLine(
                QString("%1: %2, %3 avg, 0.001000 rate, 0.5 seconds, %1 images").arg(i).arg(2 * i).arg(4 * i)));

        const QVector<QPointF>& vctLoss = model.LossPoints();
        const QVector<QPointF>& vctAverage = model.AverageLossPoints();
        QVERIFY(vctLoss.size() < maxPoints);
        QCOMPARE(vctAverage.size(), vctLoss.size());
        QCOMPARE(vctLoss.first(), QPointF(1, 2));
        QCOMPARE(vctLoss.last(), QPointF(iterations, 2 * iterations));
        for (int i = 0; i < vctLoss.size(); ++i)
        {
            QCOMPARE(vctAverage[i].x(), vctLoss[i].x());
            QCOMPARE(vctAverage[i].y(), 2.0 * vctLoss[i].y());
            if (i > 0)
                QVERIFY(vctLoss[i].x() > vctLoss[i - 1].x());
        }
        // The newest half of the limit is kept point for point.
        const int nRecent = std::min(iterations, maxPoints / 2);
        QCOMPARE(vctLoss[vctLoss.size() - nRecent].x(), double(iterations - nRecent + 1));
        QCOMPARE(model.Iteration(), iterations);
        QCOMPARE(model.SecondsLeft(), 0.0);
    }

    // A script that prints like a trainer, as fast as it can, with lines that are no summaries between them; the chart
    // listens to the run as the window wires it.
    // The first iterations' losses of hundreds once set the axis and flattened every later point to its floor.
    void lossAxisShowsRecentPointsNotTheFirstHugeOnes_data()
    {
        QTest::addColumn<QVector<double>>("losses"); // iterations 1, 2, ...
        QTest::addColumn<bool>("logarithmic");
        QTest::addColumn<double>("highest"); // the axis's top stays at or below this
        QVector<double> vctSettling;
        for (int i = 1; i <= 300; ++i)
            vctSettling.append(i <= 10 ? 1000.0 / i : 2.0 + 0.5 * std::sin(i));
        QVector<double> vctSpike(300, 1.0);
        vctSpike[250] = 50.0; // older than the newest points, within the recent ones
        QTest::newRow("huge start, then settling") << vctSettling << false << 3.0;
        QTest::newRow("huge start, logarithmic") << vctSettling << true << 4.0;
        QTest::newRow("an old spike among the recent points") << vctSpike << false << 1.5;
        QTest::newRow("a few points, all newest") << QVector<double>({900.0, 500.0, 300.0}) << false << 1000.0;
        QTest::newRow("a few points, logarithmic") << QVector<double>({900.0, 500.0, 0.5}) << true << 1200.0;
    }
    void lossAxisShowsRecentPointsNotTheFirstHugeOnes()
    {
        QFETCH(QVector<double>, losses);
        QFETCH(bool, logarithmic);
        QFETCH(double, highest);
        CTrainingChartModel model;
        CTrainingChartView view(&model);
        view.GetLogAxisBox()->setChecked(logarithmic);
        for (int i = 0; i < losses.size(); ++i)
            Add(model, i + 1, losses[i]);

        view.Refresh();

        double dblMin = 0.0;
        double dblMax = 0.0;
        if (logarithmic)
        {
            auto* pAxis = qobject_cast<QtCharts::QLogValueAxis*>(view.GetLossAxis());
            QVERIFY(pAxis && pAxis->isVisible());
            dblMin = pAxis->min();
            dblMax = pAxis->max();
            QVERIFY(dblMin > 0.0);
        }
        else
        {
            auto* pAxis = qobject_cast<QtCharts::QValueAxis*>(view.GetLossAxis());
            QVERIFY(pAxis && pAxis->isVisible());
            dblMin = pAxis->min();
            dblMax = pAxis->max();
            QVERIFY(dblMin >= 0.0);
        }
        QVERIFY2(dblMax <= highest, qPrintable(QString::number(dblMax)));
        for (int i = std::max(0, losses.size() - 20); i < losses.size(); ++i)
            QVERIFY2(dblMin <= losses[i] && losses[i] <= dblMax,
                     qPrintable(QString("%1 outside %2..%3").arg(losses[i]).arg(dblMin).arg(dblMax)));
    }

    void timeLeftIsClearedWhenTheRunStops()
    {
        CTrainingChartModel model;
        CTrainingChartView view(&model);
        model.Clear(100);
        Add(model, 1, 5.0, 2.0);
        view.Refresh();
        QCOMPARE(view.StatusText(), QString("Iteration 1 / 100   Rate 0.001000   Time left 0:03:18"));

        model.slot_CommandStateChanged(ECommandState_Stopped);
        view.Refresh();

        QCOMPARE(model.SecondsLeft(), -1.0);
        QCOMPARE(view.StatusText(), QString("Iteration 1 / 100   Rate 0.001000"));
        model.Clear(100);
        Add(model, 1, 5.0, 2.0);
        QCOMPARE(model.SecondsLeft(), 198.0);
    }

    void chartModelFollowsTrainerOutputWhileLogKeepsEveryLine()
    {
        const QString strDir = m_pSandbox->Path("fake_trainer");
        QVERIFY(QDir().mkpath(strDir));
        const QString strScript = strDir + "/trainer.sh";
        QVERIFY(InsightRun::WriteText(strScript, "#!/bin/sh\n"
                                                 "echo 'Loaded: 0.000040 seconds'\n"
                                                 "seq 1 3000 | awk '{ printf \"Region 16 Avg IOU: 0.5, count: 1\\n\"; "
                                                 "printf \"%d: %f, %f avg, 0.002000 rate, 0.250000 seconds, %d "
                                                 "images\\n\", $1, 100 / $1, 200 / $1, $1 * 4 }'\n"
                                                 "echo 'Saving weights to Backup/config_final.weights'\n"));
        QVERIFY(QFile::setPermissions(strScript, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        CSetting::Set("TAMSEL_COMMAND_EXE_YOLO3", strScript);
        CSetting::Set("TAMSEL_COMMAND_ARG_YOLO3", QString());
        CTrainingRun run(nullptr);
        CTrainingChartModel model(500);
        connect(&run, &CTrainingRun::signal_Started, &model, &CTrainingChartModel::Clear);
        connect(&run, &CTrainingRun::signal_OutputLine, &model, &CTrainingChartModel::AddLine);
        QSignalSpy states(&run, &CTrainingRun::signal_CommandStateChanged);
        QSignalSpy changes(&model, &CTrainingChartModel::signal_Changed);
        const CLogMark log;

        QVERIFY(run.Start("", strDir, "[net]\nmax_batches = 4000\n"));

        QTRY_VERIFY_WITH_TIMEOUT(run.State() == ECommandState_Stopped && model.Iteration() == 3000, 60000);
        QTRY_COMPARE(states.size(), 3);
        QCOMPARE(states.last()[0].toInt(), int(ECommandState_Stopped));
        QCOMPARE(model.MaxBatches(), 4000);
        QCOMPARE(model.Summaries(), 3000);
        // One change for the start's Clear, then one per summary.
        QCOMPARE(changes.size(), 3001);
        QVERIFY(model.LossPoints().size() < 500);
        QCOMPARE(model.LossPoints().last(), QPointF(3000, 0.033333));
        QCOMPARE(model.Rate(), 0.002);
        QCOMPARE(model.SecondsLeft(), 1000 * 0.25);
        QTRY_VERIFY(log.Lines().contains("[NORMAL] Command Finished with exit code 0"));
        const QStringList lstLog = log.Lines();
        QCOMPARE(lstLog.filter(QRegularExpression("^\\[NORMAL\\] \\d+: [\\d.]+, [\\d.]+ avg, 0.002000 rate")).size(),
                 3000);
        QCOMPARE(lstLog.filter("[NORMAL] Region 16 Avg IOU: 0.5, count: 1").size(), 3000);
        QVERIFY(
            lstLog.contains("[NORMAL] 3000: 0.033333, 0.066667 avg, 0.002000 rate, 0.250000 seconds, 12000 images"));

        model.Clear(10);

        QVERIFY(model.LossPoints().isEmpty());
        QCOMPARE(model.Iteration(), 0);
        QCOMPARE(model.SecondsLeft(), -1.0);
    }
};

int RunTrainingChartTest(int argc, char** argv)
{
    TrainingChartTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "TrainingChartTest.moc"
