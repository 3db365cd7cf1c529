// Times "Evaluate" on a project of 1,000 test images (320 x 240 JPEG files, noise with a few filled shapes, two boxes
// each): from gathering the boxes to the saved record, through the same run the window uses, against the sum of the
// program's inference alone (CDetectionModel::DetectFile at the same lowest score) over the same images in the same
// run (goal: at most 1.2 times). Inference alone is timed before and after the evaluation; their mean counts, so that
// a machine that slows down or speeds up during the run does not favour either side. The network is the package's
// yolov3-tiny at 224 x 224 with three classes and weights from a fixed seed whose scores are pushed down, as with a
// trained network.

#include "BenchTiming.h"
#include "CDarknetWeightsWriter.h"
#include "CProjectFixture.h"

#include "project/CProjectController.h"
#include "project/CProjectModel.h"
#include "project/evaluation/CEvaluationRun.h"
#include "project/evaluation/CEvaluationSetup.h"
#include "project/inference/CDetectionModel.h"
#include "project/store/CProjectLayout.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <cstdio>

namespace
{
constexpr int kImages = 1000;
constexpr double kGoal = 1.2;
constexpr float kObjectnessBias = -4.0f;
constexpr float kClassBias = -3.0f;

int Fail(const char* pWhy)
{
    std::printf("BENCH evaluation_1000_images_ratio: FAILED (%s)\n", pWhy);
    return 1;
}

QByteArray Configuration()
{
    QFile file("/usr/share/darknet/cfg/yolov3-tiny.cfg");
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    QByteArray config = file.readAll();
    config.replace("width=416", "width=224").replace("height=416", "height=224");
    return config.replace("classes=80", "classes=3").replace("filters=255", "filters=24");
}

double InferenceAlone(const QString& strConfig, const QString& strWeights,
                      const QVector<CEvaluationRun::SImage>& vctImages)
{
    CDetectionModel model;
    if (!model.Load(strConfig, strWeights))
        return -1.0;
    double dblSum = 0.0;
    for (const CEvaluationRun::SImage& image : vctImages)
    {
        CDetectionList detections;
        dblSum += BenchTiming::Milliseconds(
            [&] { model.DetectFile(image.strPath, CDetectionModel::VALID_THRESHOLD, detections); });
    }
    return dblSum;
}
} // namespace

int main(int argc, char** argv)
{
    QTemporaryDir home;
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", (home.path() + "/.config").toUtf8());
    qputenv("XDG_DATA_HOME", (home.path() + "/.local/share").toUtf8());
    QApplication app(argc, argv);
    const QByteArray config = Configuration();
    if (config.isEmpty())
        return Fail("no yolov3-tiny.cfg from the darknet package");
    const QString strDir = CProjectFixture::CreateProject(home.path(), "thousand");
    if (strDir.isEmpty() || !QDir(strDir).mkpath("Images") || !QDir(strDir).mkpath("Backup"))
        return Fail("cannot create the project");
    const CProjectLayout layout(strDir, "thousand");
    QFile configFile(layout.Path(CProjectLayout::CONFIGURATION_FILE));
    if (!configFile.open(QIODevice::WriteOnly) || configFile.write(config) != config.size())
        return Fail("cannot write config.txt");
    configFile.close();
    const QString strWeights = layout.BackupFolder() + "/model.weights";
    if (!CDarknetWeightsWriter::Write(config, strWeights, 27, 0, kObjectnessBias, kClassBias))
        return Fail("cannot write the weights");

    QStringList lstStatements = {"DELETE FROM category", "INSERT INTO category (NAME) VALUES ('a'), ('b'), ('c')"};
    QRandomGenerator generator(27);
    for (int i = 0; i < kImages; ++i)
    {
        QImage image(320, 240, QImage::Format_RGB888);
        for (int y = 0; y < image.height(); ++y)
        {
            uchar* pLine = image.scanLine(y);
            for (int x = 0; x < image.width() * 3; ++x)
                pLine[x] = static_cast<uchar>(generator.bounded(256));
        }
        QPainter painter(&image);
        for (int k = 0; k < 4; ++k)
            painter.fillRect(generator.bounded(260), generator.bounded(180), 20 + generator.bounded(60),
                             20 + generator.bounded(60), QColor::fromRgb(generator.generate()));
        painter.end();
        const QString strName = QString("image_%1.jpg").arg(i, 4, 10, QChar('0'));
        if (!image.save(layout.ImageFile(strName), "JPG", 90))
            return Fail("cannot write the images");
        lstStatements << QString("INSERT INTO dataset_image (NAME, FULL_PATH, TYPE, WIDTH, HEIGHT, PROJECT_ID) "
                                 "VALUES ('%1', '%2', 'test', 320, 240, 1)")
                             .arg(strName, CProjectLayout::StoredImagePath(strName));
        lstStatements << QString("INSERT INTO dataset_roi (X, Y, WIDTH, HEIGHT, IMAGE_ID, CATEGORY_ID) VALUES "
                                 "(10, 20, 60, 50, %1, %2), (150, 90, 80, 70, %1, %3)")
                             .arg(i + 1)
                             .arg(1 + i % 3)
                             .arg(1 + (i + 1) % 3);
    }
    bool bStored = false;
    CProjectFixture::Query(layout.ProjectFile(), lstStatements, &bStored);
    if (!bStored)
        return Fail("cannot store the rows");

    CProjectModel model;
    CProjectController controller(&model, nullptr);
    controller.SetValidateOnOpen(false);
    controller.OpenProject(strDir, "thousand");
    CEvaluationSetup setup;
    if (!setup.Prepare(controller, model, false) || setup.Images().size() != kImages)
        return Fail("the project did not open with its test images");

    const double dblAloneBefore =
        InferenceAlone(layout.Path(CProjectLayout::CONFIGURATION_FILE), strWeights, setup.Images());
    CEvaluationRun run;
    QEventLoop loop;
    bool bEvaluated = false;
    QObject::connect(&run, &CEvaluationRun::signal_Finished, &loop,
                     [&](bool bCancelled, int nSkipped, const QString& strError)
                     {
                         bEvaluated = !bCancelled && nSkipped == 0 && strError.isEmpty();
                         loop.quit();
                     });
    const double dblEvaluation = BenchTiming::Milliseconds(
        [&]
        {
            CEvaluationSetup timed;
            if (timed.Prepare(controller, model, false) &&
                run.Start(CEvaluationRun::EPurpose_Evaluate, timed.Layout(), timed.ClassNames(), timed.Images(),
                          timed.WeightsFile(), timed.Threshold()))
                loop.exec();
        });
    const double dblAloneAfter =
        InferenceAlone(layout.Path(CProjectLayout::CONFIGURATION_FILE), strWeights, setup.Images());
    if (!bEvaluated || dblAloneBefore < 0 || dblAloneAfter < 0)
        return Fail("the evaluation did not run");
    const double dblAlone = (dblAloneBefore + dblAloneAfter) / 2;
    std::printf("BENCH evaluation_1000_images_inference_alone: %.0f ms (%.0f before, %.0f after)\n", dblAlone,
                dblAloneBefore, dblAloneAfter);
    std::printf("BENCH evaluation_1000_images_total: %.0f ms\n", dblEvaluation);
    std::printf("BENCH evaluation_1000_images_ratio: %.3f ratio (goal <= %.1f)\n", dblEvaluation / dblAlone, kGoal);
    controller.CloseProject();
    return dblEvaluation / dblAlone <= kGoal ? 0 : 1;
}
