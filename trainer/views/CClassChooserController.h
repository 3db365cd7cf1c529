#pragma once

#include "frame/CController.h"

class CClassChooserView;
class CDatabase;

// Offers the open project's class names in the class chooser.
class CClassChooserController : public CController
{
    Q_OBJECT
public:
    // View and database are not owned; without either Load does nothing.
    CClassChooserController(CClassChooserView* pView, CDatabase* pDatabase, QObject* parent = nullptr);

    bool Undo() override { return false; }
    bool Redo() override { return false; }

    // Offers the NAME of every category row, in the order the database returns them.
    void Load();

private:
    CClassChooserView* m_pView = nullptr;
    CDatabase* m_pDatabase = nullptr;
};
