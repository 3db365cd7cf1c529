#include "capture/CScreenCaptureController.h"

#include "capture/CScreenCaptureDlg.h"
#include "capture/CScreenCaptureModel.h"
#include "imaging/ImageConversion.h"

#include "Utils/COvrelImage.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

CScreenCaptureController::CScreenCaptureController(CScreenCaptureModel* pModel, CScreenCaptureDlg* pDialog,
                                                   QObject* parent)
    : CController(parent), m_pModel(pModel), m_pDialog(pDialog)
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
    QPixmap grab;
    // The main window comes back only after the grab, which would otherwise take it in.
    if (QScreen* pScreen = QGuiApplication::primaryScreen())
        grab = pScreen->grabWindow(0, rect.left(), rect.top(), rect.width(), rect.height());
    emit signal_RestoreMainWindow();
    auto pImage = std::make_shared<Ovrel::Utils::COvrelImage>();
    if (!grab.isNull() && ImageFromQImage(grab.toImage(), pImage.get()) && m_pModel)
        emit signal_Captured(pImage);
}

void CScreenCaptureController::slot_ExitCapture()
{
    if (!m_pDialog)
        return;
    emit signal_RestoreMainWindow();
    m_pDialog->close();
}
