#include "canvas/CMoveDrawableObjectCommand.h"

#include "canvas/CDrawableObject.h"

CMoveDrawableObjectCommand::CMoveDrawableObjectCommand(std::shared_ptr<CDrawableObject> pObject,
                                                       const QPointF& startPoint, const QPointF& endPoint,
                                                       const QPointF& offset)
    : m_pObject(std::move(pObject)), m_startPoint(startPoint), m_endPoint(endPoint), m_offset(offset)
{
}

void CMoveDrawableObjectCommand::Execute()
{
    MoveTo(m_endPoint - m_offset);
}

void CMoveDrawableObjectCommand::Undo()
{
    MoveTo(m_startPoint - m_offset);
}

void CMoveDrawableObjectCommand::MoveTo(const QPointF& point)
{
    if (m_pObject)
        m_pObject->MoveTopLeftTo(point);
}
