#include "MainWindow.h"

#include "CAboutDlg.h"
#include "CCanvasKeyActions.h"
#include "CCanvasNavigationActions.h"
#include "CEvaluationActions.h"
#include "CEvaluationDock.h"
#include "CInsightDocks.h"
#include "CMainWindowActions.h"
#include "CModelActions.h"
#include "CQuickAnnotationActions.h"
#include "CTrainerSetup.h"
#include "CWindowMemory.h"
#include "frame/CController.h"
#include "frame/CFolderMemory.h"
#include "frame/CLogView.h"
#include "frame/CLogger.h"
#include "frame/CMVCRegistry.h"
#include "frame/CModel.h"
#include "frame/CPrompt.h"
#include "frame/CSetting.h"
#include "frame/CSettingController.h"
#include "frame/CSettingStore.h"
#include "process/CImageProcessToolFactory.h"
#include "project/CProjectController.h"
#include "project/CProjectModel.h"
#include "project/CRunCloseQuestion.h"
#include "project/ECommandState.h"
#include "project/report/CDatasetReport.h"
#include "project/run/CTrainingChartModel.h"
#include "project/run/CTrainingRun.h"
#include "project/store/CProjectLayout.h"
#include "views/CBoxListController.h"
#include "views/CBoxListView.h"
#include "views/CDatasetReportView.h"
#include "views/CFileExplorerView.h"
#include "views/CNewProjectController.h"
#include "views/CNewProjectDlg.h"
#include "views/CProjectView.h"
#include "views/CTrainerSettingView.h"
#include "views/CTrainingChartView.h"
#include "workspace/CImageLayoutModel.h"
#include "workspace/CImageWorkspaceController.h"
#include "workspace/CImageWorkspaceView.h"
#include "workspace/CWorkspaceBottomPanel.h"
#include "workspace/CWorkspacePropertyPanel.h"
#include "workspace/CWorkspaceToolPanel.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QDockWidget>
#include <QFileInfo>
#include <QMenu>
#include <QPointer>
#include <QScrollArea>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent)
{
    CTrainerSetup::Apply();
    CreateDocks();
    m_pInsightDocks = new CInsightDocks(this, m_pProjectController, m_pProjectView);
    CreateBoxListDock();
    m_pEvaluationDock = new CEvaluationDock(this, findChild<QDockWidget*>("Right Dock"));
    CreateActions();
    // Every dock, tool bar and splitter exists now, so the central splitter's name is the last one given.
    m_pWindowMemory = new CWindowMemory(this, m_pLayoutModel);
    CMVCRegistry::PushMVC(nullptr, this, nullptr);
    CLogger::Write(ELogLevel_Normal, "MainWindow: Create()");
}

MainWindow::~MainWindow()
{
    CLogger::Write(ELogLevel_Normal, "MainWindow: Destroy()");
    // The window is hidden while it goes: nothing may be saved from the parts deleted below.
    delete m_pWindowMemory;
    m_pWindowMemory = nullptr;
    delete m_pLayoutModel;
    m_pLayoutModel = nullptr;
    delete m_pWorkspaceView;
    m_pWorkspaceView = nullptr;
    delete m_pWorkspaceController;
    m_pWorkspaceController = nullptr;
    delete m_pProjectModel;
    m_pProjectModel = nullptr;
    delete m_pProjectController;
    m_pProjectController = nullptr;
    for (STool& sTool : m_vctTools)
    {
        // The view goes later with the window's children; its destruction must not come back to this window.
        if (sTool.pView)
            disconnect(sTool.pView, nullptr, this, nullptr);
        delete sTool.pController;
        delete sTool.pModel;
    }
    m_vctTools.clear();
    delete m_pSettingController;
    m_pSettingController = nullptr;
}

