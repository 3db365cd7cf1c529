#include "project/proposals/CAcceptProposalsCommand.h"

#include "canvas/CDrawableGeometry.h"
#include "canvas/CDrawableObjectModel.h"
#include "frame/CPrompt.h"
#include "project/annotation/CRoiBoxRows.h"
#include "project/proposals/CImageProposals.h"

CAcceptProposalsCommand::CAcceptProposalsCommand(CImageProposals* pProposals, CDrawableObjectModel* pObjects,
                                                 int nImageID, std::vector<CProposal> vctProposals,
                                                 std::vector<std::shared_ptr<CDrawableGeometry>> vctBoxes)
    : m_pProposals(pProposals), m_pObjects(pObjects), m_nImageID(nImageID), m_vctProposals(std::move(vctProposals)),
      m_vctBoxes(std::move(vctBoxes))
{
    for (const CProposal& proposal : m_vctProposals)
        m_vctStored.push_back(proposal.nRowID >= 0);
}

bool CAcceptProposalsCommand::AddBoxes()
{
    for (size_t i = 0; i < m_vctBoxes.size(); ++i)
    {
        const std::shared_ptr<CDrawableGeometry>& pBox = m_vctBoxes[i];
        // As CAddDrawableObjectCommand adds a drawn box: the new one alone selected.
        m_pObjects->DeselectAll();
        m_pObjects->AddObject(pBox);
        int nRoiID = -1;
        // A box whose row could not be written has left the view already (CRoiAnnotation).
        if (!m_pObjects->FindObject(pBox->GetUID()) || !CRoiBoxRows::BoundRoiID(*pBox, nRoiID))
        {
            RemoveBoxes();
            return false;
        }
    }
    return true;
}

void CAcceptProposalsCommand::RemoveBoxes()
{
    for (auto it = m_vctBoxes.rbegin(); it != m_vctBoxes.rend(); ++it)
        if (m_pObjects->FindObject((*it)->GetUID()))
            m_pObjects->DeleteObject(*it);
}

void CAcceptProposalsCommand::Execute()
{
    if (!m_pProposals || !m_pObjects || m_bAccepted)
        return;
    std::vector<int> vctRowIDs;
    std::vector<int> vctKeys;
    for (size_t i = 0; i < m_vctProposals.size(); ++i)
    {
        vctKeys.push_back(m_vctProposals[i].nKey);
        if (m_vctStored[i])
            vctRowIDs.push_back(m_vctProposals[i].nRowID);
    }
    const bool bAdded =
        vctRowIDs.empty() ? AddBoxes() : m_pProposals->Store().Accept(vctRowIDs, [this] { return AddBoxes(); });
    if (!bAdded)
        return;
    m_pProposals->Take(m_nImageID, vctKeys);
    for (CProposal& proposal : m_vctProposals)
        proposal.nRowID = -1;
    m_bAccepted = true;
}

void CAcceptProposalsCommand::Undo()
{
    if (!m_pProposals || !m_pObjects || !m_bAccepted)
        return;
    std::vector<CProposal> vctStored;
    for (size_t i = 0; i < m_vctProposals.size(); ++i)
        if (m_vctStored[i])
            vctStored.push_back(m_vctProposals[i]);
    if (vctStored.empty())
        RemoveBoxes();
    else if (!m_pProposals->Store().Restore(vctStored, [this] { RemoveBoxes(); }))
    {
        // The boxes stay with their rows; a redo then has nothing to accept.
        CPrompt::Warning(nullptr, "Undo Accept",
                         "The proposals could not be stored again, so the boxes made from them stay.");
        return;
    }
    // The stored ones come back with their new rows, under the keys they were shown with.
    for (size_t i = 0, nStored = 0; i < m_vctProposals.size(); ++i)
        if (m_vctStored[i])
            m_vctProposals[i].nRowID = vctStored[nStored++].nRowID;
    m_pProposals->Add(m_nImageID, m_vctProposals);
    m_bAccepted = false;
}
