#include "CDarknetWeightsWriter.h"
#include "CInferenceTestFiles.h"

#include "project/inference/CDetectionModel.h"
#include "project/inference/CWeightsChoice.h"

#include <QDateTime>
#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

using namespace InferenceTestFiles;

// What the model and the weights choice make of the files a project may hold: each bad one gets its message and no
// network; a loaded network is read again only when its files change.
class DetectionInputsTest : public QObject
{
    Q_OBJECT
private slots:
    void badModelGivesMessageAndNoNetwork_data();
    void badModelGivesMessageAndNoNetwork();
    void unchangedFilesKeepLoadedNetwork();
    void weightsChoiceTakesNewestOrChosen_data();
    void weightsChoiceTakesNewestOrChosen();
    void undecodableImageGivesMessage();
    void oneRowOrColumnAfterScalingStillDetects_data();
    void oneRowOrColumnAfterScalingStillDetects();
};

void DetectionInputsTest::badModelGivesMessageAndNoNetwork_data()
{
    QTest::addColumn<QByteArray>("config");
    QTest::addColumn<QByteArray>("weightsConfig");
    QTest::addColumn<int>("missingFloats");
    QTest::addColumn<QString>("message");

    const QByteArray small = SmallConfiguration();
    QTest::newRow("missing config.txt") << QByteArray() << small << 0
                                        << "The network configuration %1 is missing: build the project first.";
    QTest::newRow("unrunnable configuration")
        << QByteArray("[net]\nwidth=64\nheight=64\nchannels=3\n\n[lstm]\noutput=4\n") << small << 0
        << "The network configuration %1 cannot be run: ";
    QTest::newRow("weights of another class count")
        << small << SmallConfiguration(80) << 0 << "The weights %2 do not fit the configuration %1: ";
    QTest::newRow("truncated weights") << small << small << 100 << "The weights %2 do not fit the configuration %1: ";
}

void DetectionInputsTest::badModelGivesMessageAndNoNetwork()
{
    QFETCH(QByteArray, config);
    QFETCH(QByteArray, weightsConfig);
    QFETCH(int, missingFloats);
    QFETCH(QString, message);
    QTemporaryDir dir;
    const QString strConfig = dir.filePath("config.txt");
    const QString strWeights = dir.filePath("model.weights");
    QVERIFY(config.isEmpty() || WriteFile(strConfig, config));
    QVERIFY(CDarknetWeightsWriter::Write(weightsConfig, strWeights, 1, missingFloats));

    CDetectionModel model;
    QVERIFY(!model.Load(strConfig, strWeights));

    const QString strExpected = message.replace("%1", strConfig).replace("%2", strWeights);
    QVERIFY2(model.ErrorText().startsWith(strExpected), qPrintable(model.ErrorText()));
    QVERIFY(!model.IsLoaded());
    CDetectionList lstDetections{{0, QRectF(1, 1, 1, 1), 1.0f}};
    QVERIFY(!model.DetectFile(QString(SAMPLE_FOLDER) + "dog.jpg", 0.25f, lstDetections));
    QVERIFY(lstDetections.isEmpty());
}

void DetectionInputsTest::unchangedFilesKeepLoadedNetwork()
{
    QTemporaryDir dir;
    const QString strConfig = dir.filePath("config.txt");
    const QString strWeights = dir.filePath("model.weights");
    QVERIFY(WriteFile(strConfig, SmallConfiguration()));
    QVERIFY(CDarknetWeightsWriter::Write(SmallConfiguration(), strWeights, 1));
    CDetectionModel model;
    QVERIFY(model.Load(strConfig, strWeights));
    QVERIFY(model.Load(strConfig, strWeights));
    QCOMPARE(model.LoadCount(), 1);

    // Other weights of the same size, written later: only the time tells them apart.
    QVERIFY(CDarknetWeightsWriter::Write(SmallConfiguration(), strWeights, 2));
    QFile file(strWeights);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(10), QFileDevice::FileModificationTime));
    file.close();
    QVERIFY(model.Load(strConfig, strWeights));
    QCOMPARE(model.LoadCount(), 2);
}

