#pragma once

#include <QString>
#include <QStringList>

#include <atomic>
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

    // Files are read only when they are regular (a link to one counts) and no larger than this: a FIFO, a device or a
    // huge label file would hold the import or fill the memory.
    static constexpr qint64 kMaxTextBytes = 4 * 1024 * 1024;
    // Images larger than this are not copied: no picture the trainer can use comes near it, and a copy of a huge
    // file would hold the import where Cancel cannot reach.
    static constexpr qint64 kMaxImageBytes = qint64(1) << 30;
    // Label lines kept per image; the rest are skipped and reported.
    static constexpr int kMaxBoxesPerImage = 10000;
    // Classes a project may hold after an import; class indices from here on are never numbered classes.
    static constexpr int kMaxClasses = 10000;

    // Reads the folder. Class names come from the first "*.names" file of the folder (by name), else its
    // "classes.txt", one per line (a blank line keeps its index but names no class); without either they are "class0",
    // "class1", ... up to the highest index any label uses. An image listed in test.txt goes to the test list, every
    // other image to the training list; without train.txt and test.txt every image trains until SetTrainShare says
    // otherwise. pCancel, when given, is read between files and lines (the scan may run on a thread of its own): once
    // it is true the scan stops soon and Cancelled() tells so.
    explicit CYoloDatasetScan(const QString& strFolder, const std::atomic_bool* pCancel = nullptr);

    // Without lists: the first dblShare (0 to 1) of the images, in path order, train and the rest test. With lists
    // nothing changes.
    void SetTrainShare(double dblShare);

    const std::vector<SImage>& Images() const { return m_vctImages; }
    const QStringList& ClassNames() const { return m_lstClassNames; }
    // True when the folder has train.txt or test.txt.
    bool HasLists() const { return m_bHasLists; }
    int BoxCount() const;
    bool Cancelled() const { return m_bCancelled; }
    // Why nothing of the folder may be imported (a list or the names file exists but cannot be read, too many
    // classes); empty when it may.
    const QString& Refusal() const { return m_strRefusal; }

    // Lines that are not five numbers with an integer class (skipped), class indices without a name or with a blank
    // one (skipped), boxes the trainer cannot use (CBoxRule: no size, or far outside the image; skipped) and boxes
    // reaching beyond the image (kept).
    const SProblem& Malformed() const { return m_malformed; }
    const SProblem& UnnamedClass() const { return m_unnamed; }
    const SProblem& Unusable() const { return m_unusable; }
    const SProblem& Outside() const { return m_outside; }
    // Blank lines among the class names (those at the end left out): they name no class, so none is made for them.
    int BlankClassNames() const { return m_nBlankClassNames; }
    // Images, label files, lists and names files that exist but are not regular files or cannot be read; files over
    // kMaxTextBytes and images over kMaxImageBytes; label lines beyond kMaxBoxesPerImage. An image whose label file is
    // unreadable or too large is left out (SkippedImages) rather than imported without its boxes.
    const SProblem& Unreadable() const { return m_unreadable; }
    const SProblem& TooLarge() const { return m_tooLarge; }
    const SProblem& BeyondBoxLimit() const { return m_beyondBoxLimit; }
    int SkippedImages() const { return m_nSkippedImages; }

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
    static void Note(SProblem& problem, const QString& strFile);
    // The file's lines when it is a readable regular file within kMaxTextBytes; else notes why not and returns false.
    bool ReadText(const QString& strPath, QStringList& lstLines);
    QString Relative(const QString& strPath) const;
    bool Stop();

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
    SProblem m_unreadable;
    SProblem m_tooLarge;
    SProblem m_beyondBoxLimit;
    int m_nSkippedImages = 0;
    const std::atomic_bool* m_pCancel = nullptr;
    bool m_bCancelled = false;
    QString m_strRefusal;
};
