// Times importing a YOLO data set (images of 640 x 480, five boxes each, a names file, labels beside the images) into
// a real project against copying the same files and reading their image headers, in the same run.
// Goal: the import takes at most 2 times the plain copy. The number of images is the first argument (default 10000).

#include "BenchTiming.h"

#include "database/CDatabase.h"
#include "frame/CLogger.h"
#include "project/CProjectModel.h"
#include "project/import/CYoloDatasetImport.h"
#include "project/import/CYoloDatasetScan.h"
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

namespace
{
const int WIDTH = 640;
const int HEIGHT = 480;
const int BOXES = 5;

bool WriteFile(const QString& strPath, const QByteArray& baData)
{
    QFile file(strPath);
    return file.open(QIODevice::WriteOnly) && file.write(baData) == baData.size();
}

// Every image is the same JPEG with its own number appended after the picture data: the copy and the header read
// cost what they cost for any camera picture of that size.
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
    WriteFile(strDir + "/obj.names", "person\ncar\nbike\ndog\ncat\n");
    QStringList lstPaths;
    for (int i = 0; i < nCount; ++i)
    {
        const QString strBase = QString("%1/images/img%2").arg(strDir).arg(i, 5, 10, QChar('0'));
        QByteArray baLabels;
        for (int k = 0; k < BOXES; ++k)
            baLabels +=
                QString::asprintf("%d %f %f %f %f\n", (i + k) % 5, 0.1 + 0.15 * k, 0.2 + 0.1 * k, 0.08, 0.12).toUtf8();
        WriteFile(strBase + ".jpg", baJpeg + QByteArray::number(i));
        WriteFile(strBase + ".txt", baLabels);
        lstPaths.append(strBase + ".jpg");
    }
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
    QDir().mkpath(strCopies);
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

    int nRead = 0;
    const double dblCopy = BenchTiming::Milliseconds(
        [&]
        {
            for (const QString& strPath : lstPaths)
            {
                const QString strTarget = strCopies + "/" + QFileInfo(strPath).fileName();
                if (QFile::copy(strPath, strTarget) && QImageReader(strTarget).size().isValid())
                    ++nRead;
            }
        });
    CYoloDatasetImport::SResult result;
    int nProgressCalls = 0;
    const double dblImport = BenchTiming::Milliseconds(
        [&]
        {
            const CYoloDatasetScan scan(strSet);
            result = CYoloDatasetImport(&database, &model)
                         .Import(scan,
                                 [&nProgressCalls](int, int)
                                 {
                                     // What the progress dialog does for the window between two images.
                                     QCoreApplication::processEvents();
                                     ++nProgressCalls;
                                     return true;
                                 });
        });
    CLogger::Flush();

    std::printf("data set: %d JPEGs of %d x %d, %d boxes; %d copied and read, %d imported with %d boxes\n", nCount,
                WIDTH, HEIGHT, nCount * BOXES, nRead, result.nImages, result.nBoxes);
    std::printf("BENCH project_import_copy_headers: %.0f ms (baseline)\n", dblCopy);
    std::printf("BENCH project_import: %.0f ms (goal <= %.0f ms)\n", dblImport, 2.0 * dblCopy);
    std::printf("BENCH project_import_vs_copy: %.2f x (goal <= 2)\n", dblImport / dblCopy);
    return result.nImages == nCount && result.nBoxes == nCount * BOXES ? 0 : 1;
}
