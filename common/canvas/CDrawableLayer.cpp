#include "canvas/CDrawableLayer.h"

#include "canvas/CDrawableObject.h"
#include "canvas/CDrawableObjectPainter.h"
#include "canvas/CDrawableRuler.h"
#include "canvas/CImageViewModeModel.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>

namespace
{
// Whether the object, with its handles (radius 3 screen pixels and the pen) and its label, reaches the area (image
// pixels). dblRatio is the size of a screen pixel in image pixels.
bool ReachesArea(const CDrawableObject& object, const QRectF& area, double dblRatio, const QFontMetricsF& labelMetrics)
{
    const QRectF boundary = object.GetBoundary();
    const double dblHandle = 5.0 * dblRatio;
    // Compared by hand: QRectF::intersects misses the empty boundary of a point or of a straight line.
    if (boundary.right() + dblHandle >= area.left() && boundary.left() - dblHandle <= area.right() &&
        boundary.bottom() + dblHandle >= area.top() && boundary.top() - dblHandle <= area.bottom())
        return true;

    // The label is written from its anchor to the right, in screen pixels; it can reach the area only from a band
    // left of it, and its text is measured only there.
    const auto* pRuler = dynamic_cast<const CDrawableRuler*>(&object);
    const QPointF anchor = pRuler ? pRuler->GetPointText() : boundary.topLeft();
    const double dblLineHeight = labelMetrics.height() * dblRatio;
    if (anchor.x() > area.right() || anchor.y() + dblLineHeight < area.top() ||
        anchor.y() - dblLineHeight > area.bottom())
        return false;
    const QString strLabel = CDrawableObjectPainter::LabelText(object);
    return !strLabel.isEmpty() &&
           anchor.x() + (labelMetrics.horizontalAdvance(strLabel) + 4.0) * dblRatio >= area.left();
}
} // namespace

CDrawableLayer::CDrawableLayer(CImageViewModeModel* pModeModel, QWidget* parent)
    : QWidget(parent), m_pModeModel(pModeModel)
{
    setMouseTracking(true);
    if (m_pModeModel)
        connect(m_pModeModel, &CImageViewModeModel::signal_ChangeViewMode, this, &CDrawableLayer::slot_ChangeViewMode);
    slot_ChangeViewMode();
}

CDrawableLayer::~CDrawableLayer() = default;

void CDrawableLayer::AddDrawableObject(std::shared_ptr<CDrawableObject> pObject)
{
    if (!pObject)
        return;
    m_vctObjects.push_back(std::move(pObject));
    InvalidateObjectCache();
}

void CDrawableLayer::ClearDrawableObjects()
{
    m_vctObjects.clear();
    InvalidateObjectCache();
}

void CDrawableLayer::SetDrawableObjects(std::vector<std::shared_ptr<CDrawableObject>> vctObjects)
{
    vctObjects.erase(std::remove(vctObjects.begin(), vctObjects.end(), nullptr), vctObjects.end());
    m_vctObjects = std::move(vctObjects);
    InvalidateObjectCache();
}

void CDrawableLayer::InsertDrawableObjectAtFront(std::shared_ptr<CDrawableObject> pObject)
{
    if (!pObject)
        return;
    m_vctObjects.insert(m_vctObjects.begin(), std::move(pObject));
    InvalidateObjectCache();
}

std::shared_ptr<CDrawableObject> CDrawableLayer::GetDrawableObject(int nIndex) const
{
    if (nIndex < 0 || nIndex >= GetDrawableObjectCount())
        return nullptr;
    return m_vctObjects[static_cast<size_t>(nIndex)];
}

void CDrawableLayer::SetViewport(const QRect& viewport)
{
    if (viewport != m_viewport)
        m_bCacheValid = false;
    m_viewport = viewport;
    update();
}

void CDrawableLayer::SetWindow(const QRect& window)
{
    if (window != m_window)
        m_bCacheValid = false;
    m_window = window;
    update();
}

std::vector<std::shared_ptr<CDrawableObject>> CDrawableLayer::GetDrawableObjects() const
{
    return m_vctObjects;
}

void CDrawableLayer::DrawBackground(QPainter*) {}

void CDrawableLayer::SetCachesObjects(bool bCache)
{
    m_bCachesObjects = bCache;
    m_objectCache = QImage();
    InvalidateObjectCache();
}

void CDrawableLayer::InvalidateObjectCache()
{
    m_bCacheValid = false;
    update();
}

void CDrawableLayer::slot_ChangeViewMode()
{
    if (!m_pModeModel)
        return;
    switch (m_pModeModel->GetMode())
    {
    case CImageViewModeModel::EImageView2DMode_Selecting:
        setCursor(Qt::ArrowCursor);
        break;
    case CImageViewModeModel::EImageView2DMode_Panning:
        setCursor(Qt::SizeAllCursor);
        break;
    default:
        setCursor(Qt::CrossCursor);
        break;
    }
}

void CDrawableLayer::resizeEvent(QResizeEvent* pEvent)
{
    QWidget::resizeEvent(pEvent);
    m_bCacheValid = false;
}

void CDrawableLayer::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    DrawBackground(&painter);
    // Without both rectangles there is no mapping from image to screen, so there is nothing to place objects on.
    if (m_vctObjects.empty() || m_viewport.isEmpty() || m_window.isEmpty())
        return;
    painter.resetTransform();
    painter.setViewTransformEnabled(false);
    if (!m_bCachesObjects)
    {
        PaintObjects(painter, rect());
        return;
    }
    const qreal dblPixelRatio = devicePixelRatioF();
    if (!m_bCacheValid || m_objectCache.size() != size() * dblPixelRatio)
    {
        if (m_objectCache.size() != size() * dblPixelRatio)
            m_objectCache = QImage(size() * dblPixelRatio, QImage::Format_ARGB32_Premultiplied);
        m_objectCache.setDevicePixelRatio(dblPixelRatio);
        m_objectCache.fill(Qt::transparent);
        QPainter cachePainter(&m_objectCache);
        PaintObjects(cachePainter, rect());
        m_bCacheValid = true;
    }
    painter.drawImage(QPointF(0, 0), m_objectCache);
}

void CDrawableLayer::PaintObjects(QPainter& painter, const QRect& area) const
{
    painter.save();
    painter.setViewTransformEnabled(true);
    painter.setViewport(m_viewport);
    painter.setWindow(m_window);
    const double dblRatio = static_cast<double>(m_window.width()) / m_viewport.width();
    const double dblRatioY = static_cast<double>(m_window.height()) / m_viewport.height();
    const QRectF imageArea(m_window.left() + (area.left() - m_viewport.left()) * dblRatio,
                           m_window.top() + (area.top() - m_viewport.top()) * dblRatioY, area.width() * dblRatio,
                           area.height() * dblRatioY);
    // The label font of CDrawableObjectPainter, to tell how far a label reaches.
    const QFontMetricsF labelMetrics(QFont("Arial", 16), painter.device());
    for (const std::shared_ptr<CDrawableObject>& pObject : m_vctObjects)
        if (ReachesArea(*pObject, imageArea, std::max(dblRatio, dblRatioY), labelMetrics))
            CDrawableObjectPainter::Paint(painter, *pObject, dblRatio);
    painter.restore();
}
