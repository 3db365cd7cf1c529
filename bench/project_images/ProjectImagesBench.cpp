// Times adding photos of 4000 x 3000 to a real project (copy, decode check, row and list entry per file) against
// decoding the same files with OpenCV alone, one after the other, in the same run.
// Goal: the add takes at most 1.2 times the plain decode. The number of files is the first argument (default 200).

#include "BenchTiming.h"

#include "database/CDatabase.h"
#include "frame/CLogger.h"
#include "project/CProjectModel.h"
#include "project/images/CDatasetImageStore.h"
#include "project/store/CProjectRecordFactory.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>

#include <cstdio>
#include <cstdlib>

namespace
{
const int WIDTH = 4000;
const int HEIGHT = 3000;

// Photo-like content: smooth shading with fine detail, so the files have a camera's size, not a flat colour's.
QStringList WritePhotos(const QString& strDir, int nCount)
{
    cv::Mat base(HEIGHT, WIDTH, CV_8UC3);
    for (int y = 0; y < HEIGHT; ++y)
    {
        cv::Vec3b* pRow = base.ptr<cv::Vec3b>(y);
        for (int x = 0; x < WIDTH; ++x)
            pRow[x] = cv::Vec3b(static_cast<uchar>(x / 16 + (x * y) % 7), static_cast<uchar>(y / 12),
                                static_cast<uchar>((x ^ y) & 0x3f));
    }
    QStringList lstPaths;
    for (int i = 0; i < nCount; ++i)
    {
        cv::Mat photo = base.clone();
        cv::rectangle(photo, cv::Rect((i * 97) % (WIDTH - 500), (i * 53) % (HEIGHT - 400), 500, 400),
                      cv::Scalar(i % 255, 255 - i % 255, 128), cv::FILLED);
        const QString strPath = QString("%1/photo%2.jpg").arg(strDir).arg(i, 3, 10, QChar('0'));
        cv::imwrite(strPath.toStdString(), photo, {cv::IMWRITE_JPEG_QUALITY, 90});
        lstPaths.append(strPath);
    }
    return lstPaths;
}
} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int nCount = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;

    QTemporaryDir dir;
    const QString strSources = dir.path() + "/photos";
    const QString strProject = dir.path() + "/bench";
    QDir().mkpath(strSources);
    QDir().mkpath(strProject + "/Images");
    const QStringList lstPaths = WritePhotos(strSources, nCount);

    CProjectRecordFactory factory;
    CDatabase database(&factory);
    if (!database.OpenDatabase("localhost", strProject + "/bench.data", "", "") ||
        !database.RunQueryFile(":/Files/tamsel_database_sqlite.sql", true) ||
        !database.RunQueries({"INSERT INTO project_training (NAME, TYPE, VERSION, CREATED_DATETIME) "
                              "VALUES('bench', 'yolov3', '1.0', 'now')"},
                             false))
    {
        std::printf("cannot create the project\n");
        return 1;
    }
    CProjectModel model;
    model.SetProject(strProject, "bench");
    model.SetProjectID(1);
    CDatasetImageStore store(&database, &model);

    // Both timings read the files from the page cache: the first pass puts them there.
    for (const QString& strPath : lstPaths)
    {
        QFile file(strPath);
        if (file.open(QIODevice::ReadOnly))
            file.readAll();
    }

    bool bDecoded = true;
    const double dblOpenCV = BenchTiming::Milliseconds(
        [&]
        {
            for (const QString& strPath : lstPaths)
                bDecoded = !cv::imread(strPath.toStdString(), cv::IMREAD_COLOR).empty() && bDecoded;
        });
    int nAdded = 0;
    const double dblAdd = BenchTiming::Milliseconds([&] { nAdded = store.AddImages(lstPaths, "train", nullptr); });
    CLogger::Flush();

    std::printf("files: %d JPEGs of %d x %d, %d added, decoded: %s\n", nCount, WIDTH, HEIGHT, nAdded,
                bDecoded ? "yes" : "no");
    std::printf("BENCH project_images_opencv_decode: %.0f ms (baseline)\n", dblOpenCV);
    std::printf("BENCH project_images_add: %.0f ms (goal <= %.0f ms)\n", dblAdd, 1.2 * dblOpenCV);
    std::printf("BENCH project_images_add_vs_decode: %.2f x (goal <= 1.2)\n", dblAdd / dblOpenCV);
    return nAdded == nCount && bDecoded ? 0 : 1;
}
