#include "canvas/CDeleteDrawableObjectCommand.h"

#include "canvas/CDrawableObject.h"
#include "canvas/CDrawableObjectModel.h"

CDeleteDrawableObjectCommand::CDeleteDrawableObjectCommand(CDrawableObjectModel* pModel,
                                                           std::shared_ptr<CDrawableObject> pObject)
    : m_pModel(pModel), m_pObject(std::move(pObject))
{
}

void CDeleteDrawableObjectCommand::Execute()
{
    if (!m_pModel)
        return;
    const int nIndex = m_pModel->IndexOf(m_pObject);
    if (nIndex >= 0)
        m_nIndex = nIndex;
    m_pModel->DeleteObject(m_pObject);
}

void CDeleteDrawableObjectCommand::Undo()
{
    if (!m_pModel)
        return;
    m_pModel->DeselectAll();
    m_pModel->InsertObject(m_pObject, m_nIndex);
}
