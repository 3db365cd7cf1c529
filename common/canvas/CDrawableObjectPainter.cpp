#include "canvas/CDrawableObjectPainter.h"

#include "canvas/CDrawableGeometry.h"
#include "canvas/CDrawableLabelImages.h"
#include "canvas/CDrawableRuler.h"
#include "canvas/GeometryHandles.h"

#include "Geometry/COvrelEllipse.h"
#include "Geometry/COvrelLine.h"
#include "Geometry/COvrelPoint.h"
#include "Geometry/COvrelRectangle.h"

#include <QPaintDevice>
#include <QPainter>
#include <QPolygonF>

#include <algorithm>
#include <cmath>
#include <vector>

using namespace Ovrel::Geometry;

namespace
{
QPen OutlinePen(const QColor& colour, double dblRatio, Qt::PenStyle eStyle = Qt::SolidLine)
{
    return QPen(QBrush(colour), dblRatio, eStyle, Qt::SquareCap, Qt::BevelJoin);
}

// Image pixels to device pixels when the painter only scales and shifts them, draws aliased and dblRatio makes the
// pen one device pixel wide. Shapes can then be put together from whole device pixels, which is many times faster
// than stroking and filling them as paths, with the same pixels as a result.
struct SPlainMapping
{
    double dblScaleX = 1.0;
    double dblScaleY = 1.0;
    double dblShiftX = 0.0;
    double dblShiftY = 0.0;

