#pragma once

#include "OvrelCommonGlobal.h"
#include "frame/CController.h"

#include <QPointer>
#include <QRect>

#include <memory>

class CScreenCaptureDlg;
class CScreenCaptureModel;

namespace Ovrel
{
namespace Utils
{
class COvrelImage;
}
} // namespace Ovrel

// Turns a rectangle dragged on the capture dialog into an image: the rectangle is grabbed from the primary screen
// (after the dialog is hidden) and handed on by signal_Captured; the canvas that opened the tool makes it its viewer's
// current image. Whatever the outcome, signal_RestoreMainWindow asks for the main window back, after the grab. Not
// registered in the registry.
class OVRELCOMMON_EXPORT CScreenCaptureController : public CController
{
    Q_OBJECT
public:
    // Nothing given is owned; any pointer may be null.
    CScreenCaptureController(CScreenCaptureModel* pModel, CScreenCaptureDlg* pDialog, QObject* parent = nullptr);

    bool Undo() override { return false; }
    bool Redo() override { return false; }

signals:
    // The capture is over (grabbed or given up): the main window, minimised for it, may come back.
    void signal_RestoreMainWindow();
    // The grabbed rectangle, emitted after signal_RestoreMainWindow; never for a grab that failed.
    void signal_Captured(std::shared_ptr<Ovrel::Utils::COvrelImage> pImage);

public slots:
    // The canvas controller opens the dialog itself; nothing happens here.
    void slot_OpenCaptureScreen();
    void slot_CaptureScreen(const QRect& rect);
    void slot_ExitCapture();

private:
    CScreenCaptureModel* m_pModel;
    QPointer<CScreenCaptureDlg> m_pDialog;
};
