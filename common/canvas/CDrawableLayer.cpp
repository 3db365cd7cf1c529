#include "canvas/CDrawableLayer.h"

#include "canvas/CDrawableObject.h"
#include "canvas/CDrawableObjectPainter.h"
#include "canvas/CImageViewModeModel.h"

#include <QPainter>

#include <algorithm>

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
    update();
}

void CDrawableLayer::ClearDrawableObjects()
{
    m_vctObjects.clear();
    update();
}

void CDrawableLayer::SetDrawableObjects(std::vector<std::shared_ptr<CDrawableObject>> vctObjects)
{
    vctObjects.erase(std::remove(vctObjects.begin(), vctObjects.end(), nullptr), vctObjects.end());
    m_vctObjects = std::move(vctObjects);
    update();
}

void CDrawableLayer::InsertDrawableObjectAtFront(std::shared_ptr<CDrawableObject> pObject)
{
    if (!pObject)
        return;
    m_vctObjects.insert(m_vctObjects.begin(), std::move(pObject));
    update();
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

void CDrawableLayer::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    DrawBackground(&painter);
    // Without both rectangles there is no mapping from image to screen, so there is nothing to place objects on.
    if (m_vctObjects.empty() || m_viewport.isEmpty() || m_window.isEmpty())
        return;
    painter.resetTransform();
    painter.setViewTransformEnabled(true);
    painter.setViewport(m_viewport);
    painter.setWindow(m_window);
    const double dblRatio = static_cast<double>(m_window.width()) / m_viewport.width();
    for (const std::shared_ptr<CDrawableObject>& pObject : m_vctObjects)
        CDrawableObjectPainter::Paint(painter, *pObject, dblRatio);
}

std::shared_ptr<CDrawableObject> CDrawableLayer::GetDrawableObject(int nIndex) const
{
    if (nIndex < 0 || nIndex >= GetDrawableObjectCount())
        return nullptr;
    return m_vctObjects[static_cast<size_t>(nIndex)];
}