void MainWindow::CreateDocks()
{
    auto* pToolPanel = new CWorkspaceToolPanel(this);
    auto* pPropertyPanel = new CWorkspacePropertyPanel(this);
    auto* pBottomPanel = new CWorkspaceBottomPanel(this);

    auto* pToolDock = new QDockWidget("Tool Dock", this);
    pToolDock->setObjectName("Tool Dock");
    pToolPanel->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Maximum);
    pToolDock->setWidget(pToolPanel);
    pToolDock->setAllowedAreas(Qt::LeftDockWidgetArea);
    addDockWidget(Qt::LeftDockWidgetArea, pToolDock);

    auto* pFileExplorer = new CFileExplorerView(this);

    auto* pLeftDock = new QDockWidget("Left Dock", this);
    pLeftDock->setObjectName("Left Dock");
    auto* pLeftTabs = new QTabWidget(pLeftDock);
    pLeftTabs->setTabPosition(QTabWidget::West);
    m_pProjectModel = new CProjectModel();
    m_pProjectView = new CProjectView(m_pProjectModel, this);
    m_pProjectController = new CProjectController(m_pProjectModel, m_pProjectView);
    auto* pProjectScroll = new QScrollArea(pLeftTabs);
    pProjectScroll->setWidget(m_pProjectView);
    pProjectScroll->setWidgetResizable(true);
    pLeftTabs->addTab(pProjectScroll, "Project");
    pLeftTabs->addTab(pFileExplorer, "File Explorer");
    pLeftDock->setWidget(pLeftTabs);
    pLeftDock->setAllowedAreas(Qt::AllDockWidgetAreas);
    // Added after the "Tool Dock", so it stands below it.
    addDockWidget(Qt::LeftDockWidgetArea, pLeftDock);

    auto* pRightDock = new QDockWidget("Right Dock", this);
    pRightDock->setObjectName("Right Dock");
    auto* pRightTabs = new QTabWidget(pRightDock);
    pRightTabs->setTabPosition(QTabWidget::East);
    pRightTabs->addTab(pPropertyPanel, "Property");
    pRightDock->setWidget(pRightTabs);
    pRightDock->setAllowedAreas(Qt::AllDockWidgetAreas);
    addDockWidget(Qt::RightDockWidgetArea, pRightDock);

    auto* pBottomDock = new QDockWidget("Bottom Dock", this);
    pBottomDock->setObjectName("Bottom Dock");
    pBottomPanel->setMaximumHeight(0);
    pBottomDock->setWidget(pBottomPanel);
    pBottomDock->setAllowedAreas(Qt::BottomDockWidgetArea);
    addDockWidget(Qt::BottomDockWidgetArea, pBottomDock);

    m_pLayoutModel = new CImageLayoutModel();
    m_pWorkspaceView = new CImageWorkspaceView(m_pLayoutModel, this);
    m_pWorkspaceController =
        new CImageWorkspaceController(m_pLayoutModel, m_pWorkspaceView, pToolPanel, pPropertyPanel, pBottomPanel);

    auto* pSplitter = new QSplitter(Qt::Vertical, this);
    pSplitter->setObjectName("Workspace Splitter");
    pSplitter->addWidget(m_pWorkspaceView);
    pSplitter->addWidget(new CLogView(pSplitter));
    pSplitter->setStretchFactor(0, 20);
    pSplitter->setStretchFactor(1, 1);
    setCentralWidget(pSplitter);

    connect(pFileExplorer, &CFileExplorerView::signal_SelectFiles, m_pWorkspaceController,
            &CImageWorkspaceController::slot_SelectFiles);
    // The controller is looked up at each call: the callback may outlive neither the window nor the controller.
    QPointer<CProjectController> pProjectController(m_pProjectController);
    m_pWorkspaceController->RegisterGeometryAction("Update", QIcon(":/Image/configure.png"),
                                                   [pProjectController](int nViewID, unsigned int nGeometryUID)
                                                   {
                                                       if (pProjectController)
                                                           pProjectController->ChangeROIClass(nViewID, nGeometryUID);
                                                   });
    connect(m_pWorkspaceView, &CImageWorkspaceView::signal_AddDrawableObjectWithViewID, m_pProjectController,
            &CProjectController::slot_AddDrawableObjectWithViewID);
    connect(m_pWorkspaceView, &CImageWorkspaceView::signal_BeforeDeleteDrawableObjectWithViewID, m_pProjectController,
            &CProjectController::slot_BeforeDeleteDrawableObjectWithViewID);
    connect(m_pWorkspaceView, &CImageWorkspaceView::signal_ChangeDrawableObjectPropertyWithViewID, m_pProjectController,
            &CProjectController::slot_ChangeDrawableObjectPropertyWithViewID);
    connect(m_pProjectModel, &CProjectModel::signal_ChangeCommandState, this, &MainWindow::slot_ChangeCommandState);
    connect(&CSettingStore::GetInstance(), &CSettingStore::signal_UpdateSettingParameter, this,
            &MainWindow::slot_UpdateSettingParameters);
    connect(m_pProjectModel, &CProjectModel::signal_ChangeProject, this, &MainWindow::slot_UpdateTitle);
    connect(m_pProjectModel, &CProjectModel::signal_CloseProject, this, &MainWindow::slot_UpdateTitle);
    slot_UpdateTitle();
}

