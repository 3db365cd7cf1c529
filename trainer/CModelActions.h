#pragma once

#include <functional>

class CModelCommands;
class CProjectController;
class CProjectModel;
class QAction;
class QMainWindow;
class QMenu;
class QToolBar;

// The main window's commands of the trained model, in the "Run" menu before "Setting": "Detect" (Ctrl+D, also in the
// tool bar) on the viewer whose canvas has the keyboard focus (else the one a project image was opened in last),
// "Pre-label Images", "Choose Weights..." and "Detection Threshold...". They are enabled while a project is open;
// what the runs find shows in the window's status bar. The actions are children of the window; this object only
// keeps pointers.
class CModelActions
{
public:
    // targetView gives the view "Detect" acts on, -1 for none. The menu, tool bar and controller must outlive the
    // window's actions; pToolBarBefore is the tool-bar entry "Detect" goes before, pMenuBefore the menu entry the
    // commands go before.
    CModelActions(QMainWindow* pWindow, QMenu* pRunMenu, QAction* pMenuBefore, QToolBar* pToolBar,
                  QAction* pToolBarBefore, CProjectModel* pModel, CProjectController* pController,
                  std::function<int()> targetView);

    QAction* pDetect = nullptr;
    QAction* pPreLabel = nullptr;
    QAction* pChooseWeights = nullptr;
    QAction* pThreshold = nullptr;
};
