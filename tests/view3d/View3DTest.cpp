// Mouse events take the window system's path, so that moves carry the pressed button as a user's drag does.
#define QTEST_QPA_MOUSE_HANDLING

#include "images/CImageListModel.h"
#include "view3d/CImageView3D.h"
#include "view3d/CImageView3DController.h"
#include "view3d/CImageView3DModel.h"
#include "view3d/CImageView3DTransformPanel.h"
#include "workspace/CWorkspacePropertyPanel.h"

#include "Utils/COvrelImage.h"

#include <QDoubleSpinBox>
#include <QLabel>
#include <QSignalSpy>
#include <QSurfaceFormat>
#include <QThreadPool>
#include <QWheelEvent>
#include <QtTest>

#include <memory>

using Ovrel::Utils::COvrelImage;
using M = CImageView3DModel;

Q_DECLARE_METATYPE(CImageView3DModel::EParameter)

namespace
{
// Left half yellow, right half cyan: colours that neither the axes, the ground plane nor the background have.
std::shared_ptr<COvrelImage> TwoColourImage(int nWidth, int nHeight)
{
    auto pImage = std::make_shared<COvrelImage>();
    pImage->Create(nWidth, nHeight, 3);
    for (int y = 0; y < nHeight; ++y)
        for (int x = 0; x < nWidth; ++x)
        {
            unsigned char* p = pImage->GetPixel(x, y);
            p[0] = x < nWidth / 2 ? 255 : 0;
            p[1] = 255;
            p[2] = x < nWidth / 2 ? 0 : 255;
        }
    return pImage;
}

int CountPixels(const QImage& image, QRgb colour)
{
    int nCount = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            nCount += (image.pixel(x, y) & 0xffffff) == (colour & 0xffffff);
    return nCount;
}

void WaitForBuilds()
{
    QThreadPool::globalInstance()->waitForDone();
    // The upload is a queued call on the GUI thread.
    QCoreApplication::processEvents();
}
} // namespace

// One viewer's 3D view as the viewer controller wires it: the model, the view, the controller with its panel in a
// property area, and the image list whose current image the view follows. Renders on a real OpenGL context.
class View3DTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void renderedFrameHoldsTheMeshColours();
    void showingActivatesPanelAndBuildsCurrentImage();
    void supersededBuildsAreSkipped();
    void buildOnGuiThreadUploadsAfterwards();
    void hiddenViewLetsGoOfMeshStorage();
    void dragTurnsTheField_data();
    void dragTurnsTheField();
    void wheelNarrowsFieldOfView();
    void panelClampsParameters_data();
    void panelClampsParameters();
    void panelFollowsModel();

private:
    bool ShowView();

    std::unique_ptr<CImageListModel> m_pImages;
    std::unique_ptr<M> m_pModel;
    std::unique_ptr<CImageView3D> m_pView;
    std::unique_ptr<CWorkspacePropertyPanel> m_pArea;
    std::unique_ptr<CImageView3DController> m_pController;
};

void View3DTest::initTestCase()
{
    QSurfaceFormat format;
    format.setVersion(3, 3);
    format.setProfile(QSurfaceFormat::CoreProfile);
    format.setDepthBufferSize(24);
    QSurfaceFormat::setDefaultFormat(format);
    qRegisterMetaType<CImageView3DModel::EParameter>();
}

void View3DTest::init()
{
    m_pImages = std::make_unique<CImageListModel>();
    m_pModel = std::make_unique<M>();
    m_pView = std::make_unique<CImageView3D>(m_pModel.get());
    m_pView->resize(260, 260);
    m_pArea = std::make_unique<CWorkspacePropertyPanel>();
    m_pController = std::make_unique<CImageView3DController>(m_pModel.get(), m_pImages.get(), m_pView.get(), nullptr,
                                                             m_pArea.get(), nullptr);
    connect(m_pImages.get(), &CImageListModel::signal_ChangeCurrentImage, m_pView.get(),
            &CImageView3D::signal_ChangeCurrentImage);
}

