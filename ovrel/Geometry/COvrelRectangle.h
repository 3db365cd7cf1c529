#pragma once

#include "Geometry/COvrelGeometry.h"
#include "Geometry/COvrelPoint.h"

namespace Ovrel
{
namespace Geometry
{

// Axis-aligned rectangle. It is always kept normalised: a negative width or height (a box dragged
// leftwards or upwards) is turned into the same box with its top-left corner and positive size,
// so x() == left() and y() == top() hold at all times.
class OVREL_EXPORT COvrelRectangle : public COvrelGeometry
{
public:
    COvrelRectangle() = default;
    COvrelRectangle(double dblX, double dblY, double dblWidth, double dblHeight);

    void Set(double dblX, double dblY, double dblWidth, double dblHeight);

    double x() const { return m_dblX; }
    double y() const { return m_dblY; }
    double width() const { return m_dblWidth; }
    double height() const { return m_dblHeight; }
    double left() const { return m_dblX; }
    double top() const { return m_dblY; }
    double right() const { return m_dblX + m_dblWidth; }
    double bottom() const { return m_dblY + m_dblHeight; }

    COvrelPoint GetTopLeft() const;
    COvrelPoint GetTopRight() const;
    COvrelPoint GetBottomRight() const;
    COvrelPoint GetBottomLeft() const;

    // Each setter moves one corner to the point while the opposite corner stays where it is; the
    // result is normalised again, so a corner dragged across the opposite one flips the box.
    void SetTopLeft(const COvrelPoint& point);
    void SetTopRight(const COvrelPoint& point);
    void SetBottomRight(const COvrelPoint& point);
    void SetBottomLeft(const COvrelPoint& point);

    EGeometryType GetType() const override { return EGeometryType_Rectangle; }
    COvrelRectangle GetBoundary() const override;
    void Translate(double dx, double dy) override;
    Utils::EOvrelResult Segmentize(COvrelGeometryArray& segments, COvrelGeometryArray& vertices) const override;
    bool Contained(const COvrelPoint& point) const override;
    std::shared_ptr<COvrelGeometry> Clone() const override;

private:
    void SetCorners(double dblX1, double dblY1, double dblX2, double dblY2);

    double m_dblX = 0.0;
    double m_dblY = 0.0;
    double m_dblWidth = 0.0;
    double m_dblHeight = 0.0;
};

} // namespace Geometry
} // namespace Ovrel
