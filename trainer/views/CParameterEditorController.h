#pragma once

#include "frame/CController.h"

#include <QString>

class CDatabase;
class CParameterEditorView;

// Keeps the parameter table of the open project and the parameter editor in step: each edit the view announces
// becomes one statement at once, in a transaction of its own.
class CParameterEditorController : public CController
{
    Q_OBJECT
public:
    // View and database are not owned; without either every operation does nothing.
    CParameterEditorController(CParameterEditorView* pView, CDatabase* pDatabase, QObject* parent = nullptr);

    bool Undo() override { return false; }
    bool Redo() override { return false; }

    // Shows every parameter row, in the order the database returns them.
    void Load();
    // Every edit below that the file refuses (a name already used, a file that cannot be written) reloads the view
    // from the file, so that it never shows what is not stored, and then warns the user with the reason through
    // CPrompt. A blank or all-blank name is not stored: the view is reloaded without a statement or a warning.

    // Reloads on success.
    void Insert(const QString& strName, const QString& strValue);
    // Writes name and value of the row with that ID; on success nothing is reloaded.
    void Update(int nID, const QString& strName, const QString& strValue);
    // Reloads on success.
    void Delete(int nID);

private:
    QString NameOf(int nID) const;
    // strAction is "save" or "delete"; nID is the edited row's, -1 for a new one.
    void Refuse(const QString& strAction, const QString& strName, int nID);

    CParameterEditorView* m_pView = nullptr;
    CDatabase* m_pDatabase = nullptr;
};
