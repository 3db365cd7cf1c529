#include "CProjectTestCase.h"

#include <QPlainTextEdit>

using namespace ProjectTest;

// The project life cycle on real project files: create, open, close, the recent projects, the configuration.
class ProjectControllerTest : public CProjectTestCase
{
    Q_OBJECT

private slots:
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

    void classesTypedAtCreationFillTheClassTable_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("stored"); // in table order; empty with "refused" when nothing is created
        QTest::addColumn<bool>("created");
        QTest::newRow("none") << "" << QStringList() << true;
        QTest::newRow("one per line") << "cat\ndog\r\nbird\n" << QStringList({"cat", "dog", "bird"}) << true;
        QTest::newRow("comma-separated") << "cat, dog,bird" << QStringList({"cat", "dog", "bird"}) << true;
        QTest::newRow("blanks and repeats dropped") << " \ncat,, dog\n\ncat\n dog ,\t\n"
                                                    << QStringList({"cat", "dog"}) << true;
        QTest::newRow("control character refused") << "cat\nca\tt" << QStringList() << false;
    }
    void classesTypedAtCreationFillTheClassTable()
    {
        QFETCH(QString, typed);
        QFETCH(QStringList, stored);
        QFETCH(bool, created);
        m_pCase->dialog.GetClassesField()->setPlainText(typed);

        Create("classes", m_strRoot);

        QCOMPARE(QFileInfo::exists(m_strRoot + "/classes"), created);
        QCOMPARE(m_pCase->answers.asked.size(), created ? 0 : 1);
        if (!created)
            QCOMPARE(m_pCase->answers.asked[0].strText,
                     QString("Cannot save class ca\\tt: its name holds a control character"));
        QStringList lstNames;
        for (const QStringList& lstRow :
             CProjectFixture::Query(CProjectFixture::DataFile(m_strRoot + "/classes", "classes"),
                                    {"SELECT NAME FROM category ORDER BY ID"}))
            lstNames.append(lstRow.value(0));
        QCOMPARE(lstNames, stored);
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
        QCOMPARE(CSqlTrace::TakeSelects().filter("dataset_roi"),
                 QStringList("SELECT IMAGE_ID, CATEGORY_ID, X, Y, WIDTH, HEIGHT FROM dataset_roi"));
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

int RunProjectControllerTest(int argc, char** argv)
{
    ProjectControllerTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "ProjectControllerTest.moc"
