#include "canvas/CRelabelDrawableObjectCommand.h"

#include "canvas/CDrawableObject.h"
#include "canvas/ICanvasController.h"

CRelabelDrawableObjectCommand::CRelabelDrawableObjectCommand(
    ICanvasController* pController, const std::vector<std::shared_ptr<CDrawableObject>>& vctObjects,
    const QString& strName)
    : m_pController(pController), m_strName(strName)
{
    for (const std::shared_ptr<CDrawableObject>& pObject : vctObjects)
    {
        if (!pObject)
            continue;
        m_vctObjects.push_back(pObject);
        m_vctOldNames.push_back(pObject->GetName());
    }
}

void CRelabelDrawableObjectCommand::Execute()
{
    for (const std::shared_ptr<CDrawableObject>& pObject : m_vctObjects)
        pObject->SetName(m_strName);
    if (m_pController)
        m_pController->RepaintCanvas();
}

void CRelabelDrawableObjectCommand::Undo()
{
    for (size_t i = m_vctObjects.size(); i-- > 0;)
        m_vctObjects[i]->SetName(m_vctOldNames[i]);
    if (m_pController)
        m_pController->RepaintCanvas();
}
