#include "capture/CScreenCaptureController.h"

#include "canvas/CImageView2DController.h"
#include "capture/CScreenCaptureDlg.h"
#include "capture/CScreenCaptureModel.h"
#include "imaging/ImageConversion.h"

#include "Utils/COvrelImage.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

CScreenCaptureController::CScreenCaptureController(CScreenCaptureModel* pModel, CScreenCaptureDlg* pDialog,
                                                   CImageView2DController* pCanvasController, QObject* parent)
    : CController(parent), m_pModel(pModel), m_pDialog(pDialog), m_pCanvasController(pCanvasController)
{
    if (pDialog)
    {
        connect(pDialog, &CScreenCaptureDlg::signal_CaptureScreen, this, &CScreenCaptureController::slot_CaptureScreen);
        connect(pDialog, &CScreenCaptureDlg::signal_ExitCapture, this, &CScreenCaptureController::slot_ExitCapture);
    }
}

void CScreenCaptureController::slot_OpenCaptureScreen() {}

void CScreenCaptureController::slot_CaptureScreen(const QRect& rect)
{
    if (m_pDialog)
        m_pDialog->hide();
    QScreen* pScreen = QGuiApplication::primaryScreen();
    if (m_pCanvasController && pScreen)
    {
        const QPixmap grab = pScreen->grabWindow(0, rect.left(), rect.top(), rect.width(), rect.height());
        m_pCanvasController->ShowMainWindow(true);
        auto pImage = std::make_shared<Ovrel::Utils::COvrelImage>();
        if (!grab.isNull() && ImageFromQImage(grab.toImage(), pImage.get()) && m_pModel)
        {
            m_pCanvasController->PushImage(pImage);
            m_pCanvasController->slot_Copy();
        }
    }
    if (m_pCanvasController)
        m_pCanvasController->ShowMainWindow(true);
}

void CScreenCaptureController::slot_ExitCapture()
{
    if (!m_pDialog || !m_pCanvasController)
        return;
    m_pCanvasController->ShowMainWindow(true);
    m_pDialog->close();
}
