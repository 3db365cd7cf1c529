#include "workspace/CImageViewerController.h"

#include "canvas/CCanvasImageCommands.h"
#include "canvas/CDrawableObject.h"
#include "canvas/CDrawableObjectModel.h"
#include "canvas/CImageView2D.h"
#include "canvas/CImageView2DController.h"
#include "frame/CMVCRegistry.h"
#include "images/CImageListModel.h"
#include "progress/CProgressModel.h"
#include "progress/CProgressView.h"
#include "view3d/CImageView3D.h"
#include "view3d/CImageView3DController.h"
#include "view3d/CImageView3DModel.h"
#include "view3d/COpenGLUnsupportedWidget.h"
#include "workspace/CImageViewer.h"
#include "workspace/CImageViewerModel.h"

#include "Utils/COvrelImage.h"

#include <QOpenGLContext>
#include <QScrollArea>

CImageViewerController::CImageViewerController(CImageViewer* pViewer, CImageViewerModel* pModel,
                                               CImageViewModeModel* pModeModel, QScrollArea* pArea1,
                                               QScrollArea* pArea2, QScrollArea* pArea3, QObject* parent)
    : CController(parent), m_pViewer(pViewer), m_pModel(pModel), m_pArea1(pArea1), m_pArea2(pArea2), m_pArea3(pArea3),
      m_pImageListModel(std::make_unique<CImageListModel>()), m_pObjectModel(std::make_unique<CDrawableObjectModel>()),
      m_pCanvas(new CImageView2D(m_pImageListModel.get(), m_pObjectModel.get(), pModeModel,
                                 pViewer ? pViewer->GetViewID() : -1, pViewer)),
      m_pCanvasController(std::make_unique<CImageView2DController>(m_pImageListModel.get(), m_pObjectModel.get(),
                                                                   pModeModel, m_pCanvas, pArea1, pArea2, pArea3)),
      m_pProgressModel(std::make_unique<CProgressModel>()),
      m_pProgressView(new CProgressView(m_pProgressModel.get(), pViewer))
{
    QWidget* p3DContent = Create3DView();
    if (pViewer)
        pViewer->SetContent(m_pCanvas, p3DContent, m_pProgressView, m_pImageListModel.get(), pModeModel);
    ConnectViewer();
    CMVCRegistry::PushMVC(pModel, pViewer, this);
}

QWidget* CImageViewerController::Create3DView()
{
    if (QOpenGLContext::openGLModuleType() != QOpenGLContext::LibGL)
    {
        m_p3DContent = new COpenGLUnsupportedWidget(m_pViewer);
        return m_p3DContent;
    }
    m_p3DModel = std::make_unique<CImageView3DModel>();
    auto* pView = new CImageView3D(m_p3DModel.get(), m_pViewer);
    m_p3DContent = pView;
    m_p3DController = std::make_unique<CImageView3DController>(m_p3DModel.get(), m_pImageListModel.get(), pView,
                                                               m_pArea1, m_pArea2, m_pArea3);
    connect(m_p3DModel.get(), &CImageView3DModel::signal_ChangeProgressMaxRange, this,
            &CImageViewerController::slot_ChangeProgressMaxRange);
    connect(m_p3DModel.get(), &CImageView3DModel::signal_ChangeProgressValue, this,
            &CImageViewerController::slot_ChangeProgressValue);
    connect(m_pImageListModel.get(), &CImageListModel::signal_ChangeCurrentImage, pView,
            &CImageView3D::signal_ChangeCurrentImage);
    return pView;
}

CImageView3D* CImageViewerController::Get3DView() const
{
    return qobject_cast<CImageView3D*>(m_p3DContent.data());
}

CImageViewerController::~CImageViewerController()
{
    // The 3D controller before its view and panel; the view (with its OpenGL objects) before the model, which waits
    // for any mesh build still running.
    m_p3DController.reset();
    delete m_p3DContent.data();
    m_p3DModel.reset();
    // The canvas controller first: its panels and undo commands refer to the canvas and the models.
    m_pCanvasController.reset();
    delete m_pCanvas.data();
    delete m_pProgressView.data();
}

