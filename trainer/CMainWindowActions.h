#pragma once

#include <QList>

class CImageWorkspaceController;
class MainWindow;
class QAction;
class QMenu;
class QToolBar;

// The main window's commands: the "File" tool bar and the "File", "Edit", "Run" and "Help" menus, each action
// connected to the window's slot or the workspace controller's. An action shown in the tool bar and in a menu is one
// object. Tool-bar buttons show the text under the icon and a tool tip of the text and its shortcut, e.g.
// "Open Project (Ctrl+O)". All actions and menus are children of the window; this object only keeps pointers. The
// window's helpers that add commands take the menus and the tool bar from here.
class CMainWindowActions
{
public:
    // The workspace controller may be null: its commands are then created unconnected.
    CMainWindowActions(MainWindow* pWindow, CImageWorkspaceController* pWorkspaceController);

    // The commands disabled while the trainer runs: "Open Project", "New Project", "Save", "Undo", "Redo", "Setting"
    // and "Start".
    QList<QAction*> LockedWhileRunning() const;
    // The commands that act on the open project and do nothing without one: "Save", "Undo", "Redo", "Build",
    // "Start" and "Dataset Report". The window disables them while no project is open.
    QList<QAction*> NeedingProject() const;

    QAction* pOpenProject = nullptr;
    QAction* pNewProject = nullptr;
    QAction* pSave = nullptr;
    QAction* pUndo = nullptr;
    QAction* pRedo = nullptr;
    QAction* pSetting = nullptr;
    QAction* pLayout1x1 = nullptr;
    QAction* pLayout2x1 = nullptr;
    QAction* pLayout2x2 = nullptr;
    QAction* pStart = nullptr;
    QAction* pStop = nullptr;
    QAction* pBuild = nullptr;
    QAction* pDatasetReport = nullptr;
    QMenu* pRecentMenu = nullptr;

    QToolBar* pToolBar = nullptr;
    QMenu* pFileMenu = nullptr;
    QMenu* pEditMenu = nullptr;
    QMenu* pRunMenu = nullptr;
    QMenu* pHelpMenu = nullptr;
    // The separator after the project file commands of "File": a command that joins them goes before it.
    QAction* pFileCommandsEnd = nullptr;
    // The spacer that pushes "Setting" to the far end of the tool bar: a command that joins the bar goes before it.
    QAction* pToolBarSpacer = nullptr;
};
