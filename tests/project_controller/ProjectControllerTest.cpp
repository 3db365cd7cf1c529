#include "CProjectFixture.h"
#include "CPromptAnswers.h"
#include "CReadOnlyGuard.h"
#include "CSqlTrace.h"
#include "CTestSandbox.h"

#include "frame/CLogModel.h"
#include "frame/CSetting.h"
#include "project/CDatasetImageEntry.h"
#include "project/CProjectController.h"
#include "project/CProjectModel.h"
#include "project/ECommandState.h"
#include "views/CConfigurationEditorView.h"
#include "views/CProjectView.h"
#include "views/CTextEditorView.h"

#include <QDateTime>
#include <QDirIterator>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTextCursor>
#include <QTextEdit>
#include <QTreeView>
#include <QtTest>

#include <memory>

namespace
{
const char* const HISTORY = "GENERAL_PROGRAME_HISTORIES";

// Names in list order, an invalid image marked with a leading "!".
QStringList Entries(const CProjectModel::EntryList& vctEntries)
{
    QStringList lstEntries;
    for (const auto& pEntry : vctEntries)
        lstEntries.append((pEntry->IsValid() ? "" : "!") + pEntry->GetName());
    return lstEntries;
}

QStringList Files(const QString& strDir)
{
    return QDir(strDir).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

// Every file below the folder, by relative path, sorted.
QStringList Tree(const QString& strDir)
{
    QStringList lstFiles;
    for (QDirIterator it(strDir, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories); it.hasNext();)
        lstFiles.append(QDir(strDir).relativeFilePath(it.next()));
    lstFiles.sort();
    return lstFiles;
}
} // namespace

// The project life cycle on real project files: create, open, close, delete, the recent projects, the configuration.
class ProjectControllerTest : public QObject
{
    Q_OBJECT

    // What one test works with, torn down in reverse order: the prompt answers go last.
    struct SCase
    {
        CPromptAnswers answers;
        CProjectModel model;
        CProjectView view{&model};
        CProjectController controller{&model, &view};
        CNewProjectDlg dialog;
        CNewProjectController creator{&dialog};
    };
    std::unique_ptr<CTestSandbox> m_pSandbox;
    std::unique_ptr<SCase> m_pCase;
    QString m_strRoot;
    int m_nCase = 0;
    qint64 m_nLogStart = 0;

    // The log file's lines since the test began, those still queued included, each as "[LEVEL] text".
    QStringList Log() const
    {
        CLogModel::GetInstance().Flush();
        QFile file(CLogModel::GetInstance().CurrentFileName());
        QString strText = file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll().mid(m_nLogStart)) : "";
        return strText.replace(QRegularExpression("\\]\\[[-\\d: ]+\\] "), "] ").split('\n');
    }

    // Creates the project, fills its file and opens it when asked to; returns its folder.
    QString Project(const QString& strName, const QStringList& lstStatements = {}, bool bOpen = true)
    {
        const QString strDir = CProjectFixture::CreateProject(m_strRoot, strName);
        bool bOk = false;
        CProjectFixture::Query(CProjectFixture::DataFile(strDir, strName), lstStatements, &bOk);
        if (bOk && bOpen)
            m_pCase->controller.OpenProject(strDir, strName);
        return bOk ? strDir : QString();
    }
    void Create(const QString& strName, const QString& strFolder)
    {
        m_pCase->dialog.GetNameField()->setText(strName);
        m_pCase->dialog.GetFolderField()->setText(strFolder);
        QTest::mouseClick(m_pCase->dialog.GetAddButton(), Qt::LeftButton);
    }
    int TreeRows() const { return m_pCase->view.findChild<QTreeView*>()->model()->rowCount(); }

private slots:
    void initTestCase()
    {
        m_pSandbox = std::make_unique<CTestSandbox>();
        CSqlTrace::Install();
    }
    void init()
    {
        CSetting::Set(HISTORY, QString());
        m_strRoot = m_pSandbox->Path(QString("case%1").arg(++m_nCase));
        // Empty and relative folders mean the working folder: keep that inside the sandbox too.
        QVERIFY(QDir().mkpath(m_strRoot) && QDir::setCurrent(m_strRoot));
        m_pCase = std::make_unique<SCase>();
        m_pCase->dialog.show();
        Log();
        m_nLogStart = QFileInfo(CLogModel::GetInstance().CurrentFileName()).size();
    }
    void cleanup() { m_pCase.reset(); }

