#pragma once

#include <QString>
#include <QStringList>

#include <vector>

// What a YOLO data set folder holds, read without changing anything: its images (searched recursively, the extensions
// "Add Images" accepts), each image's label file and boxes, its class names and its train.txt / test.txt lists.
class CYoloDatasetScan
{
public:
    // One label line "k cx cy w h": class index, box centre and size relative to the image.
    struct SBox
    {
        int nClass = 0;
        double dblCenterX = 0.0;
        double dblCenterY = 0.0;
        double dblWidth = 0.0;
        double dblHeight = 0.0;
    };
    struct SImage
    {
        QString strPath;      // absolute
        QString strLabelPath; // empty when the image has no label file
        bool bTrain = true;
        std::vector<SBox> vctBoxes; // the usable lines, in file order
    };
    // A kind of label line that is reported: how many and in which files (first ones first).
    struct SProblem
    {
        int nCount = 0;
        QStringList lstFiles;
    };

    // Reads the folder. Class names come from the first "*.names" file of the folder (by name), else its
    // "classes.txt", one per line (a blank line keeps its index but names no class); without either they are "class0",
    // "class1", ... up to the highest index any label uses. An image listed in test.txt goes to the test list, every
    // other image to the training list; without train.txt and test.txt every image trains until SetTrainShare says
    // otherwise.
    explicit CYoloDatasetScan(const QString& strFolder);

    // Without lists: the first dblShare (0 to 1) of the images, in path order, train and the rest test. With lists
    // nothing changes.
    void SetTrainShare(double dblShare);

    const std::vector<SImage>& Images() const { return m_vctImages; }
    const QStringList& ClassNames() const { return m_lstClassNames; }
    // True when the folder has train.txt or test.txt.
    bool HasLists() const { return m_bHasLists; }
    int BoxCount() const;

    // Lines that are not five numbers with an integer class (skipped), class indices without a name or with a blank
    // one (skipped), boxes the trainer cannot use (CBoxRule: no size, or far outside the image; skipped) and boxes
    // reaching beyond the image (kept).
    const SProblem& Malformed() const { return m_malformed; }
    const SProblem& UnnamedClass() const { return m_unnamed; }
    const SProblem& Unusable() const { return m_unusable; }
    const SProblem& Outside() const { return m_outside; }
    // Blank lines among the class names (those at the end left out): they name no class, so none is made for them.
    int BlankClassNames() const { return m_nBlankClassNames; }

    // True when the line is "k cx cy w h" with an integer k >= 0; blank lines are neither boxes nor malformed.
    static bool ParseLine(const QString& strLine, SBox& box);
    static bool IsBlank(const QString& strLine) { return strLine.trimmed().isEmpty(); }
    // The image's label file: the same base name beside it, else the darknet layout ("images" becomes "labels");
    // empty when neither exists.
    static QString FindLabelFile(const QString& strImagePath);
    // True for the extensions "Add Images" accepts.
    static bool IsImageFile(const QString& strPath);

private:
    void FindImages();
    void ReadClassNames();
    void ReadLabels();
    void ReadLists();
    // The image indices the list file names, each matched by its path relative to the folder or by its tail.
    std::vector<int> ListedImages(const QString& strListPath) const;
    static void Note(SProblem& problem, const QString& strFile);

    QString m_strFolder;
    std::vector<SImage> m_vctImages;
    QStringList m_lstClassNames;
    bool m_bNamesGiven = false;
    bool m_bHasLists = false;
    SProblem m_malformed;
    SProblem m_unnamed;
    SProblem m_unusable;
    int m_nBlankClassNames = 0;
    SProblem m_outside;
};
