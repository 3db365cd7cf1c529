#include "canvas/CDrawableObjectCache.h"

#include "canvas/CDrawableObject.h"
#include "canvas/CDrawableObjectPainter.h"
#include "canvas/CDrawableRuler.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QRegion>

#include <algorithm>

namespace
{
// Screen pixels around an object's boundary that its outline and handles (radius 3 and the pen) may reach.
constexpr double kHandleReach = 5.0;
// Widget pixels by which areas are widened when looking for the objects that reach them: an object painted in vain
// is cut away, one left out would leave a hole where it reaches in after all (a rounding, a glyph's overhang).
constexpr int kSearchMargin = 4;
// Widget pixels added around what an object covers when it changes, for the same reason.
constexpr double kChangeMargin = 4.0;
// Beyond this many changed areas before one repaint, finding the objects in each costs more than painting them all.
constexpr size_t kMaxChangedAreas = 32;

// Whether the object, with its handles and its label, reaches any of the areas (image pixels). dblRatio is the size
// of a screen pixel in image pixels.
bool ReachesAny(const CDrawableObject& object, const QVector<QRectF>& vctAreas, double dblRatio,
                const QFontMetricsF& labelMetrics)
{
    const QRectF boundary = object.GetBoundary();
    const double dblHandle = kHandleReach * dblRatio;
    // Compared by hand: QRectF::intersects misses the empty boundary of a point or of a straight line.
    for (const QRectF& area : vctAreas)
        if (boundary.right() + dblHandle >= area.left() && boundary.left() - dblHandle <= area.right() &&
            boundary.bottom() + dblHandle >= area.top() && boundary.top() - dblHandle <= area.bottom())
            return true;

    // The label is written from its anchor to the right, in screen pixels; it can reach an area only from a band
    // left of it, and its text is measured only then.
    const auto* pRuler = dynamic_cast<const CDrawableRuler*>(&object);
    const QPointF anchor = pRuler ? pRuler->GetPointText() : boundary.topLeft();
    const double dblLineHeight = labelMetrics.height() * dblRatio;
    bool bMeasured = false;
    double dblLabelRight = 0.0;
    for (const QRectF& area : vctAreas)
    {
        if (anchor.x() > area.right() || anchor.y() + dblLineHeight < area.top() ||
            anchor.y() - dblLineHeight > area.bottom())
            continue;
        if (!bMeasured)
        {
            const QString strLabel = CDrawableObjectPainter::LabelText(object);
            if (strLabel.isEmpty())
                return false;
            dblLabelRight = anchor.x() + (labelMetrics.horizontalAdvance(strLabel) + 4.0) * dblRatio;
            bMeasured = true;
        }
        if (dblLabelRight >= area.left())
            return true;
    }
    return false;
}
} // namespace

CDrawableObjectCache::CDrawableObjectCache() = default;

CDrawableObjectCache::~CDrawableObjectCache() = default;

void CDrawableObjectCache::Invalidate()
{
    m_bAll = true;
    m_vctChanged.clear();
    m_mapPainted.clear();
}

void CDrawableObjectCache::InvalidateObject(unsigned int nUID, const CDrawableObject* pObject)
{
    if (m_bAll)
        return;
    // Where it was painted, then where it is now; the object may have left the widget, or come into it.
    const auto it = m_mapPainted.find(nUID);
    if (it != m_mapPainted.end())
    {
        m_vctChanged.push_back(Reach(it->second));
        m_mapPainted.erase(it);
    }
    if (pObject)
    {
        SPainted now = Describe(*pObject);
        m_vctChanged.push_back(Reach(now));
        m_mapPainted.emplace(nUID, std::move(now));
    }
    if (m_vctChanged.size() > kMaxChangedAreas)
        Invalidate();
}

const QImage& CDrawableObjectCache::Update(const Objects& vctObjects, const QRect& viewport, const QRect& window,
                                           const QSize& size, qreal dblPixelRatio)
{
    if (m_size != size || m_image.devicePixelRatio() != dblPixelRatio || m_image.isNull())
    {
        m_size = size;
        m_image = QImage(size * dblPixelRatio, QImage::Format_ARGB32_Premultiplied);
        m_image.setDevicePixelRatio(dblPixelRatio);
        Invalidate();
    }
    if (viewport != m_viewport || window != m_window)
    {
        m_viewport = viewport;
        m_window = window;
        Invalidate();
    }
    if (m_bAll)
        PaintAll(vctObjects);
    else
        PaintChanged(vctObjects);
    return m_image;
}

void CDrawableObjectCache::PaintAll(const Objects& vctObjects)
{
    m_image.fill(Qt::transparent);
    std::vector<const CDrawableObject*> vctPainted;
    {
        QPainter painter(&m_image);
        PaintObjects(painter, vctObjects, m_viewport, m_window, {QRect(QPoint(0, 0), m_size)}, &vctPainted);
    }
    m_mapPainted.clear();
    m_mapPainted.reserve(vctPainted.size());
    for (const CDrawableObject* pObject : vctPainted)
        m_mapPainted.emplace(pObject->GetUID(), Describe(*pObject));
    m_vctChanged.clear();
    m_bAll = false;
}

