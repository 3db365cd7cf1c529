// The loop a user goes round, timed on a synthetic data set: 60 images of 64 x 64 pixels, each a bright square of 14
// to 28 pixels on dark noise with its box known, go into a new project (48 training, 12 test images); the project is
// built as "--build" builds it, the installed darknet trains the small two-head network of small-square.cfg (a
// yolov3-tiny cut down to 64 x 64, short burn-in, high learning rate) for a few hundred iterations, and the newest
// weights are evaluated on the test list as "--evaluate" evaluates them. Prints the mAP@0.5 reached (goal >= 0.5) and
// the wall time of the loop; the training's share is printed too.

#include "BenchTiming.h"
#include "CProjectFixture.h"

#include "CHeadlessBuild.h"
#include "CHeadlessEvaluation.h"
#include "project/evaluation/CEvaluationStore.h"
#include "project/store/CProjectLayout.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTextStream>

#include <chrono>
#include <cstdio>

namespace
{
constexpr int kImages = 60;
constexpr int kTestImages = 12;
constexpr int kSide = 64;
constexpr double kGoal = 0.5;
const char* const kDarknet = "/usr/bin/darknet";

QString Quoted(const QString& strText)
{
    return "'" + QString(strText).replace("'", "''") + "'";
}

// The images and their rows; the statements that store them.
bool MakeImages(const QString& strProjectDir, QStringList& lstStatements)
{
    QRandomGenerator generator(27);
    for (int i = 0; i < kImages; ++i)
    {
        QImage image(kSide, kSide, QImage::Format_RGB888);
        for (int y = 0; y < kSide; ++y)
        {
            uchar* pLine = image.scanLine(y);
            for (int x = 0; x < kSide * 3; ++x)
                pLine[x] = static_cast<uchar>(generator.bounded(120));
        }
        const int nSize = generator.bounded(14, 29);
        const int nX = generator.bounded(kSide - nSize + 1);
        const int nY = generator.bounded(kSide - nSize + 1);
        for (int y = nY; y < nY + nSize; ++y)
        {
            uchar* pLine = image.scanLine(y);
            for (int x = nX * 3; x < (nX + nSize) * 3; ++x)
                pLine[x] = static_cast<uchar>(200 + generator.bounded(56));
        }
        const QString strName = QString("square_%1.png").arg(i, 2, 10, QChar('0'));
        if (!image.save(strProjectDir + "/Images/" + strName))
            return false;
        lstStatements << QString("INSERT INTO dataset_image (NAME, FULL_PATH, TYPE, WIDTH, HEIGHT, PROJECT_ID) "
                                 "VALUES (%1, %2, '%3', %4, %4, 1)")
                             .arg(Quoted(strName), Quoted(CProjectLayout::StoredImagePath(strName)),
                                  i < kImages - kTestImages ? "train" : "test")
                             .arg(kSide);
        lstStatements << QString("INSERT INTO dataset_roi (X, Y, WIDTH, HEIGHT, IMAGE_ID, CATEGORY_ID) VALUES (%1, "
                                 "%2, %3, %3, (SELECT ID FROM dataset_image WHERE NAME = %4), "
                                 "(SELECT ID FROM category WHERE NAME = 'square'))")
                             .arg(nX)
                             .arg(nY)
                             .arg(nSize)
                             .arg(Quoted(strName));
    }
    return true;
}

int Fail(const char* pWhy)
{
    std::printf("BENCH closed_loop_map50: FAILED (%s)\n", pWhy);
    return 1;
}
} // namespace

int main(int argc, char** argv)
{
    // The program's settings and log go to a home of the benchmark's own.
    QTemporaryDir home;
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", (home.path() + "/.config").toUtf8());
    qputenv("XDG_DATA_HOME", (home.path() + "/.local/share").toUtf8());
    QApplication app(argc, argv);
    if (!QFile::exists(kDarknet))
        return Fail("no darknet: run scripts/install-deps.sh");
    QFile configuration(SMALL_CONFIGURATION);
    if (!configuration.open(QIODevice::ReadOnly))
        return Fail("no small-square.cfg");
    const QString strConfiguration = QString::fromUtf8(configuration.readAll());
    const QString strMaxBatches = qEnvironmentVariable("CLOSED_LOOP_ITERATIONS", "200");

    const auto start = std::chrono::steady_clock::now();
    const QString strDir = CProjectFixture::CreateProject(home.path(), "squares");
    if (strDir.isEmpty() || !QDir(strDir).mkpath("Images"))
        return Fail("cannot create the project");
    const QString strProjectFile = CProjectFixture::DataFile(strDir, "squares");
    QStringList lstStatements = {
        "DELETE FROM category", "INSERT INTO category (NAME) VALUES ('square')",
        "UPDATE project_property SET VALUE = " +
            Quoted(QString(strConfiguration).replace("max_batches=200", "max_batches=" + strMaxBatches)) +
            " WHERE NAME = 'PROJECT_CONFIGURATION'"};
    if (!MakeImages(strDir, lstStatements))
        return Fail("cannot write the images");
    bool bStored = false;
    CProjectFixture::Query(strProjectFile, lstStatements, &bStored);
    if (!bStored || !CHeadlessBuild::BuildProjectFile(strProjectFile))
        return Fail("the project did not build");

    const auto trainStart = std::chrono::steady_clock::now();
    QProcess trainer;
    trainer.setWorkingDirectory(strDir);
    trainer.setProcessChannelMode(QProcess::MergedChannels);
    trainer.setStandardOutputFile(QProcess::nullDevice());
    trainer.start(kDarknet, {"detector", "train", CProjectLayout::DETECTOR_FILE, CProjectLayout::CONFIGURATION_FILE});
    if (!trainer.waitForFinished(30 * 60 * 1000) || trainer.exitCode() != 0)
        return Fail("darknet did not train");
    const double dblTrainSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - trainStart).count();

    QString strOut;
    QString strErr;
    QTextStream out(&strOut);
    QTextStream err(&strErr);
    if (CHeadlessEvaluation::Evaluate(strProjectFile, QString(), out, err) != 0)
    {
        std::fputs(qPrintable(strErr), stderr);
        return Fail("the evaluation failed");
    }
    const double dblSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const QVector<CEvaluationRecord> records =
        CEvaluationStore(CProjectLayout(strDir).EvaluationFolder()).LoadNewest(1);
    if (records.isEmpty())
        return Fail("no evaluation record");
    std::fputs(qPrintable(strOut), stdout);
    std::printf("BENCH closed_loop_map50: %.3f mAP@0.5 after %s iterations (goal >= %.1f)\n", records[0].MeanAP50,
                qPrintable(strMaxBatches), kGoal);
    std::printf("BENCH closed_loop_wall_time: %.1f s, of which training %.1f s (goal: under 10 minutes)\n", dblSeconds,
                dblTrainSeconds);
    return records[0].MeanAP50 >= kGoal ? 0 : 1;
}
