#pragma once

#include "project/import/CDatasetScan.h"

#include <QHash>

// What a Pascal VOC data set folder holds: one XML annotation per image (searched recursively), its image found
// through the annotation's "path" or "filename" or beside it, its boxes ("bndbox" corners in 1-based pixels, both
// corners inside the box; "difficult" boxes are ordinary boxes), classes named by "object/name" in the order they
// first appear, and the split of ImageSets/Main/train.txt, test.txt or val.txt.
class CVocDatasetScan : public CDatasetScan
{
public:
    explicit CVocDatasetScan(const QString& strFolder, const std::atomic_bool* pCancel = nullptr);

    // True when the folder looks like a VOC data set: an "Annotations" folder, or XML files directly inside.
    static bool Recognises(const QString& strFolder);
    // The one conversion of VOC corners to the project's box: xmin 1, xmax 1 is the image's first pixel column, that is
    // x 0 and width 1.
    static SPixelBox FromCorners(int nClass, double dblXMin, double dblYMin, double dblXMax, double dblYMax);

private:
    // One annotation file as read: false when it is no VOC annotation.
    struct SAnnotation
    {
        QString strFileName;
        QString strPath;
        QSize size;
        struct SObject
        {
            QString strName;
            bool bNumbers = false; // all four corners are numbers
            double dblXMin = 0.0, dblYMin = 0.0, dblXMax = 0.0, dblYMax = 0.0;
        };
        std::vector<SObject> vctObjects;
    };
    static bool Parse(const QByteArray& baXml, SAnnotation& annotation);
    void ReadAnnotations();
    // The image the annotation names: its path, its file name beside the annotation or in a JPEGImages folder, else
    // an image of the annotation's base name beside it; empty when none is a regular file.
    QString FindImage(const QString& strXmlPath, const SAnnotation& annotation) const;
    int ClassIndex(const QString& strName);
    void ReadLists();

    QHash<QString, int> m_mapClasses;
};
