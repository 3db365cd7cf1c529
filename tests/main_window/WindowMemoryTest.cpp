#include "CMainWindowCase.h"

#include "CWindowMemory.h"
#include "frame/CFolderMemory.h"
#include "project/CProjectModel.h"
#include "workspace/CImageLayoutModel.h"

#include <QDockWidget>
#include <QGuiApplication>
#include <QScreen>
#include <QSplitter>
#include <QToolBar>
#include <QtTest>

// The window as the user left it at the last close: place, size, docks, splitters, the workspace grid and the
// folders of the file dialogs; and a project file named on the command line.
class WindowMemoryTest : public CMainWindowCase
{
    Q_OBJECT

    static QRect Available() { return QGuiApplication::primaryScreen()->availableGeometry(); }
    QDockWidget* Dock(const QString& strName) const { return m_pWindow->findChild<QDockWidget*>(strName); }
    QSplitter* Splitter(const QString& strName) const { return m_pWindow->findChild<QSplitter*>(strName); }
    // The folder the last file dialog started in.
    QString LastDialogFolder() const
    {
        for (int i = m_pAnswers->asked.size() - 1; i >= 0; --i)
        {
            if (QStringList{"open", "opens", "save", "dir"}.contains(m_pAnswers->asked[i].strKind))
                return m_pAnswers->asked[i].strDir;
        }
        return "no dialog";
    }
    // Closes the window as the user does and starts a new one on the same settings.
    void Restart()
    {
        QVERIFY(m_pWindow->close());
        m_pWindow = std::make_unique<MainWindow>();
        m_pWindow->ShowAsLeft();
        QVERIFY(QTest::qWaitForWindowExposed(m_pWindow.get()));
    }

private slots:
    void init()
    {
        NewSandboxAndWindow();
        // The settings store lives as long as the process: another test's close must not be this one's last start.
        CWindowMemory::Forget();
        for (const QString& strPurpose :
             {CFolderMemory::IMAGES, CFolderMemory::PROJECTS, CFolderMemory::IMPORT, CFolderMemory::EXPORT})
            CSetting::Set(CFolderMemory::Key(strPurpose), QString());
    }
    void cleanup()
    {
        CloseWindow();
        CWindowMemory::Forget();
    }

    void fitOnScreens_data()
    {
        QTest::addColumn<QRect>("saved");
        QTest::addColumn<QList<QRect>>("screens");
        QTest::addColumn<QRect>("fitted");
        const QRect primary(0, 0, 1920, 1050);
        const QRect second(1920, 0, 1280, 1000);
        QTest::newRow("inside the primary")
            << QRect(100, 80, 800, 600) << QList<QRect>{primary} << QRect(100, 80, 800, 600);
        QTest::newRow("inside the second")
            << QRect(2000, 50, 800, 600) << QList<QRect>{primary, second} << QRect(2000, 50, 800, 600);
        QTest::newRow("second unplugged")
            << QRect(2000, 50, 800, 600) << QList<QRect>{primary} << QRect(1120, 50, 800, 600);
        QTest::newRow("far away") << QRect(-9000, 7000, 800, 600) << QList<QRect>{primary} << QRect(0, 450, 800, 600);
        QTest::newRow("across both, mostly second")
            << QRect(1800, 100, 800, 600) << QList<QRect>{primary, second} << QRect(1920, 100, 800, 600);
        QTest::newRow("larger than a smaller screen")
            << QRect(100, 100, 1900, 1040) << QList<QRect>{QRect(0, 0, 1280, 770)} << QRect(0, 0, 1280, 770);
        QTest::newRow("under a top panel")
            << QRect(50, 0, 800, 600) << QList<QRect>{QRect(0, 30, 1920, 1020)} << QRect(50, 30, 800, 600);
        QTest::newRow("nothing saved") << QRect() << QList<QRect>{primary} << QRect();
    }

    void fitOnScreens()
    {
        QFETCH(QRect, saved);
        QFETCH(QList<QRect>, screens);
        QFETCH(QRect, fitted);
        QCOMPARE(CWindowMemory::FitOnScreens(saved, screens), fitted);
    }

