#pragma once

class CDatabase;

// Deleting a class that boxes name: how many boxes and images use it, and its deletion together with what becomes of
// those boxes, so that no dataset_roi row is left naming a class that does not exist.
class CClassDeletion
{
public:
    struct SUse
    {
        int nBoxes = 0;
        int nImages = 0;
        // Stored proposals of the class (dataset_proposal).
        int nProposals = 0;
    };

    // The database is not owned and must be open.
    explicit CClassDeletion(CDatabase* pDatabase);

    // The boxes of the class, the images they are on and its stored proposals; false when the rows cannot be read.
    bool Use(int nClassID, SUse& use) const;
    // Deletes the class and, in the same transaction, its stored proposals and its boxes (nMoveToID -1) or gives the
    // boxes class nMoveToID. False,
    // with nothing changed, when the file refuses either (CDatabase::GetLastError says why).
    bool Delete(int nClassID, int nMoveToID) const;

private:
    CDatabase* m_pDatabase = nullptr;
};
