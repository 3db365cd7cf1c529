#include "MainWindow.h"

#include "CAboutDlg.h"
#include "frame/CController.h"
#include "frame/CLogView.h"
#include "frame/CLogger.h"
#include "frame/CMVCRegistry.h"
#include "frame/CModel.h"
#include "frame/CPrompt.h"
#include "frame/CSetting.h"
#include "frame/CSettingController.h"
#include "frame/CSettingStore.h"
#include "project/CNewProjectController.h"
#include "project/CProjectController.h"
#include "project/CProjectModel.h"
#include "project/ECommandState.h"
#include "views/CFileExplorerView.h"
#include "views/CNewProjectDlg.h"
#include "views/CProjectView.h"
#include "views/CTrainerSettingView.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDockWidget>
#include <QMenu>
#include <QMenuBar>
#include <QOpenGLContext>
#include <QPalette>
#include <QPointer>
#include <QScrollArea>
#include <QSplitter>
#include <QStandardPaths>
#include <QStyleFactory>
#include <QSurfaceFormat>
#include <QTabWidget>
#include <QToolBar>

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent)
{
    CreateSettings();
    CreateDocks();
    CreateActions();
    CMVCRegistry::PushMVC(nullptr, this, nullptr);
    CLogger::Write(ELogLevel_Normal, "MainWindow: Create()");
}

MainWindow::~MainWindow()
{
    CLogger::Write(ELogLevel_Normal, "MainWindow: Destroy()");
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

void MainWindow::CreateSettings()
{
    const QString strProgramName = "OvrelTrainer";
    const QString strDocuments = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString strConfigDir = strDocuments + QDir::separator() + strProgramName;
    const QString strLogDir = strConfigDir + QDir::separator() + "Log";

    // On a fresh machine the documents folder itself may be missing: create the parents too.
    if (!QDir(strConfigDir).exists() && !QDir().mkpath(strConfigDir))
        return;

    CSetting::Set("GENERAL_PROGRAME_NAME", strProgramName);
    CSetting::Set("GENERAL_PROGRAME_VERSION", QString("1.0.0"));
    CSetting::Set("GENERAL_PROGRAM_CONFIG_DIR", strConfigDir);
    CSetting::Set("GENERAL_LOG_DIR", strLogDir);
    CSetting::Set("GENERAL_PDF_RESOLUTION_X", 144.0);
    CSetting::Set("GENERAL_PDF_RESOLUTION_Y", 144.0);
    CSetting::Set("GENERAL_PROJECT_DIR", strDocuments);

    QApplication::setStyle(QStyleFactory::create("Fusion"));

    QPalette palette;
    const QColor grey(45, 45, 45);
    const QColor disabled(127, 127, 127);
    const QColor blue(42, 130, 218);
    palette.setBrush(QPalette::Window, QBrush(grey));
    palette.setBrush(QPalette::WindowText, QBrush(Qt::white));
    palette.setBrush(QPalette::Base, QBrush(QColor(18, 18, 18)));
    palette.setBrush(QPalette::AlternateBase, QBrush(grey));
    palette.setBrush(QPalette::ToolTipBase, QBrush(Qt::white));
    palette.setBrush(QPalette::ToolTipText, QBrush(Qt::white));
    palette.setBrush(QPalette::Text, QBrush(Qt::white));
    palette.setBrush(QPalette::Disabled, QPalette::Text, QBrush(disabled));
    palette.setBrush(QPalette::Button, QBrush(grey));
    palette.setBrush(QPalette::ButtonText, QBrush(Qt::white));
    palette.setBrush(QPalette::Disabled, QPalette::ButtonText, QBrush(disabled));
    palette.setBrush(QPalette::BrightText, QBrush(Qt::red));
    palette.setBrush(QPalette::Link, QBrush(blue));
    palette.setBrush(QPalette::Highlight, QBrush(blue));
    palette.setBrush(QPalette::HighlightedText, QBrush(Qt::black));
    palette.setBrush(QPalette::Disabled, QPalette::HighlightedText, QBrush(disabled));
    QApplication::setPalette(palette);

    qApp->setStyleSheet("QToolTip { color: #ffffff; background-color: #2a82da; border: 1px solid white; } "
                        "QPushButton:checked{background-color: #2d80ed;}");

    if (QOpenGLContext::openGLModuleType() != QOpenGLContext::LibGL)
    {
        CLogger::Write(ELogLevel_Error, "OpenGL Moodule Type isnot LibGL");
        return;
    }
    QSurfaceFormat format;
    format.setVersion(3, 3);
    format.setDepthBufferSize(24);
    format.setProfile(QSurfaceFormat::CoreProfile);
    format.setSwapBehavior(QSurfaceFormat::DoubleBuffer);
    QSurfaceFormat::setDefaultFormat(format);
    CLogger::Write(ELogLevel_Debug, "OpenGL Moodule Type is LibGL");
}

void MainWindow::CreateDocks()
{
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
    addDockWidget(Qt::LeftDockWidgetArea, pLeftDock);

    // The image workspace joins this splitter above the log view and takes twenty times its share.
    auto* pSplitter = new QSplitter(Qt::Vertical, this);
    auto* pLogView = new CLogView(pSplitter);
    pSplitter->addWidget(pLogView);
    pSplitter->setStretchFactor(pSplitter->indexOf(pLogView), 1);
    setCentralWidget(pSplitter);

    connect(m_pProjectModel, &CProjectModel::signal_ChangeCommandState, this, &MainWindow::slot_ChangeCommandState);
    connect(&CSettingStore::GetInstance(), &CSettingStore::signal_UpdateSettingParameter, this,
            &MainWindow::slot_UpdateSettingParameters);
}

void MainWindow::CreateActions()
{
    QToolBar* pToolBar = addToolBar("File");
    pToolBar->setObjectName("File");
    pToolBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);

    m_pOpenProjectAction = new QAction(QIcon(":/Image/open-folder.png"), "Open Project", this);
    connect(m_pOpenProjectAction, &QAction::triggered, this, &MainWindow::slot_OpenProjectFile);
    m_pNewProjectAction = new QAction(QIcon(":/Image/plus.png"), "New Project", this);
    connect(m_pNewProjectAction, &QAction::triggered, this, &MainWindow::slot_OpenNewProjectDlg);
    m_pSettingAction = new QAction(QIcon(":/Image/settings.png"), "Setting", this);
    connect(m_pSettingAction, &QAction::triggered, this, &MainWindow::slot_Settings);

    pToolBar->addAction(m_pOpenProjectAction);
    pToolBar->addAction(m_pNewProjectAction);
    pToolBar->addSeparator();
    // Pushes "Setting" to the far end of the tool bar.
    auto* pSpacer = new QWidget(pToolBar);
    pSpacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    pToolBar->addWidget(pSpacer);
    pToolBar->addAction(m_pSettingAction);

    QMenu* pFileMenu = menuBar()->addMenu("File");
    pFileMenu->addAction(m_pOpenProjectAction);
    pFileMenu->addAction(m_pNewProjectAction);
    pFileMenu->addSeparator();
    m_pRecentMenu = new QMenu("Recent", this);
    pFileMenu->addMenu(m_pRecentMenu);
    pFileMenu->addSeparator();
    auto* pExitAction = new QAction(QIcon(":/Image/exit.png"), "Exit", this);
    connect(pExitAction, &QAction::triggered, this, &MainWindow::slot_Exit);
    pFileMenu->addAction(pExitAction);

    QMenu* pHelpMenu = menuBar()->addMenu("Help");
    auto* pAboutAction = new QAction(QIcon(":/Image/about.png"), "About", this);
    connect(pAboutAction, &QAction::triggered, this, &MainWindow::slot_About);
    pHelpMenu->addAction(pAboutAction);

    // Loading the stored settings announces each value that differs from the store, which fills "Recent".
    m_pSettingView = new CTrainerSettingView(this);
    m_pSettingController = new CSettingController(m_pSettingView);
    // A stored list equal to the one already in the store is not announced: fill the menu from it anyway.
    slot_UpdateSettingParameters(QString(), QVariant());
}

