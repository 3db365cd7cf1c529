#include "views/CParameterEditorController.h"

#include "database/CDatabase.h"
#include "database/CDatabaseRecord.h"
#include "frame/CPrompt.h"
#include "frame/CSetting.h"
#include "project/settings/CParameterRecord.h"
#include "views/CParameterEditorView.h"
#include "views/CRefusedEdit.h"

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
    // A parameter without a name cannot be passed on; the row goes back to empty.
    if (strName.trimmed().isEmpty())
    {
        Load();
        return;
    }
    auto pRecord = std::make_shared<CParameterRecord>();
    pRecord->SetName(strName);
    pRecord->SetValue(strValue);
    if (m_pDatabase->InsertToTable(std::vector<std::shared_ptr<CDatabaseRecord>>{pRecord}, true))
        Load();
    else
        Refuse("save", strName, -1);
}

void CParameterEditorController::Update(int nID, const QString& strName, const QString& strValue)
{
    if (!m_pView || !m_pDatabase)
        return;
    if (strName.trimmed().isEmpty())
    {
        Load();
        return;
    }
    if (!m_pDatabase->UpdateTable(
            CParameterRecord::TABLE_NAME,
            {{CParameterRecord::COLUMN_NAME, strName}, {CParameterRecord::COLUMN_VALUE, strValue}},
            {{CDatabaseRecord::COLUMN_ID, nID}}, true))
        Refuse("save", strName, nID);
}

void CParameterEditorController::Delete(int nID)
{
    if (!m_pView || !m_pDatabase)
        return;
    if (m_pDatabase->DeleteFromTable(CParameterRecord::TABLE_NAME, {{CDatabaseRecord::COLUMN_ID, nID}}, true))
        Load();
    else
        Refuse("delete", NameOf(nID), nID);
}

QString CParameterEditorController::NameOf(int nID) const
{
    std::vector<std::shared_ptr<CDatabaseRecord>> vctRecords;
    m_pDatabase->SelectFromTable(CParameterRecord::TABLE_NAME, vctRecords, {{CDatabaseRecord::COLUMN_ID, nID}});
    const auto pParameter = vctRecords.empty() ? nullptr : std::dynamic_pointer_cast<CParameterRecord>(vctRecords[0]);
    return pParameter ? pParameter->GetName() : QString();
}

void CParameterEditorController::Refuse(const QString& strAction, const QString& strName, int nID)
{
    const QString strReason =
        CRefusedEdit::Reason(m_pDatabase, CParameterRecord::TABLE_NAME, CParameterRecord::COLUMN_NAME, strName, nID);
    // The grid still shows the refused edit; it must show what the file holds before the user reads why.
    Load();
    CPrompt::Warning(m_pView, CSetting::GetString("GENERAL_PROGRAME_NAME", "OvrelTrainer"),
                     QString("Cannot %1 parameter %2: %3").arg(strAction, strName, strReason));
}
