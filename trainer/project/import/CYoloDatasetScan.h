#pragma once

#include "project/import/CDatasetScan.h"

// What a YOLO data set folder holds, read without changing anything: its images (searched recursively, the extensions
// "Add Images" accepts), each image's label file and boxes, its class names and its train.txt / test.txt lists.
class CYoloDatasetScan : public CDatasetScan
{
public:
    // Reads the folder. Class names come from the first "*.names" file of the folder (by name), else its
    // "classes.txt", one per line (a blank line keeps its index but names no class); without either they are "class0",
    // "class1", ... up to the highest index any label uses. An image listed in test.txt goes to the test list, every
    // other image to the training list; without train.txt and test.txt every image trains until SetTrainShare says
    // otherwise. pCancel, when given, is read between files and lines (the scan may run on a thread of its own): once
    // it is true the scan stops soon and Cancelled() tells so.
    explicit CYoloDatasetScan(const QString& strFolder, const std::atomic_bool* pCancel = nullptr);

    // True when the line is "k cx cy w h" with an integer k >= 0; blank lines are neither boxes nor malformed.
    static bool ParseLine(const QString& strLine, SBox& box);
    static bool IsBlank(const QString& strLine) { return strLine.trimmed().isEmpty(); }
    // The image's label file: the same base name beside it, else the darknet layout ("images" becomes "labels");
    // empty when neither exists.
    static QString FindLabelFile(const QString& strImagePath);
    // True for the extensions "Add Images" accepts.
    static bool IsImageFile(const QString& strPath);
    // The paths FindLabelFile tries, in its order.
    static QStringList LabelFileCandidates(const QString& strImagePath);
    // The first of them where anything stands, a dangling link included; empty when none. Asked when FindLabelFile
    // found no regular file: what it returns then blocks the image's labels.
    static QString BlockedLabelFile(const QString& strImagePath);

private:
    void FindImages();
    void ReadClassNames();
    void ReadLabels();
    void ReadLists();
    // The image indices the list file names, each matched by its path relative to the folder or by its tail.
    std::vector<int> ListedImages(const QStringList& lstLines) const;

    bool m_bNamesGiven = false;
};
