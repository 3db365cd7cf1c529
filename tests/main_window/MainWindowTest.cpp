#include "CProjectFixture.h"
#include "CPromptAnswers.h"
#include "CTestSandbox.h"

#include "MainWindow.h"
#include "Utils/COvrelImage.h"
#include "frame/CLogView.h"
#include "frame/CSetting.h"
#include "project/CProjectModel.h"
#include "views/CFileExplorerView.h"
#include "views/CProjectView.h"
#include "views/CTrainerSettingView.h"
#include "workspace/CImageListModel.h"
#include "workspace/CImageViewerController.h"
#include "workspace/CImageWorkspaceController.h"
#include "workspace/CImageWorkspaceView.h"
#include "workspace/CWorkspaceBottomPanel.h"
#include "workspace/CWorkspaceToolPanel.h"

#include <QDockWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QToolBar>
#include <QtTest>

#include <memory>

namespace
{
const char* const HISTORY = "GENERAL_PROGRAME_HISTORIES";

// Action texts in order ("|" for a separator), then tab titles.
QString Texts(const QWidget* pWidget)
{
    QStringList lstTexts;
    for (const QAction* pAction : pWidget->actions())
        lstTexts.append(pAction->isSeparator() ? QString("|") : pAction->text());
    const auto* pTabs = qobject_cast<const QTabWidget*>(pWidget);
    for (int i = 0; pTabs && i < pTabs->count(); ++i)
        lstTexts.append(pTabs->tabText(i));
    return lstTexts.join(',');
}
} // namespace

// The main window's commands, Recent menu and settings dialog, driven as a user would on real files.
class MainWindowTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<CTestSandbox> m_pSandbox;
    std::unique_ptr<CPromptAnswers> m_pAnswers;
    std::unique_ptr<MainWindow> m_pWindow;

    QAction* Action(const QString& strText) const
    {
        for (QAction* pAction : m_pWindow->findChildren<QAction*>())
        {
            if (pAction->text() == strText)
                return pAction;
        }
        return nullptr;
    }
    QString Opened() const { return m_pWindow->GetProjectModel()->GetProjectName(); }
    QString Stored(const QString& strKey) const
    {
        const QString strFile = CSetting::GetString("GENERAL_PROGRAM_CONFIG_DIR", "") + "/settings.data";
        return CProjectFixture::Query(strFile, {"SELECT VALUE FROM settings WHERE NAME='" + strKey + "'"})[0][0];
    }

