#include "view3d/CImageView3DController.h"

#include "images/CImageListModel.h"
#include "view3d/CImageView3D.h"
#include "view3d/CImageView3DModel.h"
#include "view3d/CImageView3DTransformPanel.h"
#include "view3d/CInternalRunnable.h"

#include <QScrollArea>
#include <QThreadPool>

using M = CImageView3DModel;
using C = CImageView3DController;

namespace
{
using Slot = void (CImageView3DController::*)(double);
const Slot kSlots[M::EParameter_Count] = {&C::slot_ChangeRotateX,
                                          &C::slot_ChangeRotateY,
                                          &C::slot_ChangeRotateZ,
                                          &C::slot_TranslateX,
                                          &C::slot_TranslateY,
                                          &C::slot_TranslateZ,
                                          &C::slot_ScaleX,
                                          &C::slot_ScaleY,
                                          &C::slot_ScaleZ,
                                          &C::slot_ChangeCameraPositionX,
                                          &C::slot_ChangeCameraPositionY,
                                          &C::slot_ChangeCameraPositionZ,
                                          &C::slot_ChangeCameraCenterX,
                                          &C::slot_ChangeCameraCenterY,
                                          &C::slot_ChangeCameraCenterZ,
                                          &C::slot_ChangeCameraUpX,
                                          &C::slot_ChangeCameraUpY,
                                          &C::slot_ChangeCameraUpZ,
                                          &C::slot_ChangeFOV,
                                          &C::slot_ChangeNear,
                                          &C::slot_ChangeFar};
} // namespace

CImageView3DController::CImageView3DController(CImageView3DModel* pModel, CImageListModel* pImageListModel,
                                               CImageView3D* pView, QScrollArea* pArea1, QScrollArea* pArea2,
                                               QScrollArea* pArea3, QObject* parent)
    : CController(parent), m_pModel(pModel), m_pImageListModel(pImageListModel), m_pView(pView),
      m_pPanel(new CImageView3DTransformPanel(pModel)), m_pArea1(pArea1), m_pArea2(pArea2), m_pArea3(pArea3)
{
    for (int n = 0; n < M::EParameter_Count; ++n)
        connect(m_pPanel.data(), CImageView3DTransformPanel::kSignals[n], this, kSlots[n]);
    if (pView)
    {
        connect(pView, &CImageView3D::signal_Active3DView, this, &C::slot_Active3DView);
        connect(pView, &CImageView3D::signal_ChangeCurrentImage, this, &C::slot_ChangeCurrentImage);
        connect(pView, &CImageView3D::signal_ChangeRotateX, this, &C::slot_ChangeRotateX);
        connect(pView, &CImageView3D::signal_ChangeRotateY, this, &C::slot_ChangeRotateY);
        connect(pView, &CImageView3D::signal_ChangeFOV, this, &C::slot_ChangeFOV);
    }
}

CImageView3DController::~CImageView3DController()
{
    // A panel that the property area shows is the area's child; deleting it takes it out of the area.
    delete m_pPanel.data();
}

CImageView3DTransformPanel* CImageView3DController::GetPanel() const
{
    return m_pPanel.data();
}

void CImageView3DController::slot_Active3DView()
{
    if (!m_pPanel)
        return;
    if (m_pArea2 && m_pArea2->widget() != m_pPanel)
    {
        // The canvas's panel that the area showed stays with its controller.
        m_pArea2->takeWidget();
        m_pArea2->setWidget(m_pPanel);
    }
    m_pPanel->show();
}

void CImageView3DController::slot_ChangeCurrentImage()
{
    if (!m_pModel || !m_pImageListModel || !m_pView || !m_pView->isVisible())
        return;
    QThreadPool::globalInstance()->start(
        new CInternalRunnable(m_pModel, m_pImageListModel->GetCurrentImage(), m_pModel->TakeBuildTicket()));
}

void CImageView3DController::SetParameter(int nParameter, double dblValue)
{
    if (m_pModel)
        m_pModel->Set(static_cast<M::EParameter>(nParameter), static_cast<float>(dblValue));
}

void CImageView3DController::slot_ChangeRotateX(double dblAngle)
{
    SetParameter(M::EParameter_RotateX, dblAngle);
}

void CImageView3DController::slot_ChangeRotateY(double dblAngle)
{
    SetParameter(M::EParameter_RotateY, dblAngle);
}

void CImageView3DController::slot_ChangeRotateZ(double dblAngle)
{
    SetParameter(M::EParameter_RotateZ, dblAngle);
}

void CImageView3DController::slot_TranslateX(double dblTrans)
{
    SetParameter(M::EParameter_TranslateX, dblTrans);
}

void CImageView3DController::slot_TranslateY(double dblTrans)
{
    SetParameter(M::EParameter_TranslateY, dblTrans);
}

void CImageView3DController::slot_TranslateZ(double dblTrans)
{
    SetParameter(M::EParameter_TranslateZ, dblTrans);
}

void CImageView3DController::slot_ScaleX(double dblValue)
{
    SetParameter(M::EParameter_ScaleX, dblValue);
}

void CImageView3DController::slot_ScaleY(double dblValue)
{
    SetParameter(M::EParameter_ScaleY, dblValue);
}

void CImageView3DController::slot_ScaleZ(double dblValue)
{
    SetParameter(M::EParameter_ScaleZ, dblValue);
}

void CImageView3DController::slot_ChangeCameraPositionX(double dblValue)
{
    SetParameter(M::EParameter_CameraPositionX, dblValue);
}

void CImageView3DController::slot_ChangeCameraPositionY(double dblValue)
{
    SetParameter(M::EParameter_CameraPositionY, dblValue);
}

void CImageView3DController::slot_ChangeCameraPositionZ(double dblValue)
{
    SetParameter(M::EParameter_CameraPositionZ, dblValue);
}

void CImageView3DController::slot_ChangeCameraCenterX(double dblValue)
{
    SetParameter(M::EParameter_CameraCenterX, dblValue);
}

void CImageView3DController::slot_ChangeCameraCenterY(double dblValue)
{
    SetParameter(M::EParameter_CameraCenterY, dblValue);
}

void CImageView3DController::slot_ChangeCameraCenterZ(double dblValue)
{
    SetParameter(M::EParameter_CameraCenterZ, dblValue);
}

void CImageView3DController::slot_ChangeCameraUpX(double dblValue)
{
    SetParameter(M::EParameter_CameraUpX, dblValue);
}

void CImageView3DController::slot_ChangeCameraUpY(double dblValue)
{
    SetParameter(M::EParameter_CameraUpY, dblValue);
}

void CImageView3DController::slot_ChangeCameraUpZ(double dblValue)
{
    SetParameter(M::EParameter_CameraUpZ, dblValue);
}

void CImageView3DController::slot_ChangeFOV(double dblValue)
{
    SetParameter(M::EParameter_FOV, dblValue);
}

void CImageView3DController::slot_ChangeNear(double dblValue)
{
    SetParameter(M::EParameter_Near, dblValue);
}

void CImageView3DController::slot_ChangeFar(double dblValue)
{
    SetParameter(M::EParameter_Far, dblValue);
}