    QPointF Map(const QPointF& point) const
    {
        return QPointF(point.x() * dblScaleX + dblShiftX, point.y() * dblScaleY + dblShiftY);
    }
};

bool PlainMapping(const QPainter& painter, double dblRatio, SPlainMapping& mapping)
{
    if (painter.testRenderHint(QPainter::Antialiasing) || !painter.device() ||
        painter.device()->devicePixelRatioF() != 1.0 ||
        painter.compositionMode() != QPainter::CompositionMode_SourceOver || painter.opacity() != 1.0)
        return false;
    const QTransform transform = painter.deviceTransform();
    if (transform.type() > QTransform::TxScale || transform.m11() <= 0.0 || transform.m22() <= 0.0 ||
        std::abs(transform.m11() * dblRatio - 1.0) > 1e-9 || transform.m22() * dblRatio > 1.0 + 1e-9)
        return false;
    mapping.dblScaleX = transform.m11();
    mapping.dblScaleY = transform.m22();
    mapping.dblShiftX = transform.dx();
    mapping.dblShiftY = transform.dy();
    return true;
}

// The device column or row an aliased one-pixel outline at device coordinate dblEdge covers; the fill covers the
// pixels strictly between the outline's.
int OutlinePixel(double dblEdge)
{
    return static_cast<int>(std::floor(dblEdge));
}

// Whether an axis-aligned rectangle can be put together from whole device pixels: not when it is less than two pixels
// across, where the stroked outline does not keep to whole pixels, nor when it reaches past the device, where the
// stroker cuts the outline at the edge. A thick outline adds a ring outside and inside, which needs a pixel more on
// every side and room for the inner ring.
bool FitsWholePixels(const QPaintDevice& device, const QPointF& topLeft, const QPointF& bottomRight, bool bThick)
{
    const double dblMargin = bThick ? 2.0 : 1.0;
    const double dblMinimum = bThick ? 6.0 : 2.0;
    return bottomRight.x() - topLeft.x() >= dblMinimum && bottomRight.y() - topLeft.y() >= dblMinimum &&
           topLeft.x() >= dblMargin && topLeft.y() >= dblMargin && bottomRight.x() <= device.width() - dblMargin &&
           bottomRight.y() <= device.height() - dblMargin;
}

// The outline of a rectangle as four one-pixel edges, in device pixels.
void DrawWholePixelOutline(QPainter& painter, int nLeft, int nTop, int nRight, int nBottom, const QColor& colour)
{
    const int nWidth = nRight - nLeft + 1;
    const int nHeight = nBottom - nTop + 1;
    painter.fillRect(QRect(nLeft, nTop, nWidth, 1), colour);
    if (nHeight > 1)
        painter.fillRect(QRect(nLeft, nBottom, nWidth, 1), colour);
    if (nHeight > 2)
    {
        painter.fillRect(QRect(nLeft, nTop + 1, 1, nHeight - 2), colour);
        if (nWidth > 1)
            painter.fillRect(QRect(nRight, nTop + 1, 1, nHeight - 2), colour);
    }
}

// The rectangle's fill, then its outline, with a ring either side of it when thick; the painter maps device pixels
// one to one.
void DrawWholePixelRectangle(QPainter& painter, const QPointF& topLeft, const QPointF& bottomRight,
                             const QColor& colour, const QColor& fill, bool bThick)
{
    const int nLeft = OutlinePixel(topLeft.x());
    const int nTop = OutlinePixel(topLeft.y());
    const int nRight = OutlinePixel(bottomRight.x());
    const int nBottom = OutlinePixel(bottomRight.y());
    if (fill.isValid() && nRight - nLeft > 1 && nBottom - nTop > 1)
        painter.fillRect(QRect(QPoint(nLeft + 1, nTop + 1), QPoint(nRight - 1, nBottom - 1)), fill);
    DrawWholePixelOutline(painter, nLeft, nTop, nRight, nBottom, colour);
    if (!bThick)
        return;
    DrawWholePixelOutline(painter, nLeft - 1, nTop - 1, nRight + 1, nBottom + 1, colour);
    DrawWholePixelOutline(painter, nLeft + 1, nTop + 1, nRight - 1, nBottom - 1, colour);
}

// Handle circles are drawn once per look and sub-pixel position into a small image and then copied to each handle.
constexpr int kHandlePhases = 64;
constexpr int kHandleCentre = 6;

struct SHandleKey
{
    double dblScaleX = 0.0;
    double dblScaleY = 0.0;
    double dblRatio = 0.0;
};

class CHandleSprites
{
public:
    // fill is invalid for handles without a brush.
    const QImage& Sprite(const SPlainMapping& mapping, double dblRatio, const QColor& colour, const QColor& fill,
                         int nPhaseX, int nPhaseY)
    {
        if (mapping.dblScaleX != m_key.dblScaleX || mapping.dblScaleY != m_key.dblScaleY || dblRatio != m_key.dblRatio)
        {
            m_vctLooks.clear();
            m_key = {mapping.dblScaleX, mapping.dblScaleY, dblRatio};
        }
        // A look is the pen's colour with the brush's, or without a brush; a painter draws a few of them at most.
        const quint64 nLook =
            (static_cast<quint64>(colour.rgba()) << 32) | (fill.isValid() ? static_cast<quint64>(fill.rgba()) : 0u);
        auto it = std::find_if(m_vctLooks.begin(), m_vctLooks.end(),
                               [nLook](const SLook& look) { return look.nLook == nLook; });
        if (it == m_vctLooks.end())
            it = m_vctLooks.insert(m_vctLooks.end(), SLook{nLook, std::vector<QImage>(kHandlePhases * kHandlePhases)});
        QImage& sprite = it->vctSprites[static_cast<size_t>(nPhaseY * kHandlePhases + nPhaseX)];
        if (sprite.isNull())
            sprite = Render(mapping, dblRatio, colour, fill, nPhaseX, nPhaseY);
        return sprite;
    }

private:
    static QImage Render(const SPlainMapping& mapping, double dblRatio, const QColor& colour, const QColor& fill,
                         int nPhaseX, int nPhaseY)
    {
        QImage sprite(2 * kHandleCentre, 2 * kHandleCentre, QImage::Format_ARGB32_Premultiplied);
        sprite.fill(Qt::transparent);
        QPainter painter(&sprite);
        // The centre of the phase's slice, so that no handle is more than half a slice away from its own look.
        painter.setTransform(QTransform(mapping.dblScaleX, 0, 0, mapping.dblScaleY,
                                        kHandleCentre + (nPhaseX + 0.5) / kHandlePhases,
                                        kHandleCentre + (nPhaseY + 0.5) / kHandlePhases));
        painter.setPen(OutlinePen(colour, dblRatio));
        painter.setBrush(fill.isValid() ? QBrush(fill) : QBrush());
        painter.drawEllipse(QPointF(0, 0), 3.0 * dblRatio, 3.0 * dblRatio);
        return sprite;
    }

    struct SLook
    {
        quint64 nLook = 0;
        std::vector<QImage> vctSprites;
    };

