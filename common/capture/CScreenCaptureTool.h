#pragma once

#include "OvrelCommonGlobal.h"

#include <memory>

class CImageView2DController;
class CScreenCaptureController;
class CScreenCaptureDlg;
class CScreenCaptureModel;

// The screen-capture tool of one canvas: its model, its dialog and the controller that turns a rectangle dragged on
// the dialog into the canvas's new current image. The dialog is made with the tool and lives as long as it.
class OVRELCOMMON_EXPORT CScreenCaptureTool
{
public:
    // The canvas controller is not owned; it is the capture controller's parent and receives the captured image.
    explicit CScreenCaptureTool(CImageView2DController* pCanvasController);
    ~CScreenCaptureTool();

    // Shows the dialog over the whole primary screen, active and on top.
    void Open();
    CScreenCaptureDlg* GetDialog() const { return m_pDialog.get(); }

    // Maximises (true) or minimises (false) the first registered main window; nothing when none is registered.
    static void ShowMainWindow(bool bMaximise);

private:
    std::unique_ptr<CScreenCaptureModel> m_pModel;
    std::unique_ptr<CScreenCaptureDlg> m_pDialog;
    std::unique_ptr<CScreenCaptureController> m_pController;
};
