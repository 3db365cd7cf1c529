#include "canvas/CDrawableObjectPainter.h"

#include "canvas/CDrawableGeometry.h"
#include "canvas/CDrawableRuler.h"
#include "canvas/GeometryHandles.h"

#include "Geometry/COvrelEllipse.h"
#include "Geometry/COvrelLine.h"
#include "Geometry/COvrelPoint.h"
#include "Geometry/COvrelRectangle.h"

#include <QCache>
#include <QFontMetricsF>
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

QFont LabelFont()
{
    return QFont("Arial", 16);
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

// An axis-aligned rectangle: its fill, then its outline as four one-pixel edges, in device pixels. False, with
// nothing drawn, for a rectangle less than two pixels across, where the stroked outline does not keep to whole
// pixels, or one that reaches past the device, where the stroker cuts the outline at the edge.
bool DrawPlainRectangle(QPainter& painter, const SPlainMapping& mapping, const QRectF& rectangle)
{
    const QPointF topLeft = mapping.Map(rectangle.topLeft());
    const QPointF bottomRight = mapping.Map(rectangle.bottomRight());
    const QPaintDevice* pDevice = painter.device();
    if (bottomRight.x() - topLeft.x() < 2.0 || bottomRight.y() - topLeft.y() < 2.0 || topLeft.x() < 1.0 ||
        topLeft.y() < 1.0 || bottomRight.x() > pDevice->width() - 1.0 || bottomRight.y() > pDevice->height() - 1.0)
        return false;
    const QBrush brush = painter.brush();
    const QColor colour = painter.pen().color();
    painter.save();
    painter.resetTransform();
    const int nLeft = OutlinePixel(topLeft.x());
    const int nTop = OutlinePixel(topLeft.y());
    const int nRight = OutlinePixel(bottomRight.x());
    const int nBottom = OutlinePixel(bottomRight.y());
    const int nWidth = nRight - nLeft + 1;
    const int nHeight = nBottom - nTop + 1;
    if (brush.style() != Qt::NoBrush && nWidth > 2 && nHeight > 2)
        painter.fillRect(QRect(nLeft + 1, nTop + 1, nWidth - 2, nHeight - 2), brush.color());
    painter.fillRect(QRect(nLeft, nTop, nWidth, 1), colour);
    if (nHeight > 1)
        painter.fillRect(QRect(nLeft, nBottom, nWidth, 1), colour);
    if (nHeight > 2)
    {
        painter.fillRect(QRect(nLeft, nTop + 1, 1, nHeight - 2), colour);
        if (nWidth > 1)
            painter.fillRect(QRect(nRight, nTop + 1, 1, nHeight - 2), colour);
    }
    painter.restore();
    return true;
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
    const QImage& Sprite(const SPlainMapping& mapping, double dblRatio, const QPen& pen, const QBrush& brush,
                         int nPhaseX, int nPhaseY)
    {
        if (mapping.dblScaleX != m_key.dblScaleX || mapping.dblScaleY != m_key.dblScaleY || dblRatio != m_key.dblRatio)
        {
            m_vctLooks.clear();
            m_key = {mapping.dblScaleX, mapping.dblScaleY, dblRatio};
        }
        // A look is the pen's colour with the brush's, or without a brush; a painter draws a few of them at most.
        const quint64 nLook = (static_cast<quint64>(pen.color().rgba()) << 32) |
                              (brush.style() == Qt::NoBrush ? 0u : static_cast<quint64>(brush.color().rgba()));
        auto it = std::find_if(m_vctLooks.begin(), m_vctLooks.end(),
                               [nLook](const SLook& look) { return look.nLook == nLook; });
        if (it == m_vctLooks.end())
            it = m_vctLooks.insert(m_vctLooks.end(), SLook{nLook, std::vector<QImage>(kHandlePhases * kHandlePhases)});
        QImage& sprite = it->vctSprites[static_cast<size_t>(nPhaseY * kHandlePhases + nPhaseX)];
        if (sprite.isNull())
            sprite = Render(mapping, dblRatio, pen, brush, nPhaseX, nPhaseY);
        return sprite;
    }

private:
    static QImage Render(const SPlainMapping& mapping, double dblRatio, const QPen& pen, const QBrush& brush,
                         int nPhaseX, int nPhaseY)
    {
        QImage sprite(2 * kHandleCentre, 2 * kHandleCentre, QImage::Format_ARGB32_Premultiplied);
        sprite.fill(Qt::transparent);
        QPainter painter(&sprite);
        // The centre of the phase's slice, so that no handle is more than half a slice away from its own look.
        painter.setTransform(QTransform(mapping.dblScaleX, 0, 0, mapping.dblScaleY,
                                        kHandleCentre + (nPhaseX + 0.5) / kHandlePhases,
                                        kHandleCentre + (nPhaseY + 0.5) / kHandlePhases));
        painter.setPen(pen);
        painter.setBrush(brush);
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

void DrawPlainHandles(QPainter& painter, const SPlainMapping& mapping, double dblRatio,
                      const std::vector<QPointF>& vctHandles)
{
    thread_local CHandleSprites sprites;
    const QPen pen = painter.pen();
    const QBrush brush = painter.brush();
    painter.save();
    painter.resetTransform();
    for (const QPointF& handle : vctHandles)
    {
        const QPointF device = mapping.Map(handle);
        const double dblLeft = std::floor(device.x());
        const double dblTop = std::floor(device.y());
        const int nPhaseX = std::min(kHandlePhases - 1, static_cast<int>((device.x() - dblLeft) * kHandlePhases));
        const int nPhaseY = std::min(kHandlePhases - 1, static_cast<int>((device.y() - dblTop) * kHandlePhases));
        painter.drawImage(QPoint(static_cast<int>(dblLeft) - kHandleCentre, static_cast<int>(dblTop) - kHandleCentre),
                          sprites.Sprite(mapping, dblRatio, pen, brush, nPhaseX, nPhaseY));
    }
    painter.restore();
}

void DrawGeometry(QPainter& painter, const COvrelGeometry& geometry, double dblRatio, const SPlainMapping* pMapping)
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
        {
            const QRectF rectangle(pRectangle->x(), pRectangle->y(), pRectangle->width(), pRectangle->height());
            if (!pMapping || !DrawPlainRectangle(painter, *pMapping, rectangle))
                painter.drawRect(rectangle);
        }
        break;
    case EGeometryType_Ellipse:
        if (const auto* pEllipse = dynamic_cast<const COvrelEllipse*>(&geometry))
            painter.drawEllipse(QPointF(pEllipse->centerX(), pEllipse->centerY()), pEllipse->radiusA(),
                                pEllipse->radiusB());
        break;
    default:
        break;
    }

    if (pMapping)
        DrawPlainHandles(painter, *pMapping, dblRatio, vctHandles);
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

// A label as it is written at one sub-pixel position, which the glyphs and the edges of the background depend on.
// Labels are opaque, so they are kept without alpha, which copies fastest.
struct SLabelKey
{
    QString strText;
    double dblPhaseX = 0.0;
    double dblPhaseY = 0.0;

    bool operator==(const SLabelKey& other) const
    {
        return strText == other.strText && dblPhaseX == other.dblPhaseX && dblPhaseY == other.dblPhaseY;
    }
};

uint qHash(const SLabelKey& key, uint nSeed = 0)
{
    return ::qHash(key.strText, nSeed) ^ ::qHash(key.dblPhaseX, nSeed) ^ (::qHash(key.dblPhaseY, nSeed) << 1);
}

// Each label image holds the text with its baseline kTopMargin + ascent below the image's top and kLeftMargin right
// of its left edge, shifted by the phase.
class CLabelImages
{
public:
    CLabelImages() : m_cache(kCacheKilobytes), m_metrics(LabelFont()) {}

    // Draws the label with its baseline starting at the device point; the painter maps device pixels one to one.
    void Draw(QPainter& painter, const QPointF& device, const QString& strText)
    {
        const double dblLeft = std::floor(device.x());
        const double dblTop = std::floor(device.y());
        const SLabelKey key{strText, device.x() - dblLeft, device.y() - dblTop};
        QImage* pImage = m_cache.object(key);
        if (!pImage)
        {
            pImage = new QImage(Render(key));
            m_cache.insert(key, pImage, std::max(1, static_cast<int>(pImage->sizeInBytes() / 1024)));
        }
        painter.drawImage(
            QPoint(static_cast<int>(dblLeft) - kLeftMargin,
                   static_cast<int>(dblTop) - kTopMargin - static_cast<int>(std::ceil(m_metrics.ascent()))),
            *pImage);
    }

private:
    static constexpr int kLeftMargin = 2;
    static constexpr int kTopMargin = 2;
    // Enough for the labels of some ten thousand objects, so that a canvas full of named boxes is not written afresh
    // when one of them changes.
    static constexpr int kCacheKilobytes = 256 * 1024;

    QImage Render(const SLabelKey& key) const
    {
        const int nAscent = static_cast<int>(std::ceil(m_metrics.ascent()));
        QImage image(static_cast<int>(std::ceil(m_metrics.horizontalAdvance(key.strText))) + 2 * kLeftMargin + 1,
                     static_cast<int>(std::ceil(m_metrics.height())) + 2 * kTopMargin + 1,
                     QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setFont(LabelFont());
        painter.setPen(QColor(255, 255, 255));
        painter.setBackgroundMode(Qt::OpaqueMode);
        painter.setBackground(QColor(10, 10, 10, 255));
        painter.drawText(QPointF(kLeftMargin + key.dblPhaseX, kTopMargin + nAscent + key.dblPhaseY), key.strText);
        painter.end();
        return image;
    }

    QCache<SLabelKey, QImage> m_cache;
    QFontMetricsF m_metrics;
};

// Draws the text with its baseline starting at the image point, in screen pixels.
void DrawLabel(QPainter& painter, const QPointF& anchor, const QString& strText, bool bPlain)
{
    const QRect viewport = painter.viewport();
    const QRect window = painter.window();
    if (window.width() == 0 || window.height() == 0)
        return;
    const QPointF screen(viewport.left() + (anchor.x() - window.left()) * viewport.width() / window.width(),
                         viewport.top() + (anchor.y() - window.top()) * viewport.height() / window.height());
    painter.save();
    painter.setViewTransformEnabled(false);
    const QPointF device = painter.deviceTransform().map(screen);
    // Text placed left of or above the device is laid out with other roundings; it is written directly.
    if (bPlain && painter.deviceTransform().type() <= QTransform::TxTranslate && device.x() >= 0.0 && device.y() >= 0.0)
    {
        thread_local CLabelImages labels;
        painter.resetTransform();
        labels.Draw(painter, device, strText);
    }
    else
    {
        painter.setFont(LabelFont());
        painter.setPen(QColor(255, 255, 255));
        painter.setBackgroundMode(Qt::OpaqueMode);
        painter.setBackground(QColor(10, 10, 10, 255));
        painter.drawText(screen, strText);
    }
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
    SPlainMapping mapping;
    const bool bPlain = PlainMapping(painter, dblRatio, mapping);
    DrawGeometry(painter, *pObject->GetData(), dblRatio, bPlain ? &mapping : nullptr);

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
