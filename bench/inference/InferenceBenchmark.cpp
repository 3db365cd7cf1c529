#include "BenchTiming.h"
// Times one detection of yolov3-tiny at 416 x 416 on a generated 1920 x 1080 image through the program's path
// (letterbox as the trainer does it, forward pass, decoding and per-class suppression) against OpenCV's DNN module
// alone (blobFromImage with a plain resize, then forward) on the same image with the same files (goal: at most 1.15
// times as long). The two sides alternate; the median of each counts.

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
    const QString strWeights = dir.filePath("yolov3-tiny.weights");
    QFile configFile(strConfig);
    if (!configFile.open(QIODevice::WriteOnly) || configFile.write(config) != config.size() ||
        !CDarknetWeightsWriter::Write(config, strWeights, 27))
    {
        std::printf("BENCH inference_yolov3_tiny_ratio: FAILED (cannot write the model)\n");
        return 1;
    }
    configFile.close();

    CDetectionModel model;
    if (!model.Load(strConfig, strWeights))
    {
        std::printf("BENCH inference_yolov3_tiny_ratio: FAILED (%s)\n", qPrintable(model.ErrorText()));
        return 1;
    }
    cv::dnn::Net baseline = cv::dnn::readNetFromDarknet(strConfig.toStdString(), strWeights.toStdString());
    const std::vector<std::string> vctNames = baseline.getUnconnectedOutLayersNames();

    const cv::Mat pixels = GeneratedImage();
    cv::Mat rgb;
    cv::cvtColor(pixels, rgb, cv::COLOR_BGR2RGB);
    const QImage image(rgb.data, rgb.cols, rgb.rows, int(rgb.step), QImage::Format_RGB888);

    bool bOk = true;
    int nDetections = 0;
    float fThreshold = CDetectionModel::DEFAULT_THRESHOLD;
    const auto ours = [&]
    {
        CDetectionList lstDetections;
        bOk = model.Detect(image, fThreshold, lstDetections) && bOk;
        nDetections = lstDetections.size();
    };
    const auto plain = [&]
    {
        const cv::Mat blob = cv::dnn::blobFromImage(pixels, 1 / 255.0, cv::Size(416, 416), cv::Scalar(), true, false);
        baseline.setInput(blob);
        std::vector<cv::Mat> vctOutputs;
        baseline.forward(vctOutputs, vctNames);
    };
    ours();
    plain();
    // The Detect command's threshold, then the lowest one (evaluation): with random weights every box scores in every
    // class there, thousands of boxes per class for the suppression, far more than a trained network leaves.
    std::vector<double> oursTimes;
    std::vector<double> validTimes;
    std::vector<double> plainTimes;
    int nValidDetections = 0;
    for (int i = 0; i < kRuns; ++i)
    {
        fThreshold = CDetectionModel::DEFAULT_THRESHOLD;
        oursTimes.push_back(Milliseconds(ours));
        plainTimes.push_back(Milliseconds(plain));
        fThreshold = CDetectionModel::VALID_THRESHOLD;
        validTimes.push_back(Milliseconds(ours));
        nValidDetections = nDetections;
        fThreshold = CDetectionModel::DEFAULT_THRESHOLD;
        ours();
    }
    const double oursMs = Median(oursTimes);
    const double validMs = Median(validTimes);
    const double plainMs = Median(plainTimes);
    const double ratio = oursMs / plainMs;
    std::printf("BENCH inference_yolov3_tiny_ratio: %.2f ratio (goal <= %.2f)\n", ratio, kGoal);
    std::printf("    ours %.2f ms at threshold %.2f (%d detections), OpenCV alone %.2f ms%s\n", oursMs,
                double(CDetectionModel::DEFAULT_THRESHOLD), nDetections, plainMs,
                !bOk             ? ", FAILED"
                : ratio <= kGoal ? ""
                                 : ", above goal");
    std::printf("BENCH inference_yolov3_tiny_lowest_threshold_ratio: %.2f ratio (no goal)\n", validMs / plainMs);
    std::printf("    ours %.2f ms at threshold %.3f (%d detections of random weights)\n", validMs,
                double(CDetectionModel::VALID_THRESHOLD), nValidDetections);
    return bOk ? 0 : 1;
}