    void everyDockAndToolBarHasItsOwnName()
    {
        // Restoring the layout finds docks and tool bars by name: an unnamed or twice-named one comes back elsewhere.
        QStringList lstNames;
        for (const QDockWidget* pDock : m_pWindow->findChildren<QDockWidget*>())
            lstNames.append(pDock->objectName());
        for (const QToolBar* pToolBar : m_pWindow->findChildren<QToolBar*>(QString(), Qt::FindDirectChildrenOnly))
            lstNames.append(pToolBar->objectName());
        QVERIFY(!lstNames.contains(QString()));
        QCOMPARE(lstNames.removeDuplicates(), 0);
    }

    void closedLookComesBackAtNextStart()
    {
        m_pWindow->ShowAsLeft();
        QVERIFY(QTest::qWaitForWindowExposed(m_pWindow.get()));
        Action("[2x1]")->trigger();
        m_pWindow->addDockWidget(Qt::LeftDockWidgetArea, Dock("Boxes"));
        m_pWindow->tabifyDockWidget(Dock("Left Dock"), Dock("Boxes"));
        Dock("Dataset Report")->show();
        Dock("Dataset Report")->setFloating(true);
        m_pWindow->showNormal();
        const QRect geometry(Available().x() + 40, Available().y() + 30, 700, 500);
        m_pWindow->setGeometry(geometry);
        Splitter("Workspace Splitter")->setSizes({300, 100});
        Splitter("CImageViewer_0 Splitter")->setSizes({50, 300});
        QTRY_COMPARE(m_pWindow->geometry(), geometry);
        const QList<int> lstWorkspace = Splitter("Workspace Splitter")->sizes();
        const QList<int> lstViewer = Splitter("CImageViewer_0 Splitter")->sizes();
        const int nRightWidth = Dock("Right Dock")->width();

        Restart();

        QVERIFY(!m_pWindow->isMaximized());
        QTRY_COMPARE(m_pWindow->geometry(), geometry);
        QCOMPARE(m_pWindow->GetLayoutModel()->GetColumn(), 2);
        QCOMPARE(m_pWindow->GetLayoutModel()->GetRow(), 1);
        QCOMPARE(m_pWindow->dockWidgetArea(Dock("Boxes")), Qt::LeftDockWidgetArea);
        QVERIFY(m_pWindow->tabifiedDockWidgets(Dock("Left Dock")).contains(Dock("Boxes")));
        QVERIFY(Dock("Dataset Report")->isFloating());
        QVERIFY(Dock("Dataset Report")->isVisible());
        QVERIFY(!Dock("Training")->isVisible());
        QTRY_COMPARE(Dock("Right Dock")->width(), nRightWidth);
        QTRY_COMPARE(Splitter("Workspace Splitter")->sizes(), lstWorkspace);
        QTRY_COMPARE(Splitter("CImageViewer_0 Splitter")->sizes(), lstViewer);
    }

    void maximizedWindowReopensMaximized()
    {
        m_pWindow->ShowAsLeft();
        m_pWindow->showNormal();
        const QRect normal(Available().x() + 20, Available().y() + 20, 600, 400);
        m_pWindow->setGeometry(normal);
        m_pWindow->showMaximized();
        QTRY_VERIFY(m_pWindow->isMaximized());

        Restart();

        QVERIFY(m_pWindow->isMaximized());
        QCOMPARE(m_pWindow->normalGeometry(), normal);
    }

    void firstStartOpensLarge()
    {
        m_pWindow->ShowAsLeft();

        QVERIFY(QTest::qWaitForWindowExposed(m_pWindow.get()));
        QVERIFY(m_pWindow->isMaximized());
        // Leaving the maximized state keeps most of the screen, not the window's minimum size.
        const QRect normal = m_pWindow->normalGeometry();
        QVERIFY2(normal.width() >= Available().width() * 3 / 4 && normal.height() >= Available().height() * 3 / 4,
                 qPrintable(QString("%1x%2").arg(normal.width()).arg(normal.height())));
        QVERIFY(Available().contains(normal));
    }

    void geometryFromAGoneScreenOpensVisible_data()
    {
        QTest::addColumn<QString>("saved");
        QTest::newRow("unplugged monitor") << "5000,3000,700,500";
        QTest::newRow("larger screen") << "-50,-40,9000,7000";
    }

    void geometryFromAGoneScreenOpensVisible()
    {
        QFETCH(QString, saved);
        CSetting::Set(CWindowMemory::GEOMETRY, saved);
        CSetting::Set(CWindowMemory::MAXIMIZED, 0);

        m_pWindow->ShowAsLeft();

        QVERIFY(QTest::qWaitForWindowExposed(m_pWindow.get()));
        QVERIFY(!m_pWindow->isMaximized());
        QVERIFY2(Available().contains(m_pWindow->geometry()), qPrintable(QString("%1,%2 %3x%4")
                                                                             .arg(m_pWindow->x())
                                                                             .arg(m_pWindow->y())
                                                                             .arg(m_pWindow->width())
                                                                             .arg(m_pWindow->height())));
    }

