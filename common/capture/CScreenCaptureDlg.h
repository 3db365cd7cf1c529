#pragma once

#include "OvrelCommonGlobal.h"

#include <QDialog>
#include <QPoint>
#include <QRect>

class CScreenCaptureModel;

// The snip tool's surface: a frameless, stay-on-top, half-transparent grey dialog over the whole screen on which the
// user drags a rectangle. The dragged rectangle is cut out of the dialog's window mask while it grows, so that the
// user sees (and the grab finds) the screen there untouched, and it is outlined in green.
//
// Releasing the button after a drag emits signal_CaptureScreen with the rectangle in screen coordinates: from the
// press point (inside) to the release point (just outside), normalised, so a drag towards the upper left gives the
// same rectangle as the opposite drag. A click, a drag that covers no pixels and Escape emit signal_ExitCapture.
class OVRELCOMMON_EXPORT CScreenCaptureDlg : public QDialog
{
    Q_OBJECT
public:
    // The model is not owned and may be null.
    explicit CScreenCaptureDlg(CScreenCaptureModel* pModel, QWidget* parent = nullptr);

    // The rectangle being dragged, in the dialog's coordinates; empty between drags.
    QRect GetSelection() const { return m_selection; }

signals:
    void signal_CaptureScreen(const QRect& rect);
    void signal_ExitCapture();

protected:
    void showEvent(QShowEvent* pEvent) override;
    void closeEvent(QCloseEvent* pEvent) override;
    void keyPressEvent(QKeyEvent* pEvent) override;
    void mousePressEvent(QMouseEvent* pEvent) override;
    void mouseMoveEvent(QMouseEvent* pEvent) override;
    void mouseReleaseEvent(QMouseEvent* pEvent) override;
    void paintEvent(QPaintEvent* pEvent) override;

private:
    CScreenCaptureModel* m_pModel;
    bool m_bPressed = false;
    QPoint m_pressPoint;
    QRect m_selection;
};
