// Times the AP computation of an evaluation: 1,000 images of 20 labelled boxes and 100 detections each (100,000
// detections over 20 classes), fed and evaluated at the ten IoUs of 0.5:0.95 (goal under 200 ms). The sort of the same
// scores alone is timed beside it as the floor.

#include "BenchTiming.h"

#include "project/evaluation/CDetectionEvaluator.h"

#include <QCoreApplication>

#include <cstdio>
#include <random>

namespace
{
const int IMAGES = 1000;
const int BOXES_PER_IMAGE = 20;
const int DETECTIONS_PER_IMAGE = 100;
const int CLASSES = 20;
const int RUNS = 5;

struct SImage
{
    CLabelledBoxList boxes;
    CDetectionList detections;
};

// Each box is found up to three times with some jitter; the rest of the detections are false, anywhere.
QVector<SImage> Generate()
{
    std::mt19937 random(27);
    std::uniform_real_distribution<double> position(0.0, 1800.0);
    std::uniform_real_distribution<double> size(20.0, 200.0);
    std::uniform_real_distribution<double> jitter(-8.0, 8.0);
    std::uniform_real_distribution<float> score(0.005f, 1.0f);
    std::uniform_int_distribution<int> classIndex(0, CLASSES - 1);
    QVector<SImage> images(IMAGES);
    for (SImage& image : images)
    {
        for (int nBox = 0; nBox < BOXES_PER_IMAGE; ++nBox)
            image.boxes.append(
                {classIndex(random), QRectF(position(random), position(random) / 2, size(random), size(random))});
        for (int nDetection = 0; nDetection < DETECTIONS_PER_IMAGE; ++nDetection)
        {
            const int nBox = nDetection / 3;
            if (nBox < BOXES_PER_IMAGE)
            {
                const CLabelledBox& box = image.boxes[nBox];
                image.detections.append(
                    {box.ClassIndex, box.Box.adjusted(jitter(random), jitter(random), jitter(random), jitter(random)),
                     score(random)});
            }
            else
                image.detections.append({classIndex(random),
                                         QRectF(position(random), position(random) / 2, size(random), size(random)),
                                         score(random)});
        }
    }
    return images;
}
} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QStringList lstClasses;
    for (int nClass = 0; nClass < CLASSES; ++nClass)
        lstClasses << QString("class%1").arg(nClass);
    const QVector<SImage> images = Generate();
    // The keys exist before an evaluation starts; making them is not the evaluation's work.
    QStringList keys;
    for (int nImage = 0; nImage < images.size(); ++nImage)
        keys << QString("Images/image_%1.jpg").arg(nImage, 5, 10, QChar('0'));

    std::vector<double> evaluateTimes;
    std::vector<double> feedTimes;
    std::vector<double> sortTimes;
    CEvaluationResult result;
    for (int nRun = 0; nRun < RUNS; ++nRun)
    {
        evaluateTimes.push_back(BenchTiming::Milliseconds(
            [&]
            {
                CDetectionEvaluator evaluator(lstClasses, 0.25);
                feedTimes.push_back(BenchTiming::Milliseconds(
                    [&]
                    {
                        for (int nImage = 0; nImage < images.size(); ++nImage)
                            evaluator.AddImage(keys[nImage], images[nImage].boxes, images[nImage].detections);
                    }));
                result = evaluator.Evaluate();
            }));
        std::vector<float> scores;
        scores.reserve(IMAGES * DETECTIONS_PER_IMAGE);
        for (const SImage& image : images)
            for (const CDetection& detection : image.detections)
                scores.push_back(detection.Score);
        sortTimes.push_back(BenchTiming::Milliseconds([&] { std::sort(scores.begin(), scores.end()); }));
    }

    std::printf("evaluated %d images: mAP@0.5 %.3f, mAP@0.5:0.95 %.3f, %d true and %d false at 0.25\n",
                result.ImageCount, result.MeanAP50, result.MeanAP50To95, result.TruePositives, result.FalsePositives);
    std::printf("BENCH evaluation_sort_scores_100000: %.2f ms (the floor)\n", BenchTiming::Median(sortTimes));
    const double dblMilliseconds = BenchTiming::Median(evaluateTimes);
    std::printf("of which feeding the images: %.2f ms\n", BenchTiming::Median(feedTimes));
    std::printf("BENCH evaluation_ap_100000: %.2f ms (goal < 200)\n", dblMilliseconds);
    return 0;
}
