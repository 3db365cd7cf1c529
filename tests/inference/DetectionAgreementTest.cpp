#include "CDarknetWeightsWriter.h"
#include "CInferenceTestFiles.h"

#include "project/inference/CDetectionModel.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

// The program's detections for the package's sample images equal what the installed trainer's "detector valid"
// writes for the same configuration and weights.
class DetectionAgreementTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void detectionsEqualTrainerValid_data();
    void detectionsEqualTrainerValid();

private:
    // Detections of "detector valid" per image name, with boxes moved from its 1-based pixels to ours.
    QHash<QString, CDetectionList> m_mapValid;
    CDetectionModel m_model;
    QTemporaryDir m_dir;
    QString m_strWeights;
};

namespace
{

using namespace InferenceTestFiles;

const QStringList kImages = {"dog", "eagle", "horses", "person"};
const QStringList kClasses = {"a", "b", "c"};
// Compared above this score, each side's detections searched down to a margin below it, so that a score at the edge
// on one side does not count as missing on the other.
constexpr float kCompareScore = 0.05f;
constexpr float kScoreTolerance = 0.01f;
constexpr double kBoxTolerance = 1.0;

bool Matches(const CDetection& a, const CDetection& b)
{
    return a.ClassIndex == b.ClassIndex && std::abs(a.Score - b.Score) <= kScoreTolerance &&
           std::abs(a.Box.left() - b.Box.left()) <= kBoxTolerance &&
           std::abs(a.Box.top() - b.Box.top()) <= kBoxTolerance &&
           std::abs(a.Box.right() - b.Box.right()) <= kBoxTolerance &&
           std::abs(a.Box.bottom() - b.Box.bottom()) <= kBoxTolerance;
}

// Every detection of lstFrom above kCompareScore has its match in lstIn; the text names the first that has none.
QString FirstUnmatched(const CDetectionList& lstFrom, const CDetectionList& lstIn)
{
    for (const CDetection& detection : lstFrom)
    {
        if (detection.Score <= kCompareScore + kScoreTolerance)
            continue;
        const bool bFound =
            std::any_of(lstIn.begin(), lstIn.end(), [&](const CDetection& other) { return Matches(detection, other); });
        if (!bFound)
            return QStringLiteral("class %1 score %2 box %3,%4 %5x%6")
                .arg(detection.ClassIndex)
                .arg(double(detection.Score))
                .arg(detection.Box.left())
                .arg(detection.Box.top())
                .arg(detection.Box.width())
                .arg(detection.Box.height());
    }
    return QString();
}

} // namespace

void DetectionAgreementTest::initTestCase()
{
    QVERIFY2(QFile::exists("/usr/bin/darknet"), "darknet is installed by scripts/install-deps.sh");
    QDir dir(m_dir.path());
    QVERIFY(dir.mkpath("Images") && dir.mkpath("results"));
    QByteArray list;
    for (const QString& strName : kImages)
    {
        QVERIFY(QFile::copy(SAMPLE_FOLDER + strName + ".jpg", dir.filePath("Images/" + strName + ".jpg")));
        list += "Images/" + strName.toUtf8() + ".jpg\n";
    }
    QVERIFY(WriteFile(dir.filePath("test.txt"), list));
    QVERIFY(WriteFile(dir.filePath("custom.names"), kClasses.join('\n').toUtf8() + '\n'));
    QVERIFY(WriteFile(dir.filePath("detector.txt"), "classes=3\nvalid=test.txt\nnames=custom.names\n"));
    const QByteArray config = SmallConfiguration();
    QVERIFY(!config.isEmpty());
    QVERIFY(WriteFile(dir.filePath("config.txt"), config));
    m_strWeights = dir.filePath("model.weights");
    QVERIFY(CDarknetWeightsWriter::Write(config, m_strWeights, 27));

    QProcess trainer;
    trainer.setWorkingDirectory(m_dir.path());
    trainer.setProcessChannelMode(QProcess::MergedChannels);
    trainer.start("/usr/bin/darknet", {"detector", "valid", "detector.txt", "config.txt", "model.weights"});
    QVERIFY(trainer.waitForFinished(120000));
    QVERIFY2(trainer.exitCode() == 0, trainer.readAll().right(2000).constData());

    // One file per class, "<image> <score> <xmin> <ymin> <xmax> <ymax>" with pixels counted from 1.
    for (int nClass = 0; nClass < kClasses.size(); ++nClass)
    {
        QFile results(dir.filePath("results/comp4_det_test_" + kClasses[nClass] + ".txt"));
        QVERIFY(results.open(QIODevice::ReadOnly | QIODevice::Text));
        while (!results.atEnd())
        {
            const QStringList lstFields = QString::fromUtf8(results.readLine()).split(' ', Qt::SkipEmptyParts);
            QCOMPARE(lstFields.size(), 6);
            const QRectF box(QPointF(lstFields[2].toDouble() - 1, lstFields[3].toDouble() - 1),
                             QPointF(lstFields[4].toDouble() - 1, lstFields[5].toDouble() - 1));
            m_mapValid[lstFields[0]].append({nClass, box, lstFields[1].toFloat()});
        }
    }
    QVERIFY2(m_model.Load(dir.filePath("config.txt"), m_strWeights), qPrintable(m_model.ErrorText()));
}

void DetectionAgreementTest::detectionsEqualTrainerValid_data()
{
    QTest::addColumn<QString>("image");
    QTest::addColumn<bool>("decodedByQt");
    for (const QString& strName : kImages)
    {
        QTest::addRow("%s file", qPrintable(strName)) << strName << false;
        QTest::addRow("%s QImage", qPrintable(strName)) << strName << true;
    }
}

void DetectionAgreementTest::detectionsEqualTrainerValid()
{
    QFETCH(QString, image);
    QFETCH(bool, decodedByQt);
    const CDetectionList lstValid = m_mapValid.value(image);
    const QString strPath = QDir(m_dir.path()).filePath("Images/" + image + ".jpg");
    CDetectionList lstOurs;
    if (decodedByQt)
        QVERIFY(m_model.Detect(QImage(strPath), CDetectionModel::VALID_THRESHOLD, lstOurs));
    else
        QVERIFY(m_model.DetectFile(strPath, CDetectionModel::VALID_THRESHOLD, lstOurs));

    // Enough detections above the compared score that the comparison means something.
    const auto nCompared = std::count_if(lstValid.begin(), lstValid.end(),
                                         [](const CDetection& d) { return d.Score > kCompareScore + kScoreTolerance; });
    QVERIFY2(nCompared >= 3, qPrintable(QString::number(nCompared)));
    QVERIFY2(FirstUnmatched(lstValid, lstOurs).isEmpty(), qPrintable("ours lack " + FirstUnmatched(lstValid, lstOurs)));
    QVERIFY2(FirstUnmatched(lstOurs, lstValid).isEmpty(),
             qPrintable("trainer lacks " + FirstUnmatched(lstOurs, lstValid)));
    // Down to the trainer's lowest score, both sides keep about as many (a score at the edge may fall either way).
    QVERIFY2(std::abs(lstOurs.size() - lstValid.size()) <= std::max(2, lstValid.size() / 50),
             qPrintable(QString("%1 against %2").arg(lstOurs.size()).arg(lstValid.size())));
}

int RunDetectionAgreementTest(int argc, char** argv)
{
    DetectionAgreementTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "DetectionAgreementTest.moc"
