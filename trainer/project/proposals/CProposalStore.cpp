#include "project/proposals/CProposalStore.h"

#include "database/CColumnSelect.h"
#include "database/CDatabase.h"
#include "frame/CLogger.h"

#include <algorithm>

const QString CProposalStore::TABLE_NAME = "dataset_proposal";
const QString CProposalStore::COLUMN_IMAGE_ID = "IMAGE_ID";
const QString CProposalStore::COLUMN_CATEGORY_ID = "CATEGORY_ID";
const QString CProposalStore::COLUMN_X = "X";
const QString CProposalStore::COLUMN_Y = "Y";
const QString CProposalStore::COLUMN_WIDTH = "WIDTH";
const QString CProposalStore::COLUMN_HEIGHT = "HEIGHT";
const QString CProposalStore::COLUMN_SCORE = "SCORE";
const QString CProposalStore::COLUMN_WEIGHTS = "WEIGHTS";

namespace
{
QString Literal(const QString& strText)
{
    return "'" + QString(strText).replace('\'', "''") + "'";
}
} // namespace

CProposalStore::CProposalStore(CDatabase* pDatabase) : m_pDatabase(pDatabase) {}

bool CProposalStore::HasTable() const
{
    return m_pDatabase && m_pDatabase->HasTable(TABLE_NAME);
}

bool CProposalStore::CreateTable()
{
    if (!m_pDatabase)
        return false;
    // Boxes as dataset_roi keeps them: top-left corner and size in image pixels.
    return m_pDatabase->RunQueries(
        {"CREATE TABLE IF NOT EXISTS dataset_proposal (ID INTEGER PRIMARY KEY AUTOINCREMENT, "
         "IMAGE_ID INTEGER NOT NULL, CATEGORY_ID INTEGER NOT NULL, X REAL NOT NULL, "
         "Y REAL NOT NULL, WIDTH REAL NOT NULL, HEIGHT REAL NOT NULL, SCORE REAL NOT NULL, "
         "WEIGHTS TEXT)",
         "CREATE INDEX IF NOT EXISTS dataset_proposal_image ON dataset_proposal (IMAGE_ID)"},
        false);
}

bool CProposalStore::InsertRows(std::vector<CProposal>& vctProposals)
{
    for (CProposal& proposal : vctProposals)
    {
        const QString strInsert =
            QString("INSERT INTO dataset_proposal (IMAGE_ID, CATEGORY_ID, X, Y, WIDTH, HEIGHT, SCORE, WEIGHTS) VALUES "
                    "(%1, %2, %3, %4, %5, %6, %7, %8)")
                .arg(proposal.nImageID)
                .arg(proposal.nCategoryID)
                .arg(proposal.box.x(), 0, 'g', 17)
                .arg(proposal.box.y(), 0, 'g', 17)
                .arg(proposal.box.width(), 0, 'g', 17)
                .arg(proposal.box.height(), 0, 'g', 17)
                .arg(proposal.dblScore, 0, 'g', 17)
                .arg(Literal(proposal.strWeights));
        std::vector<std::vector<QVariant>> vctID;
        if (!m_pDatabase->RunQueries({strInsert}, false) ||
            !m_pDatabase->SelectStatement("SELECT last_insert_rowid()", 1, vctID) || vctID.empty() || vctID[0].empty())
            return false;
        proposal.nRowID = vctID[0][0].toInt();
    }
    return true;
}

bool CProposalStore::Replace(int nImageID, std::vector<CProposal>& vctProposals)
{
    if (!m_pDatabase || !CreateTable() || !m_pDatabase->StartTransaction())
    {
        CLogger::Write(ELogLevel_Error, "Store proposals of Image ID %d Failed", nImageID);
        return false;
    }
    for (CProposal& proposal : vctProposals)
        proposal.nImageID = nImageID;
    const bool bDone = m_pDatabase->RunQueries({DeleteOfImageQuery(nImageID)}, false) && InsertRows(vctProposals);
    const bool bCommitted = bDone && m_pDatabase->Commit();
    if (!bCommitted)
        m_pDatabase->Rollback();
    CLogger::Write(bCommitted ? ELogLevel_Debug : ELogLevel_Error,
                   bCommitted ? "Store %d proposal(s) of Image ID %d OK" : "Store %d proposal(s) of Image ID %d Failed",
                   static_cast<int>(vctProposals.size()), nImageID);
    if (!bCommitted)
        for (CProposal& proposal : vctProposals)
            proposal.nRowID = -1;
    return bCommitted;
}

