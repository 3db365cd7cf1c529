#pragma once

#include "OvrelCommonGlobal.h"

#include <QMatrix4x4>
#include <QOpenGLDebugMessage>
#include <QOpenGLFunctions>
#include <QOpenGLWidget>
#include <QPoint>

class CImageView3DModel;
class QMenu;
class QOpenGLBuffer;
class QOpenGLDebugLogger;
class QOpenGLShaderProgram;
class QOpenGLVertexArrayObject;

// The OpenGL view of a viewer's current image as a height field, with three coloured axes (x red, y green, z blue)
// and a grey ground plane, drawn with the 3.3 core shaders under ":/OpenGL/".
//
// The view only turns input into intent: a drag emits rotations of 0.1 degree per pixel, a wheel notch (120) a FOV
// change of 1.2 degrees, and the controller feeds them to the model. The view follows the model's parameters
// (signal_ChangeTransformMatrix) and uploads each finished mesh (signal_LoadFinished) on the GUI thread, after which
// the model's arrays are released. Becoming visible asks for the current image's mesh (signal_ChangeCurrentImage)
// and for the transform panel (signal_Active3DView).
//
// Nothing is created before the view has an OpenGL context; failing shaders or buffers leave the view drawing what
// was created, and nothing is ever shown to the user but the picture.
class OVRELCOMMON_EXPORT CImageView3D : public QOpenGLWidget, protected QOpenGLFunctions
{
    Q_OBJECT
public:
    // The model is not owned and may be null.
    explicit CImageView3D(CImageView3DModel* pModel, QWidget* parent = nullptr);
    ~CImageView3D() override;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    void setVisible(bool bVisible) override;

    // Whether the shaders and buffers have been created.
    bool IsInitialised() const { return m_bInitialised; }
    // What the last upload put on the GPU.
    int GetUploadedFloatCount() const { return m_nMeshFloatCount; }
    int GetUploadedIndexCount() const { return m_nMeshIndexCount; }
    const QMatrix4x4& GetModelMatrix() const { return m_matModel; }
    const QMatrix4x4& GetViewMatrix() const { return m_matView; }
    const QMatrix4x4& GetProjectionMatrix() const { return m_matProjection; }
    QMenu* GetContextMenu() const { return m_pContextMenu; }

signals:
    void signal_Active3DView();
    void signal_ChangeCurrentImage();
    void signal_ChangeRotateX(double dblAngle);
    void signal_ChangeRotateY(double dblAngle);
    void signal_ChangeFOV(double dblValue);
    void signal_Switch3DTo2D();

public slots:
    void slot_ChangeImage();
    void slot_Timmer();
    void slot_LoadFinished();
    void slot_ChangeTransformMatrix();
    void slot_OpenGLMessageLogged(QOpenGLDebugMessage debugMessage);
    void slot_ShowContextMenu(QPoint pos);

protected:
    void initializeGL() override;
    void resizeGL(int w, int h) override;
    void paintGL() override;
    void mousePressEvent(QMouseEvent* pEvent) override;
    void mouseMoveEvent(QMouseEvent* pEvent) override;
    void mouseReleaseEvent(QMouseEvent* pEvent) override;
    void wheelEvent(QWheelEvent* pEvent) override;

private:
    static bool IsDesktopOpenGL();
    void InitOpenGL();
    void UpdateTransformMatrix();
    void SetMeshAttributes();
    void SetMatrices(QOpenGLShaderProgram* pProgram);
    void DestroyOpenGL();

    CImageView3DModel* m_pModel;
    QMenu* m_pContextMenu = nullptr;
    QPoint m_lastPosition;
    bool m_bPressed = false;
    QOpenGLShaderProgram* m_pMeshProgram = nullptr;
    QOpenGLShaderProgram* m_pAxisProgram = nullptr;
    QOpenGLShaderProgram* m_pPlaneProgram = nullptr;
    QOpenGLBuffer* m_pMeshVertexBuffer = nullptr;
    QOpenGLBuffer* m_pMeshIndexBuffer = nullptr;
    QOpenGLVertexArrayObject* m_pMeshVAO = nullptr;
    QOpenGLBuffer* m_pAxisVertexBuffer = nullptr;
    QOpenGLVertexArrayObject* m_pAxisVAO = nullptr;
    QOpenGLBuffer* m_pPlaneVertexBuffer = nullptr;
    QOpenGLBuffer* m_pPlaneIndexBuffer = nullptr;
    QOpenGLVertexArrayObject* m_pPlaneVAO = nullptr;
    int m_nPlaneIndexCount = 0;
    QMatrix4x4 m_matModel;
    QMatrix4x4 m_matView;
    QMatrix4x4 m_matProjection;
    bool m_bInitialised = false;
    QOpenGLDebugLogger* m_pDebugLogger = nullptr;
    int m_nMeshFloatCount = 0;
    int m_nMeshIndexCount = 0;
};
