#include "BenchTiming.h"
// Times one detection of yolov3-tiny at 416 x 416 on a generated 1920 x 1080 image through the program's path
// (letterbox as the trainer does it, forward pass, decoding and per-class suppression) against OpenCV's DNN module
// alone (blobFromImage with a plain resize, then forward) on the same image with the same files (goal: at most 1.15
// times as long). The sides alternate; the median of each counts.
// The weights come from a fixed seed with the objectness and class scores of every box pushed down, so that most
// boxes are background and most classes unlikely, as with a trained network. Fresh random weights are the worst case
// for the decoding (every box scores in every class, thousands per class for the suppression); that figure is printed
// too, without a goal.

#include "CDarknetWeightsWriter.h"
#include "project/inference/CDetectionModel.h"

#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <opencv2/core.hpp>
#include <opencv2/dnn.hpp>
#include <opencv2/imgproc.hpp>

#include <cstdio>
#include <vector>

using BenchTiming::Median;
using BenchTiming::Milliseconds;

namespace
{

constexpr int kRuns = 9;
constexpr double kGoal = 1.15;
// Push the logistic objectness of a typical box to about 0.02 and its class scores to about 0.05.
constexpr float kObjectnessBias = -4.0f;
constexpr float kClassBias = -3.0f;

// Noise with a few filled shapes, so that the picture is not flat.
cv::Mat GeneratedImage()
{
    cv::Mat image(1080, 1920, CV_8UC3);
    cv::RNG generator(27);
    generator.fill(image, cv::RNG::UNIFORM, cv::Scalar::all(0), cv::Scalar::all(256));
    for (int i = 0; i < 20; ++i)
    {
        const cv::Point corner(generator.uniform(0, 1700), generator.uniform(0, 900));
        const cv::Size size(generator.uniform(40, 220), generator.uniform(40, 180));
        cv::rectangle(image, cv::Rect(corner, size),
                      cv::Scalar(generator.uniform(0, 256), generator.uniform(0, 256), generator.uniform(0, 256)),
                      cv::FILLED);
    }
    return image;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    QFile cfg("/usr/share/darknet/cfg/yolov3-tiny.cfg");
    if (!dir.isValid() || !cfg.open(QIODevice::ReadOnly))
    {
        std::printf("BENCH inference_yolov3_tiny_ratio: FAILED (no yolov3-tiny.cfg from the darknet package)\n");
        return 1;
    }
    const QByteArray config = cfg.readAll();
    const QString strConfig = dir.filePath("config.txt");
    const QString strWeights = dir.filePath("trained-like.weights");
    const QString strRandom = dir.filePath("random.weights");
    QFile configFile(strConfig);
    if (!configFile.open(QIODevice::WriteOnly) || configFile.write(config) != config.size() ||
        !CDarknetWeightsWriter::Write(config, strWeights, 27, 0, kObjectnessBias, kClassBias) ||
        !CDarknetWeightsWriter::Write(config, strRandom, 27))
    {
        std::printf("BENCH inference_yolov3_tiny_ratio: FAILED (cannot write the model)\n");
        return 1;
    }
    configFile.close();

    CDetectionModel model;
    CDetectionModel randomModel;
    if (!model.Load(strConfig, strWeights) || !randomModel.Load(strConfig, strRandom))
    {
        std::printf("BENCH inference_yolov3_tiny_ratio: FAILED (%s%s)\n", qPrintable(model.ErrorText()),
                    qPrintable(randomModel.ErrorText()));
        return 1;
    }
    cv::dnn::Net baseline = cv::dnn::readNetFromDarknet(strConfig.toStdString(), strWeights.toStdString());
    const std::vector<std::string> vctNames = baseline.getUnconnectedOutLayersNames();

    const cv::Mat pixels = GeneratedImage();
    cv::Mat rgb;
    cv::cvtColor(pixels, rgb, cv::COLOR_BGR2RGB);
    const QImage image(rgb.data, rgb.cols, rgb.rows, int(rgb.step), QImage::Format_RGB888);

    bool bOk = true;
    struct SSide
    {
        CDetectionModel* pModel;
        float fThreshold;
        std::vector<double> vctTimes;
        int nDetections = 0;
    };
    SSide detect{&model, CDetectionModel::DEFAULT_THRESHOLD, {}};
    SSide lowest{&model, CDetectionModel::VALID_THRESHOLD, {}};
    SSide random{&randomModel, CDetectionModel::VALID_THRESHOLD, {}};
    const auto run = [&](SSide& side)
    {
        CDetectionList lstDetections;
        bOk = side.pModel->Detect(image, side.fThreshold, lstDetections) && bOk;
        side.nDetections = lstDetections.size();
    };
    std::vector<double> vctPlainTimes;
    const auto plain = [&]
    {
        const cv::Mat blob = cv::dnn::blobFromImage(pixels, 1 / 255.0, cv::Size(416, 416), cv::Scalar(), true, false);
        baseline.setInput(blob);
        std::vector<cv::Mat> vctOutputs;
        baseline.forward(vctOutputs, vctNames);
    };
    plain();
    for (SSide* pSide : {&detect, &lowest, &random})
        run(*pSide);
    for (int i = 0; i < kRuns; ++i)
    {
        vctPlainTimes.push_back(Milliseconds(plain));
        for (SSide* pSide : {&detect, &lowest, &random})
            pSide->vctTimes.push_back(Milliseconds([&] { run(*pSide); }));
    }
    const double plainMs = Median(vctPlainTimes);
    const double ratio = Median(detect.vctTimes) / plainMs;
    std::printf("BENCH inference_yolov3_tiny_ratio: %.2f ratio (goal <= %.2f)\n", ratio, kGoal);
    std::printf("    ours %.2f ms at threshold %.2f (%d detections), OpenCV alone %.2f ms%s\n", Median(detect.vctTimes),
                double(detect.fThreshold), detect.nDetections, plainMs,
                !bOk             ? ", FAILED"
                : ratio <= kGoal ? ""
                                 : ", above goal");
    std::printf("BENCH inference_yolov3_tiny_lowest_threshold_ratio: %.2f ratio (no goal)\n",
                Median(lowest.vctTimes) / plainMs);
    std::printf("    ours %.2f ms at threshold %.3f (%d detections)\n", Median(lowest.vctTimes),
                double(lowest.fThreshold), lowest.nDetections);
    std::printf("BENCH inference_yolov3_tiny_random_weights_ratio: %.2f ratio (no goal)\n",
                Median(random.vctTimes) / plainMs);
    std::printf("    ours %.2f ms at threshold %.3f (%d detections: every box in every class)\n",
                Median(random.vctTimes), double(random.fThreshold), random.nDetections);
    return bOk ? 0 : 1;
}
