#pragma once

#include <QPointer>

class CImageWorkspaceController;
class CProjectController;
class QAction;
class QMenu;
class QWidget;

// The main window's commands for moving through the project from a canvas, in the "Edit" menu: "Next Image"
// (Page Down), "Previous Image" (Page Up), "Next Image Without Boxes" (Ctrl+Page Down) and "Copy boxes from previous
// image" (Ctrl+Shift+V). Their keys work only over a canvas, so that the tree and text fields keep Page Up and Down;
// each acts on the viewer whose canvas has the keyboard focus, else on the viewer a project image was opened in last.
// "Next Image Without Boxes" goes on from the training images into the test images, and says in the window's status
// bar when no image without boxes is left.
// The actions are children of the window; this object only keeps pointers.
class CCanvasNavigationActions
{
public:
    // The actions are made children of pWindow and added to its "Edit" menu. Workspace and controller are not owned
    // and must outlive the window's actions.
    CCanvasNavigationActions(QWidget* pWindow, QMenu* pEditMenu, CImageWorkspaceController* pWorkspace,
                             CProjectController* pController);

    // The view the commands act on now, -1 when there is none.
    int TargetViewID() const;

    QAction* pNextImage = nullptr;
    QAction* pPreviousImage = nullptr;
    QAction* pNextImageWithoutBoxes = nullptr;
    QAction* pCopyPreviousBoxes = nullptr;

private:
    QPointer<CImageWorkspaceController> m_pWorkspace;
    QPointer<CProjectController> m_pController;
};
