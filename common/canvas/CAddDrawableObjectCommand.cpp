#include "canvas/CAddDrawableObjectCommand.h"

#include "canvas/CDrawableObject.h"
#include "canvas/CDrawableObjectModel.h"
#include "canvas/ICanvasController.h"

CAddDrawableObjectCommand::CAddDrawableObjectCommand(ICanvasController* pController,
                                                     std::shared_ptr<CDrawableObject> pObject)
    : m_pController(pController), m_pObject(std::move(pObject))
{
}

void CAddDrawableObjectCommand::Execute()
{
    CDrawableObjectModel* pModel = m_pController ? m_pController->GetDrawableObjectModel() : nullptr;
    if (!pModel)
        return;
    pModel->DeselectAll();
    pModel->AddObject(m_pObject);
}

void CAddDrawableObjectCommand::Undo()
{
    if (CDrawableObjectModel* pModel = m_pController ? m_pController->GetDrawableObjectModel() : nullptr)
        pModel->DeleteObject(m_pObject);
}
