#pragma once

#include "OvrelCommonGlobal.h"

#include <memory>

class CScreenCaptureController;
class QObject;
class CScreenCaptureDlg;
class CScreenCaptureModel;

// The screen-capture tool of one canvas: its model, its dialog and the controller that turns a rectangle dragged on
// the dialog into an image, which the canvas takes from the controller's signals. The dialog is made with the tool
// and lives as long as it.
class OVRELCOMMON_EXPORT CScreenCaptureTool
{
public:
    // The owner (the canvas controller) is not owned; it is the capture controller's parent.
    explicit CScreenCaptureTool(QObject* pOwner);
    ~CScreenCaptureTool();

    // Shows the dialog over the whole primary screen, active and on top.
    void Open();
    CScreenCaptureDlg* GetDialog() const { return m_pDialog.get(); }
    CScreenCaptureController* GetController() const { return m_pController.get(); }

    // Maximises (true) or minimises (false) the first registered main window; nothing when none is registered.
    static void ShowMainWindow(bool bMaximise);

private:
    std::unique_ptr<CScreenCaptureModel> m_pModel;
    std::unique_ptr<CScreenCaptureDlg> m_pDialog;
    std::unique_ptr<CScreenCaptureController> m_pController;
};
