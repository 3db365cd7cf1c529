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
    if (CDrawableObjectModel* pModel = m_pController ? m_pController->GetDrawableObjectModel() : nullptr)
        pModel->DeleteObject(m_pObject);
}

void CDeleteDrawableObjectCommand::Undo()
{
    CDrawableObjectModel* pModel = m_pController ? m_pController->GetDrawableObjectModel() : nullptr;
    if (!pModel)
        return;
    pModel->DeselectAll();
    pModel->AddObject(m_pObject);
}
