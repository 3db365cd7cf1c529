#include "CMainWindowCase.h"

#include "MainWindow.h"
#include "Utils/COvrelImage.h"
#include "frame/CSetting.h"
#include "images/CImageListModel.h"
#include "project/CProjectModel.h"
#include "views/CFileExplorerView.h"
#include "views/CTrainerSettingView.h"
#include "workspace/CImageViewerController.h"
#include "workspace/CImageWorkspaceController.h"

#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QtTest>

namespace
{
const char* const HISTORY = "GENERAL_PROGRAME_HISTORIES";
} // namespace

// The main window's commands, Recent menu and settings dialog, driven as a user would on real files.
class MainWindowTest : public CMainWindowCase
{
    Q_OBJECT

    QString Opened() const { return m_pWindow->GetProjectModel()->GetProjectName(); }
    QString Stored(const QString& strKey) const
    {
        const QString strFile = CSetting::GetString("GENERAL_PROGRAM_CONFIG_DIR", "") + "/settings.data";
        return CProjectFixture::Query(strFile, {"SELECT VALUE FROM settings WHERE NAME='" + strKey + "'"})[0][0];
    }

private slots:
    void init() { NewSandboxAndWindow(); }
    void cleanup() { CloseWindow(); }

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

        const auto row = [](const char* pszTag, const char* pszFolder, const char* pszName, const char* pszAnswer,
                            const char* pszResult) {
            QTest::newRow(pszTag) << QString(pszFolder) << QString(pszName) << QString(pszAnswer) << QString(pszResult);
        };
        row("file in folder", "P", "proj", "P/proj/proj.data", "opened P/proj proj");
        row("dot in a folder name", "my.folder", "proj", "my.folder/proj/proj.data", "opened my.folder/proj proj");
        row("two dots in the name", "Q", "v1.2", "Q/v1.2/v1.2.data", "opened Q/v1.2 v1.2");
        // Without a "." after the last separator the name runs to the end of the path.
        row("no extension", "R", "proj", "R/proj/proj", "opened R/proj proj");
        row("no extension, dotted folder", "S.d", "proj", "S.d/proj/proj", "opened S.d/proj proj");
        row("other extension", "T", "proj", "T/proj/proj.txt", "opened T/proj proj");
        row("missing file", "", "", "gone/gone.data", "Cannot load project gone");
        row("cancelled", "", "", "", "nothing");
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
        CSetting::Set("TAMSEL_COMMAND_EXE_YOLO3", QString("/usr/local/bin/darknet"));
        m_pWindow.reset();
        // Without a window nothing writes the settings file: the store now differs from the file.
        CSetting::Set(HISTORY, QString(""));
        CSetting::Set("TAMSEL_COMMAND_EXE_YOLO3", QString("stale"));
        m_pWindow = std::make_unique<MainWindow>();
        CTrainerSettingView* pView = m_pWindow->GetSettingView();

        QCOMPARE(Texts(m_pWindow->GetRecentMenu()), QString("/a/x.data,/b/y.data"));
        QCOMPARE(pView->GetExecutableField()->text(), QString("/usr/local/bin/darknet"));
        QCOMPARE(Texts(pView->findChild<QTabWidget*>()), QString("General,OvrelTrainer"));
        m_pAnswers->files.push_back("/opt/darknet/darknet");
        for (QPushButton* pButton : pView->findChildren<QPushButton*>())
        {
            if (pButton->text() == "Choose File")
                QTest::mouseClick(pButton, Qt::LeftButton);
        }
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
        // opened the chooser. Return ends the field's editing, which stores it: it has nothing to press.
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
