#include "CProjectTestCase.h"

using namespace ProjectTest;

// What keeps a user's files and projects safe: deletes that take only the project's own files, the lock that keeps a
// project to one window, a controller that outlives its model.
class ProjectSafetyTest : public CProjectTestCase
{
    Q_OBJECT

private slots:
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
        for (const char* pszFile : {"Images/a.jpg", "Images/a.txt", "Backup/config_last.weights", "train.txt",
                                    "Evaluation/evaluation_20260301-100000-000.json"})
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
        // Reopening what this window holds is no conflict.
        QTest::newRow("this window") << "self" << false;
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
        else if (holder == "self")
            m_pCase->controller.OpenProject(strShared, "shared");
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
};

int RunProjectSafetyTest(int argc, char** argv)
{
    ProjectSafetyTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "ProjectSafetyTest.moc"
