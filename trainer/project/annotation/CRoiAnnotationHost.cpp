#include "project/annotation/CRoiAnnotationHost.h"

#include "frame/CSetting.h"
#include "project/CProjectController.h"
#include "project/CProjectEditors.h"

CRoiAnnotationHost::CRoiAnnotationHost(CProjectController* pController, CProjectEditors* pEditors)
    : m_pController(pController), m_pEditors(pEditors)
{
}

std::unique_ptr<IRoiAnnotationHost> CRoiAnnotationHost::Make(CProjectController* pController, CProjectEditors* pEditors)
{
    return std::make_unique<CRoiAnnotationHost>(pController, pEditors);
}

bool CRoiAnnotationHost::CommandStopped()
{
    return m_pController->CheckCommandStopped();
}

bool CRoiAnnotationHost::HasChooser() const
{
    return m_pEditors->HasChooser();
}

bool CRoiAnnotationHost::ChooseClass(QString& strClass)
{
    return m_pEditors->ChooseClass(strClass);
}

bool CRoiAnnotationHost::ChooseDeletedClass(QString& strClass)
{
    return m_pEditors->ChooseClass(strClass, "The class of this box was deleted: choose a new one");
}

bool CRoiAnnotationHost::QuickClass(QString& strClass)
{
    if (CSetting::GetInt(CProjectController::QUICK_CLASS, 0) == 0)
        return false;
    strClass = CSetting::GetString(CProjectController::QUICK_CLASS_NAME, QString());
    return m_pController->GetCategoryID(strClass) >= 0;
}

void CRoiAnnotationHost::ValidateImage(int nImageID)
{
    m_pController->ValidateImageByID(nImageID);
}
