#include "view3d/CImageView3D.h"

#include "frame/CLogger.h"
#include "view3d/CImageView3DModel.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QMutexLocker>
#include <QOpenGLBuffer>
#include <QOpenGLContext>
#include <QOpenGLDebugLogger>
#include <QOpenGLShaderProgram>
#include <QOpenGLVertexArrayObject>
#include <QVBoxLayout>
#include <QWheelEvent>

using M = CImageView3DModel;

namespace
{
const float kAxisVertices[] = {0,     0, 0, 1,      0, 0, 0, 0,     0,     0,     1,      0, 0,      0,     0,
                               0,     0, 1, 1.01f,  0, 0, 1, 0.01f, 0,     1,     -0.01f, 0, 0,      1.01f, 0,
                               0.01f, 1, 0, -0.01f, 1, 0, 0, 0,     1.01f, 0.01f, 0,      1, -0.01f, 0,     1};
const float kPlaneVertices[] = {-1, -1, 0, 2, -1, 0, 2, 2, 0, -1, 2, 0};
const unsigned int kPlaneIndices[] = {3, 1, 0, 3, 2, 1};

// Compiles and links one program; null when a shader does not compile or the program does not link.
QOpenGLShaderProgram* BuildProgram(const QString& strVertexFile, const QString& strFragmentFile)
{
    QOpenGLShader vertex(QOpenGLShader::Vertex);
    QOpenGLShader fragment(QOpenGLShader::Fragment);
    if (!vertex.compileSourceFile(strVertexFile) || !fragment.compileSourceFile(strFragmentFile))
        return nullptr;
    auto* pProgram = new QOpenGLShaderProgram;
    pProgram->addShader(&vertex);
    pProgram->addShader(&fragment);
    if (!pProgram->link())
    {
        delete pProgram;
        return nullptr;
    }
    // The linked program keeps what it needs; the shader objects go with this scope.
    pProgram->removeAllShaders();
    return pProgram;
}

QOpenGLBuffer* CreateBuffer(QOpenGLBuffer::Type eType)
{
    auto* pBuffer = new QOpenGLBuffer(eType);
    if (!pBuffer->create())
    {
        delete pBuffer;
        return nullptr;
    }
    return pBuffer;
}

QOpenGLVertexArrayObject* CreateVertexArray()
{
    auto* pVAO = new QOpenGLVertexArrayObject;
    if (!pVAO->create())
    {
        delete pVAO;
        return nullptr;
    }
    return pVAO;
}

// Attribute 0 of a program: three floats per vertex, tightly packed.
void SetPositionAttribute(QOpenGLShaderProgram* pProgram)
{
    pProgram->enableAttributeArray(0);
    pProgram->setAttributeBuffer(0, GL_FLOAT, 0, 3, 3 * sizeof(float));
}
} // namespace

CImageView3D::CImageView3D(CImageView3DModel* pModel, QWidget* parent) : QOpenGLWidget(parent), m_pModel(pModel)
{
    if (!IsDesktopOpenGL())
    {
        auto* pLayout = new QVBoxLayout(this);
        pLayout->addWidget(new QLabel("System doesnot support OpenGL", this));
        return;
    }
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this, &CImageView3D::slot_ShowContextMenu);
    m_pContextMenu = new QMenu(this);
    QAction* pSwitch = m_pContextMenu->addAction(QIcon(":/Image/2D.png"), "Switch To 2D View");
    connect(pSwitch, &QAction::triggered, this, &CImageView3D::signal_Switch3DTo2D);
    if (m_pModel)
    {
        // Queued even from the GUI thread: the build still holds the model's mutex when it announces the mesh.
        connect(m_pModel, &M::signal_LoadFinished, this, &CImageView3D::slot_LoadFinished, Qt::QueuedConnection);
        connect(m_pModel, &M::signal_ChangeTransformMatrix, this, &CImageView3D::slot_ChangeTransformMatrix);
    }
}

