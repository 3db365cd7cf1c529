#include "views/CRefusedEdit.h"

#include "database/CDatabase.h"
#include "database/CDatabaseRecord.h"

#include <memory>
#include <vector>

QString CRefusedEdit::Reason(CDatabase* pDatabase, const QString& strTable, const QString& strNameColumn,
                             const QString& strName, int nID)
{
    const QString strMessage = pDatabase->GetLastError();
    std::vector<std::shared_ptr<CDatabaseRecord>> vctSameName;
    pDatabase->SelectFromTable(strTable, vctSameName, {{strNameColumn, strName}});
    for (const auto& pRecord : vctSameName)
    {
        if (pRecord && pRecord->GetID() != nID)
            return QStringLiteral("the name is already used");
    }
    return strMessage;
}
