#pragma once

#include "frame/CController.h"

#include <QString>

class CClassEditorView;
class CDatabase;

// Keeps the category table of the open project and the class editor in step: each edit the view announces becomes
// one statement at once, in a transaction of its own.
class CClassEditorController : public CController
{
    Q_OBJECT
public:
    // View and database are not owned; without either every operation does nothing.
    CClassEditorController(CClassEditorView* pView, CDatabase* pDatabase, QObject* parent = nullptr);

    bool Undo() override { return false; }
    bool Redo() override { return false; }

    // Shows every category row, in the order the database returns them.
    void Load();
    // Reloads on success; a rejected name (the names are unique) leaves table and view as they are.
    void Insert(const QString& strName);
    // Renames the row with that ID; the view already shows the new name, so nothing is reloaded.
    void Update(int nID, const QString& strName);
    // Reloads on success and then makes the view emit signal_CheckValidateROI.
    void Delete(int nID);

private:
    CClassEditorView* m_pView = nullptr;
    CDatabase* m_pDatabase = nullptr;
};
