#include "project/classes/CClassDeletion.h"

#include "database/CColumnSelect.h"
#include "database/CDatabase.h"
#include "project/proposals/CProposalStore.h"
#include "project/store/CCategoryRecord.h"
#include "project/store/CDatasetROIRecord.h"

#include <QVariant>

#include <algorithm>
#include <vector>

CClassDeletion::CClassDeletion(CDatabase* pDatabase) : m_pDatabase(pDatabase) {}

bool CClassDeletion::Use(int nClassID, SUse& use) const
{
    // By column: a class of a large project has a hundred thousand boxes.
    std::vector<int> vctImageIDs;
    CColumnSelect select(CDatasetROIRecord::TABLE_NAME, {{CDatasetROIRecord::COLUMN_CATEGORY_ID, nClassID}});
    select.AddInteger(CDatasetROIRecord::COLUMN_IMAGE_ID, &vctImageIDs);
    if (!select.Run(m_pDatabase))
        return false;
    use.nBoxes = static_cast<int>(vctImageIDs.size());
    std::sort(vctImageIDs.begin(), vctImageIDs.end());
    use.nImages = static_cast<int>(std::unique(vctImageIDs.begin(), vctImageIDs.end()) - vctImageIDs.begin());
    return CProposalStore(m_pDatabase).CountOfClass(nClassID, use.nProposals);
}

bool CClassDeletion::Delete(int nClassID, int nMoveToID) const
{
    const std::map<QString, QVariant> mapBoxes = {{CDatasetROIRecord::COLUMN_CATEGORY_ID, nClassID}};
    const QString strBoxes =
        nMoveToID < 0 ? CDatabase::GetDeleteQuery(CDatasetROIRecord::TABLE_NAME, mapBoxes)
                      : CDatabase::GetUpdateQuery(CDatasetROIRecord::TABLE_NAME,
                                                  {{CDatasetROIRecord::COLUMN_CATEGORY_ID, nMoveToID}}, mapBoxes);
    // One transaction: a class gone while its boxes stayed would leave rows that no class name reaches again. Its
    // proposals go in any case: a proposal of a moved class was never checked against the other class.
    return m_pDatabase->RunQueriesAtomically(
        {strBoxes, CProposalStore(m_pDatabase).DeleteOfClassQuery(nClassID),
         CDatabase::GetDeleteQuery(CCategoryRecord::TABLE_NAME, {{CDatabaseRecord::COLUMN_ID, nClassID}})});
}
