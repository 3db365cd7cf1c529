// Times importing a COCO data set (one JSON file, images of 640 x 480 in an "images" folder beside it, ten boxes
// each) into a real project against copying the same images and reading their headers, in the same run.
// Goal: the import takes at most 1.5 times the plain copy. The number of images is the first argument (default
// 10000).

#include "BenchTiming.h"

#include "database/CDatabase.h"
#include "frame/CLogger.h"
#include "project/CProjectModel.h"
#include "project/import/CDatasetFormat.h"
#include "project/import/CDatasetScan.h"
#include "project/import/CYoloDatasetImport.h"
#include "project/store/CProjectRecordFactory.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

#include <sys/resource.h>
#include <unistd.h>

namespace
{
const int WIDTH = 640;
const int HEIGHT = 480;
const int BOXES = 10;
const int CLASSES = 80;

// The process's processor time so far: the figure the disk, which other programs share, does not blur.
double CpuMilliseconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000.0 +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1000.0;
}

bool WriteFile(const QString& strPath, const QByteArray& baData)
{
    QFile file(strPath);
    return file.open(QIODevice::WriteOnly) && file.write(baData) == baData.size();
}

// Every image is the same JPEG with its own number appended after the picture data: the copy and the header read
// cost what they cost for any camera picture of that size. The JSON is written as COCO's own files are, with
// segmentation polygons the import skips.
QStringList WriteDataSet(const QString& strDir, int nCount)
{
    QImage image(WIDTH, HEIGHT, QImage::Format_RGB888);
    for (int y = 0; y < HEIGHT; ++y)
        for (int x = 0; x < WIDTH; ++x)
            image.setPixel(x, y, qRgb(x / 3, y / 2, (x ^ y) & 0xff));
    QByteArray baJpeg;
    QBuffer buffer(&baJpeg);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", 90);
    QStringList lstPaths;
    QByteArray baImages;
    QByteArray baAnnotations;
    int nAnnotation = 0;
    for (int i = 0; i < nCount; ++i)
    {
        const QString strName = QString("img%1.jpg").arg(i, 6, 10, QChar('0'));
        WriteFile(strDir + "/images/" + strName, baJpeg + QByteArray::number(i));
        lstPaths.append(strDir + "/images/" + strName);
        baImages += QString::asprintf("%s{\"id\":%d,\"file_name\":\"%s\",\"width\":%d,\"height\":%d}", i ? "," : "",
                                      i + 1, qPrintable(strName), WIDTH, HEIGHT)
                        .toUtf8();
        for (int k = 0; k < BOXES; ++k)
        {
            const double dblX = 10.0 + 55.5 * k;
            const double dblY = 20.0 + 40.25 * k;
            baAnnotations +=
                QString::asprintf("%s{\"id\":%d,\"image_id\":%d,\"category_id\":%d,\"iscrowd\":0,\"area\":1200.0,"
                                  "\"bbox\":[%.2f,%.2f,40.0,30.0],\"segmentation\":[[%.2f,%.2f,%.2f,%.2f,%.2f,%.2f]]}",
                                  nAnnotation ? "," : "", nAnnotation + 1, i + 1, 1 + (i + k) % CLASSES, dblX, dblY,
                                  dblX, dblY, dblX + 40.0, dblY, dblX + 40.0, dblY + 30.0)
                    .toUtf8();
            ++nAnnotation;
        }
    }
    QByteArray baCategories;
    for (int c = 1; c <= CLASSES; ++c)
        baCategories +=
            QString::asprintf("%s{\"id\":%d,\"name\":\"class%d\",\"supercategory\":\"thing\"}", c > 1 ? "," : "", c, c)
                .toUtf8();
    WriteFile(strDir + "/instances.json", "{\"info\":{\"description\":\"bench\"},\"images\":[" + baImages +
                                              "],\"annotations\":[" + baAnnotations + "],\"categories\":[" +
                                              baCategories + "]}");
    return lstPaths;
}
} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int nCount = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10000;

    QTemporaryDir dir;
    const QString strSet = dir.path() + "/set";
    const QString strCopies = dir.path() + "/copies";
    const QString strProject = dir.path() + "/bench";
    QDir().mkpath(strSet + "/images");
    QDir().mkpath(strProject + "/Images");
    const QStringList lstPaths = WriteDataSet(strSet, nCount);

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

    // The plain copy runs before and after the import, each into a folder of its own, and the import is held
    // against their mean: the disk is shared and a file system slows as it fills with new files, so a single copy
    // on one side would measure the order of the runs. Each run starts with nothing waiting to be written: the run
    // after another would otherwise pay for the other's gigabytes of copies, which the kernel writes back meanwhile.
    int nRead = 0;
    const auto copyRun = [&](const QString& strTargetDir, double& dblCpu)
    {
        QDir().mkpath(strTargetDir);
        ::sync();
        const double dblCpuStart = CpuMilliseconds();
        const double dblWall = BenchTiming::Milliseconds(
            [&]
            {
                for (const QString& strPath : lstPaths)
                {
                    const QString strTarget = strTargetDir + "/" + QFileInfo(strPath).fileName();
                    if (QFile::copy(strPath, strTarget) && QImageReader(strTarget).size().isValid())
                        ++nRead;
                }
            });
        dblCpu = CpuMilliseconds() - dblCpuStart;
        return dblWall;
    };
    double dblCopyCpuBefore = 0.0;
    double dblCopyCpuAfter = 0.0;
    const double dblCopyBefore = copyRun(strCopies + "/before", dblCopyCpuBefore);

    ::sync();
    const double dblImportCpuStart = CpuMilliseconds();
    CYoloDatasetImport::SResult result;
    double dblScan = 0.0;
    const double dblImport = BenchTiming::Milliseconds(
        [&]
        {
            std::unique_ptr<CDatasetScan> pScan;
            dblScan = BenchTiming::Milliseconds([&] { pScan = CDatasetFormat::Scan(strSet); });
            result = CYoloDatasetImport(&database, &model)
                         .Import(*pScan,
                                 [](int, int)
                                 {
                                     // What the progress dialog does for the window between two images.
                                     QCoreApplication::processEvents();
                                     return true;
                                 });
        });
    const double dblImportCpu = CpuMilliseconds() - dblImportCpuStart;
    const double dblCopyAfter = copyRun(strCopies + "/after", dblCopyCpuAfter);
    const double dblCopy = (dblCopyBefore + dblCopyAfter) / 2.0;
    const double dblCopyCpu = (dblCopyCpuBefore + dblCopyCpuAfter) / 2.0;
    CLogger::Flush();

    std::printf(
        "data set: %d JPEGs of %d x %d, %d boxes in %lld bytes of JSON; %d copied and read twice, %d imported with "
        "%d boxes\n",
        nCount, WIDTH, HEIGHT, nCount * BOXES, QFileInfo(strSet + "/instances.json").size(), nRead / 2, result.nImages,
        result.nBoxes);
    std::printf(
        "BENCH project_import_coco_copy_headers: %.0f ms (baseline: %.0f ms before the import, %.0f ms after)\n",
        dblCopy, dblCopyBefore, dblCopyAfter);
    std::printf("BENCH project_import_coco_read_json: %.0f ms (part of the import)\n", dblScan);
    std::printf("BENCH project_import_coco: %.0f ms (goal <= %.0f ms)\n", dblImport, 1.5 * dblCopy);
    std::printf("BENCH project_import_coco_vs_copy: %.2f x (goal <= 1.5)\n", dblImport / dblCopy);
    std::printf("BENCH project_import_coco_cpu_vs_copy: %.2f x (goal <= 1.5; processor time %.0f ms against %.0f ms)\n",
                dblImportCpu / dblCopyCpu, dblImportCpu, dblCopyCpu);
    return result.nImages == nCount && result.nBoxes == nCount * BOXES ? 0 : 1;
}
