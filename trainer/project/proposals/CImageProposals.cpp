#include "project/proposals/CImageProposals.h"

#include <algorithm>

CImageProposals::CImageProposals(CDatabase* pDatabase, QObject* parent) : QObject(parent), m_store(pDatabase) {}

const std::vector<CProposal>& CImageProposals::Of(int nImageID) const
{
    static const std::vector<CProposal> vctNone;
    const auto it = m_mapImages.find(nImageID);
    return it == m_mapImages.end() ? vctNone : it->second;
}

bool CImageProposals::IsEmpty() const
{
    for (const auto& image : m_mapImages)
        if (!image.second.empty())
            return false;
    return true;
}

void CImageProposals::GiveKeys(std::vector<CProposal>& vctProposals)
{
    for (CProposal& proposal : vctProposals)
        if (proposal.nKey < 0)
            proposal.nKey = m_nNextKey++;
}

void CImageProposals::Set(int nImageID, std::vector<CProposal> vctProposals)
{
    GiveKeys(vctProposals);
    for (CProposal& proposal : vctProposals)
        proposal.nImageID = nImageID;
    m_mapImages[nImageID] = std::move(vctProposals);
    emit signal_Changed(nImageID);
}

void CImageProposals::Add(int nImageID, std::vector<CProposal> vctProposals)
{
    GiveKeys(vctProposals);
    std::vector<CProposal>& vctImage = m_mapImages[nImageID];
    for (CProposal& proposal : vctProposals)
    {
        proposal.nImageID = nImageID;
        vctImage.push_back(std::move(proposal));
    }
    emit signal_Changed(nImageID);
}

std::vector<CProposal> CImageProposals::Take(int nImageID, const std::vector<int>& vctKeys)
{
    std::vector<CProposal> vctTaken;
    const auto it = m_mapImages.find(nImageID);
    if (it == m_mapImages.end())
        return vctTaken;
    std::vector<CProposal> vctKept;
    for (CProposal& proposal : it->second)
    {
        if (std::find(vctKeys.begin(), vctKeys.end(), proposal.nKey) != vctKeys.end())
            vctTaken.push_back(std::move(proposal));
        else
            vctKept.push_back(std::move(proposal));
    }
    it->second = std::move(vctKept);
    emit signal_Changed(nImageID);
    return vctTaken;
}

void CImageProposals::ForgetStored(int nImageID)
{
    const auto it = m_mapImages.find(nImageID);
    if (it == m_mapImages.end())
        return;
    std::vector<CProposal>& vctImage = it->second;
    vctImage.erase(std::remove_if(vctImage.begin(), vctImage.end(),
                                  [](const CProposal& proposal) { return proposal.nRowID >= 0; }),
                   vctImage.end());
    emit signal_Changed(nImageID);
}

void CImageProposals::ForgetImage(int nImageID)
{
    if (m_mapImages.erase(nImageID) > 0)
        emit signal_Changed(nImageID);
}

void CImageProposals::ForgetGoneClasses(const std::function<bool(int)>& isClass)
{
    for (auto& [nImageID, vctImage] : m_mapImages)
    {
        const auto itEnd =
            std::remove_if(vctImage.begin(), vctImage.end(),
                           [&isClass](const CProposal& proposal) { return !isClass(proposal.nCategoryID); });
        if (itEnd == vctImage.end())
            continue;
        vctImage.erase(itEnd, vctImage.end());
        emit signal_Changed(nImageID);
    }
}

void CImageProposals::Clear()
{
    std::vector<int> vctImageIDs;
    for (const auto& image : m_mapImages)
        vctImageIDs.push_back(image.first);
    m_mapImages.clear();
    for (int nImageID : vctImageIDs)
        emit signal_Changed(nImageID);
}