void View3DTest::cleanup()
{
    WaitForBuilds();
    m_pController.reset();
    m_pView.reset();
    m_pModel.reset();
    m_pArea.reset();
    m_pImages.reset();
}

bool View3DTest::ShowView()
{
    m_pView->show();
    return QTest::qWaitForWindowExposed(m_pView.get());
}

void View3DTest::renderedFrameHoldsTheMeshColours()
{
    QVERIFY(ShowView());
    const QImage empty = m_pView->grabFramebuffer();
    QVERIFY(m_pView->IsInitialised());
    QCOMPARE(CountPixels(empty, qRgb(255, 255, 0)), 0);
    QCOMPARE(CountPixels(empty, qRgb(0, 255, 255)), 0);
    // The background, the ground plane and the red x axis are drawn before any mesh.
    QVERIFY(CountPixels(empty, qRgb(51, 51, 51)) > 1000);
    QVERIFY(CountPixels(empty, qRgb(128, 128, 128)) + CountPixels(empty, qRgb(127, 127, 127)) > 1000);
    QVERIFY(CountPixels(empty, qRgb(255, 0, 0)) > 0);

    m_pImages->PushImage(TwoColourImage(64, 64));
    QTRY_COMPARE(m_pView->GetUploadedIndexCount(), 63 * 63 * 6);

    const QImage frame = m_pView->grabFramebuffer();
    QCOMPARE(m_pView->GetUploadedFloatCount(), 64 * 64 * 6);
    QVERIFY2(CountPixels(frame, qRgb(255, 255, 0)) > 200, "the yellow half is not drawn");
    QVERIFY2(CountPixels(frame, qRgb(0, 255, 255)) > 200, "the cyan half is not drawn");
    // The upload leaves the model's arrays empty: only the GPU keeps the mesh.
    QMutexLocker lock(m_pModel->GetMutex());
    QVERIFY(m_pModel->GetVertexArray().empty());
    QVERIFY(m_pModel->GetIndexArray().empty());
}

void View3DTest::showingActivatesPanelAndBuildsCurrentImage()
{
    auto* pOldWidget = new QLabel("canvas panel");
    m_pArea->setWidget(pOldWidget);
    QSignalSpy progress(m_pModel.get(), &M::signal_ChangeProgressValue);
    QSignalSpy finished(m_pModel.get(), &M::signal_LoadFinished);

    // Nothing is built while the view is hidden.
    m_pImages->PushImage(TwoColourImage(4, 4));
    m_pImages->PushImage(TwoColourImage(6, 6));
    WaitForBuilds();
    QCOMPARE(progress.count(), 0);
    QCOMPARE(finished.count(), 0);

    QVERIFY(ShowView());
    QTRY_COMPARE(finished.count(), 1);

    QCOMPARE(m_pArea->widget(), static_cast<QWidget*>(m_pController->GetPanel()));
    // The widget the area showed before is taken out, not deleted.
    QVERIFY(pOldWidget->parent() == nullptr);
    delete pOldWidget;
    QTRY_COMPARE(m_pView->GetUploadedFloatCount(), 6 * 6 * 6);
}

void View3DTest::supersededBuildsAreSkipped()
{
    QVERIFY(ShowView());
    WaitForBuilds();
    QSignalSpy finished(m_pModel.get(), &M::signal_LoadFinished);

    // The user steps through three images while a build still holds the mesh.
    m_pModel->GetMutex()->lock();
    m_pImages->PushImage(TwoColourImage(2, 2));
    m_pImages->PushImage(TwoColourImage(3, 3));
    m_pImages->PushImage(TwoColourImage(5, 5));
    m_pModel->GetMutex()->unlock();
    WaitForBuilds();

    QCOMPARE(finished.count(), 1);
    QTRY_COMPARE(m_pView->GetUploadedFloatCount(), 5 * 5 * 6);
}

void View3DTest::buildOnGuiThreadUploadsAfterwards()
{
    QVERIFY(ShowView());
    WaitForBuilds();

    // The build announces its mesh while it still holds the model's mutex; the upload must wait for it to let go.
    m_pModel->BuildMesh(TwoColourImage(7, 3));

    QCOMPARE(m_pView->GetUploadedFloatCount(), 0);
    QTRY_COMPARE(m_pView->GetUploadedFloatCount(), 7 * 3 * 6);
    QCOMPARE(m_pView->GetUploadedIndexCount(), 6 * 2 * 6);
}

