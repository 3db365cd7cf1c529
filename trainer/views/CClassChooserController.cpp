#include "views/CClassChooserController.h"

#include "database/CDatabase.h"
#include "database/CDatabaseRecord.h"
#include "project/classes/CCategoryRecord.h"
#include "views/CClassChooserView.h"

#include <QStringList>

#include <memory>
#include <vector>

CClassChooserController::CClassChooserController(CClassChooserView* pView, CDatabase* pDatabase, QObject* parent)
    : CController(parent), m_pView(pView), m_pDatabase(pDatabase)
{
}

void CClassChooserController::Load()
{
    if (!m_pView || !m_pDatabase)
        return;
    std::vector<std::shared_ptr<CDatabaseRecord>> vctRecords;
    m_pDatabase->SelectFromTable(CCategoryRecord::TABLE_NAME, vctRecords, {});
    QStringList names;
    for (const auto& pRecord : vctRecords)
    {
        const auto pCategory = std::dynamic_pointer_cast<CCategoryRecord>(pRecord);
        if (pCategory)
            names << pCategory->GetName();
    }
    m_pView->SetItems(names);
}
