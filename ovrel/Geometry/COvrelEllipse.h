#pragma once

#include "Geometry/COvrelGeometry.h"
#include "Geometry/COvrelRectangle.h"

namespace Ovrel
{
namespace Geometry
{

// Axis-aligned ellipse given by its bounding box (normalised like COvrelRectangle). radiusA is
// the horizontal half-axis, radiusB the vertical one. Its handles are the corners of the box.
class OVREL_EXPORT COvrelEllipse : public COvrelGeometry
{
public:
    COvrelEllipse() = default;
    COvrelEllipse(double dblX, double dblY, double dblWidth, double dblHeight);

    void Set(double dblX, double dblY, double dblWidth, double dblHeight);

    double centerX() const;
    double centerY() const;
    double radiusA() const;
    double radiusB() const;

    double x() const { return m_box.x(); }
    double y() const { return m_box.y(); }
    double width() const { return m_box.width(); }
    double height() const { return m_box.height(); }

    COvrelPoint GetTopLeft() const { return m_box.GetTopLeft(); }
    COvrelPoint GetTopRight() const { return m_box.GetTopRight(); }
    COvrelPoint GetBottomRight() const { return m_box.GetBottomRight(); }
    COvrelPoint GetBottomLeft() const { return m_box.GetBottomLeft(); }

    // As for COvrelRectangle: the opposite corner of the bounding box stays in place.
    void SetTopLeft(const COvrelPoint& point) { m_box.SetTopLeft(point); }
    void SetTopRight(const COvrelPoint& point) { m_box.SetTopRight(point); }
    void SetBottomRight(const COvrelPoint& point) { m_box.SetBottomRight(point); }
    void SetBottomLeft(const COvrelPoint& point) { m_box.SetBottomLeft(point); }

    EGeometryType GetType() const override { return EGeometryType_Ellipse; }
    COvrelRectangle GetBoundary() const override;
    void Translate(double dx, double dy) override;
    Utils::EOvrelResult Segmentize(COvrelGeometryArray& segments, COvrelGeometryArray& vertices) const override;
    bool Contained(const COvrelPoint& point) const override;
    std::shared_ptr<COvrelGeometry> Clone() const override;

private:
    COvrelRectangle m_box;
};

} // namespace Geometry
} // namespace Ovrel
