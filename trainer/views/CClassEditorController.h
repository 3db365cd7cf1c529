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
    // Every edit below that the file refuses (a name already used, a file that cannot be written) reloads the view
    // from the file, so that it never shows what is not stored, and then warns the user with the reason through
    // CPrompt. A blank or all-blank name is not stored: the view is reloaded without a statement or a warning.

    // Reloads on success.
    void Insert(const QString& strName);
    // Renames the row with that ID; on success the view already shows the new name, so nothing is reloaded.
    void Update(int nID, const QString& strName);
    // Reloads on success and then makes the view emit signal_CheckValidateROI. A class that boxes name is deleted
    // only after asking through CPrompt::GetItem ("Class %s is used by %d boxes on %d images") whether its boxes go
    // with it or move to another class; Cancel changes nothing. The boxes change with the class in one transaction,
    // and the view emits signal_ClassBoxesChanged before signal_CheckValidateROI.
    void Delete(int nID);

private:
    QString NameOf(int nID) const;
    // Asks what becomes of the boxes of class nID; false when cancelled, else nMoveToID is -1 (they are deleted too)
    // or the class they move to.
    bool AskForBoxes(int nID, int nBoxes, int nImages, int& nMoveToID);
    // strAction is "save" or "delete"; nID is the edited row's, -1 for a new one.
    void Refuse(const QString& strAction, const QString& strName, int nID);
    // Shows the file's rows again and warns "Cannot save class %s: %s"; true when the name was refused.
    bool RefuseUnsafeName(const QString& strName);

    CClassEditorView* m_pView = nullptr;
    CDatabase* m_pDatabase = nullptr;
};
