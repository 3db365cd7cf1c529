#include "canvas/CDrawableLayer.h"

#include "canvas/CDrawableObject.h"
#include "canvas/CImageViewModeModel.h"

#include <QPainter>

#include <algorithm>

namespace
{
using Objects = std::vector<std::shared_ptr<CDrawableObject>>;

// The one object that the new list has and the old one lacks, or the other way round, when the lists are otherwise
// alike and in the same order (bAdded tells which); null when they differ in any other way or not at all.
const CDrawableObject* OneObjectApart(const Objects& vctOld, const Objects& vctNew, bool& bAdded)
{
    bAdded = vctNew.size() > vctOld.size();
    const Objects& longer = bAdded ? vctNew : vctOld;
    const Objects& shorter = bAdded ? vctOld : vctNew;
    if (longer.size() != shorter.size() + 1)
        return nullptr;
    const auto apart = std::mismatch(shorter.begin(), shorter.end(), longer.begin());
    const size_t nIndex = static_cast<size_t>(apart.first - shorter.begin());
    if (!std::equal(apart.first, shorter.end(), longer.begin() + static_cast<std::ptrdiff_t>(nIndex) + 1))
        return nullptr;
    return longer[nIndex].get();
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
    m_cache.InvalidateObject(pObject->GetUID(), pObject.get());
    m_vctObjects.push_back(std::move(pObject));
    update();
}

void CDrawableLayer::ClearDrawableObjects()
{
    m_vctObjects.clear();
    InvalidateObjectCache();
}

void CDrawableLayer::SetDrawableObjects(std::vector<std::shared_ptr<CDrawableObject>> vctObjects)
{
    vctObjects.erase(std::remove(vctObjects.begin(), vctObjects.end(), nullptr), vctObjects.end());
    // The model adds and deletes one object at a time: only where that one lies is painted again. Nothing is compared
    // while everything is to be painted afresh anyway, as during a deletion of thousands.
    if (m_cache.TracksObjects())
    {
        bool bAdded = false;
        if (const CDrawableObject* pApart = OneObjectApart(m_vctObjects, vctObjects, bAdded))
            m_cache.InvalidateObject(pApart->GetUID(), bAdded ? pApart : nullptr);
        else if (vctObjects != m_vctObjects)
            m_cache.Invalidate();
    }
    m_vctObjects = std::move(vctObjects);
    update();
}

void CDrawableLayer::InsertDrawableObjectAtFront(std::shared_ptr<CDrawableObject> pObject)
{
    if (!pObject)
        return;
    m_cache.InvalidateObject(pObject->GetUID(), pObject.get());
    m_vctObjects.insert(m_vctObjects.begin(), std::move(pObject));
    update();
}

std::shared_ptr<CDrawableObject> CDrawableLayer::GetDrawableObject(int nIndex) const
{
    if (nIndex < 0 || nIndex >= GetDrawableObjectCount())
        return nullptr;
    return m_vctObjects[static_cast<size_t>(nIndex)];
}

void CDrawableLayer::SetViewport(const QRect& viewport)
{
    m_viewport = viewport;
    update();
}

void CDrawableLayer::SetWindow(const QRect& window)
{
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
    InvalidateObjectCache();
}

void CDrawableLayer::InvalidateObjectCache()
{
    m_cache.Invalidate();
    update();
}

void CDrawableLayer::InvalidateDrawableObject(unsigned int nUID)
{
    if (m_cache.TracksObjects())
    {
        const auto it =
            std::find_if(m_vctObjects.begin(), m_vctObjects.end(),
                         [nUID](const std::shared_ptr<CDrawableObject>& pObject) { return pObject->GetUID() == nUID; });
        m_cache.InvalidateObject(nUID, it != m_vctObjects.end() ? it->get() : nullptr);
    }
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
    // The cache sees the new size itself.
    QWidget::resizeEvent(pEvent);
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
    painter.drawImage(QPointF(0, 0), m_cache.Update(m_vctObjects, m_viewport, m_window, size(), devicePixelRatioF()));
}

void CDrawableLayer::PaintObjects(QPainter& painter, const QRect& area) const
{
    CDrawableObjectCache::PaintObjects(painter, m_vctObjects, m_viewport, m_window, {area});
}
