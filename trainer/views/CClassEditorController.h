#pragma once

#include "views/CTableEditorController.h"

#include <QString>

class CClassEditorView;
class CDatabase;

// Keeps the category table of the open project and the class editor in step, as CTableEditorController tells.
class CClassEditorController : public CTableEditorController
{
    Q_OBJECT
public:
    // View and database are not owned; without either every operation does nothing.
    CClassEditorController(CClassEditorView* pView, CDatabase* pDatabase, QObject* parent = nullptr);

    // Shows every category row, in the order the database returns them.
    void Load() override;
    // A name with a control character is refused like a name the file refuses ("Cannot save class %s: %s").

    // Reloads on success.
    void Insert(const QString& strName);
    // Renames the row with that ID; on success the view already shows the new name, so nothing is reloaded.
    void Update(int nID, const QString& strName);
    // Reloads on success and then makes the view emit signal_CheckValidateROI. A class that boxes name is deleted
    // only after asking through CPrompt::GetItem ("Class %s is used by %d boxes on %d images") whether its boxes go
    // with it or move to another class; Cancel changes nothing. The boxes change with the class in one transaction,
    // and the view emits signal_ClassBoxesChanged before signal_CheckValidateROI.
    void Delete(int nID);

protected:
    QString NameOf(int nID) const override;
    bool AcceptsName(const QString& strName) override;

private:
    // Asks what becomes of the boxes of class nID; false when cancelled, else nMoveToID is -1 (they are deleted too)
    // or the class they move to.
    bool AskForBoxes(int nID, int nBoxes, int nImages, int& nMoveToID);

    CClassEditorView* m_pView = nullptr;
};
