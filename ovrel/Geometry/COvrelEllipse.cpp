#include "Geometry/COvrelEllipse.h"

#include "Geometry/COvrelGeometryArray.h"
#include "Geometry/COvrelLine.h"

#include <cmath>

namespace Ovrel
{
namespace Geometry
{

namespace
{
// Enough chords that the outline looks round at the sizes drawn on screen.
constexpr int kOutlineChords = 64;
} // namespace

COvrelEllipse::COvrelEllipse(double dblX, double dblY, double dblWidth, double dblHeight)
    : m_box(dblX, dblY, dblWidth, dblHeight)
{
}

void COvrelEllipse::Set(double dblX, double dblY, double dblWidth, double dblHeight)
{
    m_box.Set(dblX, dblY, dblWidth, dblHeight);
}

double COvrelEllipse::centerX() const
{
    return m_box.x() + m_box.width() / 2.0;
}

double COvrelEllipse::centerY() const
{
    return m_box.y() + m_box.height() / 2.0;
}

double COvrelEllipse::radiusA() const
{
    return m_box.width() / 2.0;
}

double COvrelEllipse::radiusB() const
{
    return m_box.height() / 2.0;
}

COvrelRectangle COvrelEllipse::GetBoundary() const
{
    return m_box.GetBoundary();
}

void COvrelEllipse::Translate(double dx, double dy)
{
    m_box.Translate(dx, dy);
}

Utils::EOvrelResult COvrelEllipse::Segmentize(COvrelGeometryArray& segments, COvrelGeometryArray& vertices) const
{
    COvrelGeometryArray boxSegments;
    m_box.Segmentize(boxSegments, vertices);
    segments.Clear();
    const double step = 2.0 * M_PI / kOutlineChords;
    COvrelPoint previous(centerX() + radiusA(), centerY());
    for (int i = 1; i <= kOutlineChords; ++i)
    {
        const COvrelPoint next(centerX() + radiusA() * std::cos(i * step), centerY() + radiusB() * std::sin(i * step));
        segments.AddGeometry(std::make_shared<COvrelLine>(previous, next));
        previous = next;
    }
    return Utils::EOvrelResult_OK;
}

bool COvrelEllipse::Contained(const COvrelPoint& point) const
{
    const double a = radiusA();
    const double b = radiusB();
    if (a <= 0.0 || b <= 0.0)
        return false;
    const double u = (point.x() - centerX()) / a;
    const double v = (point.y() - centerY()) / b;
    const double value = u * u + v * v;
    return value <= 1.0 || CompareEqual(value, 1.0);
}

std::shared_ptr<COvrelGeometry> COvrelEllipse::Clone() const
{
    return std::make_shared<COvrelEllipse>(*this);
}

} // namespace Geometry
} // namespace Ovrel
