#pragma once

#include "database/CDatabase.h"
#include "database/CDatabaseRecord.h"
#include "frame/CController.h"

#include <QString>
#include <QVariant>

#include <map>
#include <memory>
#include <vector>

class QWidget;

// Keeps one table of the open project and its editor in step: each edit the view announces becomes one statement at
// once, in a transaction of its own. Every edit the file refuses (a name already used, a file that cannot be written)
// reloads the view from the file, so that it never shows what is not stored, and then warns the user with the reason
// through CPrompt ("Cannot save <noun> <name>: <reason>"). A blank or all-blank name is not stored: the view is
// reloaded without a statement or a warning.
class CTableEditorController : public CController
{
    Q_OBJECT
public:
    bool Undo() override { return false; }
    bool Redo() override { return false; }

    // Shows every row, in the order the database returns them.
    virtual void Load() = 0;

protected:
    // View and database are not owned; without either every operation does nothing. strNoun names a row in the
    // warnings ("class").
    CTableEditorController(QWidget* pView, CDatabase* pDatabase, const QString& strTable, const QString& strNameColumn,
                           const QString& strNoun, QObject* parent);

    bool IsReady() const { return m_pView && m_pDatabase; }
    CDatabase* GetDatabase() const { return m_pDatabase; }

    // The table's rows that are records of type T and match the WHERE values, in the database's order.
    template <class T> std::vector<std::shared_ptr<T>> Rows(const std::map<QString, QVariant>& mapWhere = {}) const
    {
        std::vector<std::shared_ptr<CDatabaseRecord>> vctRecords;
        m_pDatabase->SelectFromTable(m_strTable, vctRecords, mapWhere);
        std::vector<std::shared_ptr<T>> vctRows;
        vctRows.reserve(vctRecords.size());
        for (const auto& pRecord : vctRecords)
            if (auto pRow = std::dynamic_pointer_cast<T>(pRecord))
                vctRows.push_back(pRow);
        return vctRows;
    }
    // The name of the row with that ID, empty when there is none.
    template <class T> QString RowName(int nID) const
    {
        const auto vctRows = Rows<T>({{CDatabaseRecord::COLUMN_ID, nID}});
        return vctRows.empty() ? QString() : vctRows.front()->GetName();
    }
    // The name a warning about row nID shows.
    virtual QString NameOf(int nID) const = 0;
    // Whether a name that is not blank may be stored; one that may not is refused here (reloaded and warned about).
    virtual bool AcceptsName(const QString& /*strName*/) { return true; }

    // Stores the new row, named strName; reloads on success.
    void InsertRow(const std::shared_ptr<CDatabaseRecord>& pRecord, const QString& strName);
    // Writes the values into row nID, named strName after the edit; on success nothing is reloaded.
    void UpdateRow(int nID, const QString& strName, const std::map<QString, QVariant>& mapValues);
    // Deletes row nID and reloads; false, after the refusal, when the file refused.
    bool DeleteRow(int nID);
    // strAction is "save" or "delete"; nID is the edited row's, -1 for a new one.
    void Refuse(const QString& strAction, const QString& strName, int nID);
    // Shows the file's rows again, then warns with the text.
    void Warn(const QString& strText);

private:
    // False, reloading, for a blank name or one AcceptsName refuses.
    bool MayStore(const QString& strName);

    QWidget* m_pView = nullptr;
    CDatabase* m_pDatabase = nullptr;
    QString m_strTable;
    QString m_strNameColumn;
    QString m_strNoun;
};
