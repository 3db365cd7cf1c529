#include "project/CRoiAnnotationHost.h"

#include "frame/CSetting.h"
#include "project/CProjectEditors.h"
#include "project/CProjectModel.h"
#include "project/CRunStateCheck.h"
#include "project/classes/CProjectCategories.h"
#include "project/images/CImageValidation.h"

CRoiAnnotationHost::CRoiAnnotationHost(CProjectModel* pModel, CDatabase* pDatabase, CProjectEditors* pEditors,
                                       QWidget* pView)
    : m_pModel(pModel), m_pDatabase(pDatabase), m_pEditors(pEditors), m_pView(pView)
{
}

std::unique_ptr<IRoiAnnotationHost> CRoiAnnotationHost::Make(CProjectModel* pModel, CDatabase* pDatabase,
                                                             CProjectEditors* pEditors, QWidget* pView)
{
    return std::make_unique<CRoiAnnotationHost>(pModel, pDatabase, pEditors, pView);
}

bool CRoiAnnotationHost::CommandStopped()
{
    return CRunStateCheck::Stopped(m_pModel, m_pView);
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
    if (CSetting::GetInt(CRoiAnnotationHost::QUICK_CLASS, 0) == 0)
        return false;
    strClass = CSetting::GetString(CRoiAnnotationHost::QUICK_CLASS_NAME, QString());
    return CProjectCategories(m_pDatabase).IDOf(strClass) >= 0;
}

void CRoiAnnotationHost::ValidateImage(int nImageID)
{
    if (m_pDatabase && m_pModel)
        CImageValidation(m_pDatabase).ValidateImageOf(*m_pModel, nImageID);
}
