#pragma once

#include "Geometry/COvrelGeometry.h"
#include "Geometry/COvrelPoint.h"

namespace Ovrel
{
namespace Geometry
{

// A straight segment from start to end.
class OVREL_EXPORT COvrelLine : public COvrelGeometry
{
public:
    COvrelLine() = default;
    COvrelLine(const COvrelPoint& start, const COvrelPoint& end);
    COvrelLine(double dblX1, double dblY1, double dblX2, double dblY2);

    const COvrelPoint& start() const { return m_start; }
    const COvrelPoint& end() const { return m_end; }
    void SetStart(const COvrelPoint& point);
    void SetEnd(const COvrelPoint& point);

    double GetLength() const;

    // Shortest distance from the point to the segment.
    double GetDistance(const COvrelPoint& point) const;

    EGeometryType GetType() const override { return EGeometryType_Line; }
    COvrelRectangle GetBoundary() const override;
    void Translate(double dx, double dy) override;
    Utils::EOvrelResult Segmentize(COvrelGeometryArray& segments, COvrelGeometryArray& vertices) const override;
    bool Contained(const COvrelPoint& point) const override;
    std::shared_ptr<COvrelGeometry> Clone() const override;

private:
    COvrelPoint m_start;
    COvrelPoint m_end;
};

} // namespace Geometry
} // namespace Ovrel
