#include "canvas/CDrawableGeometry.h"

#include "canvas/GeometryHandles.h"

#include "Geometry/COvrelEllipse.h"
#include "Geometry/COvrelLine.h"
#include "Geometry/COvrelPoint.h"
#include "Geometry/COvrelPolygon.h"
#include "Geometry/COvrelRectangle.h"

#include <cmath>

using namespace Ovrel::Geometry;

namespace
{
// Moves the first bounding-box corner that equals the from point; the opposite corner stays.
template <typename TBox> bool MoveCorner(TBox& box, const COvrelPoint& from, const COvrelPoint& to)
{
    if (box.GetTopLeft() == from)
        box.SetTopLeft(to);
    else if (box.GetTopRight() == from)
        box.SetTopRight(to);
    else if (box.GetBottomRight() == from)
        box.SetBottomRight(to);
    else if (box.GetBottomLeft() == from)
        box.SetBottomLeft(to);
    else
        return false;
    return true;
}

bool MoveLineEnd(COvrelLine& line, const COvrelPoint& from, const COvrelPoint& to)
{
    if (line.start() == from)
        line.SetStart(to);
    else if (line.end() == from)
        line.SetEnd(to);
    else
        return false;
    return true;
}

bool MovePolygonVertex(COvrelPolygon& polygon, const COvrelPoint& from, const COvrelPoint& to)
{
    std::vector<COvrelPoint> vctVertices = polygon.GetVertices();
    for (COvrelPoint& vertex : vctVertices)
    {
        if (vertex == from)
        {
            vertex.Set(to.x(), to.y());
            polygon.FromVertices(vctVertices);
            return true;
        }
    }
    return false;
}
} // namespace

CDrawableGeometry::CDrawableGeometry(std::shared_ptr<COvrelGeometry> pData)
    : CDrawableGeometry(EImageView2DDrawbleObjectType_Geometry, std::move(pData))
{
}

CDrawableGeometry::CDrawableGeometry(EImageView2DDrawbleObjectType eType, std::shared_ptr<COvrelGeometry> pData)
    : CDrawableObject(eType), m_pData(std::move(pData))
{
}

CDrawableGeometry::~CDrawableGeometry() = default;

QString CDrawableGeometry::GetName() const
{
    if (!m_pData)
        return QString();
    if (IsNameSet())
        return StoredName();
    const char* szKind = "Object";
    switch (m_pData->GetType())
    {
    case EGeometryType_Point:
        szKind = "Point";
        break;
    case EGeometryType_Line:
        szKind = "Line";
        break;
    case EGeometryType_Rectangle:
        szKind = "Rectangle";
        break;
    case EGeometryType_Circle:
        szKind = "Circle";
        break;
    case EGeometryType_Ellipse:
        szKind = "Ellipse";
        break;
    case EGeometryType_Polygon:
        szKind = "Polygon";
        break;
    case EGeometryType_GeometryArray:
        szKind = "GeometryArray";
        break;
    }
    return QString::asprintf("%s_%u", szKind, GetUID());
}

QRectF CDrawableGeometry::GetBoundary() const
{
    if (!m_pData)
        return QRectF();
    const COvrelRectangle box = m_pData->GetBoundary();
    return QRectF(box.x(), box.y(), box.width(), box.height());
}

void CDrawableGeometry::RestoreShape(const COvrelGeometry& shape)
{
    std::vector<QPointF> vctNow;
    std::vector<QPointF> vctShape;
    if (m_pData && m_pData->GetType() == shape.GetType() && GeometryHandles(*m_pData, vctNow) &&
        GeometryHandles(shape, vctShape) && vctNow == vctShape)
        return;
    // A copy: the object's own geometry changes in place with every later drag, the given one must not.
    m_pData = shape.Clone();
    EmitChanged();
}

void CDrawableGeometry::MoveTopLeftTo(const QPointF& point)
{
    if (!m_pData)
        return;
    m_pData->MoveTopLeftTo(COvrelPoint(point.x(), point.y()));
    EmitChanged();
}

bool CDrawableGeometry::FindResizePoint(double dblTolerance, const QPointF& point, QPointF& foundPoint,
                                        double /*dblReserved*/) const
{
    std::vector<QPointF> vctHandles;
    if (!m_pData || !GeometryHandles(*m_pData, vctHandles))
        return false;
    for (const QPointF& handle : vctHandles)
    {
        if (std::hypot(handle.x() - point.x(), handle.y() - point.y()) <= dblTolerance)
        {
            foundPoint = handle;
            return true;
        }
    }
    return false;
}

void CDrawableGeometry::MoveResizePoint(const QPointF& fromPoint, const QPointF& toPoint)
{
    if (!m_pData)
        return;
    const COvrelPoint from(fromPoint.x(), fromPoint.y());
    const COvrelPoint to(toPoint.x(), toPoint.y());
    bool bMoved = false;
    switch (m_pData->GetType())
    {
    case EGeometryType_Line:
        if (auto* pLine = dynamic_cast<COvrelLine*>(m_pData.get()))
            bMoved = MoveLineEnd(*pLine, from, to);
        break;
    case EGeometryType_Rectangle:
        if (auto* pRectangle = dynamic_cast<COvrelRectangle*>(m_pData.get()))
            bMoved = MoveCorner(*pRectangle, from, to);
        break;
    case EGeometryType_Ellipse:
        if (auto* pEllipse = dynamic_cast<COvrelEllipse*>(m_pData.get()))
            bMoved = MoveCorner(*pEllipse, from, to);
        break;
    case EGeometryType_Polygon:
        if (auto* pPolygon = dynamic_cast<COvrelPolygon*>(m_pData.get()))
            bMoved = MovePolygonVertex(*pPolygon, from, to);
        break;
    default:
        break;
    }
    if (bMoved)
        EmitChanged();
}