    SHandleKey m_key;
    std::vector<SLook> m_vctLooks;
};

// The painter maps device pixels one to one.
void DrawHandleSprites(QPainter& painter, const SPlainMapping& mapping, double dblRatio,
                       const std::vector<QPointF>& vctHandles, const QColor& colour, const QColor& fill)
{
    thread_local CHandleSprites sprites;
    for (const QPointF& handle : vctHandles)
    {
        const QPointF device = mapping.Map(handle);
        const double dblLeft = std::floor(device.x());
        const double dblTop = std::floor(device.y());
        const int nPhaseX = std::min(kHandlePhases - 1, static_cast<int>((device.x() - dblLeft) * kHandlePhases));
        const int nPhaseY = std::min(kHandlePhases - 1, static_cast<int>((device.y() - dblTop) * kHandlePhases));
        painter.drawImage(QPoint(static_cast<int>(dblLeft) - kHandleCentre, static_cast<int>(dblTop) - kHandleCentre),
                          sprites.Sprite(mapping, dblRatio, colour, fill, nPhaseX, nPhaseY));
    }
}

// A thick outline is the shape's own with a ring one pen width outside and inside it for a rectangle, and the shape
// stroked three pen widths wide for any other.
void DrawThickOutline(QPainter& painter, const COvrelGeometry& geometry, double dblRatio)
{
    painter.save();
    painter.setBrush(Qt::NoBrush);
    if (const auto* pRectangle = dynamic_cast<const COvrelRectangle*>(&geometry))
    {
        const QRectF rectangle(pRectangle->x(), pRectangle->y(), pRectangle->width(), pRectangle->height());
        painter.drawRect(rectangle.adjusted(-dblRatio, -dblRatio, dblRatio, dblRatio));
        painter.drawRect(rectangle.adjusted(dblRatio, dblRatio, -dblRatio, -dblRatio));
    }
    else
    {
        QPen pen = painter.pen();
        pen.setWidthF(3.0 * dblRatio);
        painter.setPen(pen);
        std::vector<QPointF> vctVertices;
        if (geometry.GetType() == EGeometryType_Polygon && GeometryHandles(geometry, vctVertices))
            painter.drawPolygon(QPolygonF(QVector<QPointF>(vctVertices.begin(), vctVertices.end())));
        else if (const auto* pEllipse = dynamic_cast<const COvrelEllipse*>(&geometry))
            painter.drawEllipse(QPointF(pEllipse->centerX(), pEllipse->centerY()), pEllipse->radiusA(),
                                pEllipse->radiusB());
        else if (const auto* pLine = dynamic_cast<const COvrelLine*>(&geometry))
            painter.drawLine(QPointF(pLine->start().x(), pLine->start().y()),
                             QPointF(pLine->end().x(), pLine->end().y()));
    }
    painter.restore();
}

void DrawGeometry(QPainter& painter, const COvrelGeometry& geometry, double dblRatio, const SPlainMapping* pMapping,
                  bool bThick)
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
    // Before the handles, which stay drawn over the outline.
    if (bThick)
        DrawThickOutline(painter, geometry, dblRatio);