void View3DTest::hiddenViewLetsGoOfMeshStorage()
{
    QVERIFY(ShowView());
    m_pImages->PushImage(TwoColourImage(64, 64));
    QTRY_COMPARE(m_pView->GetUploadedIndexCount(), 63 * 63 * 6);
    WaitForBuilds();

    // Shown, the storage is kept for the next image's build; hidden, nothing is built, so it goes.
    m_pView->hide();

    QMutexLocker lock(m_pModel->GetMutex());
    QCOMPARE(m_pModel->GetVertexArray().capacity(), size_t(0));
    QCOMPARE(m_pModel->GetIndexArray().capacity(), size_t(0));
}

void View3DTest::dragTurnsTheField_data()
{
    QTest::addColumn<float>("fltStartX");
    QTest::addColumn<float>("fltStartY");
    QTest::addColumn<QPoint>("drag");
    QTest::addColumn<double>("dblRotateX");
    QTest::addColumn<double>("dblRotateY");

    // 0.1 degree per pixel; dragging up tilts the field towards the viewer.
    QTest::newRow("100 up") << -73.0f << 0.0f << QPoint(0, -100) << -63.0 << 0.0;
    QTest::newRow("100 down") << -73.0f << 0.0f << QPoint(0, 100) << -83.0 << 0.0;
    QTest::newRow("50 right") << -73.0f << 0.0f << QPoint(50, 0) << -73.0 << 5.0;
    QTest::newRow("up past 90 is clamped") << 85.0f << 0.0f << QPoint(0, -100) << 90.0 << 0.0;
    QTest::newRow("down past -90 is clamped") << -85.0f << 0.0f << QPoint(0, 100) << -90.0 << 0.0;
    QTest::newRow("left past -90 is clamped") << 0.0f << -88.0f << QPoint(-50, 0) << 0.0 << -90.0;
}

void View3DTest::dragTurnsTheField()
{
    QFETCH(float, fltStartX);
    QFETCH(float, fltStartY);
    QFETCH(QPoint, drag);
    QFETCH(double, dblRotateX);
    QFETCH(double, dblRotateY);
    QVERIFY(ShowView());
    m_pModel->Set(M::EParameter_RotateX, fltStartX);
    m_pModel->Set(M::EParameter_RotateY, fltStartY);
    QSignalSpy active(m_pView.get(), &CImageView3D::signal_Active3DView);
    const QPoint start(130, 130);
    const QMatrix4x4 before = m_pView->GetModelMatrix();

    QTest::mousePress(m_pView.get(), Qt::LeftButton, Qt::NoModifier, start);
    QTest::mouseMove(m_pView.get(), start + drag / 2);
    QTest::mouseMove(m_pView.get(), start + drag);
    QTest::mouseRelease(m_pView.get(), Qt::LeftButton, Qt::NoModifier, start + drag);
    // Moves after the release turn nothing.
    QTest::mouseMove(m_pView.get(), start);

    QCOMPARE(active.count(), 1);
    QVERIFY(qAbs(m_pModel->Get(M::EParameter_RotateX) - dblRotateX) < 1e-4);
    QVERIFY(qAbs(m_pModel->Get(M::EParameter_RotateY) - dblRotateY) < 1e-4);
    QCOMPARE(m_pController->GetPanel()->GetSpinBox(M::EParameter_RotateX)->value(), dblRotateX);
    // The view draws the turned field.
    QVERIFY(!qFuzzyCompare(m_pView->GetModelMatrix(), before));
}