void CDrawableObjectCache::PaintChanged(const Objects& vctObjects)
{
    QRegion changed;
    for (const QRect& area : m_vctChanged)
        changed += area.intersected(QRect(QPoint(0, 0), m_size));
    m_vctChanged.clear();
    if (changed.isEmpty())
        return;
    QVector<QRect> vctAreas;
    for (const QRect& area : changed)
        vctAreas.push_back(area);
    QPainter painter(&m_image);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    for (const QRect& area : vctAreas)
        painter.fillRect(area, Qt::transparent);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    // Every object over the changed pixels is painted again in list order, so that overlapping translucent fills
    // blend as in a whole repaint; nothing outside them is touched.
    painter.setClipRegion(changed);
    PaintObjects(painter, vctObjects, m_viewport, m_window, vctAreas);
}

void CDrawableObjectCache::PaintObjects(QPainter& painter, const Objects& vctObjects, const QRect& viewport,
                                        const QRect& window, const QVector<QRect>& vctAreas,
                                        std::vector<const CDrawableObject*>* pPainted)
{
    if (viewport.isEmpty() || window.isEmpty())
        return;
    painter.save();
    painter.setViewTransformEnabled(true);
    painter.setViewport(viewport);
    painter.setWindow(window);
    const double dblRatio = static_cast<double>(window.width()) / viewport.width();
    const double dblRatioY = static_cast<double>(window.height()) / viewport.height();
    QVector<QRectF> vctImageAreas;
    vctImageAreas.reserve(vctAreas.size());
    for (const QRect& area : vctAreas)
    {
        const QRect wide = area.adjusted(-kSearchMargin, -kSearchMargin, kSearchMargin, kSearchMargin);
        vctImageAreas.push_back(QRectF(window.left() + (wide.left() - viewport.left()) * dblRatio,
                                       window.top() + (wide.top() - viewport.top()) * dblRatioY,
                                       wide.width() * dblRatio, wide.height() * dblRatioY));
    }
    // The label font of CDrawableObjectPainter, to tell how far a label reaches.
    const QFontMetricsF labelMetrics(CDrawableObjectPainter::LabelFont(), painter.device());
    for (const std::shared_ptr<CDrawableObject>& pObject : vctObjects)
        if (ReachesAny(*pObject, vctImageAreas, std::max(dblRatio, dblRatioY), labelMetrics))
        {
            CDrawableObjectPainter::Paint(painter, *pObject, dblRatio);
            if (pPainted)
                pPainted->push_back(pObject.get());
        }
    painter.restore();
}

CDrawableObjectCache::SPainted CDrawableObjectCache::Describe(const CDrawableObject& object)
{
    SPainted painted;
    painted.boundary = object.GetBoundary();
    const auto* pRuler = dynamic_cast<const CDrawableRuler*>(&object);
    painted.anchor = pRuler ? pRuler->GetPointText() : painted.boundary.topLeft();
    painted.strLabel = CDrawableObjectPainter::LabelText(object);
    return painted;
}

QRect CDrawableObjectCache::Reach(const SPainted& painted) const
{
    if (m_viewport.isEmpty() || m_window.isEmpty())
        return QRect();
    const double sx = static_cast<double>(m_viewport.width()) / m_window.width();
    const double sy = static_cast<double>(m_viewport.height()) / m_window.height();
    const auto toScreen = [&](const QPointF& point)
    {
        return QPointF(m_viewport.left() + (point.x() - m_window.left()) * sx,
                       m_viewport.top() + (point.y() - m_window.top()) * sy);
    };
    const double dblBox = kHandleReach + kChangeMargin;
    QRectF reach = QRectF(toScreen(painted.boundary.topLeft()), toScreen(painted.boundary.bottomRight()))
                       .adjusted(-dblBox, -dblBox, dblBox, dblBox);
    if (!painted.strLabel.isEmpty())
    {
        // Written from the anchor to the right, within a line's height either side of its baseline.
        const QFontMetricsF metrics(CDrawableObjectPainter::LabelFont(), &m_image);
        const QPointF anchor = toScreen(painted.anchor);
        const double dblHeight = metrics.height() + kChangeMargin;
        reach |= QRectF(anchor.x() - kChangeMargin, anchor.y() - dblHeight,
                        metrics.horizontalAdvance(painted.strLabel) + 4.0 + 2.0 * kChangeMargin, 2.0 * dblHeight);
    }
    // Far beyond the widget, a mapping of a deep zoom would not fit an int; only the part on the widget matters.
    return reach.intersected(QRectF(-1.0, -1.0, m_size.width() + 2.0, m_size.height() + 2.0)).toAlignedRect();
}