private slots:
    void initTestCase() { m_pSandbox = std::make_unique<CTestSandbox>(); }
    void init()
    {
        // The previous answers go first: they hand the prompts back to whatever came before them.
        m_pWindow.reset();
        m_pAnswers.reset();
        m_pAnswers = std::make_unique<CPromptAnswers>();
        m_pWindow = std::make_unique<MainWindow>();
    }

    void windowOffersCommandsInMenusAndToolBar_data()
    {
        QTest::addColumn<QString>("place");
        QTest::addColumn<QString>("texts");

        QTest::newRow("menu bar") << "menu bar"
                                  << "File,Edit,Run,Help";
        QTest::newRow("File") << "File"
                              << "Open Project,New Project,Save,|,Recent,|,Exit";
        QTest::newRow("Edit") << "Edit"
                              << "Undo,Redo,|,[1x1],[2x1],[2x2]";
        QTest::newRow("Run") << "Run"
                             << "Build,Start,Stop,|,Setting";
        QTest::newRow("Help") << "Help"
                              << "About";
        // The empty entry is the spacer that pushes "Setting" to the far end.
        QTest::newRow("tool bar") << "tool bar"
                                  << "Open Project,New Project,Save,|,Undo,Redo,|,[1x1],[2x1],[2x2],|,Start,Stop,|,,"
                                     "Setting";
        QTest::newRow("Left Dock") << "Left Dock"
                                   << "Project,File Explorer";
        QTest::newRow("Right Dock") << "Right Dock"
                                    << "Property";
    }

    void windowOffersCommandsInMenusAndToolBar()
    {
        QFETCH(QString, place);
        QFETCH(QString, texts);
        QWidget* pWidget = nullptr;
        if (place == "menu bar")
            pWidget = m_pWindow->menuBar();
        else if (place == "tool bar")
            pWidget = m_pWindow->findChild<QToolBar*>();
        else if (auto* pDock = m_pWindow->findChild<QDockWidget*>(place))
            pWidget = pDock->widget();
        for (QAction* pMenu : m_pWindow->menuBar()->actions())
        {
            if (pMenu->text() == place)
                pWidget = pMenu->menu();
        }
        QVERIFY(pWidget);
        QCOMPARE(Texts(pWidget), texts);
    }
    void docksStandWhereTheyBelong_data()
    {
        QTest::addColumn<QString>("dock");
        QTest::addColumn<int>("area");
        QTest::addColumn<int>("allowed");
        QTest::addColumn<QString>("content");

        QTest::newRow("Tool Dock") << "Tool Dock" << int(Qt::LeftDockWidgetArea) << int(Qt::LeftDockWidgetArea)
                                   << "CWorkspaceToolPanel";
        QTest::newRow("Left Dock") << "Left Dock" << int(Qt::LeftDockWidgetArea) << int(Qt::AllDockWidgetAreas)
                                   << "QTabWidget West";
        QTest::newRow("Right Dock") << "Right Dock" << int(Qt::RightDockWidgetArea) << int(Qt::AllDockWidgetAreas)
                                    << "QTabWidget East";
        QTest::newRow("Bottom Dock") << "Bottom Dock" << int(Qt::BottomDockWidgetArea) << int(Qt::BottomDockWidgetArea)
                                     << "CWorkspaceBottomPanel";
    }

    void docksStandWhereTheyBelong()
    {
        QFETCH(QString, dock);
        QFETCH(int, area);
        QFETCH(int, allowed);
        QFETCH(QString, content);
        auto* pDock = m_pWindow->findChild<QDockWidget*>(dock);
        QVERIFY(pDock);
        QCOMPARE(pDock->windowTitle(), dock);
        QCOMPARE(int(m_pWindow->dockWidgetArea(pDock)), area);
        QCOMPARE(int(pDock->allowedAreas()), allowed);
        QString strContent = pDock->widget()->metaObject()->className();
        if (auto* pTabs = qobject_cast<QTabWidget*>(pDock->widget()))
            strContent += pTabs->tabPosition() == QTabWidget::West ? " West" : " East";
        QCOMPARE(strContent, content);
    }

    void toolDockStandsAboveLeftDockAndBottomPanelTakesNoHeight()
    {
        m_pWindow->resize(1000, 800);
        m_pWindow->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_pWindow.get()));
        const QDockWidget* pToolDock = m_pWindow->findChild<QDockWidget*>("Tool Dock");
        const QDockWidget* pLeftDock = m_pWindow->findChild<QDockWidget*>("Left Dock");
        QVERIFY(pToolDock->geometry().bottom() < pLeftDock->geometry().top());
        QCOMPARE(pToolDock->x(), pLeftDock->x());
        QCOMPARE(m_pWindow->findChild<CWorkspaceBottomPanel*>()->maximumHeight(), 0);
        QCOMPARE(m_pWindow->findChild<CWorkspaceToolPanel*>()->sizePolicy().verticalPolicy(), QSizePolicy::Maximum);
    }

    void splitterGivesWorkspaceTwentyShares_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("widget");
        QTest::addColumn<int>("stretch");

        QTest::newRow("workspace above") << 0 << "CImageWorkspaceView" << 20;
        QTest::newRow("log below") << 1 << "CLogView" << 1;
    }

    void splitterGivesWorkspaceTwentyShares()
    {
        QFETCH(int, index);
        QFETCH(QString, widget);
        QFETCH(int, stretch);
        auto* pSplitter = qobject_cast<QSplitter*>(m_pWindow->centralWidget());
        QVERIFY(pSplitter);
        QCOMPARE(pSplitter->orientation(), Qt::Vertical);
        QCOMPARE(pSplitter->count(), 2);
        QCOMPARE(QString(pSplitter->widget(index)->metaObject()->className()), widget);
        // QSplitter keeps a stretch factor as the widget's vertical stretch.
        QCOMPARE(pSplitter->widget(index)->sizePolicy().verticalStretch(), stretch);
    }

    void commandsFollowCommandState_data()
    {
        QTest::addColumn<QList<int>>("states");
        QTest::addColumn<QString>("disabled");
        QTest::addColumn<bool>("workspace");

        const QString strRunning = "New Project,Open Project,Redo,Save,Setting,Start,Undo";
        QTest::newRow("before any change") << QList<int>{} << "" << true;
        QTest::newRow("running") << QList<int>{1} << strRunning << false;
        QTest::newRow("starting") << QList<int>{2} << strRunning << false;
        QTest::newRow("starting then running") << QList<int>{2, 1} << strRunning << false;
        QTest::newRow("stopped again") << QList<int>{1, 0} << "Stop" << true;
        QTest::newRow("unknown state keeps running set") << QList<int>{1, 7} << strRunning << false;
        QTest::newRow("unknown state from the start") << QList<int>{7} << "" << true;
    }

    void commandsFollowCommandState()
    {
        QFETCH(QList<int>, states);
        QFETCH(QString, disabled);
        QFETCH(bool, workspace);
        // "Recent" entries are never disabled.
        CSetting::Set(HISTORY, m_pSandbox->Path("p/p.data"));

        for (int nState : states)
            m_pWindow->GetProjectModel()->SetCommandState(nState);

        QStringList lstDisabled;
        // The window's own actions; the tree's menus follow the state on their own.
        for (QAction* pAction : m_pWindow->findChildren<QAction*>(QString(), Qt::FindDirectChildrenOnly))
        {
            if (!pAction->isEnabled())
                lstDisabled.append(pAction->text());
        }
        lstDisabled.sort();
        QCOMPARE(lstDisabled.join(','), disabled);
        QCOMPARE(m_pWindow->GetWorkspaceView()->isEnabled(), workspace);
        QCOMPARE(m_pWindow->GetCommandState(), states.isEmpty() ? 0 : states.last());
    }

    void shortcutsAndToolTips_data()
    {
        // The platform decides the first binding of a standard key (Redo is Ctrl+Y on some, Ctrl+Shift+Z on others).
        const auto Standard = [](QKeySequence::StandardKey eKey) { return QKeySequence(eKey).toString(); };
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("shortcuts");
        QTest::addColumn<QString>("toolTip");

        QTest::newRow("Open Project") << "Open Project" << Standard(QKeySequence::Open)
                                      << "Open Project (" + Standard(QKeySequence::Open) + ")";
        QTest::newRow("New Project") << "New Project" << Standard(QKeySequence::New)
                                     << "New Project (" + Standard(QKeySequence::New) + ")";
        QTest::newRow("Save") << "Save" << Standard(QKeySequence::Save)
                              << "Save (" + Standard(QKeySequence::Save) + ")";
        QTest::newRow("Undo") << "Undo" << Standard(QKeySequence::Undo)
                              << "Undo (" + Standard(QKeySequence::Undo) + ")";
        QTest::newRow("Redo") << "Redo" << Standard(QKeySequence::Redo)
                              << "Redo (" + Standard(QKeySequence::Redo) + ")";
        QTest::newRow("Start") << "Start"
                               << "F5"
                               << "Start (F5)";
        QTest::newRow("Stop") << "Stop"
                              << "Shift+F5"
                              << "Stop (Shift+F5)";
        QTest::newRow("Build") << "Build"
                               << "F7,Ctrl+B"
                               << "";
        QTest::newRow("[2x1]") << "[2x1]"
                               << ""
                               << "[2x1]";
        QTest::newRow("Setting") << "Setting"
                                 << ""
                                 << "Setting";
    }

    void shortcutsAndToolTips()
    {
        QFETCH(QString, action);
        QFETCH(QString, shortcuts);
        QFETCH(QString, toolTip);
        QAction* pAction = Action(action);
        QVERIFY(pAction);
        QStringList lstShortcuts;
        for (const QKeySequence& sequence : pAction->shortcuts())
            lstShortcuts.append(sequence.toString());
        // Platforms add further bindings to the standard keys; the first is the one shown.
        QCOMPARE(lstShortcuts.mid(0, shortcuts.count(',') + 1).join(','), shortcuts);
        QWidget* pButton = m_pWindow->findChild<QToolBar*>()->widgetForAction(pAction);
        QCOMPARE(pButton ? pButton->toolTip() : QString(), toolTip);
    }

    void shortcutKeysAskAsTheirCommands_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("asked");

        QTest::newRow("Ctrl+O") << int(Qt::Key_O) << int(Qt::ControlModifier) << "open Open File";
        QTest::newRow("Ctrl+N") << int(Qt::Key_N) << int(Qt::ControlModifier) << "dialog New Project";
        QTest::newRow("Ctrl+S") << int(Qt::Key_S) << int(Qt::ControlModifier) << "save Save Image";
    }

    void shortcutKeysAskAsTheirCommands()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, asked);
        m_pWindow->show();
        m_pWindow->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_pWindow.get()));

        QTest::keyClick(m_pWindow.get(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));

        QCOMPARE(m_pAnswers->asked.size(), 1);
        QCOMPARE(m_pAnswers->asked[0].strKind + " " + m_pAnswers->asked[0].strTitle, asked);
    }

    void recentMenuFollowsAnySettingChange_data()
    {
        QTest::addColumn<QString>("history");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("menu");

        QTest::newRow("three paths in order")
            << "/p/c.data;/p/a.data;/p/b.data"
            << "GENERAL_PDF_RESOLUTION_X" << QVariant(300.0) << "/p/c.data,/p/a.data,/p/b.data";
        QTest::newRow("empty parts skipped")
            << ";/p/a.data;;/p/b.data;"
            << "TAMSEL_COMMAND_ARG_YOLO3" << QVariant(QString("-gpus 0")) << "/p/a.data,/p/b.data";
        QTest::newRow("empty list") << ""
                                    << "GENERAL_PDF_RESOLUTION_Y" << QVariant(72.0) << "";
        QTest::newRow("a key of the program's own") << "/p/a.data"
                                                    << "SOME_OTHER_KEY" << QVariant(5) << "/p/a.data";
    }

    void recentMenuFollowsAnySettingChange()
    {
        QFETCH(QString, history);
        QFETCH(QString, key);
        QFETCH(QVariant, value);
        QFETCH(QString, menu);
        CSetting::Set(HISTORY, history);
        // Whatever the menu showed is gone: only the next change can bring the list back.
        m_pWindow->GetRecentMenu()->clear();

        CSetting::Set(key, value);

        QCOMPARE(Texts(m_pWindow->GetRecentMenu()), menu);
    }

    void openProjectFileSplitsFolderAndName_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("result");

        QTest::newRow("file in folder") << "P"
                                        << "proj"
                                        << "P/proj/proj.data"
                                        << "opened P/proj proj";
        QTest::newRow("dot in a folder name") << "my.folder"
                                              << "proj"
                                              << "my.folder/proj/proj.data"
                                              << "opened my.folder/proj proj";
        QTest::newRow("two dots in the name") << "Q"
                                              << "v1.2"
                                              << "Q/v1.2/v1.2.data"
                                              << "opened Q/v1.2 v1.2";
        // Without a "." after the last separator the name runs to the end of the path.
        QTest::newRow("no extension") << "R"
                                      << "proj"
                                      << "R/proj/proj"
                                      << "opened R/proj proj";
        QTest::newRow("no extension, dotted folder") << "S.d"
                                                     << "proj"
                                                     << "S.d/proj/proj"
                                                     << "opened S.d/proj proj";
        QTest::newRow("other extension") << "T"
                                         << "proj"
                                         << "T/proj/proj.txt"
                                         << "opened T/proj proj";
        QTest::newRow("missing file") << ""
                                      << ""
                                      << "gone/gone.data"
                                      << "Cannot load project gone";
        QTest::newRow("cancelled") << ""
                                   << ""
                                   << ""
                                   << "nothing";
    }

    void openProjectFileSplitsFolderAndName()
    {
        QFETCH(QString, folder);
        QFETCH(QString, name);
        QFETCH(QString, answer);
        QFETCH(QString, result);
        const QString strRoot = m_pSandbox->Path("split");
        if (!folder.isEmpty())
        {
            QVERIFY(QDir().mkpath(strRoot + "/" + folder));
            QVERIFY(!CProjectFixture::CreateProject(strRoot + "/" + folder, name).isEmpty());
        }
        m_pAnswers->files.push_back(answer.isEmpty() ? QString() : strRoot + "/" + answer);

        Action("Open Project")->trigger();

        QString strResult = "nothing";
        CProjectModel* pModel = m_pWindow->GetProjectModel();
        if (!pModel->GetProjectName().isEmpty())
            strResult = "opened " + pModel->GetProjectDir().mid(strRoot.size() + 1) + " " + pModel->GetProjectName();
        else if (m_pAnswers->asked.size() > 1)
            strResult = m_pAnswers->asked[1].strText;
        QCOMPARE(strResult, result);
        QCOMPARE(m_pAnswers->asked[0].strFilter, QString("Files (*.data);;All files (*.*)"));
    }

    void fileExplorerSelectionOpensFirstFile()
    {
        const QString strFolder = m_pSandbox->Path("explorer");
        QVERIFY(QDir().mkpath(strFolder + "/sub"));
        QImage(30, 20, QImage::Format_RGB888).save(strFolder + "/first.png");
        QImage(40, 20, QImage::Format_RGB888).save(strFolder + "/second.png");
        auto* pExplorer = m_pWindow->findChild<CFileExplorerView*>();

        emit pExplorer->signal_SelectFiles(
            {QFileInfo(strFolder + "/sub"), QFileInfo(strFolder + "/first.png"), QFileInfo(strFolder + "/second.png")});

        const CImageListModel* pImages =
            m_pWindow->GetWorkspaceController()->GetViewerController(0)->GetImageListModel();
        QCOMPARE(pImages->GetImageCount(), 1);
        QCOMPARE(pImages->GetCurrentImage()->GetWidth(), 30);
    }

    void settingsFileFillsWindowAndTakesEveryChange()
    {
        CSetting::Set(HISTORY, QString(";/a/x.data;;/b/y.data;"));
        CSetting::Set("TAMSEL_COMMAND_EXE_YOLO3", QString("/usr/bin/darknet"));
        m_pWindow.reset();
        // Without a window nothing writes the settings file: the store now differs from the file.
        CSetting::Set(HISTORY, QString(""));
        CSetting::Set("TAMSEL_COMMAND_EXE_YOLO3", QString("stale"));
        m_pWindow = std::make_unique<MainWindow>();
        CTrainerSettingView* pView = m_pWindow->GetSettingView();
        QLineEdit* pField = pView->GetArgumentsField();

        QCOMPARE(Texts(m_pWindow->GetRecentMenu()), QString("/a/x.data,/b/y.data"));
        QCOMPARE(pView->GetExecutableField()->text(), QString("/usr/bin/darknet"));
        QCOMPARE(Texts(pView->findChild<QTabWidget*>()), QString("General,OvrelTrainer"));
        pField->setText("ab");
        // Typing in the middle: showing the stored value back must not move the cursor.
        pField->setCursorPosition(1);
        QTest::keyClicks(pField, "xy");
        QCOMPARE(pField->text() + "," + Stored("TAMSEL_COMMAND_ARG_YOLO3"), QString("axyb,axyb"));
        m_pAnswers->files.push_back("/opt/darknet/darknet");
        QTest::mouseClick(pView->findChild<QPushButton*>(), Qt::LeftButton);
        QCOMPARE(Stored("TAMSEL_COMMAND_EXE_YOLO3"), QString("/opt/darknet/darknet"));
        Action("Setting")->trigger();
        QCOMPARE(m_pAnswers->asked.last().strTitle, QString("Settings"));
    }

    void projectsOpenFromFilePromptAndRecentMenu()
    {
        const QString strRoot = m_pSandbox->Home();
        const QString strFile = CProjectFixture::DataFile(CProjectFixture::CreateProject(strRoot, "v1.2"), "v1.2");
        m_pAnswers->files.push_back(
            CProjectFixture::DataFile(CProjectFixture::CreateProject(strRoot, "other"), "other"));
        CSetting::Set(HISTORY, strRoot + "/gone/gone.data;" + strFile);

        Action("Open Project")->trigger();
        QCOMPARE(m_pAnswers->asked[0].strTitle, QString("Open File"));
        QCOMPARE(m_pWindow->GetProjectModel()->GetProjectDir() + "," + Opened(), strRoot + "/other,other");
        m_pWindow->GetRecentMenu()->actions().at(2)->trigger();
        QCOMPARE(Opened(), QString("v1.2"));
        m_pWindow->GetRecentMenu()->actions().at(2)->trigger();

        QCOMPARE(m_pAnswers->asked.size(), 2);
        QCOMPARE(m_pAnswers->asked[1].strText, QString("Cannot load project gone"));
        QCOMPARE(Texts(m_pWindow->GetRecentMenu()), strFile + "," + strRoot + "/other/other.data");
    }

    void newProjectDialogGoesAwayAfterCancelOrAdd()
    {
        for (const QString strName : {"", "fresh"})
        {
            m_pAnswers->dialogs.push_back(
                [strName, this](QDialog* pDialog)
                {
                    auto* pNew = qobject_cast<CNewProjectDlg*>(pDialog);
                    pNew->GetNameField()->setText(strName);
                    pNew->GetFolderField()->setText(m_pSandbox->Home());
                    if (!strName.isEmpty())
                        QTest::mouseClick(pNew->GetAddButton(), Qt::LeftButton);
                    return int(QDialog::Rejected);
                });

            Action("New Project")->trigger();

            QCOMPARE(Opened(), strName);
            QTRY_VERIFY(m_pWindow->findChildren<CNewProjectDlg*>().isEmpty());
        }
    }

    void cancelledChooserKeepsFieldAndSetting_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("button");

        // Regression: a cancelled chooser answers an empty path, which replaced the field and so the stored value;
        // an empty project folder then made every new project fail without a word.
        QTest::newRow("trainer executable") << "TAMSEL_COMMAND_EXE_YOLO3"
                                            << "Choose File";
        QTest::newRow("new project folder") << "GENERAL_PROJECT_DIR"
                                            << "Select";
    }

    void cancelledChooserKeepsFieldAndSetting()
    {
        QFETCH(QString, key);
        QFETCH(QString, button);
        const QString strOld = m_pSandbox->Path("kept");
        CSetting::Set(key, strOld);
        QString strShown;
        // Cancels the chooser of the dialog's field and tells what the field shows before and after.
        const auto cancel = [&](QDialog* pDialog)
        {
            auto* pField = pDialog->findChild<QLineEdit*>(key);
            if (auto* pNew = qobject_cast<CNewProjectDlg*>(pDialog))
                pField = pNew->GetFolderField();
            strShown = pField->text();
            m_pAnswers->files.push_back("");
            for (QPushButton* pButton : pDialog->findChildren<QPushButton*>())
            {
                if (pButton->text() == button)
                    QTest::mouseClick(pButton, Qt::LeftButton);
            }
            strShown += "," + pField->text();
            return int(QDialog::Rejected);
        };
        m_pAnswers->dialogs.push_back(cancel);

        Action(key == "GENERAL_PROJECT_DIR" ? "New Project" : "Setting")->trigger();

        QCOMPARE(m_pAnswers->asked.size(), 2);
        QCOMPARE(m_pAnswers->asked[1].strKind, QString(key == "GENERAL_PROJECT_DIR" ? "dir" : "open"));
        QCOMPARE(strShown, strOld + "," + strOld);
        QCOMPARE(CSetting::GetString(key, ""), strOld);
        QCOMPARE(Stored(key), strOld);
    }

    void returnInNewProjectNameAddsTheProject()
    {
        // Regression: "Select" was the default button, so Return after typing the name opened the folder chooser.
        m_pAnswers->dialogs.push_back(
            [this](QDialog* pDialog)
            {
                auto* pNew = qobject_cast<CNewProjectDlg*>(pDialog);
                pNew->GetFolderField()->setText(m_pSandbox->Home());
                // A dialog takes Return for its default button only while it is shown.
                pNew->show();
                if (!QTest::qWaitForWindowExposed(pNew))
                    return int(QDialog::Rejected);
                QTest::keyClicks(pNew->GetNameField(), "returned");
                QTest::keyClick(pNew->GetNameField(), Qt::Key_Return);
                return int(QDialog::Rejected);
            });

        Action("New Project")->trigger();

        QCOMPARE(m_pAnswers->asked.size(), 1);
        QCOMPARE(m_pAnswers->asked[0].strKind, QString("dialog"));
        QCOMPARE(Opened(), QString("returned"));
        QVERIFY(QFileInfo::exists(CProjectFixture::DataFile(m_pSandbox->Home() + "/returned", "returned")));
    }

    void returnInTrainerSettingsPressesNoButton()
    {
        // Regression: "Choose File" became the default button when the dialog was shown, so Return in a field
        // opened the chooser. The dialog stores each keystroke: Return has nothing to press.
        QStringList lstDefault;
        m_pAnswers->dialogs.push_back(
            [&lstDefault](QDialog* pDialog)
            {
                pDialog->show();
                for (QPushButton* pButton : pDialog->findChildren<QPushButton*>())
                {
                    if (pButton->isDefault())
                        lstDefault.append(pButton->text());
                }
                return int(QDialog::Rejected);
            });

        Action("Setting")->trigger();

        QCOMPARE(m_pAnswers->asked.size(), 1);
        QCOMPARE(lstDefault, QStringList());
    }
};

int RunMainWindowTest(int argc, char** argv)
{
    MainWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "MainWindowTest.moc"
