#include "canvas/CDrawingObjectLayer.h"

#include "canvas/CDrawableObjectModel.h"

CDrawingObjectLayer::CDrawingObjectLayer(CDrawableObjectModel* pObjectModel, CImageViewModeModel* pModeModel,
                                         QWidget* parent)
    : CDrawableLayer(pModeModel, parent), m_pObjectModel(pObjectModel)
{
    setWindowFlags(windowFlags() | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_NoSystemBackground);
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    if (m_pObjectModel)
    {
        connect(m_pObjectModel, &CDrawableObjectModel::signal_ChangeDrawingObject, this,
                &CDrawingObjectLayer::slot_RebuildDrawingObjects);
        connect(m_pObjectModel, &CDrawableObjectModel::signal_AddDrawableObject, this,
                &CDrawingObjectLayer::slot_RebuildDrawingObjects);
        connect(m_pObjectModel, &CDrawableObjectModel::signal_DeleteDrawableObject, this,
                &CDrawingObjectLayer::slot_RebuildDrawingObjects);
        // Clearing the model empties its drawing objects without a signal of their own.
        connect(m_pObjectModel, &CDrawableObjectModel::signal_ClearObject, this,
                &CDrawingObjectLayer::slot_RebuildDrawingObjects);
    }
}

CDrawingObjectLayer::~CDrawingObjectLayer() = default;

void CDrawingObjectLayer::slot_RebuildDrawingObjects()
{
    if (!m_pObjectModel)
        return;
    std::vector<std::shared_ptr<CDrawableObject>> vctObjects = m_pObjectModel->GetDrawingObjects();
    if (std::shared_ptr<CDrawableObject> pWaiting = m_pObjectModel->GetWaitingObject())
        vctObjects.push_back(std::move(pWaiting));
    SetDrawableObjects(std::move(vctObjects));
}
