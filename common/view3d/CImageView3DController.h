#pragma once

#include "OvrelCommonGlobal.h"
#include "frame/CController.h"

#include <QPointer>

class CImageListModel;
class CImageView3D;
class CImageView3DModel;
class CImageView3DTransformPanel;
class QScrollArea;

// Wires one viewer's 3D view, its model and its transform panel: the panel's spin boxes, the view's drags and wheel
// reach the model's parameters through the parameter slots; activating the view shows the panel in the workspace's
// property area; a change of the current image, while the view is visible, starts a mesh build of that image on
// Qt's global thread pool. Only the newest build of several started in a row runs: those it supersedes are skipped.
class OVRELCOMMON_EXPORT CImageView3DController : public CController
{
    Q_OBJECT
public:
    // Nothing given is owned; any pointer may be null. The panel is created here and belongs to the controller until
    // the property area shows it (the area then deletes it with itself).
    CImageView3DController(CImageView3DModel* pModel, CImageListModel* pImageListModel, CImageView3D* pView,
                           QScrollArea* pArea1, QScrollArea* pArea2, QScrollArea* pArea3, QObject* parent = nullptr);
    ~CImageView3DController() override;

    bool Undo() override { return false; }
    bool Redo() override { return false; }

    CImageView3DTransformPanel* GetPanel() const;

public slots:
    void slot_Active3DView();
    void slot_ChangeCurrentImage();
    void slot_ChangeRotateX(double dblAngle);
    void slot_ChangeRotateY(double dblAngle);
    void slot_ChangeRotateZ(double dblAngle);
    void slot_TranslateX(double dblTrans);
    void slot_TranslateY(double dblTrans);
    void slot_TranslateZ(double dblTrans);
    void slot_ScaleX(double dblValue);
    void slot_ScaleY(double dblValue);
    void slot_ScaleZ(double dblValue);
    void slot_ChangeCameraPositionX(double dblValue);
    void slot_ChangeCameraPositionY(double dblValue);
    void slot_ChangeCameraPositionZ(double dblValue);
    void slot_ChangeCameraCenterX(double dblValue);
    void slot_ChangeCameraCenterY(double dblValue);
    void slot_ChangeCameraCenterZ(double dblValue);
    void slot_ChangeCameraUpX(double dblValue);
    void slot_ChangeCameraUpY(double dblValue);
    void slot_ChangeCameraUpZ(double dblValue);
    void slot_ChangeFOV(double dblValue);
    void slot_ChangeNear(double dblValue);
    void slot_ChangeFar(double dblValue);

private:
    void SetParameter(int nParameter, double dblValue);

    QPointer<CImageView3DModel> m_pModel;
    QPointer<CImageListModel> m_pImageListModel;
    QPointer<CImageView3D> m_pView;
    QPointer<CImageView3DTransformPanel> m_pPanel;
    QPointer<QScrollArea> m_pArea1;
    QPointer<QScrollArea> m_pArea2;
    QPointer<QScrollArea> m_pArea3;
};
