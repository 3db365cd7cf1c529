#pragma once

#include "OvrelCommonGlobal.h"
#include "view3d/CImageView3DModel.h"

#include <QWidget>

class QDoubleSpinBox;

// The 3D view's parameters as 21 spin boxes in three groups, "Model", "View" and "Perspective", shown in the
// workspace's property area while the 3D view is active. Each spin box emits the signal of its parameter with the
// value it holds (clamped to its range), and the panel follows the model: every parameter change writes all values
// back. So a value outside a spin box's range comes back clamped, and the model ends within the panel's ranges.
class OVRELCOMMON_EXPORT CImageView3DTransformPanel : public QWidget
{
    Q_OBJECT
public:
    // The model is not owned and may be null.
    explicit CImageView3DTransformPanel(CImageView3DModel* pModel, QWidget* parent = nullptr);

    QDoubleSpinBox* GetSpinBox(CImageView3DModel::EParameter eParameter) const;

signals:
    void signal_ChangeRotateX(double dblAngle);
    void signal_ChangeRotateY(double dblAngle);
    void signal_ChangeRotateZ(double dblAngle);
    void signal_TranslateX(double dblTrans);
    void signal_TranslateY(double dblTrans);
    void signal_TranslateZ(double dblTrans);
    void signal_ScaleX(double dblValue);
    void signal_ScaleY(double dblValue);
    void signal_ScaleZ(double dblValue);
    void signal_ChangeCameraPositionX(double dblValue);
    void signal_ChangeCameraPositionY(double dblValue);
    void signal_ChangeCameraPositionZ(double dblValue);
    void signal_ChangeCameraCenterX(double dblValue);
    void signal_ChangeCameraCenterY(double dblValue);
    void signal_ChangeCameraCenterZ(double dblValue);
    void signal_ChangeCameraUpX(double dblValue);
    void signal_ChangeCameraUpY(double dblValue);
    void signal_ChangeCameraUpZ(double dblValue);
    void signal_ChangeFOV(double dblValue);
    void signal_ChangeNear(double dblValue);
    void signal_ChangeFar(double dblValue);

public slots:
    void slot_ChangeTransformMatrix();

public:
    using Signal = void (CImageView3DTransformPanel::*)(double);
    // The panel's signal of each parameter, in parameter order.
    static const Signal kSignals[CImageView3DModel::EParameter_Count];

private:
    CImageView3DModel* m_pModel;
    QDoubleSpinBox* m_apSpinBoxes[CImageView3DModel::EParameter_Count] = {};
};
