#pragma once

#include "frame/CUndoCommand.h"
#include "project/proposals/CProposal.h"

#include <QPointer>

#include <memory>
#include <vector>

class CDrawableGeometry;
class CDrawableObjectModel;
class CImageProposals;

// The acceptance of proposals of one image as one undo step. Their boxes join the view's objects as a drawn and
// classified box does (each named after its class, so that its add event writes its row), and the proposals leave;
// the stored ones' rows are deleted in the same transaction as the boxes' rows are written. When any of that fails
// nothing stays: no box, no written row, the proposals as they were (Succeeded tells). Undo takes the boxes away
// (their rows with them) and gives the proposals back, storing the stored ones again; redo accepts them again.
class CAcceptProposalsCommand : public CUndoCommand
{
public:
    // Nothing is owned; both are watched. vctBoxes[i] is the box of vctProposals[i].
    CAcceptProposalsCommand(CImageProposals* pProposals, CDrawableObjectModel* pObjects, int nImageID,
                            std::vector<CProposal> vctProposals,
                            std::vector<std::shared_ptr<CDrawableGeometry>> vctBoxes);

    void Execute() override;
    void Undo() override;
    // Whether the boxes are in place of the proposals now.
    bool Succeeded() const { return m_bAccepted; }

private:
    // Adds the boxes; false, with those added taken away again, when one did not get its row.
    bool AddBoxes();
    void RemoveBoxes();

    QPointer<CImageProposals> m_pProposals;
    QPointer<CDrawableObjectModel> m_pObjects;
    int m_nImageID;
    std::vector<CProposal> m_vctProposals;
    // Which proposals are kept in the project file while they are proposals.
    std::vector<bool> m_vctStored;
    std::vector<std::shared_ptr<CDrawableGeometry>> m_vctBoxes;
    bool m_bAccepted = false;
};
