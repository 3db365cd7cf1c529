#include "CWindowMemory.h"

#include "frame/CSetting.h"
#include "workspace/CImageLayoutModel.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QMainWindow>
#include <QScreen>
#include <QSplitter>

#include <algorithm>

namespace
{
// Raised when the docks change in a way an older saved state no longer fits; Qt then ignores the old one.
constexpr int kStateVersion = 1;

QString RectText(const QRect& rect)
{
    return QString("%1,%2,%3,%4").arg(rect.x()).arg(rect.y()).arg(rect.width()).arg(rect.height());
}

QRect TextRect(const QString& strText)
{
    const QStringList lstParts = strText.split(',');
    if (lstParts.size() != 4)
        return QRect();
    int nValues[4] = {};
    for (int i = 0; i < 4; ++i)
    {
        bool bOk = false;
        nValues[i] = lstParts[i].trimmed().toInt(&bOk);
        if (!bOk)
            return QRect();
    }
    return QRect(nValues[0], nValues[1], nValues[2], nValues[3]);
}

QByteArray Unpack(const QString& strText)
{
    return QByteArray::fromBase64(strText.toLatin1());
}

QString Pack(const QByteArray& baState)
{
    return QString::fromLatin1(baState.toBase64());
}

qint64 Area(const QRect& rect)
{
    return rect.isEmpty() ? 0 : qint64(rect.width()) * rect.height();
}
} // namespace

const QString CWindowMemory::GEOMETRY = QStringLiteral("WINDOW_GEOMETRY");
const QString CWindowMemory::MAXIMIZED = QStringLiteral("WINDOW_MAXIMIZED");
const QString CWindowMemory::STATE = QStringLiteral("WINDOW_STATE");
const QString CWindowMemory::SPLITTERS = QStringLiteral("WINDOW_SPLITTERS");
const QString CWindowMemory::WORKSPACE_LAYOUT = QStringLiteral("WINDOW_WORKSPACE_LAYOUT");

CWindowMemory::CWindowMemory(QMainWindow* pWindow, CImageLayoutModel* pLayoutModel)
    : QObject(pWindow), m_pWindow(pWindow), m_pLayoutModel(pLayoutModel)
{
    m_pWindow->installEventFilter(this);
}

void CWindowMemory::RestoreAndShow()
{
    const QList<QRect> lstAreas = AvailableScreenAreas();
    const QRect saved = TextRect(CSetting::GetString(GEOMETRY, QString()));
    QRect geometry = FitOnScreens(saved, lstAreas);
    bool bMaximized = CSetting::GetInt(MAXIMIZED, 0) != 0;
    if (geometry.isEmpty())
    {
        // The first start: maximized as it always opened, over a normal size that is worth returning to.
        geometry = DefaultGeometry(lstAreas.value(0));
        bMaximized = true;
    }
    if (!geometry.isEmpty())
        m_pWindow->setGeometry(geometry);
    RestoreLayout();
    if (bMaximized)
        m_pWindow->showMaximized();
    else
        m_pWindow->show();
    // The frame is known once the window is shown: the title bar must be on the screen too.
    const QRect frame = m_pWindow->frameGeometry();
    const QMargins margins(m_pWindow->geometry().left() - frame.left(), m_pWindow->geometry().top() - frame.top(),
                           frame.right() - m_pWindow->geometry().right(),
                           frame.bottom() - m_pWindow->geometry().bottom());
    if (!bMaximized && !margins.isNull())
    {
        const QRect framed = FitOnScreens(geometry.marginsAdded(margins), lstAreas);
        if (!framed.isEmpty() && framed != geometry.marginsAdded(margins))
            m_pWindow->setGeometry(framed.marginsRemoved(margins));
    }
    // The docks and splitters share out any later change of the window's size by their own rules, not as they were
    // saved: their sizes go in once the window has laid out at the restored size.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    const QByteArray baState = Unpack(CSetting::GetString(STATE, QString()));
    if (!baState.isEmpty())
        m_pWindow->restoreState(baState, kStateVersion);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    RestoreSplitters();
}

