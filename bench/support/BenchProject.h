#pragma once

#include "database/CDatabase.h"
#include "project/store/CCategoryRecord.h"
#include "project/store/CDatasetImageRecord.h"
#include "project/store/CDatasetROIRecord.h"
#include "project/store/CProjectRecordFactory.h"
#include "project/store/CProjectTrainingRecord.h"

#include <QDateTime>
#include <QDir>
#include <QFile>

#include <algorithm>
#include <memory>
#include <vector>

// Large project files for the benchmarks, written straight into the database in a few transactions.
namespace BenchProject
{
struct SShape
{
    int nTrainImages = 16000;
    int nTestImages = 4000;
    int nRoisPerImage = 5;
    int nCategories = 10;
    // Extra ROIs on the first image, spread over a 1920 x 1080 image.
    int nExtraRoisOnFirst = 0;
};

// <strDir>/<strName>.data with images image_00000.jpg ... (640 x 480, file names only: no image file is written),
// classes class0 ... and ROIs of 50 x 40 pixels.
inline bool Generate(const QString& strDir, const QString& strName, const SShape& shape)
{
    QDir().mkpath(strDir + "/Images");
    CProjectRecordFactory factory;
    CDatabase database(&factory);
    if (!database.OpenDatabase("localhost", strDir + "/" + strName + ".data", "", ""))
        return false;
    if (!database.RunQueryFile(":/Files/tamsel_database_sqlite.sql", true))
        return false;

    auto pProject = std::make_shared<CProjectTrainingRecord>();
    pProject->SetName(strName);
    pProject->SetType("Yolo3");
    pProject->SetVersion("0.0.1");
    pProject->SetCreatedDateTime(QDateTime::currentDateTime());
    if (!database.InsertToTable(pProject))
        return false;

    std::vector<std::shared_ptr<CDatabaseRecord>> vctRecords;
    for (int i = 0; i < shape.nCategories; ++i)
    {
        auto pCategory = std::make_shared<CCategoryRecord>();
        pCategory->SetName(QString("class%1").arg(i));
        vctRecords.push_back(pCategory);
    }
    if (!database.InsertToTable(vctRecords, true))
        return false;

    const int nImages = shape.nTrainImages + shape.nTestImages;
    vctRecords.clear();
    for (int i = 0; i < nImages; ++i)
    {
        auto pImage = std::make_shared<CDatasetImageRecord>();
        const QString strFile = QString("image_%1.jpg").arg(i, 5, 10, QChar('0'));
        pImage->SetName(strFile);
        pImage->SetFullPath("Images" + QString(QDir::separator()) + strFile);
        pImage->SetType(i < shape.nTrainImages ? "train" : "test");
        pImage->SetWidth(640);
        pImage->SetHeight(480);
        pImage->SetProjectID(pProject->GetID());
        vctRecords.push_back(pImage);
    }
    if (!vctRecords.empty() && !database.InsertToTable(vctRecords, true))
        return false;

    vctRecords.clear();
    const auto addRoi = [&vctRecords, &shape](double dblX, double dblY, int nImage, int k)
    {
        auto pRoi = std::make_shared<CDatasetROIRecord>();
        pRoi->SetX(dblX);
        pRoi->SetY(dblY);
        pRoi->SetWidth(50.0);
        pRoi->SetHeight(40.0);
        pRoi->SetImageID(nImage);
        pRoi->SetCategoryID(1 + (nImage + k) % shape.nCategories);
        vctRecords.push_back(pRoi);
    };
    for (int nImage = 1; nImage <= nImages; ++nImage)
    {
        for (int k = 0; k < shape.nRoisPerImage; ++k)
            addRoi(10.0 * k, 20.0 * k, nImage, k);
    }
    for (int k = 0; k < shape.nExtraRoisOnFirst; ++k)
        addRoi(30.0 * (k % 60), 25.0 * (k / 60 % 40), 1, k);
    return vctRecords.empty() || database.InsertToTable(vctRecords, true);
}

// The same kind of project made by SQLite itself in one transaction, fast enough for 200,000 images and a million
// ROIs: images image_00000.jpg ... (at least five digits, 640 x 480, the first nTrainImages "train", the rest "test"),
// the configuration yolov3.cfg, classes class0 ... and ROIs of 50 x 40 pixels that go round the images as boxes
// drawn image by image round the project (ROI i on image 1 + i % images). nExtraRoisOnFirst is not used.
inline bool GenerateBySql(const QString& strDir, const QString& strName, const SShape& shape)
{
    QDir().mkpath(strDir + "/Images");
    QFile configuration(":/Files/yolov3.cfg");
    if (!configuration.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    const QString strConfiguration = QString::fromUtf8(configuration.readAll()).replace("'", "''");

    CProjectRecordFactory factory;
    CDatabase database(&factory);
    if (!database.OpenDatabase("localhost", strDir + "/" + strName + ".data", "", "") ||
        !database.RunQueryFile(":/Files/tamsel_database_sqlite.sql", true))
        return false;
    const int nImages = shape.nTrainImages + shape.nTestImages;
    const int nRois = nImages * shape.nRoisPerImage;
    const int nDigits = std::max(5, static_cast<int>(QString::number(std::max(nImages - 1, 0)).size()));
    const QString strNumber = "%0" + QString::number(nDigits) + "d";
    const QString strNumbers = "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < %1) ";
    std::vector<QString> vctQueries = {
        "INSERT INTO project_training (NAME, TYPE, VERSION, CREATED_DATETIME) VALUES('" + strName +
            "', 'Yolo3', '0.0.1', 'Sat Dec 5 17:32:02 2026')",
        "INSERT INTO project_property (NAME, VALUE, TYPE, PROJECT_ID) VALUES('PROJECT_CONFIGURATION', '" +
            strConfiguration + "', 'string', 1)",
        "INSERT INTO category (NAME) " + strNumbers.arg(shape.nCategories - 1) + "SELECT printf('class%d', i) FROM n"};
    if (nImages > 0)
        vctQueries.push_back("INSERT INTO dataset_image (NAME, FULL_PATH, TYPE, WIDTH, HEIGHT, PROJECT_ID) " +
                             strNumbers.arg(nImages - 1) +
                             QString("SELECT printf('image_%1.jpg', i), printf('Images/image_%1.jpg', i), CASE WHEN "
                                     "i < %2 THEN 'train' ELSE 'test' END, 640, 480, 1 FROM n")
                                 .arg(strNumber, QString::number(shape.nTrainImages)));
    if (nRois > 0)
        vctQueries.push_back("INSERT INTO dataset_roi (X, Y, WIDTH, HEIGHT, IMAGE_ID, CATEGORY_ID) " +
                             strNumbers.arg(nRois - 1) +
                             QString("SELECT (i % 7) * 10.5, (i % 11) * 7.25, 50, 40, 1 + i % %1, 1 + i % %2 FROM n")
                                 .arg(nImages)
                                 .arg(shape.nCategories));
    return database.RunQueries(vctQueries, true);
}
} // namespace BenchProject
