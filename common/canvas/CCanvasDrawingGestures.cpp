#include "canvas/CCanvasDrawingGestures.h"

#include "canvas/CDrawableGeometry.h"
#include "canvas/CDrawableObjectModel.h"
#include "canvas/CDrawableRuler.h"
#include "canvas/CDrawingObjectLayer.h"
#include "canvas/CImageBounds.h"
#include "canvas/CImageView2D.h"

#include "Geometry/COvrelEllipse.h"
#include "Geometry/COvrelLine.h"
#include "Geometry/COvrelPolygon.h"
#include "Geometry/COvrelRectangle.h"

#include <QLineF>

using namespace Ovrel::Geometry;

namespace
{
std::shared_ptr<CDrawableObject> Edge(const QPointF& start, const QPointF& end)
{
    auto pEdge =
        std::make_shared<CDrawableGeometry>(std::make_shared<COvrelLine>(start.x(), start.y(), end.x(), end.y()));
    pEdge->SetDisplayName(false);
    return pEdge;
}
} // namespace

std::shared_ptr<CDrawableObject> CCanvasDrawingGestures::MakeShape(EShape eShape, const QPointF& start,
                                                                   const QPointF& end)
{
    const QPointF size = end - start;
    switch (eShape)
    {
    case EShape_Rectangle:
        return std::make_shared<CDrawableGeometry>(
            std::make_shared<COvrelRectangle>(start.x(), start.y(), size.x(), size.y()));
    case EShape_Ellipse:
        return std::make_shared<CDrawableGeometry>(
            std::make_shared<COvrelEllipse>(start.x(), start.y(), size.x(), size.y()));
    case EShape_Circle:
    {
        const double r = QLineF(start, end).length();
        return std::make_shared<CDrawableGeometry>(
            std::make_shared<COvrelEllipse>(start.x() - r, start.y() - r, 2.0 * r, 2.0 * r));
    }
    case EShape_Ruler:
        return std::make_shared<CDrawableRuler>(start, end);
    }
    return nullptr;
}

std::shared_ptr<CDrawableObject> CCanvasDrawingGestures::ShapeOnImage(EShape eShape, const QPointF& start,
                                                                      const QPointF& end) const
{
    if (eShape == EShape_Ruler)
        return start == end ? nullptr : MakeShape(eShape, start, end);
    const std::shared_ptr<CDrawableObject> pShape = MakeShape(eShape, start, end);
    return CImageBounds::Clamp(*pShape, CImageBounds::ImageRect(m_pCanvas->GetCurrentImage().get())) ? pShape : nullptr;
}

QPointF CCanvasDrawingGestures::OnImage(const QPointF& point) const
{
    return CImageBounds::ClampPoint(point, CImageBounds::ImageRect(m_pCanvas->GetCurrentImage().get()));
}

void CCanvasDrawingGestures::ShapeStart(EShape eShape, const QPointF& /*start*/)
{
    if (!IsImageShown())
        return;
    // Ellipses and circles leave the layer alone here: their first drag step clears it.
    ClearDrawing(eShape == EShape_Rectangle || eShape == EShape_Ruler);
}

void CCanvasDrawingGestures::ShapeDoing(EShape eShape, const QPointF& start, const QPointF& end)
{
    if (!IsImageShown())
        return;
    ClearDrawing(true);
    // The preview is what the release would make: nothing while that has no area.
    const std::shared_ptr<CDrawableObject> pShape = ShapeOnImage(eShape, start, end);
    if (!pShape)
        return;
    // A ruler's length is its label, so it shows while dragging; the other shapes have no name yet worth showing.
    if (eShape != EShape_Ruler)
        pShape->SetDisplayName(false);
    ShowDrawing(pShape);
}

