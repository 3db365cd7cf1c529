#include "Geometry/COvrelLine.h"

#include "Geometry/COvrelGeometryArray.h"
#include "Geometry/COvrelRectangle.h"

#include <algorithm>
#include <cmath>

namespace Ovrel
{
namespace Geometry
{

COvrelLine::COvrelLine(const COvrelPoint& start, const COvrelPoint& end) : m_start(start), m_end(end) {}

COvrelLine::COvrelLine(double dblX1, double dblY1, double dblX2, double dblY2)
    : m_start(dblX1, dblY1), m_end(dblX2, dblY2)
{
}

void COvrelLine::SetStart(const COvrelPoint& point)
{
    m_start.Set(point.x(), point.y());
}

void COvrelLine::SetEnd(const COvrelPoint& point)
{
    m_end.Set(point.x(), point.y());
}

double COvrelLine::GetLength() const
{
    return m_start.GetDistance(m_end);
}

double COvrelLine::GetDistance(const COvrelPoint& point) const
{
    const double dx = m_end.x() - m_start.x();
    const double dy = m_end.y() - m_start.y();
    const double lengthSquared = dx * dx + dy * dy;
    if (lengthSquared <= 0.0)
        return m_start.GetDistance(point);
    // Projection of the point onto the segment, clamped to its ends.
    double t = ((point.x() - m_start.x()) * dx + (point.y() - m_start.y()) * dy) / lengthSquared;
    t = std::clamp(t, 0.0, 1.0);
    return point.GetDistance(COvrelPoint(m_start.x() + t * dx, m_start.y() + t * dy));
}

COvrelRectangle COvrelLine::GetBoundary() const
{
    const double left = std::min(m_start.x(), m_end.x());
    const double top = std::min(m_start.y(), m_end.y());
    return COvrelRectangle(left, top, std::fabs(m_end.x() - m_start.x()), std::fabs(m_end.y() - m_start.y()));
}

void COvrelLine::Translate(double dx, double dy)
{
    m_start.Translate(dx, dy);
    m_end.Translate(dx, dy);
}

Utils::EOvrelResult COvrelLine::Segmentize(COvrelGeometryArray& segments, COvrelGeometryArray& vertices) const
{
    segments.Clear();
    vertices.Clear();
    segments.AddGeometry(std::make_shared<COvrelLine>(m_start, m_end));
    vertices.AddGeometry(std::make_shared<COvrelPoint>(m_start));
    vertices.AddGeometry(std::make_shared<COvrelPoint>(m_end));
    return Utils::EOvrelResult_OK;
}

bool COvrelLine::Contained(const COvrelPoint& point) const
{
    return CompareEqual(GetDistance(point), 0.0);
}

std::shared_ptr<COvrelGeometry> COvrelLine::Clone() const
{
    return std::make_shared<COvrelLine>(*this);
}

} // namespace Geometry
} // namespace Ovrel