CImageView3D::~CImageView3D()
{
    if (!context())
        return;
    makeCurrent();
    DestroyOpenGL();
    doneCurrent();
}

bool CImageView3D::IsDesktopOpenGL()
{
    return QOpenGLContext::openGLModuleType() == QOpenGLContext::LibGL;
}

QSize CImageView3D::sizeHint() const
{
    return QSize(200, 200);
}

QSize CImageView3D::minimumSizeHint() const
{
    return QSize(50, 50);
}

void CImageView3D::setVisible(bool bVisible)
{
    QOpenGLWidget::setVisible(bVisible);
    if (!bVisible)
    {
        // Hidden, the view builds nothing, so the storage kept for its builds goes once it holds no mesh waiting for
        // the upload; a build running now keeps it, as the GUI thread does not wait for one.
        if (m_pModel && m_pModel->GetMutex()->tryLock())
        {
            if (m_pModel->GetVertexArray().empty())
                m_pModel->ClearMesh();
            m_pModel->GetMutex()->unlock();
        }
        return;
    }
    if (context() && context()->isValid())
    {
        makeCurrent();
        InitOpenGL();
        doneCurrent();
    }
    emit signal_ChangeCurrentImage();
    emit signal_Active3DView();
}

void CImageView3D::slot_ChangeImage() {}

void CImageView3D::slot_Timmer()
{
    update();
}

void CImageView3D::slot_ChangeTransformMatrix()
{
    UpdateTransformMatrix();
}

void CImageView3D::slot_OpenGLMessageLogged(QOpenGLDebugMessage debugMessage)
{
    CLogger::Write(ELogLevel_Debug, "OpenGL: %s", debugMessage.message().toUtf8().constData());
}

void CImageView3D::slot_ShowContextMenu(QPoint pos)
{
    if (m_pContextMenu)
        m_pContextMenu->exec(mapToGlobal(pos));
}

void CImageView3D::initializeGL()
{
    if (!IsDesktopOpenGL())
        return;
    initializeOpenGLFunctions();
    QOpenGLContext* pContext = QOpenGLContext::currentContext();
    if (pContext)
    {
        const auto* pVersion = reinterpret_cast<const char*>(glGetString(GL_VERSION));
        // A core profile has no GL_EXTENSIONS string; the context lists the extensions either way.
        const QByteArray extensions = pContext->extensions().values().join(' ');
        CLogger::Write(ELogLevel_Debug, "OpenGL version: %s, %s", pVersion ? pVersion : "", extensions.constData());
        if (pContext->hasExtension("GL_KHR_debug") && !m_pDebugLogger)
        {
            m_pDebugLogger = new QOpenGLDebugLogger(this);
            if (m_pDebugLogger->initialize())
            {
                connect(m_pDebugLogger, &QOpenGLDebugLogger::messageLogged, this,
                        &CImageView3D::slot_OpenGLMessageLogged);
                m_pDebugLogger->startLogging(QOpenGLDebugLogger::AsynchronousLogging);
            }
        }
    }
    InitOpenGL();
    UpdateTransformMatrix();
    // A build that finished before the view had its context is still waiting in the model.
    if (m_pModel)
    {
        bool bPending = false;
        {
            QMutexLocker lock(m_pModel->GetMutex());
            bPending = !m_pModel->GetVertexArray().empty();
        }
        if (bPending)
            slot_LoadFinished();
    }
}

