#include "canvas/CDrawableObjectPainter.h"

#include "canvas/CDrawableGeometry.h"
#include "canvas/CDrawableRuler.h"
#include "canvas/GeometryHandles.h"

#include "Geometry/COvrelEllipse.h"
#include "Geometry/COvrelLine.h"
#include "Geometry/COvrelPoint.h"
#include "Geometry/COvrelRectangle.h"

#include <QPainter>
#include <QPolygonF>

#include <vector>

using namespace Ovrel::Geometry;

namespace
{
QPen OutlinePen(const QColor& colour, double dblRatio, Qt::PenStyle eStyle = Qt::SolidLine)
{
    return QPen(QBrush(colour), dblRatio, eStyle, Qt::SquareCap, Qt::BevelJoin);
}

void DrawGeometry(QPainter& painter, const COvrelGeometry& geometry, double dblRatio)
{
    std::vector<QPointF> vctHandles;
    if (!GeometryHandles(geometry, vctHandles))
        return;

    const EGeometryType eType = geometry.GetType();
    switch (eType)
    {
    case EGeometryType_Polygon:
        painter.drawPolygon(QPolygonF(QVector<QPointF>(vctHandles.begin(), vctHandles.end())), Qt::OddEvenFill);
        break;
    case EGeometryType_Point:
        if (const auto* pPoint = dynamic_cast<const COvrelPoint*>(&geometry))
            painter.drawEllipse(QPointF(pPoint->x(), pPoint->y()), dblRatio, dblRatio);
        break;
    case EGeometryType_Line:
        if (const auto* pLine = dynamic_cast<const COvrelLine*>(&geometry))
            painter.drawLine(QPointF(pLine->start().x(), pLine->start().y()),
                             QPointF(pLine->end().x(), pLine->end().y()));
        break;
    case EGeometryType_Rectangle:
        if (const auto* pRectangle = dynamic_cast<const COvrelRectangle*>(&geometry))
            painter.drawRect(QRectF(pRectangle->x(), pRectangle->y(), pRectangle->width(), pRectangle->height()));
        break;
    case EGeometryType_Ellipse:
        if (const auto* pEllipse = dynamic_cast<const COvrelEllipse*>(&geometry))
            painter.drawEllipse(QPointF(pEllipse->centerX(), pEllipse->centerY()), pEllipse->radiusA(),
                                pEllipse->radiusB());
        break;
    default:
        break;
    }

    for (const QPointF& handle : vctHandles)
        painter.drawEllipse(handle, 3.0 * dblRatio, 3.0 * dblRatio);

    // Unfilled shapes get their bounding box as a guide; a line's box would only repeat the line.
    if (painter.brush().style() == Qt::NoBrush && eType != EGeometryType_Line && eType != EGeometryType_GeometryArray)
    {
        const COvrelRectangle box = geometry.GetBoundary();
        painter.save();
        painter.setPen(OutlinePen(QColor(100, 100, 100, 255), dblRatio, Qt::DashLine));
        painter.drawRect(QRectF(box.x(), box.y(), box.width(), box.height()));
        painter.restore();
    }
}

// Draws the text with its baseline starting at the image point, in screen pixels.
void DrawLabel(QPainter& painter, const QPointF& anchor, const QString& strText)
{
    const QRect viewport = painter.viewport();
    const QRect window = painter.window();
    if (window.width() == 0 || window.height() == 0)
        return;
    const QPointF screen(viewport.left() + (anchor.x() - window.left()) * viewport.width() / window.width(),
                         viewport.top() + (anchor.y() - window.top()) * viewport.height() / window.height());
    painter.save();
    painter.setViewTransformEnabled(false);
    painter.setFont(QFont("Arial", 16));
    painter.setPen(QColor(255, 255, 255));
    painter.setBackgroundMode(Qt::OpaqueMode);
    painter.setBackground(QColor(10, 10, 10, 255));
    painter.drawText(screen, strText);
    painter.restore();
}
} // namespace

void CDrawableObjectPainter::Paint(QPainter& painter, const CDrawableObject& object, double dblRatio)
{
    const EImageView2DDrawbleObjectType eType = object.GetType();
    if (eType != EImageView2DDrawbleObjectType_Geometry && eType != EImageView2DDrawbleObjectType_Ruler)
        return;
    const auto* pObject = dynamic_cast<const CDrawableGeometry*>(&object);
    if (!pObject || !pObject->GetData())
        return;

    const bool bSelected = object.GetSelected();
    const QColor colour = bSelected ? QColor(255, 0, 0, 255) : QColor(0, 255, 0, 255);
    painter.save();
    painter.setPen(OutlinePen(colour, dblRatio));
    if (eType == EImageView2DDrawbleObjectType_Ruler)
        painter.setBrush(Qt::NoBrush);
    else
        painter.setBrush(QBrush(bSelected ? QColor(255, 0, 0, 50) : QColor(0, 255, 0, 50)));
    DrawGeometry(painter, *pObject->GetData(), dblRatio);

    const QString strLabel = LabelText(object);
    if (!strLabel.isEmpty())
    {
        // A ruler's label hangs at the end of its line, a name at the top-left of the boundary.
        const auto* pRuler = dynamic_cast<const CDrawableRuler*>(&object);
        DrawLabel(painter,
                  eType == EImageView2DDrawbleObjectType_Ruler && pRuler ? pRuler->GetPointText()
                                                                         : object.GetBoundary().topLeft(),
                  strLabel);
    }
    painter.restore();
}

QString CDrawableObjectPainter::LabelText(const CDrawableObject& object)
{
    const auto* pObject = dynamic_cast<const CDrawableGeometry*>(&object);
    if (!pObject || !pObject->GetData())
        return QString();
    if (object.GetType() == EImageView2DDrawbleObjectType_Ruler)
    {
        const auto* pLine = dynamic_cast<const COvrelLine*>(pObject->GetData().get());
        return pLine ? QString::asprintf("%.03f pixel", pLine->GetLength()) : QString();
    }
    if (object.GetType() == EImageView2DDrawbleObjectType_Geometry && object.GetDisplayName())
        return object.GetName();
    return QString();
}
