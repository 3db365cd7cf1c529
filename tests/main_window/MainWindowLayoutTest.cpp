#include "CMainWindowCase.h"

#include "canvas/CImageView2D.h"
#include "frame/CLogView.h"
#include "project/CProjectController.h"
#include "project/CProjectModel.h"
#include "project/CRoiAnnotationHost.h"
#include "project/evaluation/CEvaluationResult.h"
#include "views/CEvaluationView.h"
#include "views/CProjectView.h"
#include "workspace/CImageViewerController.h"
#include "workspace/CImageWorkspaceController.h"
#include "workspace/CImageWorkspaceView.h"

#include <QComboBox>
#include <QDialog>
#include <QDockWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QToolBar>
#include <QTreeView>

// How the window is laid out and how its commands look and follow the trainer's state: menus, tool bar, docks, the
// central splitter, shortcuts and tool tips.
class MainWindowLayoutTest : public CMainWindowCase
{
    Q_OBJECT

    // Opens the project of that name in the sandbox, made on first use.
    void OpenProject(const QString& strName)
    {
        QString strDir = m_pSandbox->Home() + "/" + strName;
        if (!QFileInfo::exists(CProjectFixture::DataFile(strDir, strName)))
            strDir = CProjectFixture::CreateProject(m_pSandbox->Home(), strName);
        m_pWindow->GetProjectController()->OpenProject(strDir, strName);
        QCOMPARE(m_pWindow->GetProjectModel()->GetProjectName(), strName);
    }

private slots:
    void init() { NewSandboxAndWindow(); }
    void cleanup() { CloseWindow(); }

