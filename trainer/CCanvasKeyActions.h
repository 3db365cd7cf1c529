#pragma once

#include <QPointer>
#include <QString>

class CCanvasNavigationActions;
class CImageWorkspaceController;
class CMainWindowActions;
class QAction;
class QWidget;

// The main window's commands for labelling from the keyboard: "Draw Box" (W, over a canvas only, so that text fields
// keep the letter) and the checkable "Keep Drawing Mode" in the "Edit" menu, and "Keyboard Shortcuts" in the "Help"
// menu, which lists every shortcut of the window and the keys a canvas reads itself. "Keep Drawing Mode" is
// remembered as the setting KEEP_DRAWING and is off unless stored on; while on, a drawing mode stays after each box.
// "Accept All Proposals" (Ctrl+Return, over a canvas) and "Clear Proposals" ask the target viewer's canvas for what
// its own keys ask (CImageView2D's proposal intents).
// The actions are children of the window; this object only keeps pointers.
class CCanvasKeyActions
{
public:
    static inline const QString KEEP_DRAWING = QStringLiteral("TRAINER_KEEP_DRAWING_MODE");

    // The actions are made children of pWindow and placed in the menus of its commands. "Draw Box" acts on the viewer
    // that the navigation commands act on. Workspace and navigation are not owned and must outlive the window's
    // actions; the workspace may be null.
    CCanvasKeyActions(QWidget* pWindow, const CMainWindowActions& commands, const CCanvasNavigationActions& navigation,
                      CImageWorkspaceController* pWorkspace);

    // The shortcut list that "Keyboard Shortcuts" shows: one line per command with keys, then the canvas's own keys.
    QString ShortcutText() const;

    QAction* pDrawBox = nullptr;
    QAction* pKeepDrawing = nullptr;
    QAction* pShortcuts = nullptr;
    QAction* pAcceptAllProposals = nullptr;
    QAction* pClearProposals = nullptr;

private:
    QPointer<QWidget> m_pWindow;
};
