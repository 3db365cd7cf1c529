#pragma once

#include <QObject>

#include <functional>
#include <map>

class CImageView2D;
class QAction;
class QIcon;
class QMenu;
class QPoint;
class QString;

// The canvas's two context menus: the image menu (load, save, close, copy, paste, go to, 3D), whose entries send the
// view's own signals, and the object menu (delete, and the entries others add for the object whose menu is open).
class CImageView2DMenus : public QObject
{
    Q_OBJECT
public:
    explicit CImageView2DMenus(CImageView2D* pView);

    QMenu* GetImageMenu() const { return m_pImageMenu; }
    QMenu* GetObjectMenu() const { return m_pObjectMenu; }
    // Runs a menu at a point of the screen; the object menu for the object with that UID.
    void ExecImageMenu(const QPoint& globalPoint);
    void ExecObjectMenu(const QPoint& globalPoint, unsigned int nUID);
    // Adds an entry to the object menu; when chosen, the callback gets (view ID, UID of the object whose menu is open).
    QAction* AddObjectAction(const QString& strText, const QIcon& icon,
                             const std::function<void(int, unsigned int)>& callback);

private:
    CImageView2D* m_pView;
    QMenu* m_pImageMenu = nullptr;
    QMenu* m_pObjectMenu = nullptr;
    unsigned int m_nContextObjectUID = ~0u;
    std::map<QAction*, std::function<void(int, unsigned int)>> m_mapObjectActions;
};
