#pragma once

#include "project/export/CExportDataset.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <vector>

class CExportFiles;

// Writes a project as COCO detection files: train.json and test.json, one per list, each with "info", "licenses",
// "images" (id, file_name, width, height), "annotations" (id, image_id, category_id, bbox [x, y, width, height] in
// pixels from the image's top-left edge as the project stores them, area, iscrowd 0, segmentation []) and
// "categories" (id from 1 in the class table's order, name). Image IDs are the project's, annotation IDs count from 1
// over both files, so that the two files can be merged. Copied images go to images/ and are named relative to it;
// referenced ones by their absolute path in the project.
class CCocoExport
{
public:
    // Called before each image with the number done and the total; false cancels the export there.
    using Progress = std::function<bool(int nDone, int nTotal)>;

    static const QString IMAGES_FOLDER;
    static const QString TRAIN_FILE;
    static const QString TEST_FILE;

    // Neither is owned; both must outlive the export.
    CCocoExport(const CExportDataset& dataset, CExportFiles& files);

    // False when cancelled or when a file could not be written (the files tell why); the files written so far stay
    // for the caller to remove. An image that cannot be read for its copy is left out of both files and counted.
    bool Write(bool bCopyImages, const Progress& progress);
    bool Cancelled() const { return m_bCancelled; }
    int ImageCount() const { return m_nImages; }
    int BoxCount() const { return m_nBoxes; }
    int UnreadableCount() const { return m_nUnreadable; }
    QString FirstUnreadable() const { return m_strFirstUnreadable; }

    // The text as a JSON string, quotes included.
    static void AppendString(QByteArray& baJson, const QString& strText);

private:
    // The file of one list: the images at the positions given, each named as in vctFileNames.
    QByteArray Document(const std::vector<size_t>& vctImages, const std::vector<QString>& vctFileNames,
                        int& nAnnotationID) const;

    const CExportDataset& m_dataset;
    CExportFiles& m_files;
    bool m_bCancelled = false;
    int m_nImages = 0;
    int m_nBoxes = 0;
    int m_nUnreadable = 0;
    QString m_strFirstUnreadable;
};
