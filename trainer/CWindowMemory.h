#pragma once

#include <QList>
#include <QObject>
#include <QRect>
#include <QString>

class CImageLayoutModel;
class QMainWindow;

// Keeps the window as the user left it from one start to the next, with the program's settings: its place and size,
// whether it was maximized, where its docks and tool bars stand (tabbed, floating or hidden), the sizes of every named
// splitter inside it and the workspace's grid of viewers.
//
// Saves when the window is hidden by the program, which is what a close the window accepted does: whatever the close
// asks first, a close that is refused is not remembered. A minimized window is not hidden by the program.
class CWindowMemory : public QObject
{
    Q_OBJECT
public:
    static const QString GEOMETRY;
    static const QString MAXIMIZED;
    static const QString STATE;
    static const QString SPLITTERS;
    static const QString WORKSPACE_LAYOUT;

    // Neither is owned; both outlive this object (it is a child of the window).
    CWindowMemory(QMainWindow* pWindow, CImageLayoutModel* pLayoutModel);

    // Puts back the geometry, fitted with its frame onto today's screens, and the grid; shows the window, maximized
    // when it was left so; then puts back the docks and the splitters at the size the window has. Without a saved
    // geometry the window is maximized over a normal size of most of the primary screen, so that leaving the maximized
    // state does not fall to the minimum size. Call after every dock, tool bar and splitter exists and the settings are
    // loaded.
    void RestoreAndShow();
    // Writes everything RestoreAndShow puts back.
    void Save() const;
    // Empties every saved value: the next RestoreAndShow is a first start.
    static void Forget();

    // The rectangle moved, and shrunk where it is larger, to lie wholly inside one of the available areas: the one it
    // overlaps most, the first (the primary screen's) when it overlaps none. A rectangle inside one comes back as it
    // is; an empty one, or no areas, gives an empty rectangle.
    static QRect FitOnScreens(const QRect& rect, const QList<QRect>& lstAvailable);
    // Four fifths of the area each way, centred in it.
    static QRect DefaultGeometry(const QRect& available);
    // The available areas of the screens, the primary screen's first.
    static QList<QRect> AvailableScreenAreas();

protected:
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

private:
    void RestoreSplitters();
    void RestoreLayout();

    QMainWindow* m_pWindow = nullptr;
    CImageLayoutModel* m_pLayoutModel = nullptr;
};