    void windowOffersCommandsInMenusAndToolBar_data()
    {
        QTest::addColumn<QString>("place");
        QTest::addColumn<QString>("texts");

        const auto row = [](const char* pszPlace, const char* pszTexts)
        { QTest::newRow(pszPlace) << QString(pszPlace) << QString(pszTexts); };
        row("menu bar", "File,Edit,Run,Tools,Help");
        row("File", "Open Project,New Project,Save,Import Dataset,Export Dataset...,|,Recent,|,Exit");
        row("Edit", "Undo,Redo,|,[1x1],[2x1],[2x2],|,Quick class,|,Next Image,Previous Image,"
                    "Next Image Without Boxes,Copy boxes from previous image,|,Draw Box,Keep Drawing Mode,"
                    "Accept All Proposals,Clear Proposals");
        row("Run", "Build,Start,Stop,|,Dataset Report,|,Detect,Pre-label Images,|,Choose Weights...,"
                   "Detection Threshold...,|,Evaluate,Check Training Labels,|,Setting");
        row("Tools", "Sobel,Median,OCR");
        row("Help", "Keyboard Shortcuts,About");
        // The empty entry is the spacer that pushes "Setting" to the far end.
        row("tool bar", "Open Project,New Project,Save,|,Undo,Redo,|,[1x1],[2x1],[2x2],|,Start,Stop,|,Quick "
                        "class,,|,Detect,,Setting");
        row("Left Dock", "Project,File Explorer");
        row("Right Dock", "Property");
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
    // Every choice opens one more independent window beside the main window; closing one only hides it.
    void toolsOpenBesideTheWindow_data()
    {
        QTest::addColumn<QString>("tool");
        for (const char* pszTool : {"Sobel", "Median", "OCR"})
            QTest::newRow(pszTool) << QString(pszTool);
    }
    void toolsOpenBesideTheWindow()
    {
        QFETCH(QString, tool);
        const auto toolWindows = [this, tool]()
        {
            QList<QWidget*> lstWindows;
            for (QDialog* pDialog : m_pWindow->findChildren<QDialog*>())
            {
                if (pDialog->isWindow() && pDialog->windowTitle() == tool)
                    lstWindows.append(pDialog);
            }
            return lstWindows;
        };

        Action(tool)->trigger();
        toolWindows().first()->close();
        Action(tool)->trigger();
        QTest::mouseClick(m_pWindow->centralWidget(), Qt::LeftButton);

        const QList<QWidget*> lstWindows = toolWindows();
        QCOMPARE(lstWindows.size(), 2);
        QCOMPARE(lstWindows[0]->isVisible() != lstWindows[1]->isVisible(), true);
        QVERIFY(lstWindows[0]->findChild<QPushButton*>("Run"));
    }

    void docksStandWhereTheyBelong_data()
    {
        QTest::addColumn<QString>("dock");
        QTest::addColumn<int>("area");
        QTest::addColumn<int>("allowed");
        QTest::addColumn<QString>("content");

        const auto row = [](const char* pszDock, int nArea, int nAllowed, const char* pszContent)
        { QTest::newRow(pszDock) << QString(pszDock) << nArea << nAllowed << QString(pszContent); };
        row("Tool Dock", Qt::LeftDockWidgetArea, Qt::LeftDockWidgetArea, "CWorkspaceToolPanel");
        row("Left Dock", Qt::LeftDockWidgetArea, Qt::AllDockWidgetAreas, "QTabWidget West");
        row("Right Dock", Qt::RightDockWidgetArea, Qt::AllDockWidgetAreas, "QTabWidget East");
        row("Bottom Dock", Qt::BottomDockWidgetArea, Qt::BottomDockWidgetArea, "CWorkspaceBottomPanel");
        row("Training", Qt::RightDockWidgetArea, Qt::AllDockWidgetAreas, "CTrainingChartView");
        row("Dataset Report", Qt::RightDockWidgetArea, Qt::AllDockWidgetAreas, "CDatasetReportView");
        row("Boxes", Qt::RightDockWidgetArea, Qt::AllDockWidgetAreas, "CBoxListView");
        row("Evaluation", Qt::RightDockWidgetArea, Qt::AllDockWidgetAreas, "CEvaluationView");
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

    // Hidden while there is nothing to show, it comes forward with the first evaluation.
    void evaluationDockAppearsWithTheFirstEvaluation()
    {
        QVERIFY(ShowWindow());
        auto* pDock = m_pWindow->findChild<QDockWidget*>("Evaluation");
        QVERIFY(pDock);
        QVERIFY(!pDock->isVisible());

        CEvaluationResult result;
        m_pWindow->GetEvaluationView()->ShowEvaluation(result, {}, CEvaluationRecord(), nullptr);

        QTRY_VERIFY(pDock->isVisible());
        QVERIFY(!pDock->visibleRegion().isEmpty());
    }

    void commandsFollowProjectAndTrainerState_data()
    {
        QTest::addColumn<QStringList>("steps"); // "open", "close", or a command state the trainer reports
        QTest::addColumn<QString>("disabled");
        QTest::addColumn<bool>("workspace");

        // Regression: "Start" looked enabled without a project and did nothing without a word.
        const QString strNoProject =
            "Build,Check Training Labels,Choose Weights...,Dataset Report,Detect,Detection Threshold...,Evaluate,"
            "Export Dataset...,Import Dataset,Pre-label Images,Redo,Save,Start,Stop,Undo";
        const QString strRunning = "Import Dataset,New Project,Open Project,Redo,Save,Setting,Start,Undo";
        const auto row = [](const char* pszTag, const QStringList& lstSteps, const QString& strDisabled,
                            bool bWorkspace) { QTest::newRow(pszTag) << lstSteps << strDisabled << bWorkspace; };
        row("no project", {}, strNoProject, true);
        row("project open", {"open"}, "Stop", true);
        row("project closed", {"open", "close"}, strNoProject, true);
        row("another project opened", {"open", "close", "open"}, "Stop", true);
        row("running", {"open", "1"}, strRunning, false);
        row("starting", {"open", "2"}, strRunning, false);
        row("starting then running", {"open", "2", "1"}, strRunning, false);
        row("stopped again", {"open", "1", "0"}, "Stop", true);
        row("unknown state keeps running set", {"open", "1", "7"}, strRunning, false);
        // "Import Dataset" follows only a known stopped state on its own.
        row("unknown state from the start", {"open", "7"}, "Import Dataset,Stop", true);
        // A trainer that runs can be stopped; the project's own commands stay off.
        row("running without project", {"1"},
            "Build,Check Training Labels,Choose Weights...,Dataset Report,Detect,Detection Threshold...,Evaluate,"
            "Export Dataset...,Import Dataset,New Project,Open Project,Pre-label Images,Redo,Save,Setting,Start,Undo",
            false);
        row("stopped without project", {"1", "0"}, strNoProject, true);
    }

    void commandsFollowProjectAndTrainerState()
    {
        QFETCH(QStringList, steps);
        QFETCH(QString, disabled);
        QFETCH(bool, workspace);
        // "Recent" entries are never disabled.
        CSetting::Set("GENERAL_PROGRAME_HISTORIES", m_pSandbox->Path("p/p.data"));
        int nState = 0;

        for (const QString& strStep : steps)
        {
            if (strStep == "open")
                OpenProject("p");
            else if (strStep == "close")
                emit m_pWindow->GetProjectView()->signal_CloseProject();
            else
                m_pWindow->GetProjectModel()->SetCommandState(nState = strStep.toInt());
        }

        QCOMPARE(DisabledActions(m_pWindow.get()), disabled);
        QCOMPARE(m_pWindow->GetWorkspaceView()->isEnabled(), workspace);
        QCOMPARE(m_pWindow->GetCommandState(), nState);
    }

    void shortcutsAndToolTips_data()
    {
        // The platform decides the first binding of a standard key (Redo is Ctrl+Y on some, Ctrl+Shift+Z on others).
        const auto Standard = [](QKeySequence::StandardKey eKey) { return QKeySequence(eKey).toString(); };
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("shortcuts");
        QTest::addColumn<QString>("toolTip");

        const auto row = [](const QString& strAction, const QString& strShortcuts, const QString& strToolTip)
        { QTest::newRow(qPrintable(strAction)) << strAction << strShortcuts << strToolTip; };
        for (const auto& standard :
             {std::make_pair("Open Project", QKeySequence::Open), std::make_pair("New Project", QKeySequence::New),
              std::make_pair("Save", QKeySequence::Save), std::make_pair("Undo", QKeySequence::Undo),
              std::make_pair("Redo", QKeySequence::Redo)})
            row(standard.first, Standard(standard.second),
                QString("%1 (%2)").arg(standard.first, Standard(standard.second)));
        row("Start", "F5", "Start (F5)");
        row("Stop", "Shift+F5", "Stop (Shift+F5)");
        row("Build", "F7,Ctrl+B", "");
        row("[2x1]", "", "[2x1]");
        row("Setting", "", "Setting");
        row("Next Image", "PgDown", "");
        row("Next Image Without Boxes", "Ctrl+PgDown", "");
        row("Copy boxes from previous image", "Ctrl+Shift+V", "");
        row("Draw Box", "W", "");
        row("Accept All Proposals", "Ctrl+Return", "");
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
        QTest::addColumn<bool>("project");
        QTest::addColumn<QString>("asked");

        QTest::newRow("Ctrl+O") << int(Qt::Key_O) << int(Qt::ControlModifier) << false << "open Open File";
        QTest::newRow("Ctrl+N") << int(Qt::Key_N) << int(Qt::ControlModifier) << false << "dialog New Project";
        QTest::newRow("Ctrl+S") << int(Qt::Key_S) << int(Qt::ControlModifier) << true << "save Save Image";
        QTest::newRow("Ctrl+S without project") << int(Qt::Key_S) << int(Qt::ControlModifier) << false << "";
    }

    void shortcutKeysAskAsTheirCommands()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(bool, project);
        QFETCH(QString, asked);
        if (project)
            OpenProject("p");
        m_pWindow->show();
        m_pWindow->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_pWindow.get()));

