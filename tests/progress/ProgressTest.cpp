#include "progress/CProgressModel.h"
#include "progress/CProgressView.h"

#include <QProgressBar>
#include <QtTest>

#include <memory>

class ProgressTest : public QObject
{
    Q_OBJECT
private slots:
    void barFollowsModel_data();
    void barFollowsModel();
    void viewWithoutModelKeepsBarDefaults();
    void viewOutlivingModelKeepsWhatItShowed();

private:
    // Runs steps "max N" and "value N" on the model.
    static void Run(CProgressModel& model, const QStringList& lstSteps);
    // What the bar shows: "minimum..maximum value text".
    static QString Shown(const CProgressView& view);
};

void ProgressTest::Run(CProgressModel& model, const QStringList& lstSteps)
{
    for (const QString& strStep : lstSteps)
    {
        const QStringList lstWords = strStep.split(' ');
        if (lstWords.value(0) == "max")
            model.SetMaxRange(lstWords.value(1).toInt());
        else
            model.SetValue(lstWords.value(1).toInt());
    }
}

QString ProgressTest::Shown(const CProgressView& view)
{
    const QProgressBar* pBar = view.GetProgressBar();
    return QString("%1..%2 %3 %4").arg(pBar->minimum()).arg(pBar->maximum()).arg(pBar->value()).arg(pBar->text());
}

void ProgressTest::barFollowsModel_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<int>("maxRange");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("maxSignals");
    QTest::addColumn<int>("valueSignals");
    QTest::addColumn<QString>("shown");

    QTest::newRow("untouched") << QStringList() << 100 << 0 << 0 << 0 << "0..100 0 0%";
    QTest::newRow("percentages") << QStringList{"value 10", "value 30"} << 100 << 30 << 0 << 2 << "0..100 30 30%";
    QTest::newRow("equal value emits nothing")
        << QStringList{"value 30", "value 30"} << 100 << 30 << 0 << 1 << "0..100 30 30%";
    QTest::newRow("initial value emits nothing") << QStringList{"value 0"} << 100 << 0 << 0 << 0 << "0..100 0 0%";
    QTest::newRow("initial maximum emits nothing") << QStringList{"max 100"} << 100 << 0 << 0 << 0 << "0..100 0 0%";
    QTest::newRow("equal maximum emits nothing")
        << QStringList{"max 40", "max 40"} << 40 << 0 << 1 << 0 << "0..40 0 0%";
    QTest::newRow("value out of a larger maximum")
        << QStringList{"max 200", "value 50"} << 200 << 50 << 1 << 1 << "0..200 50 25%";
    QTest::newRow("back to zero") << QStringList{"value 100", "value 0"} << 100 << 0 << 0 << 2 << "0..100 0 0%";
    QTest::newRow("value past the maximum shows full")
        << QStringList{"value 30", "value 150"} << 100 << 150 << 0 << 2 << "0..100 100 100%";
    QTest::newRow("negative value shows empty")
        << QStringList{"value 30", "value -5"} << 100 << -5 << 0 << 2 << "0..100 0 0%";
    QTest::newRow("maximum lowered below the value")
        << QStringList{"value 80", "max 50"} << 50 << 80 << 1 << 1 << "0..50 50 100%";
    QTest::newRow("maximum raised over an earlier value")
        << QStringList{"value 150", "max 200"} << 200 << 150 << 1 << 1 << "0..200 150 75%";
    QTest::newRow("zero maximum makes a busy bar")
        << QStringList{"value 30", "max 0"} << 0 << 30 << 1 << 1 << "0..0 0 ";
}

void ProgressTest::barFollowsModel()
{
    QFETCH(QStringList, steps);
    QFETCH(int, maxRange);
    QFETCH(int, value);
    QFETCH(int, maxSignals);
    QFETCH(int, valueSignals);
    QFETCH(QString, shown);
    CProgressModel model;
    CProgressView view(&model);
    QSignalSpy maxSpy(&model, &CProgressModel::signal_MaxRangeChanged);
    QSignalSpy valueSpy(&model, &CProgressModel::signal_ValueChanged);

    Run(model, steps);

    QCOMPARE(model.GetMaxRange(), maxRange);
    QCOMPARE(model.GetValue(), value);
    QCOMPARE(maxSpy.count(), maxSignals);
    QCOMPARE(valueSpy.count(), valueSignals);
    QCOMPARE(Shown(view), shown);
    // A view made afterwards shows the same.
    CProgressView later(&model);
    QCOMPARE(Shown(later), shown);
}

void ProgressTest::viewWithoutModelKeepsBarDefaults()
{
    CProgressView view(nullptr);
    const QString strDefaults = Shown(view);

    view.slot_ChangeMaxRange();
    view.slot_ChangeValue();

    QCOMPARE(strDefaults, QString("0..100 -1 "));
    QCOMPARE(Shown(view), strDefaults);
}

void ProgressTest::viewOutlivingModelKeepsWhatItShowed()
{
    auto pModel = std::make_unique<CProgressModel>();
    CProgressView view(pModel.get());
    Run(*pModel, {"max 50", "value 40"});
    view.GetProgressBar()->setRange(0, 10);
    view.GetProgressBar()->setValue(7);
    pModel.reset();

    view.slot_ChangeMaxRange();
    view.slot_ChangeValue();

    QCOMPARE(Shown(view), QString("0..10 7 70%"));
}

QTEST_MAIN(ProgressTest)
#include "ProgressTest.moc"
