#include "capture/CScreenCaptureTool.h"

#include "capture/CScreenCaptureController.h"
#include "capture/CScreenCaptureDlg.h"
#include "capture/CScreenCaptureModel.h"
#include "frame/CMVCRegistry.h"

#include <QGuiApplication>
#include <QMainWindow>
#include <QScreen>

CScreenCaptureTool::CScreenCaptureTool(QObject* pOwner)
    : m_pModel(std::make_unique<CScreenCaptureModel>()), m_pDialog(std::make_unique<CScreenCaptureDlg>(m_pModel.get())),
      m_pController(std::make_unique<CScreenCaptureController>(m_pModel.get(), m_pDialog.get(), pOwner))
{
}

CScreenCaptureTool::~CScreenCaptureTool()
{
    // The controller watches the dialog: it goes first, the model last.
    m_pController.reset();
    m_pDialog.reset();
}

void CScreenCaptureTool::Open()
{
    // Without a window manager a maximised window keeps its size; the screen's geometry is what maximised means.
    if (QScreen* pScreen = QGuiApplication::primaryScreen())
        m_pDialog->setGeometry(pScreen->geometry());
    m_pDialog->showMaximized();
    m_pDialog->show();
    m_pDialog->activateWindow();
    m_pDialog->raise();
}

void CScreenCaptureTool::ShowMainWindow(bool bMaximise)
{
    for (const SMVC& item : CMVCRegistry::m_vctItems)
    {
        if (auto* pWindow = qobject_cast<QMainWindow*>(item.pView))
        {
            if (bMaximise)
                pWindow->showMaximized();
            else
                pWindow->showMinimized();
            return;
        }
    }
}