bool CProposalStore::Read(int nImageID, std::vector<CProposal>& vctProposals) const
{
    vctProposals.clear();
    if (!HasTable())
        return true;
    std::vector<int> vctIDs, vctCategories;
    std::vector<double> vctX, vctY, vctWidth, vctHeight, vctScore;
    std::vector<QString> vctWeights;
    CColumnSelect select(TABLE_NAME, {{COLUMN_IMAGE_ID, nImageID}});
    select.AddInteger("ID", &vctIDs);
    select.AddInteger(COLUMN_CATEGORY_ID, &vctCategories);
    select.AddReal(COLUMN_X, &vctX);
    select.AddReal(COLUMN_Y, &vctY);
    select.AddReal(COLUMN_WIDTH, &vctWidth);
    select.AddReal(COLUMN_HEIGHT, &vctHeight);
    select.AddReal(COLUMN_SCORE, &vctScore);
    select.AddText(COLUMN_WEIGHTS, &vctWeights);
    if (!select.Run(m_pDatabase))
        return false;
    vctProposals.reserve(vctIDs.size());
    for (size_t i = 0; i < vctIDs.size(); ++i)
    {
        CProposal proposal;
        proposal.nRowID = vctIDs[i];
        proposal.nImageID = nImageID;
        proposal.nCategoryID = vctCategories[i];
        proposal.box = QRectF(vctX[i], vctY[i], vctWidth[i], vctHeight[i]);
        proposal.dblScore = vctScore[i];
        proposal.strWeights = vctWeights[i];
        vctProposals.push_back(proposal);
    }
    return true;
}

bool CProposalStore::Delete(int nRowID)
{
    const bool bDeleted = m_pDatabase && m_pDatabase->DeleteFromTable(TABLE_NAME, {{"ID", nRowID}}, false);
    CLogger::Write(bDeleted ? ELogLevel_Debug : ELogLevel_Error,
                   bDeleted ? "Delete proposal ID %d OK" : "Delete proposal ID %d Failed", nRowID);
    return bDeleted;
}

bool CProposalStore::Accept(const std::vector<int>& vctRowIDs, const std::function<bool()>& insertBoxes)
{
    if (!m_pDatabase || !m_pDatabase->StartTransaction())
        return false;
    bool bDone = true;
    for (int nRowID : vctRowIDs)
        bDone = bDone && m_pDatabase->DeleteFromTable(TABLE_NAME, {{"ID", nRowID}}, false);
    // The boxes are added only once their proposals are gone: a refused delete shows no box at all.
    bDone = bDone && insertBoxes();
    if (bDone && m_pDatabase->Commit())
    {
        CLogger::Write(ELogLevel_Debug, "Accept %d proposal(s) OK", static_cast<int>(vctRowIDs.size()));
        return true;
    }
    m_pDatabase->Rollback();
    CLogger::Write(ELogLevel_Error, "Accept %d proposal(s) Failed", static_cast<int>(vctRowIDs.size()));
    return false;
}

bool CProposalStore::Restore(std::vector<CProposal>& vctProposals, const std::function<void()>& removeBoxes)
{
    if (!m_pDatabase || !m_pDatabase->StartTransaction())
        return false;
    if (InsertRows(vctProposals))
    {
        removeBoxes();
        if (m_pDatabase->Commit())
            return true;
    }
    m_pDatabase->Rollback();
    for (CProposal& proposal : vctProposals)
        proposal.nRowID = -1;
    CLogger::Write(ELogLevel_Error, "Restore %d proposal(s) Failed", static_cast<int>(vctProposals.size()));
    return false;
}

bool CProposalStore::CountOfClass(int nCategoryID, int& nCount) const
{
    nCount = 0;
    if (!HasTable())
        return true;
    std::vector<int> vctIDs;
    CColumnSelect select(TABLE_NAME, {{COLUMN_CATEGORY_ID, nCategoryID}});
    select.AddInteger("ID", &vctIDs);
    if (!select.Run(m_pDatabase))
        return false;
    nCount = static_cast<int>(vctIDs.size());
    return true;
}

bool CProposalStore::ImagesWithProposals(std::vector<int>& vctImageIDs) const
{
    vctImageIDs.clear();
    if (!HasTable())
        return true;
    CColumnSelect select(TABLE_NAME);
    select.AddInteger(COLUMN_IMAGE_ID, &vctImageIDs);
    if (!select.Run(m_pDatabase))
        return false;
    std::sort(vctImageIDs.begin(), vctImageIDs.end());
    vctImageIDs.erase(std::unique(vctImageIDs.begin(), vctImageIDs.end()), vctImageIDs.end());
    return true;
}

QString CProposalStore::DeleteOfClassQuery(int nCategoryID) const
{
    return HasTable() ? CDatabase::GetDeleteQuery(TABLE_NAME, {{COLUMN_CATEGORY_ID, nCategoryID}}) : QString();
}

QString CProposalStore::DeleteOfImageQuery(int nImageID) const
{
    return HasTable() ? CDatabase::GetDeleteQuery(TABLE_NAME, {{COLUMN_IMAGE_ID, nImageID}}) : QString();
}
