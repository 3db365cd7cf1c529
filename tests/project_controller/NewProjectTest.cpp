#include "CProjectFixture.h"
#include "CPromptAnswers.h"
#include "CTestSandbox.h"

#include "frame/CSetting.h"
#include "project/CNewProjectController.h"
#include "project/CProjectController.h"
#include "project/CProjectModel.h"
#include "views/CNewProjectDlg.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QtTest>

#include <memory>

// Creating a project from the new-project dialog: what lands on disk and in the new project file, which names and
// folders create nothing, and the folder default the dialog keeps.
class NewProjectTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<CTestSandbox> m_pSandbox;
    std::unique_ptr<CPromptAnswers> m_pAnswers;
    std::unique_ptr<CNewProjectDlg> m_pDialog;
    std::unique_ptr<CNewProjectController> m_pController;
    QString m_strRoot;
    int m_nCase = 0;

    void Add(const QString& strName, const QString& strFolder);
    QStringList RootEntries() const
    {
        return QDir(m_strRoot).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void addingCreatesFolderDatabaseAndOpensProject();
    void newProjectDatabaseHoldsProjectRowAndConfiguration();
    void creationReleasesItsConnectionBeforeAskingToOpen();
    void createdProjectOpensInProjectController();

    void validNamesCreateOneFolder_data();
    void validNamesCreateOneFolder();
    void namesThatAreNotOneFolderCreateNothing_data();
    void namesThatAreNotOneFolderCreateNothing();
    void existingFolderIsLeftAlone();
    void unusableParentFolderCreatesNothing_data();
    void unusableParentFolderCreatesNothing();

    void folderFieldStartsWithLastUsedFolder();
    void editingFolderBecomesNextDefault();
    void selectFolderTakesChosenFolder_data();
    void selectFolderTakesChosenFolder();
};

void NewProjectTest::initTestCase()
{
    m_pSandbox = std::make_unique<CTestSandbox>();
}

void NewProjectTest::init()
{
    m_pAnswers = std::make_unique<CPromptAnswers>();
    m_strRoot = m_pSandbox->Path(QString("parent%1").arg(++m_nCase));
    QVERIFY(QDir().mkpath(m_strRoot));
    CSetting::Set("GENERAL_PROJECT_DIR", m_strRoot);
    m_pDialog = std::make_unique<CNewProjectDlg>();
    m_pController = std::make_unique<CNewProjectController>(m_pDialog.get());
    m_pDialog->show();
}

void NewProjectTest::cleanup()
{
    m_pController.reset();
    m_pDialog.reset();
    m_pAnswers.reset();
}

void NewProjectTest::Add(const QString& strName, const QString& strFolder)
{
    m_pDialog->GetNameField()->setText(strName);
    m_pDialog->GetFolderField()->setText(strFolder);
    QTest::mouseClick(m_pDialog->GetAddButton(), Qt::LeftButton);
}

void NewProjectTest::addingCreatesFolderDatabaseAndOpensProject()
{
    QSignalSpy open(m_pController.get(), &CNewProjectController::signal_OpenProject);

    Add("alpha", m_strRoot);

    const QString strDir = m_strRoot + "/alpha";
    QCOMPARE(open.count(), 1);
    QCOMPARE(open[0][0].toString(), strDir);
    QCOMPARE(open[0][1].toString(), QString("alpha"));
    QVERIFY(QFileInfo(strDir + "/Images").isDir());
    QVERIFY(QFileInfo(strDir + "/alpha.data").isFile());
    QVERIFY(!m_pDialog->isVisible());
}

