#include "Geometry/COvrelRectangle.h"

#include "Geometry/COvrelGeometryArray.h"
#include "Geometry/COvrelLine.h"

#include <algorithm>
#include <cmath>

namespace Ovrel
{
namespace Geometry
{

COvrelRectangle::COvrelRectangle(double dblX, double dblY, double dblWidth, double dblHeight)
{
    Set(dblX, dblY, dblWidth, dblHeight);
}

void COvrelRectangle::Set(double dblX, double dblY, double dblWidth, double dblHeight)
{
    SetCorners(dblX, dblY, dblX + dblWidth, dblY + dblHeight);
}

void COvrelRectangle::SetCorners(double dblX1, double dblY1, double dblX2, double dblY2)
{
    m_dblX = std::min(dblX1, dblX2);
    m_dblY = std::min(dblY1, dblY2);
    m_dblWidth = std::fabs(dblX2 - dblX1);
    m_dblHeight = std::fabs(dblY2 - dblY1);
}

COvrelPoint COvrelRectangle::GetTopLeft() const
{
    return COvrelPoint(left(), top());
}

COvrelPoint COvrelRectangle::GetTopRight() const
{
    return COvrelPoint(right(), top());
}

COvrelPoint COvrelRectangle::GetBottomRight() const
{
    return COvrelPoint(right(), bottom());
}

COvrelPoint COvrelRectangle::GetBottomLeft() const
{
    return COvrelPoint(left(), bottom());
}

void COvrelRectangle::SetTopLeft(const COvrelPoint& point)
{
    SetCorners(point.x(), point.y(), right(), bottom());
}

void COvrelRectangle::SetTopRight(const COvrelPoint& point)
{
    SetCorners(left(), point.y(), point.x(), bottom());
}

void COvrelRectangle::SetBottomRight(const COvrelPoint& point)
{
    SetCorners(left(), top(), point.x(), point.y());
}

void COvrelRectangle::SetBottomLeft(const COvrelPoint& point)
{
    SetCorners(point.x(), top(), right(), point.y());
}

COvrelRectangle COvrelRectangle::GetBoundary() const
{
    return COvrelRectangle(m_dblX, m_dblY, m_dblWidth, m_dblHeight);
}

void COvrelRectangle::Translate(double dx, double dy)
{
    m_dblX += dx;
    m_dblY += dy;
}

Utils::EOvrelResult COvrelRectangle::Segmentize(COvrelGeometryArray& segments, COvrelGeometryArray& vertices) const
{
    segments.Clear();
    vertices.Clear();
    const COvrelPoint corners[4] = {GetTopLeft(), GetTopRight(), GetBottomRight(), GetBottomLeft()};
    for (int i = 0; i < 4; ++i)
    {
        segments.AddGeometry(std::make_shared<COvrelLine>(corners[i], corners[(i + 1) % 4]));
        vertices.AddGeometry(std::make_shared<COvrelPoint>(corners[i]));
    }
    return Utils::EOvrelResult_OK;
}

bool COvrelRectangle::Contained(const COvrelPoint& point) const
{
    return point.x() >= left() && point.x() <= right() && point.y() >= top() && point.y() <= bottom();
}

std::shared_ptr<COvrelGeometry> COvrelRectangle::Clone() const
{
    return std::make_shared<COvrelRectangle>(*this);
}

} // namespace Geometry
} // namespace Ovrel
