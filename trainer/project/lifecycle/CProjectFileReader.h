#pragma once

#include <QString>

#include <memory>
#include <vector>

class CDatabase;
class CDatasetImageEntry;

// Opens a project file on the program's database connection and reads what opening a project needs. A file that is
// missing, cannot be opened or lacks a table the program reads is refused, and the connection is closed again.
class CProjectFileReader
{
public:
    struct SContent
    {
        int nProjectID = -1;
        // dataset_image rows by TYPE, in the database's order.
        std::vector<std::shared_ptr<CDatasetImageEntry>> vctTrainImages;
        std::vector<std::shared_ptr<CDatasetImageEntry>> vctTestImages;
    };

    // Logs "Project file %s is not found" or "Failed to open database file %s" where those apply. On success the
    // connection stays open, with the ROI index made and the write-ahead log on where the folder allows it.
    static bool Open(CDatabase* pDatabase, const QString& strFilePath, SContent& content);
};
