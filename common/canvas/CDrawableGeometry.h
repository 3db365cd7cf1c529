#pragma once

#include "OvrelCommonGlobal.h"
#include "canvas/CDrawableObject.h"

#include <memory>

namespace Ovrel
{
namespace Geometry
{
class COvrelGeometry;
}
} // namespace Ovrel

// A drawable object over one geometry of the imaging library: rectangle, ellipse (circles are ellipses), polygon,
// point or line. Every operation tolerates a missing geometry, or one of an unexpected class: the name and the
// boundary are then empty, no handle is found, and moves do nothing and announce nothing.
class OVRELCOMMON_EXPORT CDrawableGeometry : public CDrawableObject
{
    Q_OBJECT
public:
    explicit CDrawableGeometry(std::shared_ptr<Ovrel::Geometry::COvrelGeometry> pData = nullptr);
    ~CDrawableGeometry() override;

    std::shared_ptr<Ovrel::Geometry::COvrelGeometry> GetData() const { return m_pData; }
    // Replaces the geometry without announcing it: callers set it before the object is shown.
    void SetData(std::shared_ptr<Ovrel::Geometry::COvrelGeometry> pData) { m_pData = std::move(pData); }
    // Gives the object a copy of the shape, announcing the change unless it has that shape already (same kind, same
    // handles): what undo uses to put an exact earlier geometry back.
    void RestoreShape(const Ovrel::Geometry::COvrelGeometry& shape);

    // Empty without a geometry; the stored name once one was set; else the geometry's kind and the UID, such as
    // "Rectangle_7" (an ellipse-built circle is an "Ellipse_...").
    QString GetName() const override;
    QRectF GetBoundary() const override;
    // Announces the move even when the object was already there.
    void MoveTopLeftTo(const QPointF& point) override;
    // The first handle, in the library's order, not farther from the point than the tolerance.
    bool FindResizePoint(double dblTolerance, const QPointF& point, QPointF& foundPoint,
                         double dblReserved) const override;
    // Lines move the matching end; rectangles and ellipses the matching corner of the bounding box (the opposite one
    // stays); polygons the first matching vertex. Points and arrays have no handles that move. Matching uses the
    // library's tolerant equality. Announces only an actual move.
    void MoveResizePoint(const QPointF& fromPoint, const QPointF& toPoint) override;

protected:
    CDrawableGeometry(EImageView2DDrawbleObjectType eType, std::shared_ptr<Ovrel::Geometry::COvrelGeometry> pData);

private:
    std::shared_ptr<Ovrel::Geometry::COvrelGeometry> m_pData;
};
