#pragma once

#include <QByteArray>
#include <QSet>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class CDatabase;
class CDatasetImageEntry;

// What an export writes, read from the open project at once: the images of the training list, then those of the
// test list, in their order, each with its stored size, its file in the project's "Images" folder, the name it gets in
// the export and its boxes; and the class names in the class table's order (a box's class is its position there).
// A box is kept as the project stores it, in pixels from the image's top-left corner, cut at the image's edges when
// it reaches beyond them: the formats describe boxes inside their image. Whatever is left out is counted for the
// report (Notes).
class CExportDataset
{
public:
    using EntryList = std::vector<std::shared_ptr<CDatasetImageEntry>>;

    struct SBox
    {
        int nClass = 0;
        double dblX = 0.0;
        double dblY = 0.0;
        double dblWidth = 0.0;
        double dblHeight = 0.0;
        // The stored box reached beyond the image and was cut at its edges.
        bool bCut = false;
    };
    struct SImage
    {
        int nImageID = -1;
        bool bTrain = true;
        // The name in the export: the project's name unless another image took its stem (see Read).
        QString strName;
        // The absolute path of the project's copy of the image.
        QString strSource;
        unsigned int nWidth = 0;
        unsigned int nHeight = 0;
        // Its boxes are Boxes()[nFirstBox] up to Boxes()[nEndBox].
        size_t nFirstBox = 0;
        size_t nEndBox = 0;
    };

    // Reads the rows of the images in the lists and their boxes. False when a table cannot be read (Failure says
    // which); nothing is kept then. Left out and counted: a listed image without row or without stored size, an
    // image listed a second time, a box whose class the table lacks, a box the trainer could not use either (see
    // CBoxRule). Names whose stem another image has, compared without case (a.png and A.jpg would share
    // Annotations/a.xml), become "<stem>_<n>.<extension>" with the smallest free n.
    bool Read(CDatabase* pDatabase, const EntryList& vctTrain, const EntryList& vctTest, const QString& strProjectDir);
    QString Failure() const { return m_strFailure; }

    const std::vector<SImage>& Images() const { return m_vctImages; }
    const std::vector<SBox>& Boxes() const { return m_vctBoxes; }
    const QStringList& ClassNames() const { return m_lstClassNames; }
    // One line per kind of thing left out, changed or cut, with its count and the first image it concerns.
    QStringList Notes() const;

    // The name up to its last ".", the whole name without one.
    static QString Stem(const QString& strName);
    // The shortest decimal without exponent that reads back as the same double, as the formats' numbers.
    static void AppendNumber(QByteArray& baText, double dblValue);
    static QByteArray Number(double dblValue);

private:
    struct SCount
    {
        int nCount = 0;
        QString strFirst;
        void Add(const QString& strImage)
        {
            if (nCount++ == 0)
                strFirst = strImage;
        }
    };
    // The export's name of the image, given the lower-cased stems taken already.
    QString DistinctName(const QString& strName);

    QString m_strFailure;
    std::vector<SImage> m_vctImages;
    std::vector<SBox> m_vctBoxes;
    QStringList m_lstClassNames;
    QSet<QString> m_setTakenStems;
    SCount m_imagesWithoutRow;
    SCount m_imagesWithoutSize;
    SCount m_imagesListedTwice;
    SCount m_boxesWithoutClass;
    SCount m_unusableBoxes;
    SCount m_cutBoxes;
    SCount m_renamedImages;
};
