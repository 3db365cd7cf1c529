#pragma once

#include "project/export/CExportDataset.h"

#include <QByteArray>
#include <QString>

#include <functional>

class CExportFiles;

// Writes a project as a Pascal VOC folder: Annotations/<stem>.xml per image, ImageSets/Main/train.txt and test.txt
// with the stems of each list in its order and, when the images are copied, JPEGImages/<name>. A box from X, Y,
// width and height in the project's pixels (0 at the image's top-left edge) has the 1-based inclusive corners
// xmin = X + 1, ymin = Y + 1, xmax = X + width, ymax = Y + height: a box of the one pixel at the top-left corner is
// 1 1 1 1, one of the whole image 1 1 W H. Referenced images are named by their absolute path in the project.
class CVocExport
{
public:
    // Called before each image with the number done and the total; false cancels the export there.
    using Progress = std::function<bool(int nDone, int nTotal)>;

    static const QString ANNOTATIONS_FOLDER;
    static const QString IMAGES_FOLDER;
    static const QString SETS_FOLDER;

    // Neither is owned; both must outlive the export.
    CVocExport(const CExportDataset& dataset, CExportFiles& files);

    // False when cancelled, refused (see Refusal) or when a file could not be written (the files tell why); the files
    // written so far stay for the caller to remove. An image that cannot be read for its copy is left out of every file
    // and counted.
    bool Write(bool bCopyImages, const Progress& progress);
    bool Cancelled() const { return m_bCancelled; }
    // Why nothing was written though the destination could take it: a box's class name holds a character XML cannot
    // hold (a control character); empty otherwise.
    QString Refusal() const { return m_strRefusal; }
    int ImageCount() const { return m_nImages; }
    int BoxCount() const { return m_nBoxes; }
    int UnreadableCount() const { return m_nUnreadable; }
    QString FirstUnreadable() const { return m_strFirstUnreadable; }

    // The annotation file of an image found at strPath in the folder named strFolder.
    static QByteArray Annotation(const CExportDataset& dataset, const CExportDataset::SImage& sImage,
                                 const QString& strFolder, const QString& strPath);
    // The text as XML character data.
    static void AppendEscaped(QByteArray& baXml, const QString& strText);

private:
    const CExportDataset& m_dataset;
    CExportFiles& m_files;
    bool m_bCancelled = false;
    QString m_strRefusal;
    int m_nImages = 0;
    int m_nBoxes = 0;
    int m_nUnreadable = 0;
    QString m_strFirstUnreadable;
};
