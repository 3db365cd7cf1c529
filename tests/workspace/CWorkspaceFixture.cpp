// Mouse events take the window system's path, so that a drag carries its button.
#define QTEST_QPA_MOUSE_HANDLING

#include "CWorkspaceFixture.h"

#include "CLogCapture.h"

#include "canvas/CDrawableGeometry.h"
#include "canvas/CImageView2D.h"
#include "images/CImageListModel.h"
#include "workspace/CSelectImageViewDialog.h"

#include "workspace/CImageViewer.h"
#include "workspace/CImageViewerController.h"

#include "Geometry/COvrelRectangle.h"
#include "Utils/COvrelImage.h"

#include <QComboBox>
#include <QtTest>

using Ovrel::Utils::COvrelImage;

CWorkspaceFixture::CWorkspaceFixture(const QSize& size)
    : layout(std::make_unique<CImageLayoutModel>()), view(std::make_unique<CImageWorkspaceView>(layout.get())),
      controller(std::make_unique<CImageWorkspaceController>(layout.get(), view.get(), &toolPanel, &propertyPanel,
                                                             &bottomPanel))
{
    view->resize(size);
    CImageWorkspaceView* pView = view.get();
    const auto record = [this](const QString& strKind)
    {
        return [this, strKind](int nViewID, uint nImageUID, uint nObjectUID, QString strName)
        { events << QString("%1 %2 %3 %4 %5").arg(strKind).arg(nViewID).arg(nImageUID).arg(nObjectUID).arg(strName); };
    };
    QObject::connect(pView, &CImageWorkspaceView::signal_AddDrawableObjectWithViewID, pView, record("add"));
    QObject::connect(pView, &CImageWorkspaceView::signal_BeforeDeleteDrawableObjectWithViewID, pView, record("before"));
    QObject::connect(pView, &CImageWorkspaceView::signal_DeleteDrawableObjectWithViewID, pView, record("delete"));
    QObject::connect(pView, &CImageWorkspaceView::signal_ChangeDrawableObjectPropertyWithViewID, pView,
                     [this](int nViewID, uint nImageUID, uint nObjectUID)
                     { events << QString("change %1 %2 %3").arg(nViewID).arg(nImageUID).arg(nObjectUID); });
}

CWorkspaceFixture::~CWorkspaceFixture()
{
    layout.reset();
    view.reset();
    controller.reset();
}

bool CWorkspaceFixture::Show()
{
    view->show();
    view->activateWindow();
    return QTest::qWaitForWindowExposed(view.get()) && QTest::qWaitForWindowActive(view.get());
}

CImageViewerController* CWorkspaceFixture::Viewer(int nViewID) const
{
    return controller->GetViewerController(nViewID);
}

CImageViewer* CWorkspaceFixture::ViewerWidget(int nViewID) const
{
    return controller->GetViewer(nViewID);
}

std::shared_ptr<COvrelImage> CWorkspaceFixture::MakeImage(int nWidth, int nHeight, int nChannels,
                                                          const QString& strName)
{
    auto pImage = std::make_shared<COvrelImage>();
    pImage->Create(nWidth, nHeight, nChannels);
    for (int y = 0; y < nHeight; ++y)
        for (int x = 0; x < nWidth; ++x)
            for (int c = 0; c < nChannels; ++c)
                pImage->GetPixel(x, y)[c] = static_cast<unsigned char>((x + 10 * y + c) % 256);
    pImage->SetName(strName.toStdWString());
    return pImage;
}

QString CWorkspaceFixture::WriteImageFile(const QString& strName, int nWidth, int nHeight) const
{
    const QString strPath = Path(strName);
    const auto pImage = MakeImage(nWidth, nHeight, 3, strName);
    return pImage->SaveToFile(strPath.toStdWString()) == Ovrel::Utils::EOvrelResult_OK ? strPath : QString();
}

QStringList CWorkspaceFixture::NewLogLines()
{
    static CLogCapture log;
    return log.NewLines();
}

void CWorkspaceFixture::PushImages()
{
    for (int nViewID = 0; nViewID < 4; ++nViewID)
        Viewer(nViewID)->GetImageListModel()->PushImage(MakeImage(200, 100, 3, QString("view %1").arg(nViewID)));
}

std::shared_ptr<CDrawableGeometry> CWorkspaceFixture::Rectangle(const QString& strName)
{
    auto pObject =
        std::make_shared<CDrawableGeometry>(std::make_shared<Ovrel::Geometry::COvrelRectangle>(1.0, 2.0, 5.0, 4.0));
    pObject->SetName(strName);
    return pObject;
}

std::function<int(QDialog*)> CWorkspaceFixture::Choose(int nIndex, QStringList* pOffered)
{
    return [nIndex, pOffered](QDialog* pDialog)
    {
        auto* pChooser = qobject_cast<CSelectImageViewDialog*>(pDialog);
        if (!pChooser)
            return static_cast<int>(QDialog::Rejected);
        for (int i = 0; i < pChooser->GetComboBox()->count(); ++i)
            *pOffered << pChooser->GetComboBox()->itemText(i);
        if (nIndex < 0)
            return static_cast<int>(QDialog::Rejected);
        pChooser->GetComboBox()->setCurrentIndex(nIndex);
        return static_cast<int>(QDialog::Accepted);
    };
}

void CWorkspaceFixture::DrawRectangle(CImageView2D* pCanvas, const QPointF& from, const QPointF& to)
{
    const QPoint start = pCanvas->MapToScreen(from).toPoint();
    const QPoint end = pCanvas->MapToScreen(to).toPoint();
    QTest::mousePress(pCanvas, Qt::LeftButton, Qt::NoModifier, start);
    for (int i = 1; i <= 4; ++i)
        QTest::mouseMove(pCanvas, start + (end - start) * i / 4);
    QTest::mouseRelease(pCanvas, Qt::LeftButton, Qt::NoModifier, end);
}
