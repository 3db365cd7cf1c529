#include "canvas/GeometryHandles.h"

#include "Geometry/COvrelEllipse.h"
#include "Geometry/COvrelGeometryArray.h"
#include "Geometry/COvrelLine.h"
#include "Geometry/COvrelPoint.h"
#include "Geometry/COvrelPolygon.h"
#include "Geometry/COvrelRectangle.h"

using namespace Ovrel::Geometry;

namespace
{
QPointF ToQt(const COvrelPoint& point)
{
    return QPointF(point.x(), point.y());
}

template <typename TBox> void AddCorners(const TBox& box, std::vector<QPointF>& vctHandles)
{
    vctHandles = {ToQt(box.GetTopLeft()), ToQt(box.GetTopRight()), ToQt(box.GetBottomRight()),
                  ToQt(box.GetBottomLeft())};
}
} // namespace

bool GeometryHandles(const COvrelGeometry& geometry, std::vector<QPointF>& vctHandles)
{
    vctHandles.clear();
    if (const auto* pRectangle = dynamic_cast<const COvrelRectangle*>(&geometry))
    {
        AddCorners(*pRectangle, vctHandles);
        return true;
    }
    if (const auto* pEllipse = dynamic_cast<const COvrelEllipse*>(&geometry))
    {
        AddCorners(*pEllipse, vctHandles);
        return true;
    }
    if (const auto* pLine = dynamic_cast<const COvrelLine*>(&geometry))
    {
        vctHandles = {ToQt(pLine->start()), ToQt(pLine->end())};
        return true;
    }
    if (const auto* pPoint = dynamic_cast<const COvrelPoint*>(&geometry))
    {
        vctHandles = {ToQt(*pPoint)};
        return true;
    }
    if (const auto* pPolygon = dynamic_cast<const COvrelPolygon*>(&geometry))
    {
        for (const COvrelPoint& vertex : pPolygon->GetVertices())
            vctHandles.push_back(ToQt(vertex));
        return true;
    }

    COvrelGeometryArray segments;
    COvrelGeometryArray vertices;
    if (geometry.Segmentize(segments, vertices) != Ovrel::Utils::EOvrelResult_OK)
        return false;
    for (int i = 0; i < vertices.Size(); ++i)
    {
        if (const auto* pVertex = dynamic_cast<const COvrelPoint*>(vertices.At(i).get()))
            vctHandles.push_back(ToQt(*pVertex));
    }
    return true;
}
