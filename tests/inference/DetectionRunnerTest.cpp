#include "CDarknetWeightsWriter.h"
#include "CInferenceTestFiles.h"

#include "project/inference/CDetectionRunner.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using namespace InferenceTestFiles;

// The runner on its worker thread: results arrive on the caller's thread, a cancel ends the run at once, a file
// that does not decode is skipped and counted, and the loaded network serves the next run.
class DetectionRunnerTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void undecodableImageIsSkippedAndCounted();
    void cancelEndsRunAndNextRunReusesModel();

private:
    QTemporaryDir m_dir;
    QString m_strConfig;
    QString m_strWeights;
    QString m_strImage;
};

void DetectionRunnerTest::initTestCase()
{
    m_strConfig = m_dir.filePath("config.txt");
    m_strWeights = m_dir.filePath("model.weights");
    m_strImage = QString(SAMPLE_FOLDER) + "dog.jpg";
    QVERIFY(WriteFile(m_strConfig, SmallConfiguration()));
    QVERIFY(CDarknetWeightsWriter::Write(SmallConfiguration(), m_strWeights, 1));
}

void DetectionRunnerTest::undecodableImageIsSkippedAndCounted()
{
    const QString strBroken = m_dir.filePath("broken.png");
    QVERIFY(WriteFile(strBroken, "not a picture"));
    CDetectionRunner runner;
    QSignalSpy detected(&runner, &CDetectionRunner::signal_ImageDetected);
    QSignalSpy skipped(&runner, &CDetectionRunner::signal_ImageSkipped);
    QSignalSpy finished(&runner, &CDetectionRunner::signal_Finished);

    QVERIFY(runner.Start(m_strConfig, m_strWeights, {{1, m_strImage}, {2, strBroken}, {3, m_strImage}}, 0.25f));
    QVERIFY(finished.wait(60000));

    QCOMPARE(finished.first(), (QVariantList{false, 1}));
    QCOMPARE(skipped.size(), 1);
    QCOMPARE(skipped.first().first().toInt(), 2);
    QVERIFY(skipped.first().last().toString().contains("does not decode"));
    QCOMPARE(detected.size(), 2);
    QCOMPARE(detected.at(0).first().toInt(), 1);
    QCOMPARE(detected.at(1).first().toInt(), 3);
    QVERIFY(!runner.IsRunning());
}

void DetectionRunnerTest::cancelEndsRunAndNextRunReusesModel()
{
    CDetectionRunner runner;
    QSignalSpy loaded(&runner, &CDetectionRunner::signal_ModelLoaded);
    QSignalSpy detected(&runner, &CDetectionRunner::signal_ImageDetected);
    QSignalSpy finished(&runner, &CDetectionRunner::signal_Finished);
    QVector<CDetectionRunner::SImage> vctLong;
    for (int i = 0; i < 500; ++i)
        vctLong.append({i, m_strImage});
    QVERIFY(runner.Start(m_strConfig, m_strWeights, vctLong, 0.25f));
    QVERIFY(detected.wait(60000));

    runner.Cancel();

    QCOMPARE(finished.size(), 1);
    QCOMPARE(finished.first().first().toBool(), true);
    QVERIFY(!runner.IsRunning());
    // The next run starts once the worker leaves the image it was on; nothing more of the cancelled run arrives.
    const int nBefore = detected.size();
    QVERIFY(runner.Start(m_strConfig, m_strWeights, {{1000, m_strImage}}, 0.25f));
    QVERIFY(finished.wait(5000));
    QCOMPARE(finished.last().first().toBool(), false);
    QCOMPARE(detected.size(), nBefore + 1);
    QCOMPARE(detected.last().first().toInt(), 1000);
    QVERIFY(nBefore < vctLong.size());
    QCOMPARE(loaded.size(), 1);
}

int RunDetectionRunnerTest(int argc, char** argv)
{
    DetectionRunnerTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "DetectionRunnerTest.moc"