void CWindowMemory::Save() const
{
    CSetting::Set(GEOMETRY, RectText(m_pWindow->normalGeometry()));
    CSetting::Set(MAXIMIZED, m_pWindow->isMaximized() ? 1 : 0);
    CSetting::Set(STATE, Pack(m_pWindow->saveState(kStateVersion)));
    QStringList lstSplitters;
    for (const QSplitter* pSplitter : m_pWindow->findChildren<QSplitter*>())
    {
        // An unnamed splitter cannot be told from another at the next start.
        if (!pSplitter->objectName().isEmpty())
            lstSplitters.append(pSplitter->objectName() + ':' + Pack(pSplitter->saveState()));
    }
    lstSplitters.sort();
    CSetting::Set(SPLITTERS, lstSplitters.join(';'));
    if (m_pLayoutModel)
        CSetting::Set(WORKSPACE_LAYOUT,
                      QString("%1x%2").arg(m_pLayoutModel->GetColumn()).arg(m_pLayoutModel->GetRow()));
}

void CWindowMemory::Forget()
{
    for (const QString& strKey : {GEOMETRY, MAXIMIZED, STATE, SPLITTERS, WORKSPACE_LAYOUT})
        CSetting::Set(strKey, QString());
}

void CWindowMemory::RestoreSplitters()
{
    const QStringList lstEntries = CSetting::GetString(SPLITTERS, QString()).split(';', Qt::SkipEmptyParts);
    for (const QString& strEntry : lstEntries)
    {
        const int nColon = strEntry.indexOf(':');
        if (nColon <= 0)
            continue;
        if (auto* pSplitter = m_pWindow->findChild<QSplitter*>(strEntry.left(nColon)))
            pSplitter->restoreState(Unpack(strEntry.mid(nColon + 1)));
    }
}

void CWindowMemory::RestoreLayout()
{
    const QStringList lstSize = CSetting::GetString(WORKSPACE_LAYOUT, QString()).split('x');
    if (!m_pLayoutModel || lstSize.size() != 2)
        return;
    const int nColumns = lstSize[0].toInt();
    const int nRows = lstSize[1].toInt();
    // Only the grids the tool bar offers: the workspace has four viewers.
    if (nColumns >= 1 && nColumns <= 2 && nRows >= 1 && nRows <= 2)
        m_pLayoutModel->ChangeSize(nColumns, nRows);
}

QRect CWindowMemory::FitOnScreens(const QRect& rect, const QList<QRect>& lstAvailable)
{
    if (rect.isEmpty() || lstAvailable.isEmpty())
        return QRect();
    QRect target = lstAvailable.first();
    qint64 nBest = 0;
    for (const QRect& area : lstAvailable)
    {
        if (area.contains(rect))
            return rect;
        const qint64 nOverlap = Area(area.intersected(rect));
        if (nOverlap > nBest)
        {
            nBest = nOverlap;
            target = area;
        }
    }
    if (target.isEmpty())
        return QRect();
    const int nWidth = std::min(rect.width(), target.width());
    const int nHeight = std::min(rect.height(), target.height());
    const int nX = std::clamp(rect.x(), target.left(), target.right() + 1 - nWidth);
    const int nY = std::clamp(rect.y(), target.top(), target.bottom() + 1 - nHeight);
    return QRect(nX, nY, nWidth, nHeight);
}

QRect CWindowMemory::DefaultGeometry(const QRect& available)
{
    if (available.isEmpty())
        return QRect();
    QRect geometry(0, 0, available.width() * 4 / 5, available.height() * 4 / 5);
    geometry.moveCenter(available.center());
    return geometry;
}

QList<QRect> CWindowMemory::AvailableScreenAreas()
{
    QList<QRect> lstAreas;
    if (QScreen* pPrimary = QGuiApplication::primaryScreen())
        lstAreas.append(pPrimary->availableGeometry());
    for (QScreen* pScreen : QGuiApplication::screens())
    {
        if (pScreen != QGuiApplication::primaryScreen())
            lstAreas.append(pScreen->availableGeometry());
    }
    return lstAreas;
}

bool CWindowMemory::eventFilter(QObject* pWatched, QEvent* pEvent)
{
    // A spontaneous hide comes from the window system (minimizing); the program hides the window when it closes.
    if (pWatched == m_pWindow && pEvent->type() == QEvent::Hide && !pEvent->spontaneous())
        Save();
    return QObject::eventFilter(pWatched, pEvent);
}