void CImageViewerController::ConnectViewer()
{
    CImageViewer* pViewer = m_pViewer.data();
    if (!pViewer)
        return;
    using V = CImageViewer;
    using C = CImageView2DController;
    C* pCanvasController = m_pCanvasController.get();
    connect(pViewer, &V::signal_SelectMode, pCanvasController, &C::slot_ChangeSelectMode);
    connect(pViewer, &V::signal_PanningMode, pCanvasController, &C::slot_ChangePanningMode);
    connect(pViewer, &V::signal_ZoomFit, m_pCanvas.data(), &CImageView2D::slot_ZoomFit);
    connect(pViewer, &V::signal_RotateLeft, pCanvasController, &C::slot_RotateLeft);
    connect(pViewer, &V::signal_RotateRight, pCanvasController, &C::slot_RotateRight);
    connect(pViewer, &V::signal_Previous, pCanvasController, &C::slot_Previous);
    connect(pViewer, &V::signal_Next, pCanvasController, &C::slot_Next);
    connect(pViewer, &V::signal_Ruler, pCanvasController, &C::slot_DrawRuler);
    connect(pViewer, &V::signal_OpenSnipTool, pCanvasController, &C::slot_OpenSnipTool);
    connect(pViewer, &V::signal_SelectImage, pCanvasController, &C::slot_SelectImage);
    connect(pViewer, &V::signal_ClearImage, pCanvasController, &C::slot_ClearImage);
    connect(pViewer, &V::signal_AddImage, pCanvasController, &C::slot_AddImage);
    connect(pViewer, &V::signal_OpenFile, pCanvasController, &C::slot_LoadFile);
    connect(pViewer, &V::signal_SaveFile, pCanvasController, &C::slot_SaveImage);

    CImageListModel* pImages = m_pImageListModel.get();
    // Queued: the readout follows the mouse once the canvas has handled the move.
    connect(pImages, &CImageListModel::signal_MousePositionChanged, pViewer, &V::slot_ChangeMousePosition,
            Qt::QueuedConnection);
    connect(pImages, &CImageListModel::signal_ChangeCurrentImage, pViewer, &V::slot_ChangeCurrentImage);
    connect(pImages, &CImageListModel::signal_ChangeImageList, pViewer, &V::slot_ChangeImageList);
    connect(pImages, &CImageListModel::signal_ChangeCurrentIndex, pViewer, &V::slot_ChangeCurrentIndex);

    CDrawableObjectModel* pObjects = m_pObjectModel.get();
    connect(pObjects, &CDrawableObjectModel::signal_ChangeDrawableObjectProperty, pViewer,
            &V::signal_ChangeDrawableObjectProperty);
    connect(pObjects, &CDrawableObjectModel::signal_ChangeDrawableObjectProperty, pViewer,
            &V::slot_ChangeDrawableObjectProperty);
    connect(pObjects, &CDrawableObjectModel::signal_AddDrawableObject, pViewer, &V::slot_AddDrawableObject);
    connect(pObjects, &CDrawableObjectModel::signal_DeleteDrawableObject, pViewer, &V::slot_DeleteDrawableObject);
    connect(pObjects, &CDrawableObjectModel::signal_BeforeDeleteDrawableObject, pViewer,
            &V::slot_BeforeDeleteDrawableObject);
}

CImageViewer* CImageViewerController::GetViewer() const
{
    return m_pViewer.data();
}

CImageView2D* CImageViewerController::GetCanvas() const
{
    return m_pCanvas.data();
}

void CImageViewerController::AddObject(std::shared_ptr<CDrawableObject> pObject)
{
    m_pCanvasController->AddObject(std::move(pObject));
}

void CImageViewerController::ApplyImage(ImagePtr pImage)
{
    m_pCanvasController->ApplyImage(std::move(pImage));
}

void CImageViewerController::BindObjectsToCurrentImage()
{
    m_pCanvasController->GetImageCommands()->BindObjectsToCurrentImage();
}

unsigned int CImageViewerController::GetBoundImageUID() const
{
    return m_pCanvasController->GetImageCommands()->GetBoundImageUID();
}

void CImageViewerController::CloseCurrentImage()
{
    m_pCanvasController->slot_CloseImage();
}

bool CImageViewerController::DeleteObject(unsigned int nUID)
{
    return m_pCanvasController->DeleteObject(nUID);
}

CImageViewerController::ImagePtr CImageViewerController::GetCurrentImage() const
{
    return m_pImageListModel->GetCurrentImage();
}

unsigned int CImageViewerController::GetCurrentImageUID() const
{
    const ImagePtr pImage = GetCurrentImage();
    return pImage ? pImage->GetUID() : ~0u;
}

int CImageViewerController::GetViewID() const
{
    return m_pViewer ? m_pViewer->GetViewID() : -1;
}

void CImageViewerController::OpenFile(const QString& strPath)
{
    m_pCanvasController->OpenFile(strPath);
}

void CImageViewerController::SaveFile(const QString& strPath)
{
    m_pCanvasController->SaveImageAs(strPath);
}

void CImageViewerController::RegisterGeometryAction(const QString& strText, const QIcon& icon,
                                                    const std::function<void(int, unsigned int)>& callback)
{
    if (m_pCanvas)
        m_pCanvas->AddObjectAction(strText, icon, callback);
}

bool CImageViewerController::Undo()
{
    m_pCanvasController->Undo();
    if (m_p3DController)
        m_p3DController->Undo();
    return false;
}

bool CImageViewerController::Redo()
{
    m_pCanvasController->Redo();
    if (m_p3DController)
        m_p3DController->Redo();
    return false;
}

void CImageViewerController::slot_ChangeProgressMaxRange(int nMaxRange)
{
    m_pProgressModel->SetMaxRange(nMaxRange);
}

void CImageViewerController::slot_ChangeProgressValue(int nValue)
{
    m_pProgressModel->SetValue(nValue);
    if (m_pProgressView)
        m_pProgressView->setVisible(nValue != 0);
}
