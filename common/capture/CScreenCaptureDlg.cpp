#include "capture/CScreenCaptureDlg.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QRegion>

#include <algorithm>
#include <cstdlib>

namespace
{
// The pixels a drag between two points covers: the press point is inside, the release point just outside, so that
// a drag of 200 by 100 pixels covers 200 by 100 pixels whichever way it goes.
QRect DragRect(const QPoint& from, const QPoint& to)
{
    return QRect(std::min(from.x(), to.x()), std::min(from.y(), to.y()), std::abs(to.x() - from.x()),
                 std::abs(to.y() - from.y()));
}
} // namespace

CScreenCaptureDlg::CScreenCaptureDlg(CScreenCaptureModel* pModel, QWidget* parent)
    : QDialog(parent, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), m_pModel(pModel)
{
    setAttribute(Qt::WA_NoSystemBackground);
    setAttribute(Qt::WA_TranslucentBackground);
    // Qt::WA_TransparentForMouseEvents is left off: on a top-level window it lets the window system pass the
    // clicks through to the windows below, and the drag is all this dialog is for.
    setAutoFillBackground(false);
    hide();
}

void CScreenCaptureDlg::showEvent(QShowEvent* pEvent)
{
    // A capture that Escape ended may have left a drag behind.
    m_bPressed = false;
    m_selection = QRect();
    setCursor(Qt::CrossCursor);
    QDialog::showEvent(pEvent);
}

void CScreenCaptureDlg::closeEvent(QCloseEvent* pEvent)
{
    setCursor(Qt::ArrowCursor);
    QDialog::closeEvent(pEvent);
}

void CScreenCaptureDlg::keyPressEvent(QKeyEvent* pEvent)
{
    // QDialog would reject on Escape by itself; the controller decides what ending the capture means.
    if (pEvent->key() == Qt::Key_Escape)
        emit signal_ExitCapture();
    else
        pEvent->ignore();
}

void CScreenCaptureDlg::mousePressEvent(QMouseEvent* pEvent)
{
    m_bPressed = true;
    m_pressPoint = pEvent->pos();
}

void CScreenCaptureDlg::mouseMoveEvent(QMouseEvent* pEvent)
{
    if (!m_bPressed)
        return;
    m_selection = DragRect(m_pressPoint, pEvent->pos());
    update();
}

void CScreenCaptureDlg::mouseReleaseEvent(QMouseEvent* pEvent)
{
    if (!m_bPressed)
        return;
    m_bPressed = false;
    m_selection = QRect();
    update();
    const QRect rect = DragRect(mapToGlobal(m_pressPoint), mapToGlobal(pEvent->pos()));
    // A click, or a drag along a line, selects no pixels: it ends the capture as Escape does.
    if (rect.isEmpty())
        emit signal_ExitCapture();
    else
        emit signal_CaptureScreen(rect);
}

void CScreenCaptureDlg::paintEvent(QPaintEvent*)
{
    setMask(QRegion(rect()).subtracted(QRegion(m_selection)));
    QPainter painter(this);
    painter.fillRect(rect(), QColor(127, 127, 127, 127));
    if (m_selection.width() > 0)
    {
        painter.setPen(QColor(0, 255, 0, 255));
        painter.drawRect(m_selection.adjusted(-1, -1, 1, 1));
    }
}
