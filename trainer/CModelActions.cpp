#include "CModelActions.h"

#include "project/CProjectController.h"
#include "project/CProjectModel.h"
#include "project/detection/CModelCommands.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QStatusBar>
#include <QToolBar>

CModelActions::CModelActions(QMainWindow* pWindow, QMenu* pRunMenu, QAction* pMenuBefore, QToolBar* pToolBar,
                             QAction* pToolBarBefore, CProjectModel* pModel, CProjectController* pController,
                             std::function<int()> targetView)
{
    pDetect = new QAction(QIcon(":/Image/search.png"), "Detect", pWindow);
    pDetect->setShortcut(QKeySequence(Qt::CTRL + Qt::Key_D));
    pDetect->setToolTip("Detect (" + pDetect->shortcut().toString(QKeySequence::NativeText) + ")");
    pPreLabel = new QAction("Pre-label Images", pWindow);
    pChooseWeights = new QAction("Choose Weights...", pWindow);
    pThreshold = new QAction("Detection Threshold...", pWindow);

    pRunMenu->insertActions(pMenuBefore, {pDetect, pPreLabel});
    pRunMenu->insertSeparator(pMenuBefore);
    pRunMenu->insertActions(pMenuBefore, {pChooseWeights, pThreshold});
    pRunMenu->insertSeparator(pMenuBefore);
    pToolBar->insertAction(pToolBarBefore, pDetect);

    CModelCommands* pCommands = pController ? pController->ModelCommands() : nullptr;
    if (pCommands)
    {
        QObject::connect(pDetect, &QAction::triggered, pCommands,
                         [pController, pCommands, targetView]
                         {
                             const int nViewID = targetView();
                             pCommands->Detect(nViewID >= 0 ? pController->GetImageOfView(nViewID) : -1);
                         });
        QObject::connect(pPreLabel, &QAction::triggered, pCommands, &CModelCommands::PreLabel);
        QObject::connect(pChooseWeights, &QAction::triggered, pCommands, &CModelCommands::ChooseWeights);
        QObject::connect(pThreshold, &QAction::triggered, pCommands, &CModelCommands::AskThreshold);
        QStatusBar* pStatusBar = pWindow->statusBar();
        QObject::connect(pCommands, &CModelCommands::signal_Status, pStatusBar,
                         [pStatusBar](const QString& strText) { pStatusBar->showMessage(strText); });
    }
    // As "Build" and "Start": without a project there is no model to run.
    const QList<QAction*> lstActions = {pDetect, pPreLabel, pChooseWeights, pThreshold};
    const QPointer<CProjectModel> pGuardedModel(pModel);
    const auto update = [lstActions, pGuardedModel]
    {
        const bool bOpen = pGuardedModel && !pGuardedModel->GetProjectDir().isEmpty();
        for (QAction* pAction : lstActions)
            pAction->setEnabled(bOpen);
    };
    if (pModel)
    {
        QObject::connect(pModel, &CProjectModel::signal_ChangeProject, pDetect, update);
        QObject::connect(pModel, &CProjectModel::signal_CloseProject, pDetect, update);
    }
    update();
}
