#include "canvas/CDeleteDrawableObjectCommand.h"

#include "canvas/CDrawableObject.h"
#include "canvas/CDrawableObjectModel.h"
#include "canvas/ICanvasController.h"

CDeleteDrawableObjectCommand::CDeleteDrawableObjectCommand(ICanvasController* pController,
                                                           std::shared_ptr<CDrawableObject> pObject)
    : m_pController(pController), m_pObject(std::move(pObject))
{
}

void CDeleteDrawableObjectCommand::Execute()
{
    CDrawableObjectModel* pModel = m_pController ? m_pController->GetDrawableObjectModel() : nullptr;
    if (!pModel)
        return;
    const int nIndex = pModel->IndexOf(m_pObject);
    if (nIndex >= 0)
        m_nIndex = nIndex;
    pModel->DeleteObject(m_pObject);
}

void CDeleteDrawableObjectCommand::Undo()
{
    CDrawableObjectModel* pModel = m_pController ? m_pController->GetDrawableObjectModel() : nullptr;
    if (!pModel)
        return;
    pModel->DeselectAll();
    pModel->InsertObject(m_pObject, m_nIndex);
}
