#include "process/CImageProcessController.h"

#include "canvas/CDrawableGeometry.h"
#include "canvas/CDrawableObjectModel.h"
#include "frame/CLogger.h"
#include "frame/CMVCRegistry.h"
#include "process/CImageProcessView.h"
#include "workspace/CImageViewer.h"
#include "workspace/CImageViewerController.h"

#include "Utils/COvrelImage.h"

#include <vector>

using Ovrel::Utils::COvrelImage;
using Ovrel::Utils::EOvrelResult_OK;

namespace
{

// The viewer's objects in its own order (the most recently added first).
std::vector<std::shared_ptr<CDrawableObject>> ObjectsOf(const CImageViewerController* pViewCtrl)
{
    std::vector<std::shared_ptr<CDrawableObject>> vctObjects;
    const CDrawableObjectModel* pModel = pViewCtrl ? pViewCtrl->GetObjectModel() : nullptr;
    if (!pModel)
        return vctObjects;
    for (int i = 0; i < pModel->GetObjectCount(); ++i)
        vctObjects.push_back(pModel->GetObject(i));
    return vctObjects;
}

// The entry of a shape in the ROI list: its name and where it is, which tells shapes of one name apart.
QString RegionText(const CDrawableObject& object)
{
    const QRect place = object.GetBoundary().toRect();
    return QString("%1 (%2, %3, %4x%5)")
        .arg(object.GetName())
        .arg(place.x())
        .arg(place.y())
        .arg(place.width())
        .arg(place.height());
}

bool IsRegion(const std::shared_ptr<CDrawableObject>& pObject)
{
    return pObject && pObject->GetType() == EImageView2DDrawbleObjectType_Geometry;
}

} // namespace

CImageProcessController::CImageProcessController(CImageProcessView* pView, QObject* parent)
    : CController(parent), m_pView(pView)
{
    if (m_pView)
    {
        connect(m_pView, &CImageProcessView::signal_ChangeSourceImageView, this,
                &CImageProcessController::slot_ChangeSourceImageView);
        ChangeSourceImageView(m_pView->GetSourceImage());
    }
}

CImageProcessController::~CImageProcessController() = default;

CImageViewer* CImageProcessController::GetSourceView() const
{
    return m_pSourceView;
}

CImageViewerController* CImageProcessController::GetSourceViewCtrl() const
{
    return m_pSourceViewCtrl;
}

void CImageProcessController::slot_ChangeSourceImageView(const QString& strName)
{
    ChangeSourceImageView(strName);
}

void CImageProcessController::slot_AddDrawableObjectWithViewID(int, uint, uint nGeometryUID, QString)
{
    if (!m_pView)
        return;
    for (const std::shared_ptr<CDrawableObject>& pObject : ObjectsOf(m_pSourceViewCtrl))
    {
        if (IsRegion(pObject) && pObject->GetUID() == nGeometryUID)
        {
            m_pView->AddSourceRegion(nGeometryUID, pObject->GetName(), RegionText(*pObject));
            return;
        }
    }
}

void CImageProcessController::slot_DeleteDrawableObjectWithViewID(int, uint, uint nGeometryUID, QString)
{
    if (m_pView)
        m_pView->DeleteSourceRegion(nGeometryUID);
}

void CImageProcessController::slot_ChangeDrawableObjectProperty(uint nUID)
{
    if (!m_pView)
        return;
    for (const std::shared_ptr<CDrawableObject>& pObject : ObjectsOf(m_pSourceViewCtrl))
    {
        if (IsRegion(pObject) && pObject->GetUID() == nUID)
            m_pView->UpdateSourceRegion(nUID, pObject->GetName(), RegionText(*pObject));
    }
}

void CImageProcessController::slot_ClearDrawableObjects()
{
    if (m_pView)
        m_pView->ClearSourceROI();
}

void CImageProcessController::StartProcess()
{
    m_timer.restart();
}