    void creatingWritesProjectFileAndReleasesIt()
    {
        const QString strFile = m_strRoot + "/beta/beta.data";
        const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
        QSignalSpy open(&m_pCase->creator, &CNewProjectController::signal_OpenProject);
        int nHeld = 0; // connections to the file when the project controller is asked to open it
        connect(&m_pCase->creator, &CNewProjectController::signal_OpenProject, this,
                [&nHeld, strFile]()
                {
                    for (const QString& strName : QSqlDatabase::connectionNames())
                        nHeld += QSqlDatabase::database(strName, false).databaseName() == strFile;
                });

        Create("beta", m_strRoot);

        QCOMPARE(QList<QVariantList>(open), QList<QVariantList>({{m_strRoot + "/beta", "beta"}}));
        QCOMPARE(nHeld, 0);
        QCOMPARE(Files(m_strRoot + "/beta"), QStringList({"beta.data", "Images"}));
        const auto lstProject = CProjectFixture::Query(strFile, {"SELECT * FROM project_training"});
        QCOMPARE(lstProject.value(0).mid(0, 4), QStringList({"1", "beta", "Yolo3", "0.0.1"}));
        QVERIFY(lstProject.size() == 1 && QDateTime::fromString(lstProject[0].last(), Qt::TextDate) >= before);
        // The configuration resource, its CRLF line ends stored as line feeds.
        QFile resource(":/Files/yolov3.cfg");
        QVERIFY(resource.open(QIODevice::ReadOnly));
        QByteArray baConfiguration = resource.readAll();
        QCOMPARE(baConfiguration.size(), 9131);
        QCOMPARE(CProjectFixture::Query(strFile, {"SELECT NAME, TYPE, PROJECT_ID, VALUE FROM project_property"}),
                 QList<QStringList>({{"PROJECT_CONFIGURATION", "string", "1",
                                      QString::fromUtf8(baConfiguration.replace("\r\n", "\n"))}}));
    }

