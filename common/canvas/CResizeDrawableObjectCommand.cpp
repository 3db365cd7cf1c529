#include "canvas/CResizeDrawableObjectCommand.h"

#include "canvas/CDrawableGeometry.h"

#include "Geometry/COvrelGeometry.h"

CResizeDrawableObjectCommand::CResizeDrawableObjectCommand(std::shared_ptr<CDrawableObject> pObject,
                                                           const QPointF& startPoint, const QPointF& endPoint,
                                                           const QPointF& handleDelta)
    : m_pObject(std::move(pObject)), m_startPoint(startPoint), m_endPoint(endPoint), m_handleDelta(handleDelta)
{
}

CResizeDrawableObjectCommand::CResizeDrawableObjectCommand(std::shared_ptr<CDrawableGeometry> pObject,
                                                           const Ovrel::Geometry::COvrelGeometry& before,
                                                           const Ovrel::Geometry::COvrelGeometry& after)
    : m_pObject(pObject), m_pGeometryObject(std::move(pObject)), m_pBefore(before.Clone()), m_pAfter(after.Clone())
{
}

void CResizeDrawableObjectCommand::Execute()
{
    if (m_pGeometryObject)
        Restore(*m_pAfter);
    else
        MoveHandle(m_startPoint - m_handleDelta, m_endPoint - m_handleDelta);
}

void CResizeDrawableObjectCommand::Undo()
{
    if (m_pGeometryObject)
        Restore(*m_pBefore);
    else
        MoveHandle(m_endPoint - m_handleDelta, m_startPoint - m_handleDelta);
}

void CResizeDrawableObjectCommand::Restore(const Ovrel::Geometry::COvrelGeometry& shape)
{
    m_pGeometryObject->RestoreShape(shape);
}

void CResizeDrawableObjectCommand::MoveHandle(const QPointF& fromPoint, const QPointF& toPoint)
{
    // MoveResizePoint matches the handle with the library's tolerant equality, which absorbs the rounding of a
    // rectangle's normalised corners.
    if (m_pObject)
        m_pObject->MoveResizePoint(fromPoint, toPoint);
}