        QTest::keyClick(m_pWindow.get(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));

        QCOMPARE(m_pAnswers->asked.size(), asked.isEmpty() ? 0 : 1);
        if (!asked.isEmpty())
            QCOMPARE(m_pAnswers->asked[0].strKind + " " + m_pAnswers->asked[0].strTitle, asked);
    }

    void digitKeysOverACanvasChooseTheQuickClass_data()
    {
        QTest::addColumn<bool>("quick");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("chosen");
        QTest::newRow("3 chooses the third class") << true << int(Qt::Key_3) << "bird";
        QTest::newRow("1 chooses the first") << true << int(Qt::Key_1) << "cat";
        QTest::newRow("a digit past the classes changes nothing") << true << int(Qt::Key_7) << "dog";
        QTest::newRow("a letter changes nothing") << true << int(Qt::Key_A) << "dog";
        QTest::newRow("with quick class off digits change nothing") << false << int(Qt::Key_3) << "dog";
    }
    void digitKeysOverACanvasChooseTheQuickClass()
    {
        QFETCH(bool, quick);
        QFETCH(int, key);
        QFETCH(QString, chosen);
        QVERIFY(ShowWindow());
        auto* pClassBox = m_pWindow->findChild<QComboBox*>(CRoiAnnotationHost::QUICK_CLASS_NAME);
        QVERIFY(pClassBox);
        pClassBox->addItems({"cat", "dog", "bird"});
        pClassBox->setCurrentText("dog");
        m_pWindow->GetAction("Quick class")->setChecked(quick);
        CImageView2D* pCanvas = m_pWindow->GetWorkspaceController()->GetViewerController(0)->GetCanvas();
        pCanvas->setFocus();
        QTRY_VERIFY(pCanvas->hasFocus());

        QTest::keyClick(pCanvas, static_cast<Qt::Key>(key));

        QCOMPARE(pClassBox->currentText(), chosen);
        m_pWindow->GetAction("Quick class")->setChecked(false);
    }

    void pageKeysOverACanvasOnlyAreTheWindowsCommands()
    {
        QVERIFY(ShowWindow());
        // The shortcuts themselves are rows of shortcutsAndToolTips.
        QSignalSpy spyNext(m_pWindow->GetAction("Next Image"), &QAction::triggered);
        CImageView2D* pCanvas = m_pWindow->GetWorkspaceController()->GetViewerController(0)->GetCanvas();
        pCanvas->setFocus();
        QTRY_VERIFY(pCanvas->hasFocus());
        QTest::keyClick(pCanvas, Qt::Key_PageDown);
        QCOMPARE(spyNext.count(), 1);

        // Elsewhere Page Down stays with the widget that has the focus.
        auto* pTree = m_pWindow->GetProjectView()->findChild<QTreeView*>();
        QVERIFY(pTree);
        pTree->setFocus();
        QTRY_VERIFY(!pCanvas->hasFocus());
        QTest::keyClick(pTree, Qt::Key_PageDown);
        QCOMPARE(spyNext.count(), 1);
    }
};

int RunMainWindowLayoutTest(int argc, char** argv)
{
    MainWindowLayoutTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "MainWindowLayoutTest.moc"
