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
    // Reloads on success; a rejected name (the names are unique) leaves table and view as they are.
    void Insert(const QString& strName, const QString& strValue);
    // Writes name and value of the row with that ID; nothing is reloaded.
    void Update(int nID, const QString& strName, const QString& strValue);
    // Reloads on success.
    void Delete(int nID);

private:
    CParameterEditorView* m_pView = nullptr;
    CDatabase* m_pDatabase = nullptr;
};