    void dialogStartsInFolderLastUsedForItsPurpose_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("folder");
        QTest::newRow("Open Project") << "Open Project"
                                      << "projects/old/old.data"
                                      << "projects/old";
        QTest::newRow("Add Images") << "Add Images"
                                    << "camera/a.png"
                                    << "camera";
        QTest::newRow("Import Dataset") << "Import Dataset"
                                        << "yolo/set"
                                        << "yolo/set";
        QTest::newRow("Export Dataset") << "Export Dataset..."
                                        << "voc/out"
                                        << "voc/out";
    }

    void dialogStartsInFolderLastUsedForItsPurpose()
    {
        QFETCH(QString, command);
        QFETCH(QString, answer);
        QFETCH(QString, folder);
        QVERIFY(CreateProjectFromDialog("memory"));
        QVERIFY(QDir().mkpath(m_pSandbox->Path(folder)));
        const auto run = [&]
        {
            if (command == "Add Images")
            {
                AddImages(true, {m_pSandbox->Path(answer)});
                return;
            }
            if (command == "Export Dataset...")
                m_pAnswers->texts.insert(m_pAnswers->texts.end(),
                                         {"Pascal VOC", "Referenced where the project keeps them"});
            m_pAnswers->files.push_back(m_pSandbox->Path(answer));
            Action(command)->trigger();
        };

        run();
        const QString strFirst = LastDialogFolder();
        run();

        QVERIFY(strFirst != m_pSandbox->Path(folder));
        QCOMPARE(LastDialogFolder(), m_pSandbox->Path(folder));
        // Every purpose has its own folder.
        int nRemembered = 0;
        for (const QString& strPurpose :
             {CFolderMemory::IMAGES, CFolderMemory::PROJECTS, CFolderMemory::IMPORT, CFolderMemory::EXPORT})
            nRemembered += CFolderMemory::Folder(strPurpose).isEmpty() ? 0 : 1;
        QCOMPARE(nRemembered, 1);
    }

    void projectArgument_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("project");
        QTest::newRow("none") << QStringList{"OvrelTrainer"} << QString();
        QTest::newRow("a file") << QStringList{"OvrelTrainer", "/p/cars.data"} << "/p/cars.data";
        QTest::newRow("after an option") << QStringList{"OvrelTrainer", "--verbose", "/p/cars.data", "/p/b.data"}
                                         << "/p/cars.data";
        QTest::newRow("options only") << QStringList{"OvrelTrainer", "-reverse"} << QString();
    }

    void projectArgument()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, project);
        QCOMPARE(MainWindow::ProjectArgument(arguments), project);
    }

    void projectFileFromCommandLineOpens()
    {
        QVERIFY(CreateProjectFromDialog("cars"));
        // A second program on the same settings, as the file manager starts it.
        m_pWindow = std::make_unique<MainWindow>();
        QVERIFY(m_pWindow->GetProjectModel()->GetProjectName().isEmpty());

        m_pWindow->slot_OpenProjectPath(DataFile());

        QCOMPARE(m_pWindow->GetProjectModel()->GetProjectName(), QString("cars"));
        QCOMPARE(m_pWindow->windowTitle(), QString("cars - OvrelTrainer"));
    }

    void missingProjectFileFromCommandLineIsTold()
    {
        const QString strMissing = m_pSandbox->Path("trucks/trucks.data");
        QVERIFY(QDir().mkpath(m_pSandbox->Path("trucks")));

        m_pWindow->slot_OpenProjectPath(strMissing);

        QCOMPARE(m_pAnswers->asked.size(), 1);
        QCOMPARE(m_pAnswers->asked.last().eIcon, QMessageBox::Critical);
        QCOMPARE(m_pAnswers->asked.last().strText, QString("Cannot load project trucks"));
        QVERIFY(!QFileInfo::exists(strMissing));
        QVERIFY(m_pWindow->GetProjectModel()->GetProjectName().isEmpty());
    }
};

int RunWindowMemoryTest(int argc, char** argv)
{
    WindowMemoryTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "WindowMemoryTest.moc"
