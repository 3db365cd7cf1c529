#pragma once

#include "OvrelCommonGlobal.h"
#include "frame/CController.h"

#include <QPointer>
#include <QRect>

class CImageView2DController;
class CScreenCaptureDlg;
class CScreenCaptureModel;

// Turns a rectangle dragged on the capture dialog into a new image of the canvas's viewer: the rectangle is grabbed
// from the primary screen (after the dialog is hidden), appended to the viewer's images as the current one and put
// on the clipboard. Whatever the outcome, the main window is shown maximised again. Not registered in the registry.
class OVRELCOMMON_EXPORT CScreenCaptureController : public CController
{
    Q_OBJECT
public:
    // Nothing given is owned; any pointer may be null.
    CScreenCaptureController(CScreenCaptureModel* pModel, CScreenCaptureDlg* pDialog,
                             CImageView2DController* pCanvasController, QObject* parent = nullptr);

    bool Undo() override { return false; }
    bool Redo() override { return false; }

public slots:
    // The canvas controller opens the dialog itself; nothing happens here.
    void slot_OpenCaptureScreen();
    void slot_CaptureScreen(const QRect& rect);
    void slot_ExitCapture();

private:
    CScreenCaptureModel* m_pModel;
    QPointer<CScreenCaptureDlg> m_pDialog;
    CImageView2DController* m_pCanvasController;
};
