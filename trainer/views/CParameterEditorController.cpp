#include "views/CParameterEditorController.h"

#include "database/CDatabase.h"
#include "database/CDatabaseRecord.h"
#include "project/CParameterRecord.h"
#include "views/CParameterEditorView.h"

#include <memory>
#include <vector>

CParameterEditorController::CParameterEditorController(CParameterEditorView* pView, CDatabase* pDatabase,
                                                       QObject* parent)
    : CController(parent), m_pView(pView), m_pDatabase(pDatabase)
{
    if (!m_pView)
        return;
    connect(m_pView, &CParameterEditorView::signal_Update, this, &CParameterEditorController::Update);
    connect(m_pView, &CParameterEditorView::signal_Insert, this, &CParameterEditorController::Insert);
    connect(m_pView, &CParameterEditorView::signal_Delete, this, &CParameterEditorController::Delete);
}

void CParameterEditorController::Load()
{
    if (!m_pView || !m_pDatabase)
        return;
    std::vector<std::shared_ptr<CDatabaseRecord>> vctRecords;
    m_pDatabase->SelectFromTable(CParameterRecord::TABLE_NAME, vctRecords, {});
    std::vector<CParameterEditorView::SRow> vctRows;
    vctRows.reserve(vctRecords.size());
    for (const auto& pRecord : vctRecords)
    {
        const auto pParameter = std::dynamic_pointer_cast<CParameterRecord>(pRecord);
        if (pParameter)
            vctRows.push_back({pParameter->GetID(), pParameter->GetName(), pParameter->GetValue()});
    }
    m_pView->SetData(vctRows);
}

void CParameterEditorController::Insert(const QString& strName, const QString& strValue)
{
    if (!m_pView || !m_pDatabase)
        return;
    auto pRecord = std::make_shared<CParameterRecord>();
    pRecord->SetName(strName);
    pRecord->SetValue(strValue);
    if (m_pDatabase->InsertToTable(std::vector<std::shared_ptr<CDatabaseRecord>>{pRecord}, true))
        Load();
}

void CParameterEditorController::Update(int nID, const QString& strName, const QString& strValue)
{
    if (!m_pView || !m_pDatabase)
        return;
    m_pDatabase->UpdateTable(CParameterRecord::TABLE_NAME,
                             {{CParameterRecord::COLUMN_NAME, strName}, {CParameterRecord::COLUMN_VALUE, strValue}},
                             {{CDatabaseRecord::COLUMN_ID, nID}}, true);
}

void CParameterEditorController::Delete(int nID)
{
    if (!m_pView || !m_pDatabase)
        return;
    if (m_pDatabase->DeleteFromTable(CParameterRecord::TABLE_NAME, {{CDatabaseRecord::COLUMN_ID, nID}}, true))
        Load();
}
