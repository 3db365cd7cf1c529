#pragma once

#include "project/import/CDatasetScan.h"

#include <QHash>

#include <map>

class QJsonObject;

// What a COCO data set holds: a JSON file's "images" (found relative to the file's folder, else in an "images"
// folder beside it), "annotations" ("bbox" x, y, width, height in pixels; "iscrowd" boxes kept as ordinary boxes and
// counted; segmentation ignored) and "categories" by ID, which become the classes in the order of their IDs. A folder
// holding one JSON file is read from it; a folder holding a training and a test file (their names hold "train" and
// "test" or "val") gives the split.
class CCocoDatasetScan : public CDatasetScan
{
public:
    // Largest JSON file read: the whole file is parsed in memory.
    static constexpr qint64 kMaxJsonBytes = qint64(100) * 1024 * 1024;

    // strPath is a JSON file or a folder as told above.
    explicit CCocoDatasetScan(const QString& strPath, const std::atomic_bool* pCancel = nullptr);

    // True when strFolder holds JSON files.
    static bool Recognises(const QString& strFolder);
    // The one conversion of a COCO box to the project's box: both count pixels from the image's top left corner
    // (0, 0) and give the size, so the numbers pass unchanged.
    static SPixelBox FromBbox(int nClass, double dblX, double dblY, double dblWidth, double dblHeight);

private:
    // The files to read: strTrain always, strTest when the folder holds a test file. Sets the refusal when the
    // folder's JSON files are not one file or one pair.
    bool ChooseFiles(const QString& strPath, QString& strTrain, QString& strTest);
    // Reads one file into images; false (nothing of it kept) when it cannot be read or is malformed.
    bool ReadFile(const QString& strJson, bool bTrain, std::vector<SImage>& vctImages);
    bool ReadCategories(const QJsonObject& root, const QString& strFile, std::map<qint64, QString>& mapNames);
    QString FindImage(const QString& strJsonDir, const QString& strFileName) const;

    // The class index of each category ID.
    QHash<qint64, int> m_mapClasses;
};
