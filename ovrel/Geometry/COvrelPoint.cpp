#include "Geometry/COvrelPoint.h"

#include "Geometry/COvrelGeometryArray.h"
#include "Geometry/COvrelRectangle.h"

#include <cmath>

namespace Ovrel
{
namespace Geometry
{

COvrelPoint::COvrelPoint(double dblX, double dblY) : m_dblX(dblX), m_dblY(dblY) {}

void COvrelPoint::Set(double dblX, double dblY)
{
    m_dblX = dblX;
    m_dblY = dblY;
}

bool COvrelPoint::operator==(const COvrelPoint& other) const
{
    return CompareEqual(m_dblX, other.m_dblX) && CompareEqual(m_dblY, other.m_dblY);
}

double COvrelPoint::GetDistance(const COvrelPoint& other) const
{
    return std::hypot(other.m_dblX - m_dblX, other.m_dblY - m_dblY);
}

COvrelRectangle COvrelPoint::GetBoundary() const
{
    return COvrelRectangle(m_dblX, m_dblY, 0.0, 0.0);
}

void COvrelPoint::Translate(double dx, double dy)
{
    m_dblX += dx;
    m_dblY += dy;
}

Utils::EOvrelResult COvrelPoint::Segmentize(COvrelGeometryArray& segments, COvrelGeometryArray& vertices) const
{
    segments.Clear();
    vertices.Clear();
    vertices.AddGeometry(std::make_shared<COvrelPoint>(m_dblX, m_dblY));
    return Utils::EOvrelResult_OK;
}

bool COvrelPoint::Contained(const COvrelPoint& point) const
{
    return *this == point;
}

std::shared_ptr<COvrelGeometry> COvrelPoint::Clone() const
{
    return std::make_shared<COvrelPoint>(*this);
}

} // namespace Geometry
} // namespace Ovrel