void MainWindow::SplitProjectFilePath(const QString& strPath, QString& strProjectDir, QString& strProjectName)
{
    const int nSeparator = strPath.lastIndexOf(QDir::separator());
    const int nDot = strPath.lastIndexOf('.');
    strProjectDir = nSeparator >= 0 ? strPath.left(nSeparator) : QString();
    strProjectName = strPath.mid(nSeparator + 1, nDot > nSeparator ? nDot - nSeparator - 1 : -1);
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
    const QString strPath = CPrompt::GetOpenFileName(this, "Open File", QString(), "Files (*.data);;All files (*.*)");
    if (strPath.isEmpty())
        return;
    QString strProjectDir;
    QString strProjectName;
    SplitProjectFilePath(QDir::toNativeSeparators(strPath), strProjectDir, strProjectName);
    if (m_pProjectController)
        m_pProjectController->OpenProject(strProjectDir, strProjectName);
}

void MainWindow::slot_ChangeCommandState()
{
    if (!m_pProjectModel)
        return;
    m_nCommandState = m_pProjectModel->GetCommandState();
    if (m_nCommandState != ECommandState_Stopped && m_nCommandState != ECommandState_Running &&
        m_nCommandState != ECommandState_Starting)
        return;
    const bool bStopped = m_nCommandState == ECommandState_Stopped;
    for (QAction* pAction : {m_pOpenProjectAction, m_pNewProjectAction, m_pSettingAction})
    {
        if (pAction)
            pAction->setEnabled(bStopped);
    }
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
    if (!m_pRecentMenu)
        return;
    const QStringList lstHistory = CSetting::GetString("GENERAL_PROGRAME_HISTORIES", "").split(';');
    // Opening a recent project rewrites the list while the triggering entry is still being delivered: the old
    // entries are released later, never under the caller's feet.
    const QList<QAction*> lstOldEntries = m_pRecentMenu->actions();
    m_pRecentMenu->clear();
    for (QAction* pOldEntry : lstOldEntries)
        pOldEntry->deleteLater();
    for (const QString& strEntry : lstHistory)
    {
        if (strEntry.isEmpty())
            continue;
        auto* pAction = new QAction(strEntry, this);
        connect(pAction, &QAction::triggered, this, &MainWindow::slot_OpenRecentProject);
        m_pRecentMenu->addAction(pAction);
    }
}

void MainWindow::slot_OpenRecentProject()
{
    auto* pAction = qobject_cast<QAction*>(sender());
    if (!pAction || !m_pProjectController)
        return;
    QString strProjectDir;
    QString strProjectName;
    SplitProjectFilePath(pAction->text(), strProjectDir, strProjectName);
    m_pProjectController->OpenProject(strProjectDir, strProjectName);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (m_nCommandState == 0)
    {
        QMainWindow::closeEvent(event);
        return;
    }
    const QMessageBox::StandardButton answer = CPrompt::Question(
        nullptr, CSetting::GetString("GENERAL_PROGRAME_NAME", "OvrelTrainer"),
        "Program is running, do you want to close it?", QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer == QMessageBox::Yes)
        event->accept();
    else
        event->ignore();
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
