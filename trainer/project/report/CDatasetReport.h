#pragma once

#include <QString>
#include <QVector>

class CDatabase;

// The health of a project's data set: per class how many boxes and images carry it, and the flaws found, each with
// how often it occurs and the images concerned. Image sizes are read from the files' headers, never by decoding.
class CDatasetReport
{
public:
    enum EFlaw
    {
        EFlaw_ImageWithoutBoxes,
        EFlaw_UnknownClass,
        EFlaw_BoxOutsideImage,
        EFlaw_TinyBox,
        EFlaw_DuplicateBox,
        EFlaw_MissingFile,
        EFlaw_SizeMismatch,
        EFlaw_UnusableByTrainer,
        EFlaw_Count
    };

    struct SClass
    {
        int nID = -1;
        QString strName;
        int nBoxes = 0;
        int nImages = 0;
    };
    struct SImage
    {
        int nID = -1;
        // Control characters shown as escapes ("\n").
        QString strName;
        // Relative to the project folder, as stored.
        QString strPath;
        // What is wrong with this image in words ("2 boxes", "stored 640x480, file 320x240"...).
        QString strDetail;
    };
    struct SFlaw
    {
        EFlaw eFlaw = EFlaw_ImageWithoutBoxes;
        // Boxes for the box flaws, images for the others.
        int nCount = 0;
        // Each image once, in the order of the image table.
        QVector<SImage> vctImages;
    };

    // Boxes smaller than this in width or height are flagged.
    static constexpr double MIN_BOX_SIZE = 4.0;

    // Reads the open project's tables and the files below strProjectDir. False (the report empty) when a table
    // cannot be read.
    bool Make(CDatabase* pDatabase, const QString& strProjectDir);

    const QVector<SClass>& Classes() const { return m_vctClasses; }
    // One entry per flaw, in EFlaw order, also for flaws that were not found (count 0).
    const QVector<SFlaw>& Flaws() const { return m_vctFlaws; }
    const SFlaw& Flaw(EFlaw eFlaw) const { return m_vctFlaws[eFlaw]; }
    int ImageCount() const { return m_nImages; }
    int BoxCount() const { return m_nBoxes; }
    // Images of the image table with stored proposals still to accept or reject (0 without the proposal table).
    int ImagesWithProposalsCount() const { return m_nImagesWithProposals; }

    // The flaw's title for the user ("Images without boxes"...).
    static QString Title(EFlaw eFlaw);

private:
    QVector<SClass> m_vctClasses;
    QVector<SFlaw> m_vctFlaws;
    int m_nImages = 0;
    int m_nBoxes = 0;
    int m_nImagesWithProposals = 0;
};
