#include "project/lifecycle/CProjectFileReader.h"

#include "database/CColumnSelect.h"
#include "database/CDatabase.h"
#include "frame/CLogger.h"
#include "project/store/CCategoryRecord.h"
#include "project/store/CDatasetImageEntry.h"
#include "project/store/CDatasetImageRecord.h"
#include "project/store/CDatasetROIRecord.h"
#include "project/store/CProjectPropertyRecord.h"
#include "project/store/CProjectTrainingRecord.h"

#include <QFileInfo>

#include <cmath>

namespace
{
// The schema has no index on the image of an ROI; every per-image select of ROIs would scan the whole table.
const char* const ROI_IMAGE_INDEX_QUERY =
    "CREATE INDEX IF NOT EXISTS IDX_DATASET_ROI_IMAGE_ID ON dataset_roi (IMAGE_ID)";

QByteArray Utf8(const QString& strText)
{
    return strText.toUtf8();
}

// The images of one TYPE by column: a record per row would cost an object, a result record and three strings for
// each of hundreds of thousands of rows. False when the select fails.
bool ReadImages(CDatabase* pDatabase, const QString& strType,
                std::vector<std::shared_ptr<CDatasetImageEntry>>& vctEntries)
{
    CColumnSelect select(CDatasetImageRecord::TABLE_NAME, {{CDatasetImageRecord::COLUMN_TYPE, strType}});
    std::vector<int> vctIDs;
    std::vector<QString> vctNames;
    std::vector<QString> vctPaths;
    std::vector<double> vctWidths;
    std::vector<double> vctHeights;
    std::vector<int> vctProjectIDs;
    select.AddInteger(CDatasetImageRecord::COLUMN_ID, &vctIDs);
    select.AddText(CDatasetImageRecord::COLUMN_NAME, &vctNames);
    select.AddText(CDatasetImageRecord::COLUMN_FULL_PATH, &vctPaths);
    select.AddReal(CDatasetImageRecord::COLUMN_WIDTH, &vctWidths);
    select.AddReal(CDatasetImageRecord::COLUMN_HEIGHT, &vctHeights);
    select.AddInteger(CDatasetImageRecord::COLUMN_PROJECT_ID, &vctProjectIDs);
    if (!select.Run(pDatabase))
        return false;
    vctEntries.reserve(vctIDs.size());
    for (size_t i = 0; i < vctIDs.size(); ++i)
        vctEntries.push_back(std::make_shared<CDatasetImageEntry>(
            vctIDs[i], vctNames[i], vctPaths[i], strType, CDatasetImageRecord::SizeOfCell(vctWidths[i]),
            CDatasetImageRecord::SizeOfCell(vctHeights[i]), vctProjectIDs[i]));
    return true;
}
} // namespace

bool CProjectFileReader::Open(CDatabase* pDatabase, const QString& strFilePath, SContent& content)
{
    if (!QFileInfo(strFilePath).isFile())
    {
        CLogger::Write(ELogLevel_Error, "Project file %s is not found", Utf8(strFilePath).constData());
        return false;
    }
    // Opening releases the connection to the previous project file first.
    if (!pDatabase->OpenDatabase("localhost", strFilePath, "", ""))
    {
        CLogger::Write(ELogLevel_Error, "Failed to open database file %s", Utf8(strFilePath).constData());
        return false;
    }

    // A fresh vector per select: a failed select leaves its vector as it was, and must not pass on another table's
    // rows. Every table the open and the annotation read is required.
    std::vector<std::shared_ptr<CDatabaseRecord>> vctTraining;
    std::vector<std::shared_ptr<CDatasetImageEntry>> vctTrainImages;
    std::vector<std::shared_ptr<CDatasetImageEntry>> vctTestImages;
    bool bLoaded = pDatabase->SelectFromTable(CProjectTrainingRecord::TABLE_NAME, vctTraining, {});
    std::shared_ptr<CProjectTrainingRecord> pTraining =
        vctTraining.empty() ? nullptr : std::dynamic_pointer_cast<CProjectTrainingRecord>(vctTraining.front());
    bLoaded = bLoaded && pTraining && ReadImages(pDatabase, QStringLiteral("train"), vctTrainImages) &&
              ReadImages(pDatabase, QStringLiteral("test"), vctTestImages);
    for (const QString& strTable :
         {CDatasetROIRecord::TABLE_NAME, CCategoryRecord::TABLE_NAME, CProjectPropertyRecord::TABLE_NAME})
        bLoaded = bLoaded && pDatabase->HasTable(strTable);
    if (!bLoaded)
    {
        // Not a project file: nothing may keep working on it.
        pDatabase->Close();
        return false;
    }
    content.nProjectID = pTraining->GetID();
    content.vctTrainImages = std::move(vctTrainImages);
    content.vctTestImages = std::move(vctTestImages);
    // Older project files lack the index as well; a failure here only costs speed.
    pDatabase->RunQueries({ROI_IMAGE_INDEX_QUERY}, false);
    // Every box edit is a commit of its own: without the log each one waits for the disk. A folder that cannot hold
    // the log keeps the plain journal.
    pDatabase->SetWriteAheadLog(true);

    return true;
}
