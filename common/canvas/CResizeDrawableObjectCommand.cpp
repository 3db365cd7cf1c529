#include "canvas/CResizeDrawableObjectCommand.h"

#include "canvas/CDrawableObject.h"
#include "canvas/ICanvasController.h"

CResizeDrawableObjectCommand::CResizeDrawableObjectCommand(ICanvasController* pController,
                                                           std::shared_ptr<CDrawableObject> pObject,
                                                           const QPointF& startPoint, const QPointF& endPoint,
                                                           const QPointF& handleDelta)
    : m_pController(pController), m_pObject(std::move(pObject)), m_startPoint(startPoint), m_endPoint(endPoint),
      m_handleDelta(handleDelta)
{
}

void CResizeDrawableObjectCommand::Execute()
{
    MoveHandle(m_startPoint - m_handleDelta, m_endPoint - m_handleDelta);
}

void CResizeDrawableObjectCommand::Undo()
{
    MoveHandle(m_endPoint - m_handleDelta, m_startPoint - m_handleDelta);
}

void CResizeDrawableObjectCommand::MoveHandle(const QPointF& fromPoint, const QPointF& toPoint)
{
    // MoveResizePoint matches the handle with the library's tolerant equality, which absorbs the rounding of a
    // rectangle's normalised corners.
    if (m_pObject)
        m_pObject->MoveResizePoint(fromPoint, toPoint);
    if (m_pController)
        m_pController->RepaintCanvas();
}
