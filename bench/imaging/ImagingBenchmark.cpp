#include "BenchTiming.h"
// Times the library's load, median, Sobel and quarter turn of a 4000 x 3000 JPEG against the same
// work done by OpenCV directly in the same run (goal: at most 1.2 times as long), and the copy of a
// Qt image into a library image against Qt's own convertToFormat (goal: at most 1.1 times).
// Each operation runs several times, alternating between the two sides; the median time counts.

#include "Geometry/COvrelPoint.h"
#include "Utils/COvrelImage.h"
#include "Utils/EOvrelBorderMode.h"
#include "imaging/ImageConversion.h"

#include <QImage>

#include <opencv2/core.hpp>
#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

using Ovrel::Utils::COvrelImage;
using Ovrel::Utils::EOvrelResult_OK;

using BenchTiming::Median;
using BenchTiming::Milliseconds;

namespace
{

constexpr int kRuns = 7;
constexpr double kOpenCVGoal = 1.2;
constexpr double kQtGoal = 1.1;

// prepare runs untimed before each measured run of its side. Prints the ratio of the median times
// as "BENCH <name>: <ratio> x (goal <= <goal>)" with both times on the line after.
bool Compare(const char* szName, double dblGoal, const std::function<void()>& prepareOurs,
             const std::function<bool()>& ours, const std::function<void()>& prepareBaseline,
             const std::function<void()>& baseline)
{
    std::vector<double> oursTimes;
    std::vector<double> baselineTimes;
    bool bOk = true;
    for (int i = 0; i < kRuns; ++i)
    {
        prepareOurs();
        oursTimes.push_back(Milliseconds([&] { bOk = ours() && bOk; }));
        prepareBaseline();
        baselineTimes.push_back(Milliseconds(baseline));
    }
    const double oursMs = Median(oursTimes);
    const double baselineMs = Median(baselineTimes);
    const double ratio = oursMs / baselineMs;
    std::printf("BENCH %s: %.2f x (goal <= %.1f)\n", szName, ratio, dblGoal);
    std::printf("    ours %.2f ms, baseline %.2f ms%s\n", oursMs, baselineMs,
                !bOk               ? ", FAILED"
                : ratio <= dblGoal ? ""
                                   : ", above goal");
    return bOk;
}

std::string MakeTemporaryFolder()
{
    std::string strTemplate = (std::filesystem::temp_directory_path() / "ovrel_bench_XXXXXX").string();
    return ::mkdtemp(strTemplate.data()) ? strTemplate : std::string();
}

} // namespace