void CCanvasDrawingGestures::ShapeEnd(EShape eShape, const QPointF& start, const QPointF& end)
{
    if (!IsImageShown())
        return;
    const std::shared_ptr<CDrawableObject> pShape = ShapeOnImage(eShape, start, end);
    if (pShape)
        AddWithUndo(pShape);
    ClearDrawing(eShape == EShape_Rectangle || eShape == EShape_Ruler);
    // A drag that made nothing (it stayed off the image, or along a line) leaves the mode for another try.
    if (pShape)
        LeaveDrawingMode();
}

void CCanvasDrawingGestures::PolygonStart(const QPointF& point)
{
    if (!IsImageShown() || m_bPolygon)
        return;
    ClearDrawing(true);
    m_pObjectModel->ClearWaitingObject();
    m_bPolygon = true;
    m_lastPoint = OnImage(point);
}

void CCanvasDrawingGestures::PolygonWaiting(const QPointF& point)
{
    // Before the first vertex there is nothing to stretch a rubber line from.
    if (!IsImageShown() || !m_bPolygon)
        return;
    m_pObjectModel->SetWaitingObject(Edge(m_lastPoint, OnImage(point)));
}

void CCanvasDrawingGestures::PolygonDoing(const QPointF& end)
{
    if (!IsImageShown() || !m_bPolygon)
        return;
    AddEdge(OnImage(end));
}

void CCanvasDrawingGestures::PolygonEnd(const QPointF& end)
{
    if (!IsImageShown() || !m_bPolygon)
        return;
    const QPointF vertex = OnImage(end);
    const std::vector<std::shared_ptr<CDrawableObject>> vctEdges = m_pObjectModel->GetDrawingObjects();
    if (vctEdges.size() > 2)
    {
        const auto* pFirst = dynamic_cast<const CDrawableGeometry*>(vctEdges.front().get());
        const auto* pLine = pFirst ? dynamic_cast<const COvrelLine*>(pFirst->GetData().get()) : nullptr;
        const QPointF firstVertex = pLine ? QPointF(pLine->start().x(), pLine->start().y()) : QPointF();
        if (pLine && QLineF(firstVertex, vertex).length() <= Tolerance())
        {
            ClosePolygon(firstVertex);
            return;
        }
    }
    AddEdge(vertex);
}

void CCanvasDrawingGestures::AddEdge(const QPointF& end)
{
    ShowDrawing(Edge(m_lastPoint, end));
    m_lastPoint = end;
}

void CCanvasDrawingGestures::ClosePolygon(const QPointF& firstVertex)
{
    if (m_pCanvas->GetDrawingObjectLayer())
        m_pCanvas->GetDrawingObjectLayer()->ClearDrawableObjects();
    AddEdge(firstVertex);
    // The polygon takes copies: the edges go with the drawing objects.
    auto pPolygon = std::make_shared<COvrelPolygon>();
    for (const std::shared_ptr<CDrawableObject>& pEdge : m_pObjectModel->GetDrawingObjects())
    {
        if (const auto* pGeometry = dynamic_cast<const CDrawableGeometry*>(pEdge.get()))
        {
            if (pGeometry->GetData())
                pPolygon->AddGeometry(pGeometry->GetData()->Clone());
        }
    }
    // Its vertices lie on the image already: what is left to keep out is a polygon whose box has no area.
    const auto pObject = std::make_shared<CDrawableGeometry>(pPolygon);
    const bool bMade = CImageBounds::Clamp(*pObject, CImageBounds::ImageRect(m_pCanvas->GetCurrentImage().get()));
    if (bMade)
        AddWithUndo(pObject);
    m_bPolygon = false;
    m_pObjectModel->ClearDrawingObjects();
    m_pObjectModel->ClearWaitingObject();
    if (bMade)
        LeaveDrawingMode();
}

void CCanvasDrawingGestures::LeaveDrawingMode()
{
    if (!m_pModeModel || !m_pModeModel->IsKeepingDrawingMode())
        SetMode(CImageViewModeModel::EImageView2DMode_Selecting);
}

void CCanvasDrawingGestures::Cancel()
{
    ClearDrawing(true);
    if (m_pObjectModel)
        m_pObjectModel->ClearWaitingObject();
    m_bPolygon = false;
}
