#include "views/CParameterEditorController.h"

#include "project/store/CParameterRecord.h"
#include "views/CParameterEditorView.h"

#include <memory>
#include <vector>

CParameterEditorController::CParameterEditorController(CParameterEditorView* pView, CDatabase* pDatabase,
                                                       QObject* parent)
    : CTableEditorController(pView, pDatabase, CParameterRecord::TABLE_NAME, CParameterRecord::COLUMN_NAME, "parameter",
                             parent),
      m_pView(pView)
{
    if (!m_pView)
        return;
    connect(m_pView, &CParameterEditorView::signal_Update, this, &CParameterEditorController::Update);
    connect(m_pView, &CParameterEditorView::signal_Insert, this, &CParameterEditorController::Insert);
    connect(m_pView, &CParameterEditorView::signal_Delete, this, &CParameterEditorController::Delete);
}

void CParameterEditorController::Load()
{
    if (!IsReady())
        return;
    std::vector<CParameterEditorView::SRow> vctRows;
    for (const auto& pParameter : Rows<CParameterRecord>())
        vctRows.push_back({pParameter->GetID(), pParameter->GetName(), pParameter->GetValue()});
    m_pView->SetData(vctRows);
}

void CParameterEditorController::Insert(const QString& strName, const QString& strValue)
{
    auto pRecord = std::make_shared<CParameterRecord>();
    pRecord->SetName(strName);
    pRecord->SetValue(strValue);
    InsertRow(pRecord, strName);
}

void CParameterEditorController::Update(int nID, const QString& strName, const QString& strValue)
{
    UpdateRow(nID, strName, {{CParameterRecord::COLUMN_NAME, strName}, {CParameterRecord::COLUMN_VALUE, strValue}});
}

void CParameterEditorController::Delete(int nID)
{
    if (IsReady())
        DeleteRow(nID);
}

QString CParameterEditorController::NameOf(int nID) const
{
    return RowName<CParameterRecord>(nID);
}
