#include "views/CClassEditorController.h"

#include "database/CDatabase.h"
#include "database/CDatabaseRecord.h"
#include "project/CCategoryRecord.h"
#include "views/CClassEditorView.h"

#include <memory>
#include <vector>

CClassEditorController::CClassEditorController(CClassEditorView* pView, CDatabase* pDatabase, QObject* parent)
    : CController(parent), m_pView(pView), m_pDatabase(pDatabase)
{
    if (!m_pView)
        return;
    connect(m_pView, &CClassEditorView::signal_Update, this, &CClassEditorController::Update);
    connect(m_pView, &CClassEditorView::signal_Insert, this, &CClassEditorController::Insert);
    connect(m_pView, &CClassEditorView::signal_Delete, this, &CClassEditorController::Delete);
}

void CClassEditorController::Load()
{
    if (!m_pView || !m_pDatabase)
        return;
    std::vector<std::shared_ptr<CDatabaseRecord>> vctRecords;
    m_pDatabase->SelectFromTable(CCategoryRecord::TABLE_NAME, vctRecords, {});
    std::vector<CClassEditorView::SRow> vctRows;
    vctRows.reserve(vctRecords.size());
    for (const auto& pRecord : vctRecords)
    {
        const auto pCategory = std::dynamic_pointer_cast<CCategoryRecord>(pRecord);
        if (pCategory)
            vctRows.push_back({pCategory->GetID(), pCategory->GetName()});
    }
    m_pView->SetData(vctRows);
}

void CClassEditorController::Insert(const QString& strName)
{
    if (!m_pView || !m_pDatabase)
        return;
    auto pRecord = std::make_shared<CCategoryRecord>();
    pRecord->SetName(strName);
    if (m_pDatabase->InsertToTable(std::vector<std::shared_ptr<CDatabaseRecord>>{pRecord}, true))
        Load();
}

void CClassEditorController::Update(int nID, const QString& strName)
{
    if (!m_pView || !m_pDatabase)
        return;
    m_pDatabase->UpdateTable(CCategoryRecord::TABLE_NAME, {{CCategoryRecord::COLUMN_NAME, strName}},
                             {{CDatabaseRecord::COLUMN_ID, nID}}, true);
}

void CClassEditorController::Delete(int nID)
{
    if (!m_pView || !m_pDatabase)
        return;
    if (!m_pDatabase->DeleteFromTable(CCategoryRecord::TABLE_NAME, {{CDatabaseRecord::COLUMN_ID, nID}}, true))
        return;
    Load();
    emit m_pView->signal_CheckValidateROI();
}
