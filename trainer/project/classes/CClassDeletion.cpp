#include "project/classes/CClassDeletion.h"

#include "database/CDatabase.h"
#include "project/store/CCategoryRecord.h"
#include "project/store/CDatasetROIRecord.h"

#include <QVariant>

#include <set>
#include <vector>

CClassDeletion::CClassDeletion(CDatabase* pDatabase) : m_pDatabase(pDatabase) {}

bool CClassDeletion::Use(int nClassID, SUse& use) const
{
    std::vector<QVariant> vctImageIDs;
    if (!m_pDatabase->SelectColumn(CDatasetROIRecord::TABLE_NAME, CDatasetROIRecord::COLUMN_IMAGE_ID,
                                   {{CDatasetROIRecord::COLUMN_CATEGORY_ID, nClassID}}, vctImageIDs))
        return false;
    std::set<int> setImages;
    for (const QVariant& imageID : vctImageIDs)
        setImages.insert(imageID.toInt());
    use.nBoxes = static_cast<int>(vctImageIDs.size());
    use.nImages = static_cast<int>(setImages.size());
    return true;
}

bool CClassDeletion::Delete(int nClassID, int nMoveToID) const
{
    const std::map<QString, QVariant> mapBoxes = {{CDatasetROIRecord::COLUMN_CATEGORY_ID, nClassID}};
    const QString strBoxes =
        nMoveToID < 0 ? CDatabase::GetDeleteQuery(CDatasetROIRecord::TABLE_NAME, mapBoxes)
                      : CDatabase::GetUpdateQuery(CDatasetROIRecord::TABLE_NAME,
                                                  {{CDatasetROIRecord::COLUMN_CATEGORY_ID, nMoveToID}}, mapBoxes);
    // One transaction: a class gone while its boxes stayed would leave rows that no class name reaches again.
    return m_pDatabase->RunQueriesAtomically(
        {strBoxes, CDatabase::GetDeleteQuery(CCategoryRecord::TABLE_NAME, {{CDatabaseRecord::COLUMN_ID, nClassID}})});
}