void View3DTest::wheelNarrowsFieldOfView()
{
    QVERIFY(ShowView());
    const QMatrix4x4 before = m_pView->GetProjectionMatrix();
    for (int n = 0; n < 3; ++n)
    {
        QWheelEvent wheel(QPointF(100, 100), m_pView->mapToGlobal(QPoint(100, 100)), QPoint(), QPoint(0, 120),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(m_pView.get(), &wheel);
    }

    QVERIFY(qAbs(m_pModel->Get(M::EParameter_FOV) - 18.4f) < 1e-4f);
    QCOMPARE(m_pController->GetPanel()->GetSpinBox(M::EParameter_FOV)->value(), 18.4);
    // A narrower field of view shows the field larger.
    QVERIFY(m_pView->GetProjectionMatrix()(1, 1) > before(1, 1));
}

void View3DTest::panelClampsParameters_data()
{
    QTest::addColumn<CImageView3DModel::EParameter>("eParameter");
    QTest::addColumn<double>("dblValue");
    QTest::addColumn<double>("dblHeld");

    QTest::newRow("translate 150") << M::EParameter_TranslateX << 150.0 << 99.99;
    QTest::newRow("translate -2000") << M::EParameter_TranslateZ << -2000.0 << -1000.0;
    QTest::newRow("rotate -120") << M::EParameter_RotateZ << -120.0 << -90.0;
    QTest::newRow("scale 0.5") << M::EParameter_ScaleY << 0.5 << 1.0;
    QTest::newRow("scale 250") << M::EParameter_ScaleZ << 250.0 << 100.0;
    QTest::newRow("camera 300") << M::EParameter_CameraPositionZ << 300.0 << 99.99;
    QTest::newRow("camera up -7.5 in range") << M::EParameter_CameraUpY << -7.5 << -7.5;
    QTest::newRow("FOV -5") << M::EParameter_FOV << -5.0 << 0.0;
    QTest::newRow("FOV 120") << M::EParameter_FOV << 120.0 << 90.0;
    QTest::newRow("far 5000") << M::EParameter_Far << 5000.0 << 1000.0;
}

void View3DTest::panelClampsParameters()
{
    QFETCH(CImageView3DModel::EParameter, eParameter);
    QFETCH(double, dblValue);
    QFETCH(double, dblHeld);
    QDoubleSpinBox* pSpinBox = m_pController->GetPanel()->GetSpinBox(eParameter);

    // Typed into the spin box...
    pSpinBox->setValue(dblValue);
    QVERIFY(qAbs(m_pModel->Get(eParameter) - dblHeld) < 1e-4);
    m_pModel->Set(eParameter, 3.0f);

    // ...or arriving from elsewhere: the panel writes the model's value back and takes the clamped value in turn.
    m_pModel->Set(eParameter, static_cast<float>(dblValue));
    QVERIFY(qAbs(m_pModel->Get(eParameter) - dblHeld) < 1e-4);
    QCOMPARE(pSpinBox->value(), dblHeld);
}

void View3DTest::panelFollowsModel()
{
    CImageView3DTransformPanel* pPanel = m_pController->GetPanel();
    const float afltInitial[M::EParameter_Count] = {-73, 0,    19,   0, 0, 0, 1, 1,  1,    0,  0,
                                                    5,   0.5f, 0.5f, 0, 0, 1, 0, 22, 0.1f, 100};
    for (int n = 0; n < M::EParameter_Count; ++n)
    {
        const auto e = static_cast<M::EParameter>(n);
        const float fltExpected = afltInitial[n];
        QVERIFY2(qAbs(pPanel->GetSpinBox(e)->value() - fltExpected) < 1e-4, qPrintable(QString::number(n)));
        QVERIFY2(qAbs(m_pModel->Get(e) - fltExpected) < 1e-4, qPrintable(QString::number(n)));
    }
    QSignalSpy changed(m_pModel.get(), &M::signal_ChangeTransformMatrix);

    m_pModel->Set(M::EParameter_CameraCenterX, 0.25f);
    // A tolerant comparison: the same value again changes nothing.
    m_pModel->Set(M::EParameter_CameraCenterX, 0.25f);

    QCOMPARE(changed.count(), 1);
    QCOMPARE(pPanel->GetSpinBox(M::EParameter_CameraCenterX)->value(), 0.25);
}

QTEST_MAIN(View3DTest)
#include "View3DTest.moc"