int main()
{
    const std::string strFolder = MakeTemporaryFolder();
    if (strFolder.empty())
    {
        std::fprintf(stderr, "cannot make a temporary folder\n");
        return 1;
    }
    const std::string strPath = strFolder + "/photo.jpg";

    // Smooth colour gradients with noise, so the JPEG has the detail of a photograph.
    cv::Mat picture(3000, 4000, CV_8UC3);
    for (int y = 0; y < picture.rows; ++y)
        for (int x = 0; x < picture.cols; ++x)
            picture.at<cv::Vec3b>(y, x) = cv::Vec3b(uchar(x * 255 / picture.cols), uchar(y * 255 / picture.rows),
                                                    uchar(128 + 100 * std::sin(x * 0.01) * std::cos(y * 0.013)));
    cv::Mat noise(picture.size(), CV_8UC3);
    cv::randn(noise, cv::Scalar::all(0), cv::Scalar::all(12));
    cv::add(picture, noise, picture);
    if (!cv::imwrite(strPath, picture, {cv::IMWRITE_JPEG_QUALITY, 90}))
    {
        std::fprintf(stderr, "cannot write %s\n", strPath.c_str());
        return 1;
    }
    std::printf("%s: 4000 x 3000 JPEG, %d runs each, median times, OpenCV threads %d\n", strPath.c_str(), kRuns,
                cv::getNumThreads());

    const std::wstring strWidePath(strPath.begin(), strPath.end());
    COvrelImage loaded;
    if (loaded.LoadFromFile(strWidePath) != EOvrelResult_OK)
    {
        std::fprintf(stderr, "the library cannot load %s\n", strPath.c_str());
        return 1;
    }
    const cv::Mat source = cv::imread(strPath, cv::IMREAD_ANYCOLOR | cv::IMREAD_ANYDEPTH);

    COvrelImage work;
    cv::Mat result;
    auto prepareOurs = [&] { work.CopyFrom(loaded); };
    auto prepareOpenCV = [&] { result.release(); };
    auto nothing = [] {};
    bool bOk = true;

    bOk &= Compare(
        "load", kOpenCVGoal, nothing,
        [&]
        {
            COvrelImage image;
            return image.LoadFromFile(strWidePath) == EOvrelResult_OK;
        },
        nothing, [&] { result = cv::imread(strPath, cv::IMREAD_ANYCOLOR | cv::IMREAD_ANYDEPTH); });

    bOk &= Compare(
        "median 3x3", kOpenCVGoal, prepareOurs,
        [&] { return work.Median(1, 1, nullptr, Ovrel::Utils::EOvrelBorderMode_Replicate, 0.0) == EOvrelResult_OK; },
        prepareOpenCV, [&] { cv::medianBlur(source, result, 3); });

    bOk &= Compare(
        "Sobel x", kOpenCVGoal, prepareOurs,
        [&] { return work.SobelX(nullptr, Ovrel::Utils::EOvrelBorderMode_Replicate, 0.0) == EOvrelResult_OK; },
        prepareOpenCV,
        [&]
        {
            cv::Mat gradient;
            cv::Sobel(source, gradient, CV_16S, 1, 0, 3, 1.0, 0.0, cv::BORDER_REPLICATE);
            cv::convertScaleAbs(gradient, result);
        });

    bOk &= Compare(
        "Sobel xy", kOpenCVGoal, prepareOurs,
        [&] { return work.SobelXY(nullptr, Ovrel::Utils::EOvrelBorderMode_Replicate, 0.0) == EOvrelResult_OK; },
        prepareOpenCV,
        [&]
        {
            cv::Mat gradient, magnitudeX, magnitudeY;
            cv::Sobel(source, gradient, CV_16S, 1, 0, 3, 1.0, 0.0, cv::BORDER_REPLICATE);
            cv::convertScaleAbs(gradient, magnitudeX);
            cv::Sobel(source, gradient, CV_16S, 0, 1, 3, 1.0, 0.0, cv::BORDER_REPLICATE);
            cv::convertScaleAbs(gradient, magnitudeY);
            cv::add(magnitudeX, magnitudeY, result);
        });

    bOk &= Compare(
        "quarter turn", kOpenCVGoal, prepareOurs,
        [&]
        {
            const Ovrel::Geometry::COvrelPoint centre(work.GetWidth() * 0.5, work.GetHeight() * 0.5);
            return work.Rotate(1.5707963267948966, 0.0, 1, centre) == EOvrelResult_OK;
        },
        prepareOpenCV, [&] { cv::rotate(source, result, cv::ROTATE_90_CLOCKWISE); });

    // Qt images of the same picture in the two formats a screen grab or the clipboard gives.
    const QImage rgb888(source.data, source.cols, source.rows, static_cast<int>(source.step[0]), QImage::Format_RGB888);
    for (const QImage::Format format : {QImage::Format_RGB888, QImage::Format_ARGB32})
    {
        const QImage qtSource = rgb888.convertToFormat(format);
        // Both sides start without the previous result, so neither pays for freeing it.
        std::unique_ptr<COvrelImage> pTarget;
        QImage converted;
        const std::string strName =
            std::string("ImageFromQImage ") + (format == QImage::Format_RGB888 ? "RGB888" : "ARGB32");
        bOk &= Compare(
            strName.c_str(), kQtGoal, [&] { pTarget = std::make_unique<COvrelImage>(); },
            [&] { return ImageFromQImage(qtSource, pTarget.get()); }, [&] { converted = QImage(); },
            [&] { converted = qtSource.convertToFormat(QImage::Format_RGBA8888); });
    }

    std::filesystem::remove_all(strFolder);
    return bOk ? 0 : 1;
}
