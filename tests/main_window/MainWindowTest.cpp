#include "CProjectFixture.h"
#include "CPromptAnswers.h"
#include "CTestSandbox.h"

#include "MainWindow.h"
#include "frame/CLogView.h"
#include "frame/CSetting.h"
#include "project/CProjectModel.h"
#include "project/ECommandState.h"
#include "views/CFileExplorerView.h"
#include "views/CNewProjectDlg.h"
#include "views/CProjectView.h"
#include "views/CTrainerSettingView.h"

#include <QAction>
#include <QDir>
#include <QDockWidget>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollArea>
#include <QSplitter>
#include <QTabWidget>
#include <QToolBar>
#include <QtTest>

#include <memory>

namespace
{
const char* const HISTORY = "GENERAL_PROGRAME_HISTORIES";

QStringList Texts(const QList<QAction*>& lstActions)
{
    QStringList lstTexts;
    for (const QAction* pAction : lstActions)
        lstTexts.append(pAction->isSeparator() ? QString("|") : pAction->text());
    return lstTexts;
}
} // namespace

// The main window's project commands, docks and menus, driven through their actions as a user would.
class MainWindowTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<CTestSandbox> m_pSandbox;
    std::unique_ptr<CPromptAnswers> m_pAnswers;
    std::unique_ptr<MainWindow> m_pWindow;
    QString m_strRoot;
    int m_nCase = 0;

    QMenu* Menu(const QString& strTitle) const;
    QAction* Action(const QString& strText) const;
    QStringList RecentEntries() const { return Texts(m_pWindow->GetRecentMenu()->actions()); }

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void menusHoldFileAndHelpCommands();
    void toolBarHoldsProjectCommandsAndSettingAtTheEnd();
    void leftDockHoldsProjectAndFileExplorerTabs();
    void logViewStandsInCentralSplitter();

    void recentMenuFollowsHistory_data();
    void recentMenuFollowsHistory();
    void recentMenuIsFilledFromSettingsFileAtStart();
    void recentEntryOpensItsProject();
    void recentEntryOfMissingProjectIsForgotten();

    void openProjectOpensChosenFile();
    void projectFilePathSplitsIntoFolderAndName_data();
    void projectFilePathSplitsIntoFolderAndName();
    void newProjectDialogCreatesAndOpensProject();
    void rejectedNewProjectDialogGoesAway();

    void settingRunsSettingsDialog();
    void aboutNamesProgramAndVersion();
    void runningCommandDisablesProjectCommands();
    void exitClosesWindow();
};

void MainWindowTest::initTestCase()
{
    m_pSandbox = std::make_unique<CTestSandbox>();
}

void MainWindowTest::init()
{
    m_pAnswers = std::make_unique<CPromptAnswers>();
    m_pWindow = std::make_unique<MainWindow>();
    CSetting::Set(HISTORY, QString(""));
    m_strRoot = m_pSandbox->Path(QString("case%1").arg(++m_nCase));
    QVERIFY(QDir().mkpath(m_strRoot));
}

void MainWindowTest::cleanup()
{
    m_pWindow.reset();
    m_pAnswers.reset();
}

QMenu* MainWindowTest::Menu(const QString& strTitle) const
{
    for (QAction* pAction : m_pWindow->menuBar()->actions())
    {
        if (pAction->text() == strTitle)
            return pAction->menu();
    }
    return nullptr;
}

QAction* MainWindowTest::Action(const QString& strText) const
{
    for (QAction* pAction : m_pWindow->findChildren<QAction*>())
    {
        if (pAction->text() == strText)
            return pAction;
    }
    return nullptr;
}

void MainWindowTest::menusHoldFileAndHelpCommands()
{
    QCOMPARE(Texts(m_pWindow->menuBar()->actions()), QStringList({"File", "Help"}));
    QCOMPARE(Texts(Menu("File")->actions()), QStringList({"Open Project", "New Project", "|", "Recent", "|", "Exit"}));
    QCOMPARE(Menu("File")->actions().at(3)->menu(), m_pWindow->GetRecentMenu());
    QCOMPARE(Texts(Menu("Help")->actions()), QStringList({"About"}));
}

