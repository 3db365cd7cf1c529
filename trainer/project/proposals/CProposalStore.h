#pragma once

#include "project/proposals/CProposal.h"

#include <QString>

#include <functional>
#include <vector>

class CDatabase;

// The dataset_proposal table of the project file: proposals kept for images until the user accepts or rejects them.
// The table is made when first written (CREATE TABLE IF NOT EXISTS); a project without it reads as one without
// proposals, and nothing else of the file changes. The build never reads it.
//
// Every write logs whether it went through; the acceptance runs the proposals' deletion and the caller's insertion of
// their boxes in one transaction, so that a proposal never both stays and becomes a box, nor goes without its box.
class CProposalStore
{
public:
    static const QString TABLE_NAME;
    static const QString COLUMN_IMAGE_ID;
    static const QString COLUMN_CATEGORY_ID;
    static const QString COLUMN_X;
    static const QString COLUMN_Y;
    static const QString COLUMN_WIDTH;
    static const QString COLUMN_HEIGHT;
    static const QString COLUMN_SCORE;
    static const QString COLUMN_WEIGHTS;

    // The database is not owned and may be null (reads give nothing, writes fail).
    explicit CProposalStore(CDatabase* pDatabase);

    bool HasTable() const;
    bool CreateTable();

    // The image's stored proposals in place of those it had, as one transaction; their row IDs are set.
    bool Replace(int nImageID, std::vector<CProposal>& vctProposals);
    // The image's stored proposals (by column); true and none without the table.
    bool Read(int nImageID, std::vector<CProposal>& vctProposals) const;
    // Rejection of a stored proposal.
    bool Delete(int nRowID);
    // Deletes the rows and runs insertBoxes (which writes the boxes' dataset_roi rows) in one transaction, committed
    // only when both went through; otherwise nothing of either stays.
    bool Accept(const std::vector<int>& vctRowIDs, const std::function<bool()>& insertBoxes);
    // The way back: stores the proposals again (new row IDs set) and runs removeBoxes in one transaction; removeBoxes
    // runs only after the proposals were written, and nothing stays when that failed.
    bool Restore(std::vector<CProposal>& vctProposals, const std::function<void()>& removeBoxes);
    // The number of stored proposals of the class; 0 without the table.
    bool CountOfClass(int nCategoryID, int& nCount) const;
    // The IDs of the images that have stored proposals, ascending; none without the table.
    bool ImagesWithProposals(std::vector<int>& vctImageIDs) const;

    // What the deletion of a class or of an image runs with its own statements, in the same transaction: empty
    // without the table.
    QString DeleteOfClassQuery(int nCategoryID) const;
    QString DeleteOfImageQuery(int nImageID) const;

private:
    bool InsertRows(std::vector<CProposal>& vctProposals);

    CDatabase* m_pDatabase;
};
