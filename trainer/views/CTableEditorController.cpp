#include "views/CTableEditorController.h"

#include "frame/CPrompt.h"
#include "frame/CSetting.h"
#include "views/CRefusedEdit.h"

CTableEditorController::CTableEditorController(QWidget* pView, CDatabase* pDatabase, const QString& strTable,
                                               const QString& strNameColumn, const QString& strNoun, QObject* parent)
    : CController(parent), m_pView(pView), m_pDatabase(pDatabase), m_strTable(strTable), m_strNameColumn(strNameColumn),
      m_strNoun(strNoun)
{
}

bool CTableEditorController::MayStore(const QString& strName)
{
    if (!IsReady())
        return false;
    // A blank name would become a blank line where the rows are used; the row goes back to what the file holds.
    if (strName.trimmed().isEmpty())
    {
        Load();
        return false;
    }
    return AcceptsName(strName);
}

void CTableEditorController::InsertRow(const std::shared_ptr<CDatabaseRecord>& pRecord, const QString& strName)
{
    if (!MayStore(strName))
        return;
    if (m_pDatabase->InsertToTable(std::vector<std::shared_ptr<CDatabaseRecord>>{pRecord}, true))
        Load();
    else
        Refuse("save", strName, -1);
}

void CTableEditorController::UpdateRow(int nID, const QString& strName, const std::map<QString, QVariant>& mapValues)
{
    if (!MayStore(strName))
        return;
    if (!m_pDatabase->UpdateTable(m_strTable, mapValues, {{CDatabaseRecord::COLUMN_ID, nID}}, true))
        Refuse("save", strName, nID);
}

bool CTableEditorController::DeleteRow(int nID)
{
    if (!m_pDatabase->DeleteFromTable(m_strTable, {{CDatabaseRecord::COLUMN_ID, nID}}, true))
    {
        Refuse("delete", NameOf(nID), nID);
        return false;
    }
    Load();
    return true;
}

void CTableEditorController::Refuse(const QString& strAction, const QString& strName, int nID)
{
    const QString strReason = CRefusedEdit::Reason(m_pDatabase, m_strTable, m_strNameColumn, strName, nID);
    Warn(QString("Cannot %1 %2 %3: %4").arg(strAction, m_strNoun, strName, strReason));
}

void CTableEditorController::Warn(const QString& strText)
{
    // The grid still shows the refused edit; it must show what the file holds before the user reads why.
    Load();
    CPrompt::Warning(m_pView, CSetting::GetString("GENERAL_PROGRAME_NAME", "OvrelTrainer"), strText);
}