void NewProjectTest::newProjectDatabaseHoldsProjectRowAndConfiguration()
{
    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
    Add("beta", m_strRoot);
    const QString strFile = m_strRoot + "/beta/beta.data";

    QCOMPARE(CProjectFixture::Query(strFile, "SELECT name FROM sqlite_master WHERE type='table' AND name NOT LIKE "
                                             "'sqlite_%' ORDER BY name"),
             QList<QStringList>({{"category"},
                                 {"dataset_image"},
                                 {"dataset_roi"},
                                 {"parameter"},
                                 {"project_property"},
                                 {"project_training"}}));
    const QList<QStringList> lstProjects =
        CProjectFixture::Query(strFile, "SELECT ID, NAME, TYPE, VERSION, CREATED_DATETIME FROM project_training");
    QCOMPARE(lstProjects.size(), 1);
    QCOMPARE(lstProjects[0].mid(0, 4), QStringList({"1", "beta", "Yolo3", "0.0.1"}));
    const QDateTime created = QDateTime::fromString(lstProjects[0][4], Qt::TextDate);
    QVERIFY2(created.isValid(), qPrintable(lstProjects[0][4]));
    QVERIFY(created >= before && created <= QDateTime::currentDateTime().addSecs(1));

    const QList<QStringList> lstProperties =
        CProjectFixture::Query(strFile, "SELECT NAME, TYPE, PROJECT_ID, VALUE FROM project_property");
    QCOMPARE(lstProperties.size(), 1);
    QCOMPARE(lstProperties[0].mid(0, 3), QStringList({"PROJECT_CONFIGURATION", "string", "1"}));

    // The stored text is the resource with every CRLF turned into a plain line feed, nothing else changed.
    QFile resource(":/Files/yolov3.cfg");
    QVERIFY(resource.open(QIODevice::ReadOnly));
    const QByteArray baResource = resource.readAll();
    QCOMPARE(baResource.size(), 9131);
    const QByteArray baStored = lstProperties[0][3].toUtf8();
    QVERIFY(!baStored.contains('\r'));
    QCOMPARE(baStored.size(), baResource.size() - baResource.count("\r\n"));
    QCOMPARE(baStored.count('\n'), baResource.count("\r\n"));
    QVERIFY(baStored.startsWith("[net]\n"));
    QVERIFY(baStored.contains("\nbatch=1\n"));
    QVERIFY(baStored.contains("\nwidth=416\n"));
    QCOMPARE(baStored.count("[yolo]"), 3);
    QCOMPARE(baStored, QByteArray(baResource).replace("\r\n", "\n"));
    QCOMPARE(CProjectFixture::Query(strFile, "SELECT COUNT(*) FROM category"), QList<QStringList>({{"0"}}));
}

void NewProjectTest::creationReleasesItsConnectionBeforeAskingToOpen()
{
    const QString strFile = m_strRoot + "/gamma/gamma.data";
    QStringList lstHeldAtSignal;
    connect(m_pController.get(), &CNewProjectController::signal_OpenProject, this,
            [&lstHeldAtSignal, strFile]()
            {
                for (const QString& strConnection : QSqlDatabase::connectionNames())
                {
                    if (QSqlDatabase::database(strConnection, false).databaseName() == strFile)
                        lstHeldAtSignal.append(strConnection);
                }
            });

    Add("gamma", m_strRoot);

    QVERIFY(QFileInfo(strFile).isFile());
    QCOMPARE(lstHeldAtSignal, QStringList());
}

void NewProjectTest::createdProjectOpensInProjectController()
{
    CProjectModel model;
    CProjectController projectController(&model, nullptr);
    connect(m_pController.get(), &CNewProjectController::signal_OpenProject, &projectController,
            &CProjectController::OpenProject);

    Add("delta", m_strRoot);

    QCOMPARE(model.GetProjectName(), QString("delta"));
    QCOMPARE(model.GetProjectDir(), m_strRoot + "/delta");
    QCOMPARE(projectController.GetProjectID(), 1);
    QCOMPARE(projectController.GetProjectProperty("PROJECT_CONFIGURATION"), CProjectFixture::DefaultConfiguration());
    QVERIFY(m_pAnswers->asked.isEmpty());
    // A second project right after: the dialog's controller and the project controller keep out of each other's way.
    CNewProjectDlg secondDialog;
    CNewProjectController secondController(&secondDialog);
    connect(&secondController, &CNewProjectController::signal_OpenProject, &projectController,
            &CProjectController::OpenProject);
    secondDialog.GetNameField()->setText("epsilon");
    secondDialog.GetFolderField()->setText(m_strRoot);
    QTest::mouseClick(secondDialog.GetAddButton(), Qt::LeftButton);
    QCOMPARE(model.GetProjectName(), QString("epsilon"));
    projectController.slot_UpdateProjectProperty("PROJECT_INITIALIZED_MODEL", QString("x.weights"));
    QCOMPARE(CProjectFixture::Query(m_strRoot + "/epsilon/epsilon.data",
                                    "SELECT VALUE FROM project_property WHERE NAME='PROJECT_INITIALIZED_MODEL'"),
             QList<QStringList>({{"x.weights"}}));
}

void NewProjectTest::validNamesCreateOneFolder_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("plain") << "proj";
    QTest::newRow("with blank") << "my project";
    QTest::newRow("with dots") << "proj.v2";
    QTest::newRow("leading dots") << "...";
    QTest::newRow("non-ASCII") << QString::fromUtf8("caf\xC3\xA9");
}

void NewProjectTest::validNamesCreateOneFolder()
{
    QFETCH(QString, name);
    QSignalSpy open(m_pController.get(), &CNewProjectController::signal_OpenProject);

    Add(name, m_strRoot);

    QCOMPARE(open.count(), 1);
    QCOMPARE(RootEntries(), QStringList({name}));
    QVERIFY(QFileInfo(m_strRoot + "/" + name + "/" + name + ".data").isFile());
}