void CImageView3D::InitOpenGL()
{
    if (m_bInitialised)
        return;
    if (!m_pMeshProgram)
        m_pMeshProgram = BuildProgram(":/OpenGL/vertex_shader.vert", ":/OpenGL/frag_shader.frag");
    if (!m_pAxisProgram)
        m_pAxisProgram = BuildProgram(":/OpenGL/axis_vertex.vert", ":/OpenGL/axis_frag.frag");
    if (!m_pPlaneProgram)
        m_pPlaneProgram = BuildProgram(":/OpenGL/axis_vertex.vert", ":/OpenGL/axis_frag.frag");
    if (!m_pMeshProgram || !m_pAxisProgram || !m_pPlaneProgram)
        return;

    if (!m_pMeshVertexBuffer)
        m_pMeshVertexBuffer = CreateBuffer(QOpenGLBuffer::VertexBuffer);
    if (!m_pMeshIndexBuffer)
        m_pMeshIndexBuffer = CreateBuffer(QOpenGLBuffer::IndexBuffer);
    if (!m_pMeshVAO)
        m_pMeshVAO = CreateVertexArray();
    if (!m_pMeshVertexBuffer || !m_pMeshIndexBuffer || !m_pMeshVAO)
        return;

    if (!m_pAxisVAO)
    {
        m_pAxisVertexBuffer = CreateBuffer(QOpenGLBuffer::VertexBuffer);
        if (!m_pAxisVertexBuffer)
            return;
        m_pAxisVAO = CreateVertexArray();
        if (!m_pAxisVAO)
            return;
        m_pAxisVAO->bind();
        m_pAxisVertexBuffer->bind();
        m_pAxisVertexBuffer->setUsagePattern(QOpenGLBuffer::StaticDraw);
        m_pAxisVertexBuffer->allocate(kAxisVertices, sizeof(kAxisVertices));
        m_pAxisProgram->bind();
        SetPositionAttribute(m_pAxisProgram);
        m_pAxisVAO->release();
        m_pAxisVertexBuffer->release();
    }

    if (!m_pPlaneVAO)
    {
        m_pPlaneVertexBuffer = CreateBuffer(QOpenGLBuffer::VertexBuffer);
        m_pPlaneIndexBuffer = CreateBuffer(QOpenGLBuffer::IndexBuffer);
        if (!m_pPlaneVertexBuffer || !m_pPlaneIndexBuffer)
            return;
        m_pPlaneVAO = CreateVertexArray();
        if (!m_pPlaneVAO)
            return;
        m_pPlaneVAO->bind();
        m_pPlaneVertexBuffer->bind();
        m_pPlaneVertexBuffer->setUsagePattern(QOpenGLBuffer::StaticDraw);
        m_pPlaneVertexBuffer->allocate(kPlaneVertices, sizeof(kPlaneVertices));
        m_pPlaneIndexBuffer->bind();
        m_pPlaneIndexBuffer->setUsagePattern(QOpenGLBuffer::StaticDraw);
        m_pPlaneIndexBuffer->allocate(kPlaneIndices, sizeof(kPlaneIndices));
        m_nPlaneIndexCount = 6;
        m_pPlaneProgram->bind();
        SetPositionAttribute(m_pPlaneProgram);
        m_pPlaneVAO->release();
        m_pPlaneVertexBuffer->release();
        m_pPlaneIndexBuffer->release();
    }

    m_pMeshVAO->bind();
    m_pMeshVertexBuffer->bind();
    m_pMeshIndexBuffer->bind();
    SetMeshAttributes();
    m_pMeshVAO->release();
    m_pMeshVertexBuffer->release();
    m_pMeshIndexBuffer->release();

    m_bInitialised = true;
    CLogger::Write(ELogLevel_Debug, "Init OpenGl");
}

void CImageView3D::SetMeshAttributes()
{
    m_pMeshProgram->bind();
    m_pMeshProgram->enableAttributeArray(0);
    m_pMeshProgram->setAttributeBuffer(0, GL_FLOAT, 0, 3, 6 * sizeof(float));
    m_pMeshProgram->enableAttributeArray(1);
    m_pMeshProgram->setAttributeBuffer(1, GL_FLOAT, 3 * sizeof(float), 3, 6 * sizeof(float));
}

