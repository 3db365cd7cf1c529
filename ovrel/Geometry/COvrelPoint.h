#pragma once

#include "Geometry/COvrelGeometry.h"

namespace Ovrel
{
namespace Geometry
{

class OVREL_EXPORT COvrelPoint : public COvrelGeometry
{
public:
    COvrelPoint() = default;
    COvrelPoint(double dblX, double dblY);

    double x() const { return m_dblX; }
    double y() const { return m_dblY; }
    void SetX(double dblX) { m_dblX = dblX; }
    void SetY(double dblY) { m_dblY = dblY; }
    void Set(double dblX, double dblY);

    // Tolerant equality of both coordinates (Utils::COvrelObject::CompareEqual).
    bool operator==(const COvrelPoint& other) const;
    bool operator!=(const COvrelPoint& other) const { return !(*this == other); }

    // Euclidean distance.
    double GetDistance(const COvrelPoint& other) const;

    EGeometryType GetType() const override { return EGeometryType_Point; }
    COvrelRectangle GetBoundary() const override;
    void Translate(double dx, double dy) override;
    Utils::EOvrelResult Segmentize(COvrelGeometryArray& segments, COvrelGeometryArray& vertices) const override;
    bool Contained(const COvrelPoint& point) const override;
    std::shared_ptr<COvrelGeometry> Clone() const override;

private:
    double m_dblX = 0.0;
    double m_dblY = 0.0;
};

} // namespace Geometry
} // namespace Ovrel
