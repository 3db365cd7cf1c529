#include "canvas/CAddDrawableObjectCommand.h"

#include "canvas/CDrawableObject.h"
#include "canvas/CDrawableObjectModel.h"

CAddDrawableObjectCommand::CAddDrawableObjectCommand(CDrawableObjectModel* pModel,
                                                     std::shared_ptr<CDrawableObject> pObject)
    : m_pModel(pModel), m_pObject(std::move(pObject))
{
}

void CAddDrawableObjectCommand::Execute()
{
    if (!m_pModel)
        return;
    m_pModel->DeselectAll();
    m_pModel->AddObject(m_pObject);
}

void CAddDrawableObjectCommand::Undo()
{
    if (m_pModel)
        m_pModel->DeleteObject(m_pObject);
}