void MainWindowTest::toolBarHoldsProjectCommandsAndSettingAtTheEnd()
{
    auto* pToolBar = m_pWindow->findChild<QToolBar*>();
    QVERIFY(pToolBar);
    QCOMPARE(pToolBar->windowTitle(), QString("File"));
    QCOMPARE(pToolBar->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
    const QList<QAction*> lstActions = pToolBar->actions();
    QCOMPARE(Texts(lstActions), QStringList({"Open Project", "New Project", "|", "", "Setting"}));
    QWidget* pSpacer = pToolBar->widgetForAction(lstActions.at(3));
    QVERIFY(pSpacer);
    QCOMPARE(pSpacer->sizePolicy().horizontalPolicy(), QSizePolicy::Expanding);
    // The same commands, not copies: disabling one disables it everywhere.
    QCOMPARE(lstActions.at(0), Menu("File")->actions().at(0));
    QCOMPARE(lstActions.at(1), Menu("File")->actions().at(1));
}

void MainWindowTest::leftDockHoldsProjectAndFileExplorerTabs()
{
    QDockWidget* pDock = nullptr;
    for (QDockWidget* pCandidate : m_pWindow->findChildren<QDockWidget*>())
    {
        if (pCandidate->windowTitle() == "Left Dock")
            pDock = pCandidate;
    }
    QVERIFY(pDock);
    QCOMPARE(m_pWindow->dockWidgetArea(pDock), Qt::LeftDockWidgetArea);
    QCOMPARE(pDock->allowedAreas(), Qt::AllDockWidgetAreas);
    auto* pTabs = qobject_cast<QTabWidget*>(pDock->widget());
    QVERIFY(pTabs);
    QCOMPARE(pTabs->tabPosition(), QTabWidget::West);
    QCOMPARE(pTabs->count(), 2);
    QCOMPARE(pTabs->tabText(0), QString("Project"));
    QCOMPARE(pTabs->tabText(1), QString("File Explorer"));
    auto* pScroll = qobject_cast<QScrollArea*>(pTabs->widget(0));
    QVERIFY(pScroll);
    QVERIFY(pScroll->widgetResizable());
    QCOMPARE(pScroll->widget(), static_cast<QWidget*>(m_pWindow->GetProjectView()));
    QVERIFY(qobject_cast<CFileExplorerView*>(pTabs->widget(1)));
}

void MainWindowTest::logViewStandsInCentralSplitter()
{
    auto* pSplitter = qobject_cast<QSplitter*>(m_pWindow->centralWidget());
    QVERIFY(pSplitter);
    QCOMPARE(pSplitter->orientation(), Qt::Vertical);
    QVERIFY(qobject_cast<CLogView*>(pSplitter->widget(pSplitter->count() - 1)));
}

void MainWindowTest::recentMenuFollowsHistory_data()
{
    QTest::addColumn<QString>("history");
    QTest::addColumn<QStringList>("entries");
    QTest::newRow("three projects") << "/a/x.data;/b/y.data;/c/z.data"
                                    << QStringList({"/a/x.data", "/b/y.data", "/c/z.data"});
    QTest::newRow("empty pieces are not shown") << ";/a/x.data;;/b/y.data;" << QStringList({"/a/x.data", "/b/y.data"});
    QTest::newRow("empty history") << "" << QStringList();
}

void MainWindowTest::recentMenuFollowsHistory()
{
    QFETCH(QString, history);
    QFETCH(QStringList, entries);
    CSetting::Set(HISTORY, QString("/previous/p.data"));

    CSetting::Set(HISTORY, history);

    QCOMPARE(RecentEntries(), entries);
    // Any other change of the settings rebuilds the menu as well, to the same entries.
    CSetting::Set("GENERAL_PDF_RESOLUTION_X", 150.0 + m_nCase);
    QCOMPARE(RecentEntries(), entries);
}

void MainWindowTest::recentMenuIsFilledFromSettingsFileAtStart()
{
    CSetting::Set(HISTORY, QString("/a/x.data;/b/y.data"));
    m_pWindow.reset();
    // Without a window nothing writes the settings file: the store now differs from the file.
    CSetting::Set(HISTORY, QString(""));

    m_pWindow = std::make_unique<MainWindow>();

    QCOMPARE(RecentEntries(), QStringList({"/a/x.data", "/b/y.data"}));
}

void MainWindowTest::recentEntryOpensItsProject()
{
    const QString strDir = CProjectFixture::CreateProject(m_strRoot, "recent");
    QVERIFY(!strDir.isEmpty());
    CSetting::Set(HISTORY, QString("/other/o.data;%1/recent.data").arg(strDir));
    QCOMPARE(RecentEntries().size(), 2);

    m_pWindow->GetRecentMenu()->actions().at(1)->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    QCOMPARE(m_pWindow->GetProjectModel()->GetProjectName(), QString("recent"));
    QCOMPARE(m_pWindow->GetProjectModel()->GetProjectDir(), strDir);
    QCOMPARE(RecentEntries(), QStringList({strDir + "/recent.data", "/other/o.data"}));
    QVERIFY(m_pAnswers->asked.isEmpty());
}

void MainWindowTest::recentEntryOfMissingProjectIsForgotten()
{
    CSetting::Set(HISTORY, QString("%1/gone/gone.data").arg(m_strRoot));

    m_pWindow->GetRecentMenu()->actions().at(0)->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    QCOMPARE(m_pAnswers->asked.size(), 1);
    QCOMPARE(m_pAnswers->asked[0].strText, QString("Cannot load project gone"));
    QCOMPARE(RecentEntries(), QStringList());
}

void MainWindowTest::openProjectOpensChosenFile()
{
    const QString strDir = CProjectFixture::CreateProject(m_strRoot, "chosen");
    m_pAnswers->files.push_back(strDir + "/chosen.data");

    Action("Open Project")->trigger();

    QCOMPARE(m_pAnswers->asked.size(), 1);
    QCOMPARE(m_pAnswers->asked[0].strKind, QString("open"));
    QCOMPARE(m_pAnswers->asked[0].strTitle, QString("Open File"));
    QCOMPARE(m_pWindow->GetProjectModel()->GetProjectName(), QString("chosen"));
    QCOMPARE(m_pWindow->GetProjectModel()->GetProjectDir(), strDir);
    QCOMPARE(RecentEntries(), QStringList({strDir + "/chosen.data"}));
}

void MainWindowTest::projectFilePathSplitsIntoFolderAndName_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("name");
    QTest::newRow("project file") << "/p/proj.data"
                                  << "/p"
                                  << "proj";
    QTest::newRow("dots in the name") << "/p/proj.v2.data"
                                      << "/p"
                                      << "proj.v2";
    QTest::newRow("dot only in a folder") << "/p.d/proj"
                                          << "/p.d"
                                          << "proj";
    QTest::newRow("no folder") << "proj.data"
                               << ""
                               << "proj";
    QTest::newRow("no dot at all") << "/p/proj"
                                   << "/p"
                                   << "proj";
}