    void nameAndFolderDecideWhatIsCreated_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("created");
        QTest::addColumn<QString>("folder"); // "*" stands for the test's parent folder
        QTest::newRow("blank") << "my project" << true << "*";
        QTest::newRow("leading dots") << "..." << true << "*";
        QTest::newRow("non-ASCII") << QString::fromUtf8("caf\xC3\xA9") << true << "*";
        QTest::newRow("empty") << "" << false << "*";
        QTest::newRow("dot") << "." << false << "*";
        QTest::newRow("dot dot") << ".." << false << "*";
        QTest::newRow("subfolder") << "a/b" << false << "*";
        QTest::newRow("climbing out") << "../escaped" << false << "*";
        QTest::newRow("backslash") << "a\\b" << false << "*";
        QTest::newRow("semicolon") << "a;b" << false << "*";
        QTest::newRow("existing folder") << "taken" << false << "*";
        // The folder can be made, its project file cannot: what was made goes again.
        QTest::newRow("file name too long") << QString(250, 'n') << false << "*";
        QTest::newRow("empty folder field") << "orphan" << false << "";
        QTest::newRow("missing parent") << "orphan" << false << "missing/deeper";
    }
    void nameAndFolderDecideWhatIsCreated()
    {
        QFETCH(QString, name);
        QFETCH(bool, created);
        QFETCH(QString, folder);
        QVERIFY(QDir().mkpath("taken") && QFile("taken/keep.txt").open(QIODevice::WriteOnly));
        const QStringList lstHere = Files(".");
        const QStringList lstOutside = Files("taken") + Files("..") + Files("/");
        QSignalSpy open(&m_pCase->creator, &CNewProjectController::signal_OpenProject);

        Create(name, folder == "*" ? m_strRoot : folder);

        QCOMPARE(open.count(), created ? 1 : 0);
        QStringList lstNow = Files(".");
        QVERIFY(!created || lstNow.removeOne(name));
        QCOMPARE(lstNow, lstHere);
        QCOMPARE(Files("taken") + Files("..") + Files("/"), lstOutside);
        QCOMPARE(m_pCase->dialog.isVisible(), !created);
        QStringList lstAsked;
        for (const auto& sAsked : m_pCase->answers.asked)
            lstAsked.append(QString::number(sAsked.eIcon) + " " + sAsked.strText);
        QCOMPARE(lstAsked,
                 created
                     ? QStringList()
                     : QStringList(QString("%1 Cannot create project %2").arg(int(QMessageBox::Warning)).arg(name)));
    }

    void openingLoadsValidatesAndIndexesProject()
    {
        // b: known class; a: no ROI; t: a class that is gone; c: known and unknown class.
        const QString strDir = Project(
            "alpha",
            {"INSERT INTO category (NAME) VALUES('cat'), ('dog')",
             "INSERT INTO dataset_image (NAME, FULL_PATH, TYPE, WIDTH, HEIGHT, PROJECT_ID) VALUES"
             "('b.jpg', 'b', 'train', 6, 4, 1), ('a.jpg', 'a', 'train', 6, 4, 1), ('t.jpg', 't', 'test', 6, 4, 1),"
             "('c.jpg', 'c', 'train', 6, 4, 1)",
             "INSERT INTO dataset_roi (X, Y, WIDTH, HEIGHT, IMAGE_ID, CATEGORY_ID) VALUES"
             "(1, 2, 3, 4, 1, 1), (1, 2, 3, 4, 3, 7), (1, 2, 3, 4, 4, 2), (1, 2, 3, 4, 4, 9), (1, 2, 3, 4, 1, 2)"},
            false);
        const QString strFile = CProjectFixture::DataFile(strDir, "alpha");
        const QString strPlan = "EXPLAIN QUERY PLAN SELECT * FROM dataset_roi WHERE IMAGE_ID=1";
        QVERIFY(!CProjectFixture::Query(strFile, {strPlan}).value(0).join(' ').contains("INDEX"));
        CSqlTrace::TakeSelects();

        m_pCase->controller.OpenProject(strDir, "alpha");

        // Every ROI in one select instead of one per image, and an index for the per-image selects elsewhere.
        QCOMPARE(CSqlTrace::TakeSelects(),
                 QStringList({"SELECT * FROM project_training", "SELECT * FROM dataset_image WHERE TYPE='train' ",
                              "SELECT * FROM dataset_image WHERE TYPE='test' ",
                              "SELECT * FROM project_property WHERE NAME='PROJECT_INITIALIZED_MODEL' AND PROJECT_ID=1 ",
                              "SELECT * FROM project_property WHERE NAME='PROJECT_INITIALIZED_CONF' AND PROJECT_ID=1 ",
                              "SELECT * FROM category", "SELECT * FROM dataset_roi"}));
        QVERIFY(CProjectFixture::Query(strFile, {strPlan}).value(0).join(' ').contains("USING INDEX"));
        QCOMPARE(m_pCase->model.GetProjectDir() + "|" + m_pCase->model.GetProjectName(), strDir + "|alpha");
        QCOMPARE(Entries(m_pCase->model.GetTrainImages()), QStringList({"b.jpg", "!a.jpg", "!c.jpg"}));
        QCOMPARE(Entries(m_pCase->model.GetTestImages()), QStringList({"!t.jpg"}));
        QCOMPARE(CSetting::GetString(HISTORY, ""), strFile);
        for (const char* pszName : {"a.jpg", "c.jpg", "t.jpg"})
            QVERIFY(Log().contains(QString("[ERROR] Validate: need to update class name for image ") + pszName));
        QVERIFY(!Log().contains("[ERROR] Validate: need to update class name for image b.jpg"));
        QVERIFY(Log().contains("[ERROR] Validate ROI Error"));
    }

    void historyIsNewestFirstWithoutDuplicatesAtMostFive_data()
    {
        // Each operation is "+name" (opened) or "-name" (forgotten), all in folder /p.
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QStringList>("operations");
        QTest::addColumn<QString>("expected");
        QTest::newRow("sixth pushes the oldest out, reopening moves to the front")
            << "/p/a.data;/p/b.data;/p/c.data;/p/d.data;/p/e.data" << QStringList({"+f", "+c"})
            << "/p/c.data;/p/f.data;/p/a.data;/p/b.data;/p/d.data";
        QTest::newRow("empty pieces and duplicates are dropped")
            << ";/p/a.data;;/p/b.data;/p/a.data" << QStringList({"+x", "+x"}) << "/p/x.data;/p/a.data;/p/b.data";
        QTest::newRow("forgetting the last leaves an empty text") << "/p/a.data" << QStringList({"-a"}) << "";
    }
    void historyIsNewestFirstWithoutDuplicatesAtMostFive()
    {
        QFETCH(QString, stored);
        QFETCH(QStringList, operations);
        CSetting::Set(HISTORY, stored);

        for (const QString& strOperation : operations)
        {
            if (strOperation.startsWith('+'))
                m_pCase->controller.AddProjectHistory("/p", strOperation.mid(1));
            else
                m_pCase->controller.RemoveProjectHistory("/p", strOperation.mid(1));
        }

        QTEST(CSetting::GetString(HISTORY, "no value"), "expected");
    }

    void failedOpenClosesProjectShowsBoxAndForgetsFile_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QStringList>("statements"); // run on a new project file named "broken"
        QTest::newRow("file missing") << "missing" << QStringList();
        QTest::newRow("not a database") << "garbage" << QStringList();
        QTest::newRow("no project row") << "file" << QStringList("DELETE FROM project_training");
        // The project row must not pass for an image, nor the open for a success.
        QTest::newRow("no image table") << "file" << QStringList("DROP TABLE dataset_image");
        QTest::newRow("no ROI table") << "file" << QStringList("DROP TABLE dataset_roi");
        QTest::newRow("no class table") << "file" << QStringList("DROP TABLE category");
        QTest::newRow("no property table") << "file" << QStringList("DROP TABLE project_property");
    }
    void failedOpenClosesProjectShowsBoxAndForgetsFile()
    {
        QFETCH(QString, kind);
        QFETCH(QStringList, statements);
        const QString strPrevious = Project("previous");
        const QString strFile = CProjectFixture::DataFile(m_strRoot + "/broken", "broken");
        if (kind == "file")
            QVERIFY(!Project("broken", statements, false).isEmpty());
        QFile file(strFile);
        if (kind == "garbage")
            QVERIFY(QDir().mkpath("broken") && file.open(QIODevice::WriteOnly) && file.write(QByteArray(4096, 'x')));
        file.close();
        CSetting::Set(HISTORY, CSetting::GetString(HISTORY, "") + ";" + strFile);

        m_pCase->controller.OpenProject(m_strRoot + "/broken", "broken");

        QCOMPARE(m_pCase->answers.asked.size(), 1);
        QCOMPARE(m_pCase->answers.asked[0].eIcon, QMessageBox::Critical);
        QCOMPARE(m_pCase->answers.asked[0].strText, QString("Cannot load project broken"));
        QCOMPARE(CSetting::GetString(HISTORY, ""), CProjectFixture::DataFile(strPrevious, "previous"));
        QVERIFY(m_pCase->model.GetProjectName().isEmpty() && m_pCase->model.GetTrainImages().empty());
        QCOMPARE(m_pCase->controller.GetProjectID(), -1);
        QCOMPARE(TreeRows(), 0);
        QVERIFY(Log().contains("[ERROR] Cannot load project broken"));
        QCOMPARE(Log().contains(QString("[ERROR] Project file %1 is not found").arg(strFile)), kind == "missing");
        // Nothing is tried on a file that lacks the tables (no index on a missing ROI table).
        QVERIFY(Log().filter("no such table").isEmpty());
        // The lock of a failed open is not kept.
        QVERIFY(!QFileInfo::exists(strFile + ".lock"));
    }

    void leavingProjectAsksFirstWhileRunning_data()
    {
        QTest::addColumn<int>("state");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("openOther");
        QTest::newRow("close stopped") << int(ECommandState_Stopped) << int(QMessageBox::NoButton) << false;
        QTest::newRow("close running, no") << int(ECommandState_Running) << int(QMessageBox::No) << false;
        QTest::newRow("close starting, no") << int(ECommandState_Starting) << int(QMessageBox::No) << false;
        QTest::newRow("close running, yes") << int(ECommandState_Running) << int(QMessageBox::Yes) << false;
        QTest::newRow("open other, no") << int(ECommandState_Running) << int(QMessageBox::No) << true;
    }
    void leavingProjectAsksFirstWhileRunning()
    {
        QFETCH(int, state);
        QFETCH(int, answer);
        QFETCH(bool, openOther);
        const QString strOther = Project("other", {}, false);
        const QString strDir =
            Project("busy", {"INSERT INTO dataset_image (NAME, FULL_PATH, TYPE, WIDTH, HEIGHT, PROJECT_ID) "
                             "VALUES('a.jpg', 'a', 'train', 6, 4, 1)"});
        QTRY_COMPARE(TreeRows(), 1);
        m_pCase->model.SetCommandState(state);
        m_pCase->answers.messages.push_back(static_cast<QMessageBox::StandardButton>(answer));

        if (openOther)
            m_pCase->controller.OpenProject(strOther, "other");
        else
            emit m_pCase->view.signal_CloseProject();

        const bool bStopped = state == ECommandState_Stopped;
        QStringList lstAsked;
        for (const auto& sAsked : m_pCase->answers.asked)
            lstAsked.append(sAsked.strText + (sAsked.defaultButton == QMessageBox::No ? " [No]" : ""));
        QCOMPARE(lstAsked,
                 (bStopped ? QStringList() : QStringList("Program is running, do you want to close it? [No]")) +
                     (openOther ? QStringList("Cannot load project other") : QStringList()));
        // The model never lets a running project go, whatever the answer.
        QCOMPARE(m_pCase->model.GetProjectName(), bStopped ? QString() : QString("busy"));
        QCOMPARE(TreeRows(), bStopped ? 0 : 1);
        QCOMPARE(m_pCase->controller.GetProjectID(), answer == QMessageBox::No ? 1 : -1);
        QCOMPARE(CSetting::GetString(HISTORY, ""), CProjectFixture::DataFile(strDir, "busy"));
        QCOMPARE(Log().contains("[ERROR] Failed to close current Project"), answer == QMessageBox::No && !openOther);
        // Once stopped, the project opens again on the connection kept.
        m_pCase->model.SetCommandState(ECommandState_Stopped);
        m_pCase->controller.OpenProject(strDir, "busy");
        QCOMPARE(Entries(m_pCase->model.GetTrainImages()), QStringList({"!a.jpg"}));
    }

    void deletingTakesOnlyTheProjectsFilesAndClosesIt_data()
    {
        QTest::addColumn<QString>("situation");
        QTest::addColumn<QStringList>("answers"); // "y" or "n", in order
        QTest::addColumn<QStringList>("asked");
        QTest::addColumn<QStringList>("left"); // files under the project folder afterwards; "*" for all of them
        const QString strAsk = "Do you want to delete project doomed?";
        const QString strRunning = "Program is running, do you want to close it?";
        const QString strCannot = "Cannot delete project doomed";
        const QStringList lstAll("*");
        QTest::newRow("answered yes") << "yes" << QStringList("y") << QStringList(strAsk) << QStringList();
        QTest::newRow("answered no") << "no" << QStringList("n") << QStringList(strAsk) << lstAll;
        QTest::newRow("no project open") << "none" << QStringList("y") << QStringList("Do you want to delete project ?")
                                         << lstAll;
        QTest::newRow("project file gone")
            << "file gone" << QStringList("y") << QStringList({strAsk, strCannot}) << lstAll;
        QTest::newRow("read-only folder")
            << "read-only" << QStringList("y") << QStringList({strAsk, strCannot}) << lstAll;
        // A project file in a folder of the user's: the user's things stay, "Images" among them.
        QTest::newRow("folder of other things")
            << "foreign" << QStringList("y") << QStringList(strAsk) << QStringList({"Images/photo.jpg", "notes.txt"});
        QTest::newRow("running, close refused")
            << "running" << QStringList({"y", "n"}) << QStringList({strAsk, strRunning}) << lstAll;
        // The trainer still works in the folder: the close cannot let the project go.
        QTest::newRow("running, close accepted")
            << "running" << QStringList({"y", "y"}) << QStringList({strAsk, strRunning}) << lstAll;
    }
    void deletingTakesOnlyTheProjectsFilesAndClosesIt()
    {
        QFETCH(QString, situation);
        QFETCH(QStringList, answers);
        QFETCH(QStringList, asked);
        QFETCH(QStringList, left);
        QString strDir = Project("doomed",
                                 {"INSERT INTO dataset_image (NAME, FULL_PATH, TYPE, WIDTH, HEIGHT, "
                                  "PROJECT_ID) VALUES('a.jpg', 'Images/a.jpg', 'train', 6, 4, 1)"},
                                 false);
        for (const char* pszFile : {"Images/a.jpg", "Images/a.txt", "Backup/config_last.weights", "train.txt"})
            QVERIFY(QDir(strDir).mkpath(QFileInfo(pszFile).path()) &&
                    QFile(strDir + "/" + pszFile).open(QFile::WriteOnly));
        if (situation == "foreign")
        {
            QVERIFY(QDir().rename(strDir, "documents"));
            strDir = m_strRoot + "/documents";
            QVERIFY(QFile(strDir + "/notes.txt").open(QFile::WriteOnly) &&
                    QFile(strDir + "/Images/photo.jpg").open(QFile::WriteOnly));
        }
        if (situation == "none")
            strDir = m_strRoot;
        else
            m_pCase->controller.OpenProject(strDir, "doomed");
        const QString strFile = CProjectFixture::DataFile(strDir, "doomed");
        if (situation == "file gone")
            QVERIFY(QFile::remove(strFile));
        if (situation == "running")
            m_pCase->model.SetCommandState(ECommandState_Running);
        CSetting::Set(HISTORY, CSetting::GetString(HISTORY, "") + ";/keep/me.data");
        const QString strHistory = CSetting::GetString(HISTORY, "");
        const QStringList lstBefore = Tree(strDir);
        for (const QString& strAnswer : answers)
            m_pCase->answers.messages.push_back(strAnswer == "y" ? QMessageBox::Yes : QMessageBox::No);
        auto pGuard = situation == "read-only" ? std::make_unique<CReadOnlyGuard>(strDir) : nullptr;
        if (pGuard && !pGuard->IsActive())
            QSKIP("This file system cannot protect a folder");

        emit m_pCase->view.signal_DeleteProject();
        pGuard.reset();

        QStringList lstAsked;
        for (const auto& sAsked : m_pCase->answers.asked)
            lstAsked.append(sAsked.strText);
        QCOMPARE(lstAsked, asked);
        QCOMPARE(m_pCase->answers.asked.last().eIcon,
                 asked.last() == "Cannot delete project doomed" ? QMessageBox::Critical : QMessageBox::Question);
        QVERIFY(QFileInfo(m_strRoot).isDir());
        QCOMPARE(Tree(strDir), left == QStringList("*") ? lstBefore : left);
        const bool bDeleted = left != QStringList("*");
        QCOMPARE(QFileInfo::exists(strDir), !bDeleted || !left.isEmpty());
        QCOMPARE(CSetting::GetString(HISTORY, ""), bDeleted ? QString("/keep/me.data") : strHistory);
        // A deleted project is closed; one that could not be deleted stays open and usable, its lock held.
        const bool bOpen = situation != "none" && !bDeleted;
        QCOMPARE(m_pCase->model.GetProjectName(), bOpen ? QString("doomed") : QString());
        QCOMPARE(Entries(m_pCase->model.GetTrainImages()), bOpen ? QStringList("!a.jpg") : QStringList());
        QCOMPARE(TreeRows(), bOpen ? 1 : 0);
        if (bOpen && situation != "file gone" && answers.last() != "y")
        {
            QVERIFY(QFileInfo::exists(strFile + ".lock"));
            QVERIFY(!m_pCase->controller.GetProjectProperty("PROJECT_CONFIGURATION").isEmpty());
        }
        if (situation == "foreign")
            QVERIFY(Log().contains(QString("[WARNING] Kept in folder %1: Images, notes.txt").arg(strDir)));
    }

    void projectOpenInAnotherWindowIsRefused_data()
    {
        QTest::addColumn<QString>("holder");
        QTest::addColumn<bool>("refused");
        QTest::newRow("another window") << "window" << true;
        QTest::newRow("another window, closed since") << "closed" << false;
        QTest::newRow("a process that died") << "dead" << false;
    }
    void projectOpenInAnotherWindowIsRefused()
    {
        QFETCH(QString, holder);
        QFETCH(bool, refused);
        const QString strShared = Project("shared", {}, false);
        const QString strOwn = Project("own");
        CProjectModel otherModel;
        CProjectController other(&otherModel, nullptr);
        if (holder == "dead")
        {
            QProcess process;
            process.start("sleep", {"30"});
            QVERIFY(process.waitForStarted());
            const qint64 nPid = process.processId();
            process.kill();
            QVERIFY(process.waitForFinished());
            QFile lock(strShared + "/shared.data.lock");
            QVERIFY(lock.open(QIODevice::WriteOnly));
            lock.write(QString("%1\nOvrelTrainer\n%2\n").arg(nPid).arg(QSysInfo::machineHostName()).toUtf8());
        }
        else
            other.OpenProject(strShared, "shared");
        if (holder == "closed")
            QVERIFY(other.CloseProject());
        const QString strHistory = CSetting::GetString(HISTORY, "");

        m_pCase->controller.OpenProject(strShared, "shared");

        QStringList lstAsked;
        for (const auto& sAsked : m_pCase->answers.asked)
            lstAsked.append(QString::number(sAsked.eIcon) + " " + sAsked.strText);
        const QString strRefusal = "Project shared is open in another window";
        QCOMPARE(lstAsked,
                 refused ? QStringList(QString::number(QMessageBox::Warning) + " " + strRefusal) : QStringList());
        // A refusal changes nothing: this window keeps its project, the other its own.
        QCOMPARE(m_pCase->model.GetProjectName(), refused ? QString("own") : QString("shared"));
        QVERIFY(refused ? CSetting::GetString(HISTORY, "") == strHistory
                        : CSetting::GetString(HISTORY, "").startsWith(CProjectFixture::DataFile(strShared, "shared")));
        QCOMPARE(Log().contains("[WARNING] " + strRefusal), refused);
        QCOMPARE(otherModel.GetProjectName(), holder == "window" ? QString("shared") : QString());
        QFile lock(strShared + "/shared.data.lock");
        QVERIFY(lock.open(QIODevice::ReadOnly));
        QCOMPARE(lock.readLine().trimmed().toLongLong(), QCoreApplication::applicationPid());
        // The project released by this window's close is free for the other again.
        m_pCase->controller.CloseProject();
        other.OpenProject(strShared, "shared");
        QCOMPARE(otherModel.GetProjectName(), QString("shared"));
    }

    void controllerOutlivesItsModel()
    {
        const QString strDir = Project("left", {}, false);
        auto* pModel = new CProjectModel;
        CProjectController controller(pModel, nullptr);
        controller.OpenProject(strDir, "left");
        QCOMPARE(pModel->GetProjectName(), QString("left"));
        pModel->SetCommandState(ECommandState_Running);

        // The window lets the model go before the controller: what still reaches the controller must not touch it.
        delete pModel;
        controller.slot_CloseProject();
        controller.slot_DeleteProject();
        controller.slot_ShuffleTrainImage();
        controller.OpenProject(strDir, "left");

        QCOMPARE(controller.GetProjectID(), 1);
        QVERIFY(Log().contains("[ERROR] Failed to close current Project"));
        QVERIFY(QFileInfo::exists(CProjectFixture::DataFile(strDir, "left")));
    }

    void configurationEditorStoresWholeText()
    {
        const QString strFile = CProjectFixture::DataFile(Project("edit"), "edit");
        const QString strSelect = "SELECT VALUE FROM project_property WHERE NAME='PROJECT_CONFIGURATION'";
        const QString strStored = CProjectFixture::Query(strFile, {strSelect}).value(0).value(0);
        QString strShown;
        m_pCase->answers.dialogs.push_back(
            [&strShown](QDialog* pDialog)
            {
                CTextEditorView* pText = qobject_cast<CConfigurationEditorView*>(pDialog)->GetTextView();
                strShown = pText->GetText();
                QTextCursor(pText->GetTextEdit()->document()).insertText("# tuned\n");
                return int(QDialog::Accepted);
            });

        emit m_pCase->view.signal_EditConfiguration();

        // Stored whole, once when shown and again at each change.
        QCOMPARE(strShown, strStored);
        QCOMPARE(CProjectFixture::Query(strFile, {strSelect}), QList<QStringList>({{"# tuned\n" + strStored}}));
        QCOMPARE(Log().count("[NORMAL] Update Table project_property OK"), 2);
    }
};

QTEST_MAIN(ProjectControllerTest)
#include "ProjectControllerTest.moc"
