#include "Geometry/COvrelGeometry.h"

#include "Geometry/COvrelPoint.h"
#include "Geometry/COvrelRectangle.h"

#include <cmath>

namespace Ovrel
{
namespace Geometry
{

COvrelGeometry::~COvrelGeometry() = default;

Utils::EOvrelResult COvrelGeometry::MoveTopLeftTo(const COvrelPoint& point)
{
    if (!std::isfinite(point.x()) || !std::isfinite(point.y()))
        return Utils::EOvrelResult_InvalidArgument;
    const COvrelRectangle boundary = GetBoundary();
    Translate(point.x() - boundary.left(), point.y() - boundary.top());
    return Utils::EOvrelResult_OK;
}

} // namespace Geometry
} // namespace Ovrel