void MainWindowTest::projectFilePathSplitsIntoFolderAndName()
{
    QFETCH(QString, path);
    QFETCH(QString, folder);
    QFETCH(QString, name);
    QString strFolder;
    QString strName;

    MainWindow::SplitProjectFilePath(path, strFolder, strName);

    QCOMPARE(strFolder, folder);
    QCOMPARE(strName, name);
}

void MainWindowTest::newProjectDialogCreatesAndOpensProject()
{
    const QString strRoot = m_strRoot;
    m_pAnswers->dialogs.push_back(
        [strRoot](QDialog* pDialog)
        {
            auto* pNew = qobject_cast<CNewProjectDlg*>(pDialog);
            if (!pNew)
                return int(QDialog::Rejected);
            pNew->GetNameField()->setText("fresh");
            pNew->GetFolderField()->setText(strRoot);
            QTest::mouseClick(pNew->GetAddButton(), Qt::LeftButton);
            return pNew->result();
        });

    Action("New Project")->trigger();

    QCOMPARE(m_pWindow->GetProjectModel()->GetProjectName(), QString("fresh"));
    QCOMPARE(m_pWindow->GetProjectModel()->GetProjectDir(), strRoot + "/fresh");
    QTRY_VERIFY(m_pWindow->findChildren<CNewProjectDlg*>().isEmpty());
    QCOMPARE(CSetting::GetString("GENERAL_PROJECT_DIR", ""), strRoot);
}