void CImageView3D::DestroyOpenGL()
{
    delete m_pMeshVAO;
    delete m_pAxisVAO;
    delete m_pPlaneVAO;
    delete m_pMeshVertexBuffer;
    delete m_pMeshIndexBuffer;
    delete m_pAxisVertexBuffer;
    delete m_pPlaneVertexBuffer;
    delete m_pPlaneIndexBuffer;
    delete m_pMeshProgram;
    delete m_pAxisProgram;
    delete m_pPlaneProgram;
    delete m_pDebugLogger;
    m_pMeshVAO = m_pAxisVAO = m_pPlaneVAO = nullptr;
    m_pMeshVertexBuffer = m_pMeshIndexBuffer = m_pAxisVertexBuffer = m_pPlaneVertexBuffer = m_pPlaneIndexBuffer =
        nullptr;
    m_pMeshProgram = m_pAxisProgram = m_pPlaneProgram = nullptr;
    m_pDebugLogger = nullptr;
    m_bInitialised = false;
}

void CImageView3D::UpdateTransformMatrix()
{
    if (!m_pModel)
        return;
    const auto p = [this](M::EParameter e) { return m_pModel->Get(e); };
    m_matModel.setToIdentity();
    m_matModel.rotate(p(M::EParameter_RotateX), 1, 0, 0);
    m_matModel.rotate(p(M::EParameter_RotateY), 0, 1, 0);
    m_matModel.rotate(p(M::EParameter_RotateZ), 0, 0, 1);
    m_matModel.translate(p(M::EParameter_TranslateX), p(M::EParameter_TranslateY), p(M::EParameter_TranslateZ));
    m_matModel.scale(p(M::EParameter_ScaleX), p(M::EParameter_ScaleY), p(M::EParameter_ScaleZ));
    m_matView.setToIdentity();
    m_matView.lookAt(
        QVector3D(p(M::EParameter_CameraPositionX), p(M::EParameter_CameraPositionY), p(M::EParameter_CameraPositionZ)),
        QVector3D(p(M::EParameter_CameraCenterX), p(M::EParameter_CameraCenterY), p(M::EParameter_CameraCenterZ)),
        QVector3D(p(M::EParameter_CameraUpX), p(M::EParameter_CameraUpY), p(M::EParameter_CameraUpZ)));
    m_matProjection.setToIdentity();
    m_matProjection.perspective(p(M::EParameter_FOV), static_cast<float>(width()) / std::max(1, height()),
                                p(M::EParameter_Near), p(M::EParameter_Far));
    update();
}

void CImageView3D::resizeGL(int w, int h)
{
    // QOpenGLWidget has made the context current and set the viewport to the new size already.
    m_matProjection.setToIdentity();
    if (m_pModel)
        m_matProjection.perspective(m_pModel->Get(M::EParameter_FOV), static_cast<float>(w) / std::max(1, h),
                                    m_pModel->Get(M::EParameter_Near), m_pModel->Get(M::EParameter_Far));
}

void CImageView3D::SetMatrices(QOpenGLShaderProgram* pProgram)
{
    pProgram->bind();
    pProgram->setUniformValue("model", m_matModel);
    pProgram->setUniformValue("view", m_matView);
    pProgram->setUniformValue("projection", m_matProjection);
}

