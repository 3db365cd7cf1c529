#pragma once

#include <QString>

#include <atomic>
#include <memory>

class CDatasetScan;

// Which format a data set chosen for "Import Dataset" is in, told from the folder alone, and its reader.
class CDatasetFormat
{
public:
    enum EFormat
    {
        Yolo,
        Voc,
        Coco
    };

    // A JSON file is COCO. A folder with a YOLO names file ("*.names", "classes.txt") is YOLO whatever else it
    // holds; else JSON files directly inside make it COCO, an "Annotations" folder or XML files directly inside make
    // it Pascal VOC; any other folder is read as YOLO.
    static EFormat Recognise(const QString& strPath);
    static QString Name(EFormat eFormat);
    // The reader of the recognised format; see CDatasetScan for pCancel.
    static std::unique_ptr<CDatasetScan> Scan(const QString& strPath, const std::atomic_bool* pCancel = nullptr);
};