void MainWindowTest::rejectedNewProjectDialogGoesAway()
{
    Action("New Project")->trigger();

    QCOMPARE(m_pAnswers->asked.size(), 1);
    QCOMPARE(m_pAnswers->asked[0].strKind, QString("dialog"));
    QTRY_VERIFY(m_pWindow->findChildren<CNewProjectDlg*>().isEmpty());
    QVERIFY(m_pWindow->GetProjectModel()->GetProjectName().isEmpty());
}

void MainWindowTest::settingRunsSettingsDialog()
{
    QDialog* pShown = nullptr;
    m_pAnswers->dialogs.push_back(
        [&pShown](QDialog* pDialog)
        {
            pShown = pDialog;
            return int(QDialog::Accepted);
        });

    Action("Setting")->trigger();

    QCOMPARE(pShown, static_cast<QDialog*>(m_pWindow->GetSettingView()));
    QCOMPARE(m_pAnswers->asked[0].strTitle, QString("Settings"));
    QVERIFY(m_pWindow->GetSettingView()->GetExecutableField());
}

void MainWindowTest::aboutNamesProgramAndVersion()
{
    QStringList lstLabels;
    QString strTitle;
    m_pAnswers->dialogs.push_back(
        [&](QDialog* pDialog)
        {
            strTitle = pDialog->windowTitle();
            for (const QLabel* pLabel : pDialog->findChildren<QLabel*>())
                lstLabels.append(pLabel->text());
            return int(QDialog::Accepted);
        });

    Action("About")->trigger();

    QCOMPARE(strTitle, QString("About"));
    QCOMPARE(lstLabels.size(), 2);
    QCOMPARE(lstLabels[0], QString("OvrelTrainer v1.0.0"));
    QVERIFY(lstLabels[1].startsWith("Contact: "));
}

void MainWindowTest::runningCommandDisablesProjectCommands()
{
    CProjectModel* pModel = m_pWindow->GetProjectModel();

    pModel->SetCommandState(ECommandState_Running);
    QCOMPARE(m_pWindow->GetCommandState(), int(ECommandState_Running));
    for (const char* pszText : {"Open Project", "New Project", "Setting"})
        QVERIFY2(!Action(pszText)->isEnabled(), pszText);
    QVERIFY(Action("Exit")->isEnabled());
    QVERIFY(Action("About")->isEnabled());

    pModel->SetCommandState(ECommandState_Stopped);
    QCOMPARE(m_pWindow->GetCommandState(), int(ECommandState_Stopped));
    for (const char* pszText : {"Open Project", "New Project", "Setting"})
        QVERIFY2(Action(pszText)->isEnabled(), pszText);
}

void MainWindowTest::exitClosesWindow()
{
    m_pWindow->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_pWindow.get()));

    Action("Exit")->trigger();

    QVERIFY(!m_pWindow->isVisible());
    QVERIFY(m_pAnswers->asked.isEmpty());
}

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