    if (pMapping)
    {
        const QColor colour = painter.pen().color();
        const QColor fill = painter.brush().style() == Qt::NoBrush ? QColor() : painter.brush().color();
        painter.save();
        painter.resetTransform();
        DrawHandleSprites(painter, *pMapping, dblRatio, vctHandles, colour, fill);
        painter.restore();
    }
    else
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

// Where a label's baseline starts on the device, when the label may be copied from an image: the painter's own
// transformation only shifts and the text lies right of and below the device's origin (elsewhere text is laid out
// with other roundings).
bool LabelImagePoint(const QPainter& painter, const QPointF& screen, QPointF& device)
{
    const QTransform world = painter.worldTransform();
    device = world.map(screen);
    return world.type() <= QTransform::TxTranslate && device.x() >= 0.0 && device.y() >= 0.0;
}

QPointF ScreenPoint(const QPainter& painter, const QPointF& anchor)
{
    const QRect viewport = painter.viewport();
    const QRect window = painter.window();
    return QPointF(viewport.left() + (anchor.x() - window.left()) * viewport.width() / window.width(),
                   viewport.top() + (anchor.y() - window.top()) * viewport.height() / window.height());
}

CDrawableLabelImages& LabelImages()
{
    thread_local CDrawableLabelImages labels;
    return labels;
}

// Draws the text with its baseline starting at the image point, in screen pixels.
void DrawLabel(QPainter& painter, const QPointF& anchor, const QString& strText, bool bPlain)
{
    if (painter.window().width() == 0 || painter.window().height() == 0)
        return;
    const QPointF screen = ScreenPoint(painter, anchor);
    painter.save();
    painter.setViewTransformEnabled(false);
    QPointF device;
    if (bPlain && LabelImagePoint(painter, screen, device))
    {
        painter.resetTransform();
        LabelImages().Draw(painter, device, strText);
    }
    else
    {
        painter.setFont(CDrawableObjectPainter::LabelFont());
        painter.setPen(QColor(255, 255, 255));
        painter.setBackgroundMode(Qt::OpaqueMode);
        painter.setBackground(QColor(10, 10, 10, 255));
        painter.drawText(screen, strText);
    }
    painter.restore();
}

// The common case of many boxes: a filled rectangle that fits whole device pixels, painted without stroking, with its
// handles and label copied from images, all in device pixels. False, with nothing painted, for any other object.
bool PaintWholePixelRectangle(QPainter& painter, const SPlainMapping& mapping, const CDrawableGeometry& object,
                              double dblRatio, const QColor& colour, const QColor& fill, bool bThick)
{
    const auto* pRectangle = dynamic_cast<const COvrelRectangle*>(object.GetData().get());
    if (!pRectangle)
        return false;
    const QPointF topLeft = mapping.Map(QPointF(pRectangle->x(), pRectangle->y()));
    const QPointF bottomRight =
        mapping.Map(QPointF(pRectangle->x() + pRectangle->width(), pRectangle->y() + pRectangle->height()));
    if (!FitsWholePixels(*painter.device(), topLeft, bottomRight, bThick))
        return false;
    std::vector<QPointF> vctHandles;
    if (!GeometryHandles(*pRectangle, vctHandles))
        return false;
    const QString strLabel = CDrawableObjectPainter::LabelText(object);
    QPointF labelPoint;
    if (!strLabel.isEmpty())
    {
        // The label's point is found as in DrawLabel: through the viewport, then the painter's own transformation.
        painter.save();
        painter.setViewTransformEnabled(false);
        const bool bImage = LabelImagePoint(painter, ScreenPoint(painter, object.GetBoundary().topLeft()), labelPoint);
        painter.restore();
        if (!bImage)
            return false;
    }

    painter.save();
    painter.resetTransform();
    DrawWholePixelRectangle(painter, topLeft, bottomRight, colour, fill, bThick);
    DrawHandleSprites(painter, mapping, dblRatio, vctHandles, colour, fill);
    if (!strLabel.isEmpty())
        LabelImages().Draw(painter, labelPoint, strLabel);
    painter.restore();
    return true;
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
    // An object of its own colour keeps it when selected: the selection shows by a thicker outline and a denser fill,
    // which a reader who cannot tell the colours apart sees too.
    const bool bOwnColour = object.GetColour().isValid();
    QColor colour = bSelected ? QColor(255, 0, 0, 255) : QColor(0, 255, 0, 255);
    if (bOwnColour)
        colour = QColor(object.GetColour().red(), object.GetColour().green(), object.GetColour().blue(), 255);
    QColor fill = colour;
    fill.setAlpha(bOwnColour && bSelected ? 90 : 50);
    const bool bThick = bOwnColour && bSelected;
    SPlainMapping mapping;
    const bool bPlain = PlainMapping(painter, dblRatio, mapping);
    if (bPlain && eType == EImageView2DDrawbleObjectType_Geometry &&
        PaintWholePixelRectangle(painter, mapping, *pObject, dblRatio, colour, fill, bThick))
        return;

    painter.save();
    painter.setPen(OutlinePen(colour, dblRatio));
    if (eType == EImageView2DDrawbleObjectType_Ruler)
        painter.setBrush(Qt::NoBrush);
    else
        painter.setBrush(QBrush(fill));
    DrawGeometry(painter, *pObject->GetData(), dblRatio, bPlain ? &mapping : nullptr, bThick);

    const QString strLabel = LabelText(object);
    if (!strLabel.isEmpty())
    {
        // A ruler's label hangs at the end of its line, a name at the top-left of the boundary.
        const auto* pRuler = dynamic_cast<const CDrawableRuler*>(&object);
        DrawLabel(painter,
                  eType == EImageView2DDrawbleObjectType_Ruler && pRuler ? pRuler->GetPointText()
                                                                         : object.GetBoundary().topLeft(),
                  strLabel, bPlain);
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

QFont CDrawableObjectPainter::LabelFont()
{
    return QFont("Arial", 16);
}
