#include "CMainWindowActions.h"

#include "MainWindow.h"
#include "workspace/CImageWorkspaceController.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

namespace
{
template <typename Receiver, typename Slot>
QAction* MakeAction(MainWindow* pWindow, const QString& strIcon, const QString& strText,
                    const QList<QKeySequence>& lstShortcuts, Receiver* pReceiver, Slot slot)
{
    auto* pAction = new QAction(QIcon(strIcon), strText, pWindow);
    pAction->setShortcuts(lstShortcuts);
    // The tool bar shows the action's tool tip; the first shortcut is the one a user reads about.
    if (lstShortcuts.isEmpty())
        pAction->setToolTip(strText);
    else
        pAction->setToolTip(strText + " (" + lstShortcuts.first().toString(QKeySequence::NativeText) + ")");
    if (pReceiver)
        QObject::connect(pAction, &QAction::triggered, pReceiver, slot);
    return pAction;
}
} // namespace

CMainWindowActions::CMainWindowActions(MainWindow* pWindow, CImageWorkspaceController* pWorkspace)
{
    using W = MainWindow;
    using C = CImageWorkspaceController;

    pToolBar = pWindow->addToolBar("File");
    pToolBar->setObjectName("File");
    pToolBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);

    pOpenProject = MakeAction(pWindow, ":/Image/open-folder.png", "Open Project",
                              QKeySequence::keyBindings(QKeySequence::Open), pWindow, &W::slot_OpenProjectFile);
    pNewProject = MakeAction(pWindow, ":/Image/plus.png", "New Project", QKeySequence::keyBindings(QKeySequence::New),
                             pWindow, &W::slot_OpenNewProjectDlg);
    pSave = MakeAction(pWindow, ":/Image/save_file.png", "Save", QKeySequence::keyBindings(QKeySequence::Save),
                       pWorkspace, &C::slot_SaveFile);
    // The canvas reads these keys too, but a window shortcut takes the key first: one press is one undo, and the
    // workspace hands it to the canvas with the keyboard focus only.
    pUndo = MakeAction(pWindow, ":/Image/undo.png", "Undo", QKeySequence::keyBindings(QKeySequence::Undo), pWindow,
                       &W::slot_Undo);
    pRedo = MakeAction(pWindow, ":/Image/redo.png", "Redo", QKeySequence::keyBindings(QKeySequence::Redo), pWindow,
                       &W::slot_Redo);
    pLayout1x1 = MakeAction(pWindow, ":/Image/layout1x1.png", "[1x1]", {}, pWorkspace, &C::slot_ChangeLayout1x1);
    pLayout2x1 = MakeAction(pWindow, ":/Image/layout2x1.png", "[2x1]", {}, pWorkspace, &C::slot_ChangeLayout2x1);
    pLayout2x2 = MakeAction(pWindow, ":/Image/layout2x2.png", "[2x2]", {}, pWorkspace, &C::slot_ChangeLayout2x2);
    pStart = MakeAction(pWindow, ":/Image/play.png", "Start", {QKeySequence(Qt::Key_F5)}, pWindow, &W::slot_Start);
    pStop =
        MakeAction(pWindow, ":/Image/stop.png", "Stop", {QKeySequence(Qt::SHIFT + Qt::Key_F5)}, pWindow, &W::slot_Stop);
    pSetting = MakeAction(pWindow, ":/Image/settings.png", "Setting", {}, pWindow, &W::slot_Settings);
    pBuild = MakeAction(pWindow, ":/Image/configure.png", "Build",
                        {QKeySequence(Qt::Key_F7), QKeySequence(Qt::CTRL + Qt::Key_B)}, pWindow, &W::slot_Build);
    QAction* pExit = MakeAction(pWindow, ":/Image/exit.png", "Exit", {}, pWindow, &W::slot_Exit);
    QAction* pAbout = MakeAction(pWindow, ":/Image/about.png", "About", {}, pWindow, &W::slot_About);

    pToolBar->addActions({pOpenProject, pNewProject, pSave});
    pToolBar->addSeparator();
    pToolBar->addActions({pUndo, pRedo});
    pToolBar->addSeparator();
    pToolBar->addActions({pLayout1x1, pLayout2x1, pLayout2x2});
    pToolBar->addSeparator();
    pToolBar->addActions({pStart, pStop});
    pToolBar->addSeparator();
    // Pushes "Setting" to the far end of the tool bar.
    auto* pSpacer = new QWidget(pToolBar);
    pSpacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    pToolBarSpacer = pToolBar->addWidget(pSpacer);
    pToolBar->addAction(pSetting);

    pFileMenu = pWindow->menuBar()->addMenu("File");
    pFileMenu->addActions({pOpenProject, pNewProject, pSave});
    pFileCommandsEnd = pFileMenu->addSeparator();
    pRecentMenu = new QMenu("Recent", pWindow);
    pFileMenu->addMenu(pRecentMenu);
    pFileMenu->addSeparator();
    pFileMenu->addAction(pExit);

    pEditMenu = pWindow->menuBar()->addMenu("Edit");
    pEditMenu->addActions({pUndo, pRedo});
    pEditMenu->addSeparator();
    pEditMenu->addActions({pLayout1x1, pLayout2x1, pLayout2x2});

    pRunMenu = pWindow->menuBar()->addMenu("Run");
    pRunMenu->addActions({pBuild, pStart, pStop});
    pRunMenu->addSeparator();
    pDatasetReport =
        MakeAction(pWindow, ":/Image/configure.png", "Dataset Report", {}, pWindow, &W::slot_DatasetReport);
    pRunMenu->addAction(pDatasetReport);
    pRunMenu->addSeparator();
    pRunMenu->addAction(pSetting);

    // The image tools open beside the window, each bound to a viewer the user picks in it.
    QMenu* pToolsMenu = pWindow->menuBar()->addMenu("Tools");
    pToolsMenu->addAction(MakeAction(pWindow, "", "Sobel", {}, pWindow, &W::slot_Sobel));
    pToolsMenu->addAction(MakeAction(pWindow, "", "Median", {}, pWindow, &W::slot_Median));
    pToolsMenu->addAction(MakeAction(pWindow, "", "OCR", {}, pWindow, &W::slot_OCR));

    pHelpMenu = pWindow->menuBar()->addMenu("Help");
    pHelpMenu->addAction(pAbout);
}

QList<QAction*> CMainWindowActions::LockedWhileRunning() const
{
    return {pOpenProject, pNewProject, pSave, pUndo, pRedo, pSetting, pStart};
}

QList<QAction*> CMainWindowActions::NeedingProject() const
{
    return {pSave, pUndo, pRedo, pBuild, pStart, pDatasetReport};
}