void MainWindow::CreateBoxListDock()
{
    m_pBoxListView = new CBoxListView(this);
    m_pBoxListController = new CBoxListController(m_pBoxListView, m_pWorkspaceController, m_pProjectController, this);
    auto* pBoxDock = new QDockWidget("Boxes", this);
    pBoxDock->setObjectName("Boxes");
    pBoxDock->setWidget(m_pBoxListView);
    addDockWidget(Qt::RightDockWidgetArea, pBoxDock);
    if (auto* pRightDock = findChild<QDockWidget*>("Right Dock"))
    {
        tabifyDockWidget(pRightDock, pBoxDock);
        pRightDock->raise();
    }
}

void MainWindow::slot_DatasetReport()
{
    CDatasetReport report;
    if (!m_pProjectController || !m_pProjectController->MakeDatasetReport(report))
        return;
    m_pInsightDocks->ShowReport(report);
}

void MainWindow::CreateActions()
{
    m_pActions = std::make_unique<CMainWindowActions>(this, m_pWorkspaceController);

    // Loading the stored settings announces each value that differs from the store, which fills "Recent".
    m_pSettingView = new CTrainerSettingView(this);
    m_pSettingController = new CSettingController(m_pSettingView);
    // Stored through the controller: the dialog shows the trainer that "Start" runs.
    CTrainerSetup::FillTrainerDefaults(CTrainerSetup::INSTALLED_DARKNET);
    // A stored list equal to the one already in the store is not announced: fill the menu from it anyway.
    slot_UpdateSettingParameters(QString(), QVariant());
    // After the settings are loaded: "Quick class" starts as stored.
    m_pQuickActions = std::make_unique<CQuickAnnotationActions>(this, *m_pActions, m_pWorkspaceController,
                                                                m_pProjectModel, m_pProjectController);
    m_pNavigationActions = std::make_unique<CCanvasNavigationActions>(this, m_pActions->pEditMenu,
                                                                      m_pWorkspaceController, m_pProjectController);
    m_pKeyActions =
        std::make_unique<CCanvasKeyActions>(this, *m_pActions, *m_pNavigationActions, m_pWorkspaceController);
    m_pModelActions = std::make_unique<CModelActions>(
        this, m_pActions->pRunMenu, m_pActions->pSetting, m_pActions->pToolBar, m_pActions->pToolBarSpacer,
        m_pProjectModel, m_pProjectController, [this] { return m_pNavigationActions->TargetViewID(); });
    m_pEvaluationActions =
        new CEvaluationActions(this, *m_pActions, m_pProjectModel, m_pProjectController, m_pEvaluationDock->GetView());
    connect(m_pProjectModel, &CProjectModel::signal_ChangeProject, this, &MainWindow::UpdateCommands);
    connect(m_pProjectModel, &CProjectModel::signal_CloseProject, this, &MainWindow::UpdateCommands);
    UpdateCommands();
}

QMenu* MainWindow::GetRecentMenu() const
{
    return m_pActions ? m_pActions->pRecentMenu : nullptr;
}

CTrainingChartModel* MainWindow::GetTrainingChartModel() const
{
    return m_pInsightDocks->GetChartModel();
}

