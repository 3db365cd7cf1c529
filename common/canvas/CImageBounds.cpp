#include "canvas/CImageBounds.h"

#include "canvas/CDrawableGeometry.h"

#include "Geometry/COvrelEllipse.h"
#include "Geometry/COvrelPoint.h"
#include "Geometry/COvrelPolygon.h"
#include "Geometry/COvrelRectangle.h"
#include "Utils/COvrelImage.h"

#include <algorithm>

using namespace Ovrel::Geometry;

namespace
{
COvrelPoint Clamped(const COvrelPoint& point, const QRectF& image)
{
    const QPointF clamped = CImageBounds::ClampPoint(QPointF(point.x(), point.y()), image);
    return COvrelPoint(clamped.x(), clamped.y());
}

// Rectangles and ellipses: the box's two opposite corners, each pulled in.
template <typename TBox> void ClampBox(TBox& box, const QRectF& image)
{
    const COvrelPoint topLeft = Clamped(box.GetTopLeft(), image);
    const COvrelPoint bottomRight = Clamped(box.GetBottomRight(), image);
    box.Set(topLeft.x(), topLeft.y(), bottomRight.x() - topLeft.x(), bottomRight.y() - topLeft.y());
}
} // namespace

QRectF CImageBounds::ImageRect(const Ovrel::Utils::COvrelImage* pImage)
{
    return pImage ? QRectF(0.0, 0.0, pImage->GetWidth(), pImage->GetHeight()) : QRectF();
}

QPointF CImageBounds::ClampPoint(const QPointF& point, const QRectF& image)
{
    return QPointF(std::clamp(point.x(), image.left(), std::max(image.left(), image.right())),
                   std::clamp(point.y(), image.top(), std::max(image.top(), image.bottom())));
}

QPointF CImageBounds::ClampTopLeft(const QPointF& wanted, const QSizeF& size, const QRectF& image)
{
    // The far limit first, so that a box larger than the image ends up on the near edge.
    return QPointF(std::max(image.left(), std::min(wanted.x(), image.right() - size.width())),
                   std::max(image.top(), std::min(wanted.y(), image.bottom() - size.height())));
}

bool CImageBounds::HasArea(const QRectF& box)
{
    return box.width() > 0.0 && box.height() > 0.0;
}

bool CImageBounds::IsKeptOnImage(const CDrawableObject& object)
{
    return object.GetType() == EImageView2DDrawbleObjectType_Geometry;
}

bool CImageBounds::Clamp(CDrawableObject& object, const QRectF& image)
{
    auto* pObject = dynamic_cast<CDrawableGeometry*>(&object);
    if (!pObject || !IsKeptOnImage(object) || !pObject->GetData())
        return true;
    COvrelGeometry* pData = pObject->GetData().get();
    if (auto* pRectangle = dynamic_cast<COvrelRectangle*>(pData))
        ClampBox(*pRectangle, image);
    else if (auto* pEllipse = dynamic_cast<COvrelEllipse*>(pData))
        ClampBox(*pEllipse, image);
    else if (auto* pPolygon = dynamic_cast<COvrelPolygon*>(pData))
    {
        std::vector<COvrelPoint> vctVertices = pPolygon->GetVertices();
        for (COvrelPoint& vertex : vctVertices)
            vertex = Clamped(vertex, image);
        pPolygon->FromVertices(vctVertices);
    }
    else
        return true;
    return HasArea(object.GetBoundary());
}
