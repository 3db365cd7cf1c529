#include "CCanvasNavigationActions.h"

#include "canvas/CImageView2D.h"
#include "project/CProjectController.h"
#include "workspace/CImageViewerController.h"
#include "workspace/CImageWorkspaceController.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QStatusBar>

CCanvasNavigationActions::CCanvasNavigationActions(QWidget* pWindow, QMenu* pEditMenu,
                                                   CImageWorkspaceController* pWorkspace,
                                                   CProjectController* pController)
    : m_pWorkspace(pWorkspace), m_pController(pController)
{
    const auto make = [pWindow](const QString& strText, const QKeySequence& keys)
    {
        auto* pAction = new QAction(strText, pWindow);
        pAction->setShortcut(keys);
        // Only over a canvas: the window's other widgets keep these keys.
        pAction->setShortcutContext(Qt::WidgetShortcut);
        return pAction;
    };
    pNextImage = make("Next Image", QKeySequence(Qt::Key_PageDown));
    pPreviousImage = make("Previous Image", QKeySequence(Qt::Key_PageUp));
    pNextImageWithoutBoxes = make("Next Image Without Boxes", QKeySequence(Qt::CTRL + Qt::Key_PageDown));
    pCopyPreviousBoxes = make("Copy boxes from previous image", QKeySequence(Qt::CTRL + Qt::SHIFT + Qt::Key_V));
    const QList<QAction*> lstActions = {pNextImage, pPreviousImage, pNextImageWithoutBoxes, pCopyPreviousBoxes};

    pEditMenu->addSeparator();
    pEditMenu->addActions(lstActions);
    for (int nViewID = 0; pWorkspace && nViewID < CImageWorkspaceController::kViewerCount; ++nViewID)
    {
        CImageViewerController* pViewer = pWorkspace->GetViewerController(nViewID);
        if (pViewer && pViewer->GetCanvas())
            pViewer->GetCanvas()->addActions(lstActions);
    }

    QPointer<QStatusBar> pStatusBar;
    if (auto* pMainWindow = qobject_cast<QMainWindow*>(pWindow))
        pStatusBar = pMainWindow->statusBar();
    const auto open = [this, pStatusBar](int nStep, bool bWithoutBoxes)
    {
        const int nViewID = TargetViewID();
        if (!m_pController || nViewID < 0 || m_pController->OpenAdjacentImage(nViewID, nStep, bWithoutBoxes))
            return;
        // A search that found nothing says so; otherwise the key would seem not to work.
        if (bWithoutBoxes && pStatusBar && m_pController->GetImageOfView(nViewID) >= 0)
            pStatusBar->showMessage("No image without boxes left", 5000);
    };
    QObject::connect(pNextImage, &QAction::triggered, pWindow, [open] { open(1, false); });
    QObject::connect(pPreviousImage, &QAction::triggered, pWindow, [open] { open(-1, false); });
    QObject::connect(pNextImageWithoutBoxes, &QAction::triggered, pWindow, [open] { open(1, true); });
    QObject::connect(pCopyPreviousBoxes, &QAction::triggered, pWindow,
                     [this]
                     {
                         const int nViewID = TargetViewID();
                         if (m_pController && nViewID >= 0)
                             m_pController->CopyPreviousBoxes(nViewID);
                     });
}

int CCanvasNavigationActions::TargetViewID() const
{
    for (int nViewID = 0; m_pWorkspace && nViewID < CImageWorkspaceController::kViewerCount; ++nViewID)
    {
        CImageViewerController* pViewer = m_pWorkspace->GetViewerController(nViewID);
        if (pViewer && pViewer->GetCanvas() && pViewer->GetCanvas()->hasFocus())
            return nViewID;
    }
    // Chosen from the menu, the canvas may have lost the focus to it.
    return m_pController ? m_pController->GetCurrentViewID() : -1;
}
