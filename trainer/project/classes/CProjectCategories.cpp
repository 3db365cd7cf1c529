#include "project/classes/CProjectCategories.h"

#include "database/CDatabase.h"
#include "project/classes/CCategoryRecord.h"

#include <memory>
#include <vector>

CProjectCategories::CProjectCategories(CDatabase* pDatabase) : m_pDatabase(pDatabase) {}

QStringList CProjectCategories::Names() const
{
    QStringList lstNames;
    std::vector<std::shared_ptr<CDatabaseRecord>> vctRecords;
    if (m_pDatabase->SelectFromTable(CCategoryRecord::TABLE_NAME, vctRecords, {}))
    {
        for (const auto& pRecord : vctRecords)
        {
            if (const auto pCategory = std::dynamic_pointer_cast<CCategoryRecord>(pRecord))
                lstNames.append(pCategory->GetName());
        }
    }
    return lstNames;
}

int CProjectCategories::Count() const
{
    std::vector<QVariant> vctIDs;
    if (!m_pDatabase->SelectColumn(CCategoryRecord::TABLE_NAME, "ID", {}, vctIDs))
        return 0;
    return static_cast<int>(vctIDs.size());
}
