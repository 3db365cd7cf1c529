#pragma once

#include <QSize>
#include <QString>
#include <QStringList>

#include <atomic>
#include <vector>

// What a data set holds, read without changing anything, in the one form the import consumes whatever the format:
// its images, each with its boxes, its class names, its training and test split and what could not be used. The
// readers of each format (CYoloDatasetScan, CVocDatasetScan, CCocoDatasetScan) fill it.
class CDatasetScan
{
public:
    // A box relative to its image: class index, centre and size (YOLO label lines).
    struct SBox
    {
        int nClass = 0;
        double dblCenterX = 0.0;
        double dblCenterY = 0.0;
        double dblWidth = 0.0;
        double dblHeight = 0.0;
    };
    // A box in pixels of its image as dataset_roi holds it: class index, 0-based top left corner and size (the
    // whole image is 0, 0, width, height).
    struct SPixelBox
    {
        int nClass = 0;
        double dblX = 0.0;
        double dblY = 0.0;
        double dblWidth = 0.0;
        double dblHeight = 0.0;
    };
    struct SImage
    {
        QString strPath;      // absolute
        QString strLabelPath; // the file the boxes come from; empty when there is none
        bool bTrain = true;
        std::vector<SBox> vctBoxes;           // the usable relative boxes, in file order
        std::vector<SPixelBox> vctPixelBoxes; // the usable pixel boxes, in file order
        // The size the annotation states, which its pixel boxes were checked against; empty when none is stated.
        QSize sizeStated;
    };
    // A kind of problem that is reported: how many and in which files (first ones first).
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
    // Boxes kept per image; the rest are skipped and reported.
    static constexpr int kMaxBoxesPerImage = 10000;
    // Classes a project may hold after an import; class indices from here on are never numbered classes.
    static constexpr int kMaxClasses = 10000;

    virtual ~CDatasetScan() = default;

    // Without lists: the first dblShare (0 to 1) of the images, in path order, train and the rest test. With lists
    // nothing changes.
    void SetTrainShare(double dblShare);

    const std::vector<SImage>& Images() const { return m_vctImages; }
    const QStringList& ClassNames() const { return m_lstClassNames; }
    // True when the data set tells its own split (list files, a test annotation file).
    bool HasLists() const { return m_bHasLists; }
    int BoxCount() const;
    bool Cancelled() const { return m_bCancelled; }
    // Why nothing of the data set may be imported; empty when it may.
    const QString& Refusal() const { return m_strRefusal; }

    // YOLO label lines: not five numbers with an integer class, a class index without a name or with a blank one,
    // a box the trainer cannot use (CBoxRule; all skipped).
    const SProblem& Malformed() const { return m_malformed; }
    const SProblem& UnnamedClass() const { return m_unnamed; }
    const SProblem& Unusable() const { return m_unusable; }
    // Boxes of any format reaching beyond the image (kept).
    const SProblem& Outside() const { return m_outside; }
    // Blank lines among the class names (those at the end left out): they name no class, so none is made for them.
    int BlankClassNames() const { return m_nBlankClassNames; }
    // Files that exist but are not regular files or cannot be read; files over their size limit; boxes beyond
    // kMaxBoxesPerImage. An image whose annotation cannot be read is left out (SkippedImages) rather than imported
    // without its boxes.
    const SProblem& Unreadable() const { return m_unreadable; }
    const SProblem& TooLarge() const { return m_tooLarge; }
    const SProblem& BeyondBoxLimit() const { return m_beyondBoxLimit; }
    int SkippedImages() const { return m_nSkippedImages; }

    // Annotation formats (VOC, COCO). Files that are no well-formed XML or JSON of the format (nothing of them is
    // imported); boxes without their numbers or with a far corner before the near one, boxes of no size or far
    // outside their image, boxes of a category that is not defined, boxes of an image that is not listed (all
    // skipped); annotated images that are not found, and images annotated more than once (left out with all their
    // boxes, which could not be told apart).
    const SProblem& MalformedFiles() const { return m_malformedFiles; }
    const SProblem& MalformedBoxes() const { return m_malformedBoxes; }
    const SProblem& UnusableBoxes() const { return m_unusableBoxes; }
    const SProblem& UnknownCategory() const { return m_unknownCategory; }
    const SProblem& UnknownImage() const { return m_unknownImage; }
    const SProblem& MissingImages() const { return m_missingImages; }
    const SProblem& DuplicateImages() const { return m_duplicateImages; }
    // COCO boxes marked "iscrowd" (imported as ordinary boxes).
    int CrowdBoxes() const { return m_nCrowdBoxes; }

protected:
    // pCancel, when given, is read between files (the scan may run on a thread of its own): once it is true the scan
    // stops soon and Cancelled() tells so.
    CDatasetScan(const QString& strFolder, const std::atomic_bool* pCancel);

    static void Note(SProblem& problem, const QString& strFile);
    // The file's bytes when it is a readable regular file within nMaxBytes; else notes why not and returns false.
    bool ReadBytes(const QString& strPath, qint64 nMaxBytes, QByteArray& baData);
    // The file's lines when it is a readable regular file within kMaxTextBytes; else notes why not and returns false.
    bool ReadText(const QString& strPath, QStringList& lstLines);
    // Checks a pixel box against the stated image size: true when it is usable (noted in Outside when it reaches
    // beyond the image), else noted in UnusableBoxes.
    bool CheckPixelBox(const SPixelBox& box, const QSize& size, const QString& strFile);
    // The absolute path in the one spelling every format's reader compares.
    static QString Normalised(const QString& strPath);
    // True when something stands at the path, a dangling link included.
    static bool Present(const QString& strPath);
    QString Relative(const QString& strPath) const;
    bool Stop();

    QString m_strFolder;
    std::vector<SImage> m_vctImages;
    QStringList m_lstClassNames;
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
    SProblem m_malformedFiles;
    SProblem m_malformedBoxes;
    SProblem m_unusableBoxes;
    SProblem m_unknownCategory;
    SProblem m_unknownImage;
    SProblem m_missingImages;
    SProblem m_duplicateImages;
    int m_nCrowdBoxes = 0;
    const std::atomic_bool* m_pCancel = nullptr;
    bool m_bCancelled = false;
    QString m_strRefusal;
};