void DetectionInputsTest::weightsChoiceTakesNewestOrChosen_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("expected");

    // Files are written oldest first, a minute apart; the name order runs the other way.
    QTest::newRow("no weights") << QStringList() << QString() << QString();
    QTest::newRow("newest by time") << QStringList{"config_900.weights", "config_100.weights", "notes.txt"} << QString()
                                    << "config_100.weights";
    QTest::newRow("chosen overrides") << QStringList{"config_100.weights", "config_900.weights"} << "config_100.weights"
                                      << "config_100.weights";
}

void DetectionInputsTest::weightsChoiceTakesNewestOrChosen()
{
    QFETCH(QStringList, files);
    QFETCH(QString, chosen);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    const CProjectLayout layout(dir.path(), "project");
    QVERIFY(QDir().mkpath(layout.BackupFolder()));
    const QDateTime start = QDateTime::currentDateTime().addDays(-1);
    for (int i = 0; i < files.size(); ++i)
    {
        QFile file(QDir(layout.BackupFolder()).filePath(files[i]));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.setFileTime(start.addSecs(60 * i), QFileDevice::FileModificationTime));
    }
    CWeightsChoice choice(layout);
    if (!chosen.isEmpty())
        choice.Choose(QDir(layout.BackupFolder()).filePath(chosen));

    const QString strWeights = choice.Resolve();

    if (expected.isEmpty())
    {
        QVERIFY(strWeights.isEmpty());
        QCOMPARE(choice.ErrorText(), "No trained weights in " + layout.BackupFolder());
        return;
    }
    QCOMPARE(strWeights, QDir(layout.BackupFolder()).filePath(expected));
    QCOMPARE(choice.ErrorText(), QString());
    const QString strDate = QFileInfo(strWeights).lastModified().toString("yyyy-MM-dd hh:mm:ss");
    QCOMPARE(CWeightsChoice::ModelText(strWeights), "Model: " + strWeights + " (" + strDate + ")");
}

void DetectionInputsTest::undecodableImageGivesMessage()
{
    QTemporaryDir dir;
    const QString strConfig = dir.filePath("config.txt");
    const QString strWeights = dir.filePath("model.weights");
    const QString strImage = dir.filePath("broken.jpg");
    QVERIFY(WriteFile(strConfig, SmallConfiguration()));
    QVERIFY(CDarknetWeightsWriter::Write(SmallConfiguration(), strWeights, 1));
    QVERIFY(WriteFile(strImage, "\xff\xd8 not a picture"));
    CDetectionModel model;
    QVERIFY(model.Load(strConfig, strWeights));

    CDetectionList lstDetections;
    QVERIFY(!model.DetectFile(strImage, 0.25f, lstDetections));

    QCOMPARE(model.ErrorText(), QString("The image %1 does not decode.").arg(strImage));
    QVERIFY(model.IsLoaded());
}

void DetectionInputsTest::oneRowOrColumnAfterScalingStillDetects_data()
{
    QTest::addColumn<QSize>("size");
    // Into the 128 x 96 input these scale to 128 x 1 and 1 x 96: the resampling has no scale along that side.
    QTest::newRow("one row") << QSize(300, 3);
    QTest::newRow("one column") << QSize(3, 400);
}

void DetectionInputsTest::oneRowOrColumnAfterScalingStillDetects()
{
    QFETCH(QSize, size);
    QTemporaryDir dir;
    const QString strConfig = dir.filePath("config.txt");
    const QString strWeights = dir.filePath("model.weights");
    QVERIFY(WriteFile(strConfig, SmallConfiguration()));
    QVERIFY(CDarknetWeightsWriter::Write(SmallConfiguration(), strWeights, 1));
    CDetectionModel model;
    QVERIFY(model.Load(strConfig, strWeights));
    QImage image(size, QImage::Format_RGB888);
    image.fill(Qt::white);

    CDetectionList lstDetections;
    QVERIFY(model.Detect(image, CDetectionModel::VALID_THRESHOLD, lstDetections));

    const QRectF imageRect(QPointF(0, 0), QSizeF(size));
    for (const CDetection& detection : lstDetections)
        QVERIFY(imageRect.contains(detection.Box) || detection.Box.isEmpty());
}

int RunDetectionInputsTest(int argc, char** argv)
{
    DetectionInputsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "DetectionInputsTest.moc"
