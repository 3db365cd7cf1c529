#include "canvas/CNudgeDrawableObjectsCommand.h"

#include "canvas/CDrawableObject.h"

CNudgeDrawableObjectsCommand::CNudgeDrawableObjectsCommand(std::vector<std::shared_ptr<CDrawableObject>> vctObjects,
                                                           const QPointF& offset)
    : m_vctObjects(std::move(vctObjects)), m_offset(offset)
{
}

void CNudgeDrawableObjectsCommand::Execute()
{
    MoveBy(m_offset);
}

void CNudgeDrawableObjectsCommand::Undo()
{
    MoveBy(-m_offset);
}

bool CNudgeDrawableObjectsCommand::MergeWith(const CUndoCommand& next)
{
    // Only the same selection continues the run: a nudge of other boxes is a step of its own.
    const auto* pNext = dynamic_cast<const CNudgeDrawableObjectsCommand*>(&next);
    if (!pNext || pNext->m_vctObjects != m_vctObjects)
        return false;
    m_offset += pNext->m_offset;
    return true;
}

void CNudgeDrawableObjectsCommand::MoveBy(const QPointF& offset)
{
    for (const std::shared_ptr<CDrawableObject>& pObject : m_vctObjects)
    {
        if (pObject)
            pObject->MoveTopLeftTo(pObject->GetBoundary().topLeft() + offset);
    }
}