CTrainingChartView* MainWindow::GetTrainingChartView() const
{
    return m_pInsightDocks->GetChartView();
}

CDatasetReportView* MainWindow::GetDatasetReportView() const
{
    return m_pInsightDocks->GetReportView();
}

CEvaluationView* MainWindow::GetEvaluationView() const
{
    return m_pEvaluationDock->GetView();
}

QAction* MainWindow::GetAction(const QString& strText) const
{
    for (QAction* pAction : findChildren<QAction*>(QString(), Qt::FindDirectChildrenOnly))
    {
        if (pAction->text() == strText && !pAction->menu())
            return pAction;
    }
    return nullptr;
}

void MainWindow::slot_Undo()
{
    if (m_pWorkspaceController)
        m_pWorkspaceController->Undo();
}

void MainWindow::slot_Redo()
{
    if (m_pWorkspaceController)
        m_pWorkspaceController->Redo();
}

void MainWindow::slot_Settings()
{
    if (!m_pSettingView)
        m_pSettingView = new CTrainerSettingView(this);
    if (!m_pSettingController)
        m_pSettingController = new CSettingController(m_pSettingView);
    CPrompt::ExecDialog(m_pSettingView);
}

void MainWindow::slot_DeleteObject(QObject* pObject)
{
    if (!pObject)
        return;
    for (auto it = m_vctTools.begin(); it != m_vctTools.end(); ++it)
    {
        if (it->pView != pObject)
            continue;
        delete it->pController;
        delete it->pModel;
        m_vctTools.erase(it);
        return;
    }
}

void MainWindow::slot_OpenNewProjectDlg()
{
    auto* pDialog = new CNewProjectDlg(this);
    auto* pController = new CNewProjectController(pDialog);
    connect(pController, &CNewProjectController::signal_OpenProject, this, &MainWindow::slot_OpenProject);
    m_vctTools.push_back(STool{nullptr, pController, pDialog});
    pDialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(pDialog, &QObject::destroyed, this, &MainWindow::slot_DeleteObject);
    pDialog->setModal(true);

    QPointer<CNewProjectDlg> pGuard(pDialog);
    CPrompt::ExecDialog(pDialog);
    // A dialog that ends without being closed (rejected by a key, or answered by a prompt handler) still goes.
    if (pGuard)
        pGuard->close();
}

void MainWindow::slot_OpenProject(const QString& strProjectDir, const QString& strProjectName)
{
    if (m_pProjectController)
        m_pProjectController->OpenProject(strProjectDir, strProjectName);
}

void MainWindow::slot_OpenProjectFile()
{
    const QString strPath = CPrompt::GetOpenFileName(this, "Open File", CFolderMemory::Folder(CFolderMemory::PROJECTS),
                                                     "Files (*.data);;All files (*.*)");
    if (strPath.isEmpty())
        return;
    CFolderMemory::Remember(CFolderMemory::PROJECTS, strPath);
    slot_OpenProjectPath(strPath);
}

void MainWindow::slot_OpenProjectPath(const QString& strPath)
{
    const CProjectLayout layout = CProjectLayout::FromProjectFile(strPath);
    if (m_pProjectController)
        m_pProjectController->OpenProject(layout.ProjectDir(), layout.ProjectName());
}

QString MainWindow::ProjectArgument(const QStringList& lstArguments)
{
    for (const QString& strArgument : lstArguments.mid(1))
    {
        if (!strArgument.startsWith('-'))
            return strArgument;
    }
    return QString();
}

void MainWindow::slot_Start()
{
    if (m_pProjectController)
        m_pProjectController->StartCommand();
}

void MainWindow::slot_Stop()
{
    if (m_pProjectController)
        m_pProjectController->StopCommand();
}

void MainWindow::slot_Build()
{
    if (m_pProjectController)
        m_pProjectController->BuildProject();
}