void NewProjectTest::namesThatAreNotOneFolderCreateNothing_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("empty") << "";
    QTest::newRow("dot") << ".";
    QTest::newRow("dot dot") << "..";
    QTest::newRow("subfolder") << "a/b";
    QTest::newRow("climbing out") << "../escaped";
    QTest::newRow("backslash") << "a\\b";
    QTest::newRow("trailing separator") << "proj/";
}

void NewProjectTest::namesThatAreNotOneFolderCreateNothing()
{
    QFETCH(QString, name);
    const QStringList lstParentBefore = QDir(m_strRoot + "/..").entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    QSignalSpy open(m_pController.get(), &CNewProjectController::signal_OpenProject);

    Add(name, m_strRoot);

    QCOMPARE(open.count(), 0);
    QCOMPARE(RootEntries(), QStringList());
    QCOMPARE(QDir(m_strRoot + "/..").entryList(QDir::AllEntries | QDir::NoDotAndDotDot), lstParentBefore);
    QVERIFY(m_pDialog->isVisible());
    QVERIFY(m_pAnswers->asked.isEmpty());
}

void NewProjectTest::existingFolderIsLeftAlone()
{
    QVERIFY(QDir().mkpath(m_strRoot + "/taken"));
    QFile kept(m_strRoot + "/taken/keep.txt");
    QVERIFY(kept.open(QIODevice::WriteOnly));
    kept.write("mine");
    kept.close();
    QSignalSpy open(m_pController.get(), &CNewProjectController::signal_OpenProject);

    Add("taken", m_strRoot);

    QCOMPARE(open.count(), 0);
    QCOMPARE(QDir(m_strRoot + "/taken").entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList({"keep.txt"}));
    QVERIFY(m_pDialog->isVisible());
}

void NewProjectTest::unusableParentFolderCreatesNothing_data()
{
    QTest::addColumn<QString>("folder");
    QTest::newRow("empty folder field") << "";
    QTest::newRow("missing parent") << "missing/deeper";
}

void NewProjectTest::unusableParentFolderCreatesNothing()
{
    QFETCH(QString, folder);
    // A relative folder resolves against the working directory: make that the test's folder.
    const QString strOldWorking = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_strRoot));
    const QString strName = QString("unusable%1").arg(m_nCase);
    QSignalSpy open(m_pController.get(), &CNewProjectController::signal_OpenProject);

    Add(strName, folder);

    QVERIFY(QDir::setCurrent(strOldWorking));
    QCOMPARE(open.count(), 0);
    QCOMPARE(RootEntries(), QStringList());
    const bool bAtRoot = QFileInfo::exists(QDir::rootPath() + strName);
    if (bAtRoot)
        QDir(QDir::rootPath() + strName).removeRecursively();
    QVERIFY(!bAtRoot);
}

void NewProjectTest::folderFieldStartsWithLastUsedFolder()
{
    CSetting::Set("GENERAL_PROJECT_DIR", QString("/srv/projects"));
    CNewProjectDlg dialog;
    QCOMPARE(dialog.GetFolderField()->text(), QString("/srv/projects"));
    QCOMPARE(dialog.GetProjectDir(), QString("/srv/projects"));
}

void NewProjectTest::editingFolderBecomesNextDefault()
{
    QTest::keyClicks(m_pDialog->GetFolderField(), "/x");
    QCOMPARE(CSetting::GetString("GENERAL_PROJECT_DIR", ""), m_strRoot + "/x");

    Add("zeta", m_strRoot);
    CNewProjectDlg nextDialog;
    QCOMPARE(nextDialog.GetFolderField()->text(), m_strRoot);
}

void NewProjectTest::selectFolderTakesChosenFolder_data()
{
    QTest::addColumn<QString>("answer");
    QTest::newRow("chosen") << "/chosen/folder";
    QTest::newRow("cancelled") << "";
}

void NewProjectTest::selectFolderTakesChosenFolder()
{
    QFETCH(QString, answer);
    m_pAnswers->files.push_back(answer);

    QTest::mouseClick(m_pDialog->GetSelectButton(), Qt::LeftButton);

    QCOMPARE(m_pAnswers->asked.size(), 1);
    QCOMPARE(m_pAnswers->asked[0].strKind, QString("dir"));
    QCOMPARE(m_pDialog->GetFolderField()->text(), answer);
    QCOMPARE(CSetting::GetString("GENERAL_PROJECT_DIR", "?"), answer);
}

QTEST_MAIN(NewProjectTest)
#include "NewProjectTest.moc"
