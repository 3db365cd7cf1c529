#include "CCanvasKeyActions.h"

#include "CCanvasNavigationActions.h"
#include "CMainWindowActions.h"
#include "canvas/CImageView2D.h"
#include "canvas/CImageView2DController.h"
#include "canvas/CImageViewModeModel.h"
#include "frame/CPrompt.h"
#include "frame/CSetting.h"
#include "workspace/CImageViewerController.h"
#include "workspace/CImageWorkspaceController.h"

#include <QAction>
#include <QMenu>

CCanvasKeyActions::CCanvasKeyActions(QWidget* pWindow, const CMainWindowActions& commands,
                                     const CCanvasNavigationActions& navigation, CImageWorkspaceController* pWorkspace)
    : m_pWindow(pWindow)
{
    pDrawBox = new QAction("Draw Box", pWindow);
    pDrawBox->setShortcut(QKeySequence(Qt::Key_W));
    // Only over a canvas: text fields and the tree keep the letter.
    pDrawBox->setShortcutContext(Qt::WidgetShortcut);
    pKeepDrawing = new QAction("Keep Drawing Mode", pWindow);
    pKeepDrawing->setCheckable(true);
    pKeepDrawing->setToolTip("Keep Drawing Mode: after each box the next drag draws another");
    pShortcuts = new QAction("Keyboard Shortcuts", pWindow);
    pAcceptAllProposals = new QAction("Accept All Proposals", pWindow);
    pAcceptAllProposals->setShortcut(QKeySequence(Qt::CTRL + Qt::Key_Return));
    pAcceptAllProposals->setShortcutContext(Qt::WidgetShortcut);
    pClearProposals = new QAction("Clear Proposals", pWindow);

    commands.pEditMenu->addSeparator();
    commands.pEditMenu->addActions({pDrawBox, pKeepDrawing, pAcceptAllProposals, pClearProposals});
    commands.pHelpMenu->insertAction(commands.pHelpMenu->actions().value(0), pShortcuts);
    for (int nViewID = 0; pWorkspace && nViewID < CImageWorkspaceController::kViewerCount; ++nViewID)
    {
        CImageViewerController* pViewer = pWorkspace->GetViewerController(nViewID);
        if (pViewer && pViewer->GetCanvas())
            pViewer->GetCanvas()->addActions({pDrawBox, pAcceptAllProposals});
    }

    QPointer<CImageWorkspaceController> pSafeWorkspace(pWorkspace);
    QObject::connect(pDrawBox, &QAction::triggered, pWindow,
                     [pSafeWorkspace, &navigation]
                     {
                         const int nViewID = navigation.TargetViewID();
                         CImageViewerController* pViewer =
                             pSafeWorkspace && nViewID >= 0 ? pSafeWorkspace->GetViewerController(nViewID) : nullptr;
                         if (pViewer && pViewer->GetCanvasController())
                             pViewer->GetCanvasController()->slot_SelectROIRectangle();
                     });
    // What the canvas's keys mean, for the canvas the commands act on.
    const auto targetCanvas = [pSafeWorkspace, &navigation]() -> CImageView2D*
    {
        const int nViewID = navigation.TargetViewID();
        CImageViewerController* pViewer =
            pSafeWorkspace && nViewID >= 0 ? pSafeWorkspace->GetViewerController(nViewID) : nullptr;
        return pViewer ? pViewer->GetCanvas() : nullptr;
    };
    QObject::connect(pAcceptAllProposals, &QAction::triggered, pWindow,
                     [targetCanvas]
                     {
                         if (CImageView2D* pCanvas = targetCanvas())
                             emit pCanvas->signal_AcceptAllProposals();
                     });
    QObject::connect(pClearProposals, &QAction::triggered, pWindow,
                     [targetCanvas]
                     {
                         if (CImageView2D* pCanvas = targetCanvas())
                             emit pCanvas->signal_ClearProposals();
                     });
    QObject::connect(pKeepDrawing, &QAction::toggled, pWindow,
                     [pSafeWorkspace](bool bOn)
                     {
                         CSetting::Set(KEEP_DRAWING, bOn ? 1 : 0);
                         if (pSafeWorkspace && pSafeWorkspace->GetModeModel())
                             pSafeWorkspace->GetModeModel()->SetKeepingDrawingMode(bOn);
                     });
    QObject::connect(pShortcuts, &QAction::triggered, pWindow,
                     [this] { CPrompt::Information(m_pWindow, "Keyboard Shortcuts", ShortcutText()); });
    // Through the toggle, so that the workspace follows the stored choice from the start.
    pKeepDrawing->setChecked(CSetting::GetInt(KEEP_DRAWING, 0) != 0);
}

QString CCanvasKeyActions::ShortcutText() const
{
    QStringList lstLines;
    for (const QAction* pAction :
         m_pWindow ? m_pWindow->findChildren<QAction*>(QString(), Qt::FindDirectChildrenOnly) : QList<QAction*>())
    {
        QStringList lstKeys;
        for (const QKeySequence& keys : pAction->shortcuts())
            lstKeys.append(keys.toString(QKeySequence::NativeText));
        if (!lstKeys.isEmpty())
            lstLines.append(QString("%1: %2").arg(QString(pAction->text()).remove('&'), lstKeys.join(", ")));
    }
    // The keys a canvas reads itself rather than through a command.
    lstLines << "1 to 9 (over a canvas): give the selected boxes that class, or choose the quick class"
             << "Arrow keys (over a canvas): move the selected boxes by one pixel, with Shift by ten"
             << "Escape (over a canvas): cancel the drawing in progress"
             << "Delete, Backspace (over a canvas): delete the selected boxes"
             << "Double-click or Enter on a proposal (over a canvas): accept it as a box of its class"
             << "Delete, Backspace on the selected proposal (over a canvas): reject it"
             << "Escape (over a canvas, not drawing): clear the proposals";
    return lstLines.join('\n');
}
