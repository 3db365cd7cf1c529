#pragma once

#include "Geometry/EGeometryType.h"
#include "OvrelGlobal.h"
#include "Utils/COvrelObject.h"
#include "Utils/EOvrelResult.h"

#include <memory>

namespace Ovrel
{
namespace Geometry
{

class COvrelPoint;
class COvrelRectangle;
class COvrelGeometryArray;

// Base of all shapes. Coordinates are image pixels as doubles: pixel (i, j) covers the square
// [i, i + 1) x [j, j + 1), so its centre is (i + 0.5, j + 0.5). Include the header of a concrete
// class (or "Ovrel.h") to use the operations that return one.
class OVREL_EXPORT COvrelGeometry : public Utils::COvrelObject
{
public:
    ~COvrelGeometry() override;

    virtual EGeometryType GetType() const = 0;

    // Axis-aligned bounding box with non-negative width and height; (0, 0, 0, 0) for an empty array.
    virtual COvrelRectangle GetBoundary() const = 0;

    // Moves the shape by (dx, dy) without changing its form.
    virtual void Translate(double dx, double dy) = 0;

    // Moves the shape so that the top-left corner of its bounding box lands on the point.
    // Fails with EOvrelResult_InvalidArgument (and changes nothing) for non-finite coordinates.
    Utils::EOvrelResult MoveTopLeftTo(const COvrelPoint& point);

    // Breaks the shape into parts. Both arrays are emptied first. "segments" receives the outline
    // as COvrelLine objects (an ellipse as 64 chords); "vertices" receives COvrelPoint copies of the
    // handle positions: a point itself, a line's start and end, the four bounding-box corners of a
    // rectangle or ellipse in the order top-left, top-right, bottom-right, bottom-left, a polygon's
    // vertices in order, and for an array the parts of its members in order. The arrays hold
    // copies: changing them does not change this shape. Returns EOvrelResult_OK.
    virtual Utils::EOvrelResult Segmentize(COvrelGeometryArray& segments, COvrelGeometryArray& vertices) const = 0;

    // Whether the point lies inside or on the shape (lines and points: within the tolerance of
    // Utils::COvrelObject::CompareEqual; arrays: inside any member; polygons: even-odd rule).
    virtual bool Contained(const COvrelPoint& point) const = 0;

    // Deep copy of the same class; the copy has its own UID.
    virtual std::shared_ptr<COvrelGeometry> Clone() const = 0;

protected:
    COvrelGeometry() = default;
    COvrelGeometry(const COvrelGeometry&) = default;
    COvrelGeometry& operator=(const COvrelGeometry&) = default;
};

} // namespace Geometry
} // namespace Ovrel
