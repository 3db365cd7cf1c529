#pragma once

#include "views/CTableEditorController.h"

#include <QString>

class CDatabase;
class CParameterEditorView;

// Keeps the parameter table of the open project and the parameter editor in step, as CTableEditorController tells.
class CParameterEditorController : public CTableEditorController
{
    Q_OBJECT
public:
    // View and database are not owned; without either every operation does nothing.
    CParameterEditorController(CParameterEditorView* pView, CDatabase* pDatabase, QObject* parent = nullptr);

    // Shows every parameter row, in the order the database returns them.
    void Load() override;

    // Reloads on success.
    void Insert(const QString& strName, const QString& strValue);
    // Writes name and value of the row with that ID; on success nothing is reloaded.
    void Update(int nID, const QString& strName, const QString& strValue);
    // Reloads on success.
    void Delete(int nID);

protected:
    QString NameOf(int nID) const override;

private:
    CParameterEditorView* m_pView = nullptr;
};
