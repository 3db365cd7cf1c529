#pragma once

namespace Ovrel
{
namespace Geometry
{

// Kind of a geometry, as returned by COvrelGeometry::GetType. The numbers are stable: callers
// store and compare them. Circles are drawn as ellipses, so no class reports EGeometryType_Circle;
// the value stays reserved for callers that name it.
enum EGeometryType
{
    EGeometryType_Point = 0,
    EGeometryType_Line = 1,
    EGeometryType_Rectangle = 2,
    EGeometryType_Circle = 3,
    EGeometryType_Ellipse = 4,
    EGeometryType_Polygon = 6,
    EGeometryType_GeometryArray = 7
};

} // namespace Geometry
} // namespace Ovrel
