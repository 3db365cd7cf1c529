#pragma once

#include "OvrelCommonGlobal.h"

#include <QPointF>
#include <QRectF>
#include <QSizeF>

class CDrawableObject;

namespace Ovrel
{
namespace Utils
{
class COvrelImage;
}
} // namespace Ovrel

// Region shapes stay on the image they lie on. The image is the rectangle (0, 0, width, height) in image pixels.
//
// Every path that makes a region shape or changes one (drawing, moving, resizing, copying boxes from another image,
// adding boxes proposed by a tool) goes through these functions, so that no stored box reaches outside its image and
// no label line gets a coordinate above 1.
class OVRELCOMMON_EXPORT CImageBounds
{
public:
    CImageBounds() = delete;

    // The image's rectangle; empty without an image.
    static QRectF ImageRect(const Ovrel::Utils::COvrelImage* pImage);

    // The nearest point of the image rectangle (its edges included).
    static QPointF ClampPoint(const QPointF& point, const QRectF& image);

    // The top-left nearest to wanted at which a box of that size lies inside the image: a box moved against an edge
    // stops there with its size. A box wider (taller) than the image keeps its left (top) on the image's.
    static QPointF ClampTopLeft(const QPointF& wanted, const QSizeF& size, const QRectF& image);

    // Both sides longer than zero: a box without area is never made.
    static bool HasArea(const QRectF& box);

    // Whether the object is a region shape whose box is kept inside the image (rulers measure, they are not kept).
    static bool IsKeptOnImage(const CDrawableObject& object);

    // Pulls every point that defines a region shape into the image: the corners of a rectangle's or ellipse's
    // bounding box, the vertices of a polygon. Its bounding box, which is what a region stores, thus becomes the part
    // of the old one that lies on the image (a circle cut by an edge becomes an ellipse). Rulers and other shapes are
    // left alone, and true. Meant for an object not yet shown: the change is not announced. False when the region is
    // left without area; such a region is not to be made.
    static bool Clamp(CDrawableObject& object, const QRectF& image);
};
