#include "views/CClassChooserController.h"

#include "project/classes/CClassColours.h"
#include "project/classes/CProjectCategories.h"
#include "views/CClassChooserView.h"

CClassChooserController::CClassChooserController(CClassChooserView* pView, CDatabase* pDatabase, QObject* parent)
    : CController(parent), m_pView(pView), m_pDatabase(pDatabase)
{
}

void CClassChooserController::Load()
{
    if (!m_pView || !m_pDatabase)
        return;
    const QStringList lstNames = CProjectCategories(m_pDatabase).Names();
    m_pView->SetItems(lstNames, CClassColours::OfList(lstNames));
}
