// Times the data set report on a project of 20,000 images and 100,000 boxes, every image file present (read for its
// size from the header). Goal: under 1 s. The same run times the plain header reads of the 20,000 files, the floor
// of that figure.

#include "BenchTiming.h"

#include "database/CDatabase.h"
#include "project/CProjectController.h"
#include "project/CProjectModel.h"
#include "project/report/CDatasetReport.h"
#include "project/store/CProjectRecordFactory.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QTemporaryDir>

#include <cstdio>
#include <unistd.h>

namespace
{
const int IMAGES = 20000;
const int ROIS = 100000;
const int CATEGORIES = 10;
const int RUNS = 3;

QString ImageName(int i)
{
    return QString("image_%1.jpg").arg(i, 5, 10, QChar('0'));
}

// Rows are made by SQLite itself in one transaction; the image files are hard links of one 640x480 JPEG, so that the
// disk holds one picture but the report opens 20,000 files.
bool GenerateProject(const QString& strDir, const QString& strName)
{
    QDir().mkpath(strDir + "/Images");
    CProjectRecordFactory factory;
    CDatabase database(&factory);
    if (!database.OpenDatabase("localhost", strDir + "/" + strName + ".data", "", "") ||
        !database.RunQueryFile(":/Files/tamsel_database_sqlite.sql", true))
        return false;
    const QString strNumbers = "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < %1) ";
    if (!database.RunQueries(
            {"INSERT INTO project_training (NAME, TYPE, VERSION, CREATED_DATETIME) VALUES('" + strName +
                 "', 'Yolo3', '0.0.1', 'Sat Dec 5 17:32:02 2026')",
             "INSERT INTO category (NAME) " + strNumbers.arg(CATEGORIES - 1) + "SELECT printf('class%d', i) FROM n",
             "INSERT INTO dataset_image (NAME, FULL_PATH, TYPE, WIDTH, HEIGHT, PROJECT_ID) " +
                 strNumbers.arg(IMAGES - 1) +
                 "SELECT printf('image_%05d.jpg', i), printf('Images/image_%05d.jpg', i), 'train', 640, 480, 1 FROM n",
             // Five boxes per image; a few reach beyond the image or are tiny, as in a real data set.
             "INSERT INTO dataset_roi (X, Y, WIDTH, HEIGHT, IMAGE_ID, CATEGORY_ID) " + strNumbers.arg(ROIS - 1) +
                 QString("SELECT (i % 97) * 6.5, (i % 89) * 5.25, 3 + i % 60, 2 + i % 50, 1 + i % %1, 1 + i % %2 "
                         "FROM n")
                     .arg(IMAGES)
                     .arg(CATEGORIES + 1)},
            true))
        return false;
    QImage image(640, 480, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    const QString strFirst = strDir + "/Images/" + ImageName(0);
    if (!image.save(strFirst))
        return false;
    const QByteArray baFirst = QFile::encodeName(strFirst);
    for (int i = 1; i < IMAGES; ++i)
    {
        if (::link(baFirst.constData(), QFile::encodeName(strDir + "/Images/" + ImageName(i)).constData()) != 0)
            return false;
    }
    return true;
}
} // namespace

int main(int argc, char* argv[])
{
    QTemporaryDir home;
    qputenv("HOME", home.path().toUtf8());
    QApplication app(argc, argv);

    const QString strName = "bench";
    const QString strDir = home.path() + "/bench";
    const double dblGenerate = BenchTiming::Milliseconds(
        [&]
        {
            if (!GenerateProject(strDir, strName))
            {
                std::fprintf(stderr, "could not generate the project\n");
                std::exit(1);
            }
        });
    std::printf("generated %d images, %d boxes in %.0f ms\n", IMAGES, ROIS, dblGenerate);

    CProjectModel model;
    CProjectController controller(&model, nullptr);
    controller.OpenProject(strDir, strName);
    if (model.GetTrainImages().size() != size_t(IMAGES))
    {
        std::fprintf(stderr, "the project did not open\n");
        return 1;
    }

    const double dblHeaders = BenchTiming::Milliseconds(
        [&]
        {
            for (int i = 0; i < IMAGES; ++i)
                QImageReader(strDir + "/Images/" + ImageName(i)).size();
        });
    std::vector<double> vctRuns;
    CDatasetReport report;
    bool bMade = true;
    for (int i = 0; i < RUNS; ++i)
        vctRuns.push_back(BenchTiming::Milliseconds([&] { bMade = controller.MakeDatasetReport(report) && bMade; }));
    if (!bMade || report.ImageCount() != IMAGES || report.BoxCount() != ROIS ||
        report.Flaw(CDatasetReport::EFlaw_MissingFile).nCount != 0 ||
        report.Flaw(CDatasetReport::EFlaw_UnknownClass).nCount == 0)
    {
        std::fprintf(stderr, "the report is wrong\n");
        return 1;
    }
    std::printf("BENCH dataset_report_header_reads: %.0f ms (floor: %d image headers)\n", dblHeaders, IMAGES);
    std::printf("BENCH dataset_report: %.0f ms (goal < 1000 ms)\n", BenchTiming::Median(vctRuns));
    return 0;
}
