#include "canvas/CRelabelDrawableObjectCommand.h"

#include "canvas/CDrawableObject.h"

CRelabelDrawableObjectCommand::CRelabelDrawableObjectCommand(
    const std::vector<std::shared_ptr<CDrawableObject>>& vctObjects, const QString& strName)
    : m_strName(strName)
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
}

void CRelabelDrawableObjectCommand::Undo()
{
    for (size_t i = m_vctObjects.size(); i-- > 0;)
        m_vctObjects[i]->SetName(m_vctOldNames[i]);
}