void MainWindow::slot_ChangeCommandState()
{
    if (!m_pProjectModel || !m_pActions || !m_pWorkspaceView)
        return;
    m_nCommandState = m_pProjectModel->GetCommandState();
    if (m_nCommandState != ECommandState_Stopped && m_nCommandState != ECommandState_Running &&
        m_nCommandState != ECommandState_Starting)
        return;
    m_bTrainerStopped = m_nCommandState == ECommandState_Stopped;
    UpdateCommands();
}

void MainWindow::UpdateCommands()
{
    if (!m_pProjectModel || !m_pActions || !m_pWorkspaceView)
        return;
    // A command that would do nothing looks it: without a project, "Start" used to do nothing without a word.
    const bool bOpen = !m_pProjectModel->GetProjectDir().isEmpty();
    const QList<QAction*> lstNeedingProject = m_pActions->NeedingProject();
    for (QAction* pAction : lstNeedingProject)
        pAction->setEnabled(bOpen);
    for (QAction* pAction : m_pActions->LockedWhileRunning())
        pAction->setEnabled(m_bTrainerStopped && (bOpen || !lstNeedingProject.contains(pAction)));
    // A running trainer can always be stopped, open project or not.
    m_pActions->pStop->setEnabled(!m_bTrainerStopped);
    // No image may be edited while the trainer reads the project's files.
    m_pWorkspaceView->setEnabled(m_bTrainerStopped);
}

void MainWindow::slot_About()
{
    CAboutDlg dialog(nullptr);
    CPrompt::ExecDialog(&dialog);
}

void MainWindow::slot_Exit()
{
    close();
}

void MainWindow::slot_UpdateSettingParameters(const QString&, const QVariant&)
{
    QMenu* pRecentMenu = GetRecentMenu();
    if (!pRecentMenu)
        return;
    const QStringList lstHistory = CSetting::GetString("GENERAL_PROGRAME_HISTORIES", "").split(';');
    // Opening a recent project rewrites the list while the triggering entry is still being delivered: the old
    // entries are released later, never under the caller's feet.
    const QList<QAction*> lstOldEntries = pRecentMenu->actions();
    pRecentMenu->clear();
    for (QAction* pOldEntry : lstOldEntries)
        pOldEntry->deleteLater();
    for (const QString& strEntry : lstHistory)
    {
        if (strEntry.isEmpty())
            continue;
        auto* pAction = new QAction(strEntry, this);
        connect(pAction, &QAction::triggered, this, &MainWindow::slot_OpenRecentProject);
        pRecentMenu->addAction(pAction);
    }
}

void MainWindow::slot_OpenRecentProject()
{
    if (auto* pAction = qobject_cast<QAction*>(sender()))
        slot_OpenProjectPath(pAction->text());
}

void MainWindow::slot_UpdateTitle()
{
    const QString strName = m_pProjectModel ? m_pProjectModel->GetProjectName() : QString();
    setWindowTitle(strName.isEmpty() ? QString("OvrelTrainer") : strName + " - OvrelTrainer");
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (m_nCommandState == 0)
    {
        QMainWindow::closeEvent(event);
        return;
    }
    if (CRunCloseQuestion::MayClose(m_pProjectController ? m_pProjectController->Run() : nullptr, m_nCommandState,
                                    nullptr, CSetting::GetString("GENERAL_PROGRAME_NAME", "OvrelTrainer")))
        event->accept();
    else
        event->ignore();
}

void MainWindow::slot_Sobel()
{
    OpenTool(EImageProcessTool_Sobel);
}

void MainWindow::slot_Median()
{
    OpenTool(EImageProcessTool_Median);
}

void MainWindow::slot_OCR()
{
    OpenTool(EImageProcessTool_OCR);
}

void MainWindow::OpenTool(int eTool)
{
    const SMVC tool = CImageProcessToolFactory::Open(static_cast<EImageProcessTool>(eTool), this);
    if (tool.pController)
        m_vctTools.push_back(STool{tool.pModel, tool.pController, tool.pView});
}

void MainWindow::mousePressEvent(QMouseEvent* event)
{
    QMainWindow::mousePressEvent(event);
    for (const STool& sTool : m_vctTools)
    {
        if (sTool.pView && sTool.pView->isWindow())
            sTool.pView->raise();
    }
}