void CImageProcessController::EndProcess()
{
    if (!m_pView)
        return;
    const QString strMessage = QString::asprintf("Processing Time %lld ms", static_cast<long long>(m_timer.elapsed()));
    m_pView->SetMessage(strMessage);
    CLogger::Write(ELogLevel_Normal, "%s", strMessage.toUtf8().constData());
}

std::shared_ptr<Ovrel::Geometry::COvrelGeometry> CImageProcessController::FindSourceRegion() const
{
    std::shared_ptr<Ovrel::Geometry::COvrelGeometry> pRegion;
    if (!m_pView)
        return pRegion;
    const unsigned int nUID = m_pView->GetSourceRegionUID();
    const QString strName = m_pView->GetSourceROIName();
    for (const std::shared_ptr<CDrawableObject>& pObject : ObjectsOf(m_pSourceViewCtrl))
    {
        const auto* pGeometry = dynamic_cast<const CDrawableGeometry*>(pObject.get());
        if (pGeometry && (nUID != 0 ? pGeometry->GetUID() == nUID : pGeometry->GetName() == strName))
            pRegion = pGeometry->GetData();
    }
    return pRegion;
}

bool CImageProcessController::RunFilter(
    const std::function<int(Ovrel::Utils::COvrelImage&, const Ovrel::Geometry::COvrelGeometry*)>& filter)
{
    if (!m_pView || !m_pSourceViewCtrl)
        return false;
    const std::shared_ptr<COvrelImage> pCurrent = m_pSourceViewCtrl->GetCurrentImage();
    if (!pCurrent)
        return false;
    auto pCopy = std::make_shared<COvrelImage>();
    if (pCopy->CopyFrom(*pCurrent) != EOvrelResult_OK)
        return false;
    const std::shared_ptr<Ovrel::Geometry::COvrelGeometry> pRegion = FindSourceRegion();
    StartProcess();
    // A failed filter leaves the copy as it was; showing it would replace the image by itself and drop the shapes.
    if (filter(*pCopy, pRegion.get()) != EOvrelResult_OK)
        return false;
    EndProcess();
    m_pSourceViewCtrl->ApplyImage(pCopy);
    return true;
}

void CImageProcessController::ChangeSourceImageView(const QString& strName)
{
    const SMVC entry = CMVCRegistry::FindMVC(strName);
    if (m_pSourceView)
        disconnect(m_pSourceView, nullptr, this, nullptr);
    if (m_pSourceObjects)
        disconnect(m_pSourceObjects, nullptr, this, nullptr);
    m_pSourceViewCtrl = qobject_cast<CImageViewerController*>(entry.pController);
    m_pSourceView = qobject_cast<CImageViewer*>(entry.pView);
    m_pSourceObjects = m_pSourceViewCtrl ? m_pSourceViewCtrl->GetObjectModel() : nullptr;
    if (!m_pSourceViewCtrl)
        return;
    if (m_pSourceObjects)
        connect(m_pSourceObjects, &CDrawableObjectModel::signal_ClearObject, this,
                &CImageProcessController::slot_ClearDrawableObjects);
    if (m_pSourceView)
    {
        connect(m_pSourceView, &CImageViewer::signal_ChangeDrawableObjectProperty, this,
                &CImageProcessController::slot_ChangeDrawableObjectProperty);
        connect(m_pSourceView, &CImageViewer::signal_AddDrawableObjectWithViewID, this,
                &CImageProcessController::slot_AddDrawableObjectWithViewID);
        connect(m_pSourceView, &CImageViewer::signal_DeleteDrawableObjectWithViewID, this,
                &CImageProcessController::slot_DeleteDrawableObjectWithViewID);
    }
    if (!m_pView)
        return;
    m_pView->ClearSourceROI();
    for (const std::shared_ptr<CDrawableObject>& pObject : ObjectsOf(m_pSourceViewCtrl))
    {
        if (IsRegion(pObject))
            m_pView->AddSourceRegion(pObject->GetUID(), pObject->GetName(), RegionText(*pObject));
    }
}