void CImageView3D::paintGL()
{
    glClearColor(0.2f, 0.2f, 0.2f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    if (!m_pAxisProgram || !m_pAxisProgram->isLinked())
        return;
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    SetMatrices(m_pAxisProgram);
    if (m_pAxisVAO)
    {
        m_pAxisVAO->bind();
        const struct
        {
            QVector3D colour;
            int nLine;
            int nArrow;
        } axes[] = {{{1, 0, 0}, 0, 6}, {{0, 1, 0}, 2, 9}, {{0, 0, 1}, 4, 12}};
        for (const auto& axis : axes)
        {
            m_pAxisProgram->setUniformValue("uColor", axis.colour);
            glDrawArrays(GL_LINES, axis.nLine, 2);
            glDrawArrays(GL_TRIANGLES, axis.nArrow, 3);
        }
        m_pAxisVAO->release();
    }
    if (!m_pPlaneProgram || !m_pPlaneProgram->isLinked())
        return;
    SetMatrices(m_pPlaneProgram);
    m_pPlaneProgram->setUniformValue("uColor", QVector3D(0.5f, 0.5f, 0.5f));
    if (m_pPlaneVAO)
    {
        m_pPlaneVAO->bind();
        glDrawElements(GL_TRIANGLES, m_nPlaneIndexCount, GL_UNSIGNED_INT, nullptr);
        m_pPlaneVAO->release();
    }
    if (!m_pMeshProgram || !m_pMeshProgram->isLinked())
        return;
    glEnable(GL_DEPTH_TEST);
    SetMatrices(m_pMeshProgram);
    if (m_pMeshVAO && m_nMeshIndexCount > 0)
    {
        m_pMeshVAO->bind();
        glDrawElements(GL_TRIANGLES, m_nMeshIndexCount, GL_UNSIGNED_INT, nullptr);
        m_pMeshVAO->release();
    }
}

void CImageView3D::slot_LoadFinished()
{
    if (!m_pModel || !m_pMeshVertexBuffer || !m_pMeshIndexBuffer || !m_pMeshVAO)
        return;
    makeCurrent();
    {
        QMutexLocker lock(m_pModel->GetMutex());
        CLogger::Write(ELogLevel_Debug, "Start upload data to gpu");
        CLogger::Write(ELogLevel_Debug, "OpenGL Error: %d", static_cast<int>(glGetError()));
        const M::VertexArray& vctVertices = m_pModel->GetVertexArray();
        const M::IndexArray& vctIndices = m_pModel->GetIndexArray();
        m_nMeshFloatCount = static_cast<int>(vctVertices.size());
        m_nMeshIndexCount = static_cast<int>(vctIndices.size());
        m_pMeshVAO->bind();
        m_pMeshVertexBuffer->bind();
        m_pMeshVertexBuffer->setUsagePattern(QOpenGLBuffer::StaticDraw);
        m_pMeshVertexBuffer->allocate(vctVertices.data(), m_nMeshFloatCount * static_cast<int>(sizeof(float)));
        m_pMeshIndexBuffer->bind();
        m_pMeshIndexBuffer->setUsagePattern(QOpenGLBuffer::StaticDraw);
        m_pMeshIndexBuffer->allocate(vctIndices.data(), m_nMeshIndexCount * static_cast<int>(sizeof(unsigned int)));
        SetMeshAttributes();
        CLogger::Write(ELogLevel_Debug, "OpenGL Error: %d", static_cast<int>(glGetError()));
        m_pMeshVAO->release();
        m_pMeshVertexBuffer->release();
        m_pMeshIndexBuffer->release();
        // Only the GPU keeps the mesh now; the arrays' storage stays for the next image's build.
        m_pModel->EmptyMesh();
    }
    doneCurrent();
    CLogger::Write(ELogLevel_Debug, "OpenGL vertices: %d, indices: %d", m_nMeshFloatCount / 6, m_nMeshIndexCount);
    update();
    CLogger::Write(ELogLevel_Debug, "Set Image OpenGL");
}

void CImageView3D::mousePressEvent(QMouseEvent* pEvent)
{
    m_lastPosition = pEvent->pos();
    m_bPressed = true;
    emit signal_Active3DView();
}

void CImageView3D::mouseMoveEvent(QMouseEvent* pEvent)
{
    if (!m_bPressed || !m_pModel)
        return;
    const QPoint delta = pEvent->pos() - m_lastPosition;
    emit signal_ChangeRotateX(m_pModel->Get(M::EParameter_RotateX) - delta.y() * 0.1);
    emit signal_ChangeRotateY(m_pModel->Get(M::EParameter_RotateY) + delta.x() * 0.1);
    m_lastPosition = pEvent->pos();
}

void CImageView3D::mouseReleaseEvent(QMouseEvent*)
{
    m_bPressed = false;
}

void CImageView3D::wheelEvent(QWheelEvent* pEvent)
{
    if (!m_pModel)
        return;
    emit signal_ChangeFOV(m_pModel->Get(M::EParameter_FOV) - pEvent->angleDelta().y() * 0.01);
}
