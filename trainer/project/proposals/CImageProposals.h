#pragma once

#include "project/proposals/CProposal.h"
#include "project/proposals/CProposalStore.h"

#include <QObject>

#include <functional>
#include <map>
#include <vector>

class CDatabase;

// The proposals of the project's images as the program holds them: per image, the stored ones (read when the image is
// shown) and those only shown (a detection run's). The commands that accept proposals change them here; whatever
// shows them follows signal_Changed. Keys are given here and never reused while the program runs.
class CImageProposals : public QObject
{
    Q_OBJECT
public:
    // The database is not owned and may be null.
    explicit CImageProposals(CDatabase* pDatabase, QObject* parent = nullptr);

    CProposalStore& Store() { return m_store; }

    const std::vector<CProposal>& Of(int nImageID) const;
    // True while no image has a proposal held.
    bool IsEmpty() const;
    // The image's proposals become these (keys given to those without one).
    void Set(int nImageID, std::vector<CProposal> vctProposals);
    // Adds the proposals (keys given to those without one) to those of their image.
    void Add(int nImageID, std::vector<CProposal> vctProposals);
    // Takes the proposals with these keys from the image; gives those found.
    std::vector<CProposal> Take(int nImageID, const std::vector<int>& vctKeys);
    // Keeps only the image's proposals that are not stored, as opening it again reads the stored ones afresh.
    void ForgetStored(int nImageID);
    void ForgetImage(int nImageID);
    // Proposals whose class isClass denies leave.
    void ForgetGoneClasses(const std::function<bool(int)>& isClass);
    void Clear();

signals:
    void signal_Changed(int nImageID);

private:
    void GiveKeys(std::vector<CProposal>& vctProposals);

    CProposalStore m_store;
    std::map<int, std::vector<CProposal>> m_mapImages;
    int m_nNextKey = 1;
};
