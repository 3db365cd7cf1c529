#include "CLogCapture.h"
#include "CProjectFixture.h"
#include "CPromptAnswers.h"
#include "CSqlTrace.h"
#include "CTestSandbox.h"

#include "frame/CSetting.h"
#include "project/CDatasetImageEntry.h"
#include "project/CProjectController.h"
#include "project/CProjectModel.h"
#include "project/ECommandState.h"
#include "views/CClassEditorView.h"
#include "views/CConfigurationEditorView.h"
#include "views/CParameterEditorView.h"
#include "views/CProjectPropertyModel.h"
#include "views/CProjectPropertyView.h"
#include "views/CProjectView.h"
#include "views/CTextEditorView.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTableView>
#include <QTextCursor>
#include <QTextEdit>
#include <QTreeView>
#include <QtTest>

#include <memory>

namespace
{
const char* const HISTORY = "GENERAL_PROGRAME_HISTORIES";

QStringList Names(const CProjectModel::EntryList& vctEntries)
{
    QStringList lstNames;
    for (const auto& pEntry : vctEntries)
        lstNames.append(pEntry->GetName());
    return lstNames;
}

QList<bool> Validity(const CProjectModel::EntryList& vctEntries)
{
    QList<bool> lstValid;
    for (const auto& pEntry : vctEntries)
        lstValid.append(pEntry->IsValid());
    return lstValid;
}

QString ImageRow(const QString& strName, const QString& strType)
{
    return QString("INSERT INTO dataset_image (NAME, FULL_PATH, TYPE, WIDTH, HEIGHT, PROJECT_ID) "
                   "VALUES('%1', 'Images/%1', '%2', 640, 480, 1)")
        .arg(strName, strType);
}

QString RoiRow(int nImageID, int nCategoryID)
{
    return QString("INSERT INTO dataset_roi (X, Y, WIDTH, HEIGHT, IMAGE_ID, CATEGORY_ID) "
                   "VALUES(1.0, 2.0, 30.0, 40.0, %1, %2)")
        .arg(nImageID)
        .arg(nCategoryID);
}
} // namespace

// The project life cycle on real project files: opening, closing, deleting, the recent projects, the properties and
// the editors the controller runs.
class ProjectControllerTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<CTestSandbox> m_pSandbox;
    std::unique_ptr<CLogCapture> m_pLog;
    std::unique_ptr<CPromptAnswers> m_pAnswers;
    std::unique_ptr<CProjectModel> m_pModel;
    std::unique_ptr<CProjectView> m_pView;
    std::unique_ptr<CProjectController> m_pController;
    QString m_strRoot;
    int m_nCase = 0;

    QString NewProject(const QString& strName);
    QStandardItemModel* TreeItems() const;
    int TreeRows() const { return TreeItems()->rowCount(); }

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void openingFillsModelInDatabaseOrderAndValidatesImages();
    void openingRunsItsSelectsInOrder();
    void openingAddsRoiImageIndex();
    void openingPutsProjectFirstInHistory();

    void historyKeepsNewestFirstWithoutDuplicatesAtMostFive_data();
    void historyKeepsNewestFirstWithoutDuplicatesAtMostFive();

    void failedOpenShowsBoxAndForgetsProject_data();
    void failedOpenShowsBoxAndForgetsProject();
    void failedOpenLeavesPreviousProjectClosed();
    void openRefusedWhileRunningKeepsRunningProject();

    void closingEmptiesModelAndTreeAndAllowsReopening();
    void closeWhileRunningAsksFirst_data();
    void closeWhileRunningAsksFirst();

    void deletingRemovesProjectFolderAndHistoryEntry();
    void deletingAnsweredNoKeepsEverything();
    void deletingRemovesNothingOutsideAProjectFolder_data();
    void deletingRemovesNothingOutsideAProjectFolder();

    void propertyUpdateInsertsThenUpdatesRow_data();
    void propertyUpdateInsertsThenUpdatesRow();
    void propertyUpdateIsDroppedWithoutProjectOrValue();
    void propertyDialogShowsAndStoresInitialisedPaths();

    void configurationEditorShowsAndStoresWholeText();
    void classEditorDeletionRevalidatesImages();
    void parameterEditorShowsStoredParameters();
    void sortingFromTreeReordersTrainingList();
};

void ProjectControllerTest::initTestCase()
{
    m_pSandbox = std::make_unique<CTestSandbox>();
    CSqlTrace::Install();
    m_pLog = std::make_unique<CLogCapture>();
    CSetting::Set("GENERAL_PROGRAME_NAME", QString("OvrelTrainer"));
}

void ProjectControllerTest::init()
{
    m_pAnswers = std::make_unique<CPromptAnswers>();
    m_pModel = std::make_unique<CProjectModel>();
    m_pView = std::make_unique<CProjectView>(m_pModel.get());
    m_pController = std::make_unique<CProjectController>(m_pModel.get(), m_pView.get());
    CSetting::Set(HISTORY, QString());
    m_strRoot = m_pSandbox->Path(QString("case%1").arg(++m_nCase));
    QVERIFY(QDir().mkpath(m_strRoot));
    QVERIFY(m_pLog->Sync());
    m_pLog->Clear();
}

void ProjectControllerTest::cleanup()
{
    m_pController.reset();
    m_pView.reset();
    m_pModel.reset();
    m_pAnswers.reset();
}

QString ProjectControllerTest::NewProject(const QString& strName)
{
    return CProjectFixture::CreateProject(m_strRoot, strName);
}

QStandardItemModel* ProjectControllerTest::TreeItems() const
{
    return qobject_cast<QStandardItemModel*>(m_pView->findChild<QTreeView*>()->model());
}

void ProjectControllerTest::openingFillsModelInDatabaseOrderAndValidatesImages()
{
    const QString strDir = NewProject("alpha");
    QVERIFY(!strDir.isEmpty());
    // b: one ROI of a known class; a: no ROI; t: an ROI whose class is gone; c: known and unknown class.
    QVERIFY(CProjectFixture::Execute(CProjectFixture::DataFile(strDir, "alpha"),
                                     {"INSERT INTO category (NAME) VALUES('cat')",
                                      "INSERT INTO category (NAME) VALUES('dog')", ImageRow("b.jpg", "train"),
                                      ImageRow("a.jpg", "train"), ImageRow("t.jpg", "test"), ImageRow("c.jpg", "train"),
                                      RoiRow(1, 1), RoiRow(3, 7), RoiRow(4, 2), RoiRow(4, 9), RoiRow(1, 2)}));

    m_pController->OpenProject(strDir, "alpha");

    QCOMPARE(m_pModel->GetProjectDir(), strDir);
    QCOMPARE(m_pModel->GetProjectName(), QString("alpha"));
    QCOMPARE(m_pModel->GetProjectID(), 1);
    QCOMPARE(m_pController->GetProjectID(), 1);
    QCOMPARE(Names(m_pModel->GetTrainImages()), QStringList({"b.jpg", "a.jpg", "c.jpg"}));
    QCOMPARE(Names(m_pModel->GetTestImages()), QStringList({"t.jpg"}));
    QCOMPARE(Validity(m_pModel->GetTrainImages()), QList<bool>({true, false, false}));
    QCOMPARE(Validity(m_pModel->GetTestImages()), QList<bool>({false}));
    for (const auto& pEntry : m_pModel->GetTrainImages())
        QVERIFY(pEntry->IsValidationKnown());

    QVERIFY(m_pLog->Sync());
    QVERIFY(m_pLog->Contains(ELogLevel_Error, "Validate: need to update class name for image a.jpg"));
    QVERIFY(m_pLog->Contains(ELogLevel_Error, "Validate: need to update class name for image c.jpg"));
    QVERIFY(m_pLog->Contains(ELogLevel_Error, "Validate: need to update class name for image t.jpg"));
    QCOMPARE(m_pLog->Count("Validate: need to update class name for image b.jpg"), 0);
    QVERIFY(m_pLog->Contains(ELogLevel_Error, "Validate ROI Error"));
    QVERIFY(m_pAnswers->asked.isEmpty());
}

void ProjectControllerTest::openingRunsItsSelectsInOrder()
{
    const QString strDir = NewProject("beta");
    QVERIFY(CProjectFixture::Execute(
        CProjectFixture::DataFile(strDir, "beta"),
        {"INSERT INTO category (NAME) VALUES('cat')", ImageRow("x.jpg", "train"), RoiRow(1, 1)}));
    CSqlTrace::Clear();

    m_pController->OpenProject(strDir, "beta");

    // The validation reads every ROI in one select instead of one select per image.
    const QStringList lstExpected = {
        "SELECT * FROM project_training",
        "SELECT * FROM dataset_image WHERE TYPE='train' ",
        "SELECT * FROM dataset_image WHERE TYPE='test' ",
        "SELECT * FROM project_property WHERE NAME='PROJECT_INITIALIZED_MODEL' AND PROJECT_ID=1 ",
        "SELECT * FROM project_property WHERE NAME='PROJECT_INITIALIZED_CONF' AND PROJECT_ID=1 ",
        "SELECT * FROM category",
        "SELECT * FROM dataset_roi"};
    QCOMPARE(CSqlTrace::Selects(), lstExpected);
    QVERIFY(Validity(m_pModel->GetTrainImages()) == QList<bool>({true}));
    QVERIFY(m_pLog->Sync());
    QVERIFY(m_pLog->Contains(ELogLevel_Normal, "Validate ROI OK"));
}

void ProjectControllerTest::openingAddsRoiImageIndex()
{
    const QString strDir = NewProject("gamma");
    const QString strFile = CProjectFixture::DataFile(strDir, "gamma");
    const QString strPlan = "EXPLAIN QUERY PLAN SELECT * FROM dataset_roi WHERE IMAGE_ID=1";
    // The schema itself has no such index: a file that was never opened scans the table.
    QVERIFY(!CProjectFixture::Query(strFile, strPlan).value(0).join(' ').contains("INDEX"));

    m_pController->OpenProject(strDir, "gamma");
    QCOMPARE(m_pModel->GetProjectName(), QString("gamma"));
    // Released so that the test's own connection reads the file as it is on disk.
    m_pController.reset();

    QVERIFY(CProjectFixture::Query(strFile, strPlan).value(0).join(' ').contains("USING INDEX"));
    const QList<QStringList> lstIndexes =
        CProjectFixture::Query(strFile, "SELECT sql FROM sqlite_master WHERE type='index' AND tbl_name='dataset_roi'");
    QCOMPARE(lstIndexes.size(), 1);
    QVERIFY(lstIndexes.first().first().contains("(IMAGE_ID)"));
}

void ProjectControllerTest::openingPutsProjectFirstInHistory()
{
    const QString strDir = NewProject("delta");
    CSetting::Set(HISTORY, QString("/old/one.data;/old/two.data"));

    m_pController->OpenProject(strDir, "delta");
    m_pController->OpenProject(strDir, "delta");

    QCOMPARE(CSetting::GetString(HISTORY, ""), strDir + "/delta.data;/old/one.data;/old/two.data");
}

void ProjectControllerTest::historyKeepsNewestFirstWithoutDuplicatesAtMostFive_data()
{
    // Each operation is "+folder|name" (opened) or "-folder|name" (forgotten).
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QStringList>("operations");
    QTest::addColumn<QString>("expected");

    const QString strFive = "/p/a.data;/p/b.data;/p/c.data;/p/d.data;/p/e.data";
    QTest::newRow("first entry") << "" << QStringList({"+/p|a"}) << "/p/a.data";
    QTest::newRow("sixth pushes the oldest out")
        << strFive << QStringList({"+/p|f"}) << "/p/f.data;/p/a.data;/p/b.data;/p/c.data;/p/d.data";
    QTest::newRow("reopening moves to the front")
        << strFive << QStringList({"+/p|f", "+/p|c"}) << "/p/c.data;/p/f.data;/p/a.data;/p/b.data;/p/d.data";
    QTest::newRow("same project twice keeps one entry")
        << "" << QStringList({"+/p|x", "+/p|y", "+/p|x", "+/p|x"}) << "/p/x.data;/p/y.data";
    QTest::newRow("empty pieces are dropped")
        << ";/p/a.data;;/p/b.data;" << QStringList({"+/p|x"}) << "/p/x.data;/p/a.data;/p/b.data";
    QTest::newRow("stored duplicates collapse")
        << "/p/a.data;/p/b.data;/p/a.data" << QStringList({"+/p|x"}) << "/p/x.data;/p/a.data;/p/b.data";
    QTest::newRow("comparison is case-sensitive") << "/p/X.data" << QStringList({"+/p|x"}) << "/p/x.data;/p/X.data";
    QTest::newRow("forgetting removes every copy")
        << "/p/a.data;/p/b.data;/p/a.data;/p/c.data" << QStringList({"-/p|a"}) << "/p/b.data;/p/c.data";
    QTest::newRow("forgetting an unknown entry only cleans up")
        << "/p/a.data;;/p/b.data" << QStringList({"-/p|z"}) << "/p/a.data;/p/b.data";
    QTest::newRow("forgetting the last entry") << "/p/a.data" << QStringList({"-/p|a"}) << "";
}

void ProjectControllerTest::historyKeepsNewestFirstWithoutDuplicatesAtMostFive()
{
    QFETCH(QString, stored);
    QFETCH(QStringList, operations);
    QFETCH(QString, expected);
    CSetting::Set(HISTORY, stored);

    for (const QString& strOperation : operations)
    {
        const QStringList lstParts = strOperation.mid(1).split('|');
        if (strOperation.startsWith('+'))
            m_pController->AddProjectHistory(lstParts[0], lstParts[1]);
        else
            m_pController->RemoveProjectHistory(lstParts[0], lstParts[1]);
    }

    QCOMPARE(CSetting::GetString(HISTORY, "?"), expected);
}

void ProjectControllerTest::failedOpenShowsBoxAndForgetsProject_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("expectedLogLine");

    QTest::newRow("file missing") << "missing"
                                  << "Project file %1 is not found";
    QTest::newRow("no project row") << "empty"
                                    << "";
    QTest::newRow("not a database") << "garbage"
                                    << "";
}

void ProjectControllerTest::failedOpenShowsBoxAndForgetsProject()
{
    QFETCH(QString, kind);
    QFETCH(QString, expectedLogLine);

    const QString strDir = m_strRoot + "/broken";
    QVERIFY(QDir().mkpath(strDir));
    const QString strFile = CProjectFixture::DataFile(strDir, "broken");
    if (kind == "empty")
    {
        // The tables exist but hold no project row.
        QFile schema(":/Files/tamsel_database_sqlite.sql");
        QVERIFY(schema.open(QIODevice::ReadOnly));
        QVERIFY(
            CProjectFixture::Execute(strFile, QString::fromUtf8(schema.readAll()).split(';').filter(QRegExp("\\S"))));
    }
    else if (kind == "garbage")
    {
        QFile file(strFile);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(4096, 'x'));
    }
    CSetting::Set(HISTORY, QString("/keep/me.data;%1").arg(strFile));

    m_pController->OpenProject(strDir, "broken");

    QCOMPARE(m_pAnswers->asked.size(), 1);
    QCOMPARE(m_pAnswers->asked[0].strKind, QString("message"));
    QCOMPARE(m_pAnswers->asked[0].eIcon, QMessageBox::Critical);
    QCOMPARE(m_pAnswers->asked[0].strText, QString("Cannot load project broken"));
    QCOMPARE(CSetting::GetString(HISTORY, ""), QString("/keep/me.data"));
    QVERIFY(m_pModel->GetProjectName().isEmpty());
    QCOMPARE(m_pController->GetProjectID(), -1);
    QVERIFY(m_pLog->Sync());
    QVERIFY(m_pLog->Contains(ELogLevel_Error, "Cannot load project broken"));
    if (!expectedLogLine.isEmpty())
        QVERIFY(m_pLog->Contains(ELogLevel_Error, expectedLogLine.arg(strFile)));
}

void ProjectControllerTest::failedOpenLeavesPreviousProjectClosed()
{
    const QString strDir = NewProject("first");
    m_pController->OpenProject(strDir, "first");
    QCOMPARE(TreeRows(), 1);
    QSignalSpy closed(m_pModel.get(), &CProjectModel::signal_CloseProject);

    m_pController->OpenProject(m_strRoot + "/nowhere", "second");

    QCOMPARE(closed.count(), 1);
    QVERIFY(m_pModel->GetProjectDir().isEmpty());
    QVERIFY(m_pModel->GetTrainImages().empty());
    QCOMPARE(TreeRows(), 0);
    QCOMPARE(CSetting::GetString(HISTORY, ""), strDir + "/first.data");
}

void ProjectControllerTest::openRefusedWhileRunningKeepsRunningProject()
{
    const QString strFirst = NewProject("running");
    const QString strSecond = NewProject("waiting");
    m_pController->OpenProject(strFirst, "running");
    m_pModel->SetCommandState(ECommandState_Running);
    m_pAnswers->messages.push_back(QMessageBox::No);

    m_pController->OpenProject(strSecond, "waiting");

    QCOMPARE(m_pAnswers->asked.size(), 2);
    QCOMPARE(m_pAnswers->asked[0].strText, QString("Program is running, do you want to close it?"));
    QCOMPARE(m_pAnswers->asked[0].defaultButton, QMessageBox::No);
    QCOMPARE(m_pAnswers->asked[1].strText, QString("Cannot load project waiting"));
    QCOMPARE(m_pModel->GetProjectName(), QString("running"));
    QCOMPARE(m_pController->GetProjectID(), 1);
    QCOMPARE(CSetting::GetString(HISTORY, ""), strFirst + "/running.data");
    m_pModel->SetCommandState(ECommandState_Stopped);
}

void ProjectControllerTest::closingEmptiesModelAndTreeAndAllowsReopening()
{
    const QString strDir = NewProject("closing");
    QVERIFY(CProjectFixture::Execute(CProjectFixture::DataFile(strDir, "closing"), {ImageRow("a.jpg", "train")}));
    m_pController->OpenProject(strDir, "closing");
    QTRY_COMPARE(TreeItems()->item(0) ? TreeItems()->item(0)->text() : QString(), QString("closing"));
    QSignalSpy closed(m_pModel.get(), &CProjectModel::signal_CloseProject);

    emit m_pView->signal_CloseProject();

    QCOMPARE(closed.count(), 1);
    QVERIFY(m_pModel->GetProjectDir().isEmpty());
    QVERIFY(m_pModel->GetProjectName().isEmpty());
    QVERIFY(m_pModel->GetTrainImages().empty());
    QCOMPARE(m_pController->GetProjectID(), -1);
    QCOMPARE(TreeRows(), 0);
    QVERIFY(m_pAnswers->asked.isEmpty());

    // The connection kept for the next open serves the same file again.
    m_pController->OpenProject(strDir, "closing");
    QCOMPARE(Names(m_pModel->GetTrainImages()), QStringList({"a.jpg"}));
    QVERIFY(m_pLog->Sync());
    QCOMPARE(m_pLog->Count("Failed to close current Project"), 0);
}

void ProjectControllerTest::closeWhileRunningAsksFirst_data()
{
    QTest::addColumn<int>("state");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("refused");

    QTest::newRow("running, answered no") << int(ECommandState_Running) << int(QMessageBox::No) << true;
    QTest::newRow("starting, answered no") << int(ECommandState_Starting) << int(QMessageBox::No) << true;
    QTest::newRow("running, answered yes") << int(ECommandState_Running) << int(QMessageBox::Yes) << false;
}

void ProjectControllerTest::closeWhileRunningAsksFirst()
{
    QFETCH(int, state);
    QFETCH(int, answer);
    QFETCH(bool, refused);
    const QString strDir = NewProject("busy");
    m_pController->OpenProject(strDir, "busy");
    m_pModel->SetCommandState(state);
    m_pAnswers->messages.push_back(static_cast<QMessageBox::StandardButton>(answer));

    emit m_pView->signal_CloseProject();

    QCOMPARE(m_pAnswers->asked.size(), 1);
    QCOMPARE(m_pAnswers->asked[0].strText, QString("Program is running, do you want to close it?"));
    QCOMPARE(m_pAnswers->asked[0].buttons, QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(m_pAnswers->asked[0].defaultButton, QMessageBox::No);
    // The model never lets a running project go, whatever the answer.
    QCOMPARE(m_pModel->GetProjectName(), QString("busy"));
    QCOMPARE(m_pController->GetProjectID(), refused ? 1 : -1);
    QVERIFY(m_pLog->Sync());
    QCOMPARE(m_pLog->Contains(ELogLevel_Error, "Failed to close current Project"), refused);
    m_pModel->SetCommandState(ECommandState_Stopped);
}

void ProjectControllerTest::deletingRemovesProjectFolderAndHistoryEntry()
{
    const QString strDir = NewProject("doomed");
    QVERIFY(CProjectFixture::Execute(CProjectFixture::DataFile(strDir, "doomed"), {ImageRow("a.jpg", "train")}));
    QFile image(strDir + "/Images/a.jpg");
    QVERIFY(image.open(QIODevice::WriteOnly));
    image.close();
    m_pController->OpenProject(strDir, "doomed");
    CSetting::Set(HISTORY, CSetting::GetString(HISTORY, "") + ";/keep/me.data");
    m_pAnswers->messages.push_back(QMessageBox::Yes);

    emit m_pView->signal_DeleteProject();

    QCOMPARE(m_pAnswers->asked.size(), 1);
    QCOMPARE(m_pAnswers->asked[0].strText, QString("Do you want to delete project doomed?"));
    QCOMPARE(m_pAnswers->asked[0].defaultButton, QMessageBox::No);
    QVERIFY(!QFileInfo::exists(strDir));
    QVERIFY(QDir(m_strRoot).exists());
    QCOMPARE(CSetting::GetString(HISTORY, ""), QString("/keep/me.data"));
    QCOMPARE(TreeRows(), 0);
    // The model shows the deleted project until the next open.
    QCOMPARE(m_pModel->GetProjectName(), QString("doomed"));
}

void ProjectControllerTest::deletingAnsweredNoKeepsEverything()
{
    const QString strDir = NewProject("kept");
    m_pController->OpenProject(strDir, "kept");
    m_pAnswers->messages.push_back(QMessageBox::No);

    emit m_pView->signal_DeleteProject();

    QVERIFY(QFileInfo(CProjectFixture::DataFile(strDir, "kept")).isFile());
    QCOMPARE(CSetting::GetString(HISTORY, ""), strDir + "/kept.data");
    QCOMPARE(TreeRows(), 1);
    // Still open: a property is stored in the project file.
    m_pController->slot_UpdateProjectProperty("PROJECT_INITIALIZED_MODEL", QString("w.weights"));
    QCOMPARE(CProjectFixture::Query(CProjectFixture::DataFile(strDir, "kept"),
                                    "SELECT VALUE FROM project_property WHERE NAME='PROJECT_INITIALIZED_MODEL'")
                 .value(0)
                 .value(0),
             QString("w.weights"));
}

void ProjectControllerTest::deletingRemovesNothingOutsideAProjectFolder_data()
{
    QTest::addColumn<QString>("situation");
    QTest::newRow("no project open") << "none";
    QTest::newRow("project file gone from its folder") << "file gone";
    QTest::newRow("folder not named after the project") << "foreign folder";
}

void ProjectControllerTest::deletingRemovesNothingOutsideAProjectFolder()
{
    QFETCH(QString, situation);
    // An empty project folder would mean the working directory: give it something to lose.
    const QString strWorking = m_strRoot + "/working";
    QVERIFY(QDir().mkpath(strWorking));
    const QString strOldWorking = QDir::currentPath();
    QVERIFY(QDir::setCurrent(strWorking));
    QFile sentinel(strWorking + "/sentinel.txt");
    QVERIFY(sentinel.open(QIODevice::WriteOnly));
    sentinel.close();

    QString strKeptDir = strWorking;
    if (situation == "file gone")
    {
        strKeptDir = NewProject("lost");
        m_pController->OpenProject(strKeptDir, "lost");
        QVERIFY(QFile::remove(CProjectFixture::DataFile(strKeptDir, "lost")));
    }
    else if (situation == "foreign folder")
    {
        // A project file opened straight from a folder of other things (here: a documents-like folder).
        const QString strCreated = NewProject("loose");
        strKeptDir = m_strRoot + "/documents";
        QVERIFY(QDir().rename(strCreated, strKeptDir));
        m_pController->OpenProject(strKeptDir, "loose");
        QCOMPARE(m_pModel->GetProjectName(), QString("loose"));
    }
    const QStringList lstBefore = QDir(strKeptDir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    const QString strHistoryBefore = CSetting::GetString(HISTORY, "");
    m_pAnswers->messages.push_back(QMessageBox::Yes);

    emit m_pView->signal_DeleteProject();

    QVERIFY(QDir::setCurrent(strOldWorking));
    QVERIFY(QFileInfo(strWorking + "/sentinel.txt").isFile());
    QCOMPARE(QDir(strKeptDir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), lstBefore);
    QCOMPARE(CSetting::GetString(HISTORY, ""), strHistoryBefore);
}

void ProjectControllerTest::propertyUpdateInsertsThenUpdatesRow_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("text");

    QTest::newRow("int") << QVariant(5) << "int"
                         << "5";
    QTest::newRow("bool") << QVariant(true) << "bool"
                          << "true";
    QTest::newRow("string with apostrophe") << QVariant(QString("it's.weights")) << "string"
                                            << "it's.weights";
    QTest::newRow("double") << QVariant(0.25) << "double"
                            << "0.25";
    QTest::newRow("string list") << QVariant(QStringList({"a", "b"})) << ""
                                 << "";
}

void ProjectControllerTest::propertyUpdateInsertsThenUpdatesRow()
{
    QFETCH(QVariant, value);
    QFETCH(QString, type);
    QFETCH(QString, text);
    const QString strDir = NewProject("props");
    const QString strFile = CProjectFixture::DataFile(strDir, "props");
    m_pController->OpenProject(strDir, "props");
    const QString strSelect = "SELECT VALUE, TYPE, PROJECT_ID FROM project_property WHERE NAME='TEST_PROPERTY'";

    m_pController->slot_UpdateProjectProperty("TEST_PROPERTY", value);
    QCOMPARE(CProjectFixture::Query(strFile, strSelect), QList<QStringList>({{text, type, "1"}}));

    // A second value replaces the text and leaves the type as first stored.
    m_pController->slot_UpdateProjectProperty("TEST_PROPERTY", QVariant(QString("second")));
    QCOMPARE(CProjectFixture::Query(strFile, strSelect), QList<QStringList>({{"second", type, "1"}}));

    QVERIFY(m_pLog->Sync());
    QVERIFY(m_pLog->Contains(ELogLevel_Normal, "Insert Table project_property OK"));
    QVERIFY(m_pLog->Contains(ELogLevel_Normal, "Update Table project_property OK"));
}

void ProjectControllerTest::propertyUpdateIsDroppedWithoutProjectOrValue()
{
    const QString strDir = NewProject("quiet");
    const QString strFile = CProjectFixture::DataFile(strDir, "quiet");
    const QString strCount = "SELECT COUNT(*) FROM project_property";

    m_pController->slot_UpdateProjectProperty("BEFORE_OPEN", QVariant(QString("x")));
    m_pController->OpenProject(strDir, "quiet");
    m_pController->slot_UpdateProjectProperty("NULL_VALUE", QVariant());
    m_pController->CloseProject();
    m_pController->slot_UpdateProjectProperty("AFTER_CLOSE", QVariant(QString("x")));

    QCOMPARE(CProjectFixture::Query(strFile, strCount), QList<QStringList>({{"1"}}));
}

void ProjectControllerTest::propertyDialogShowsAndStoresInitialisedPaths()
{
    const QString strDir = NewProject("paths");
    const QString strFile = CProjectFixture::DataFile(strDir, "paths");
    QVERIFY(CProjectFixture::Execute(strFile, {"INSERT INTO project_property (NAME, VALUE, TYPE, PROJECT_ID) "
                                               "VALUES('PROJECT_INITIALIZED_MODEL', '/w/darknet53.conv.74', "
                                               "'string', 1)"}));
    m_pController->OpenProject(strDir, "paths");
    QCOMPARE(m_pController->GetPropertyModel()->GetProperty("PROJECT_INITIALIZED_MODEL").toString(),
             QString("/w/darknet53.conv.74"));
    QCOMPARE(m_pController->GetPropertyModel()->GetProperty("PROJECT_INITIALIZED_CONF").toString(), QString(""));

    QString strShownModel;
    m_pAnswers->dialogs.push_back(
        [&strShownModel](QDialog* pDialog)
        {
            auto* pView = qobject_cast<CProjectPropertyView*>(pDialog);
            if (!pView)
                return int(QDialog::Rejected);
            strShownModel = pView->GetModelPathEdit()->text();
            pView->GetConfigurePathEdit()->setText("/w/init.cfg");
            return int(QDialog::Accepted);
        });
    emit m_pView->signal_ProjectProperty();

    QCOMPARE(strShownModel, QString("/w/darknet53.conv.74"));
    QCOMPARE(CProjectFixture::Query(strFile, "SELECT VALUE, TYPE FROM project_property "
                                             "WHERE NAME='PROJECT_INITIALIZED_CONF'"),
             QList<QStringList>({{"/w/init.cfg", "string"}}));
}

void ProjectControllerTest::configurationEditorShowsAndStoresWholeText()
{
    const QString strDir = NewProject("config");
    const QString strFile = CProjectFixture::DataFile(strDir, "config");
    m_pController->OpenProject(strDir, "config");
    const QString strConfiguration = CProjectFixture::DefaultConfiguration();
    QVERIFY(strConfiguration.startsWith("[net]"));

    QString strShown;
    m_pAnswers->dialogs.push_back(
        [&strShown](QDialog* pDialog)
        {
            auto* pEditor = qobject_cast<CConfigurationEditorView*>(pDialog);
            if (!pEditor)
                return int(QDialog::Rejected);
            strShown = pEditor->GetTextView()->GetText();
            // Type one line at the very start, as a user would.
            for (QTextEdit* pEdit : pEditor->findChildren<QTextEdit*>())
            {
                if (!pEdit->isEnabled())
                    continue;
                QTextCursor cursor(pEdit->document());
                cursor.insertText("# tuned\n");
            }
            return int(QDialog::Accepted);
        });
    emit m_pView->signal_EditConfiguration();

    QCOMPARE(strShown, strConfiguration);
    QCOMPARE(CProjectFixture::Query(strFile, "SELECT VALUE FROM project_property WHERE NAME='PROJECT_CONFIGURATION'"),
             QList<QStringList>({{"# tuned\n" + strConfiguration}}));
    QVERIFY(m_pLog->Sync());
    QVERIFY(m_pLog->Count("Update Table project_property OK") >= 2);
}

void ProjectControllerTest::classEditorDeletionRevalidatesImages()
{
    const QString strDir = NewProject("classes");
    QVERIFY(CProjectFixture::Execute(CProjectFixture::DataFile(strDir, "classes"),
                                     {"INSERT INTO category (NAME) VALUES('cat')",
                                      "INSERT INTO category (NAME) VALUES('dog')", ImageRow("a.jpg", "train"),
                                      RoiRow(1, 2)}));
    m_pController->OpenProject(strDir, "classes");
    QCOMPARE(Validity(m_pModel->GetTrainImages()), QList<bool>({true}));

    QStringList lstShown;
    m_pAnswers->dialogs.push_back(
        [&lstShown](QDialog* pDialog)
        {
            auto* pEditor = qobject_cast<CClassEditorView*>(pDialog);
            if (!pEditor)
                return int(QDialog::Rejected);
            QStandardItemModel* pItems = pEditor->GetItemModel();
            for (int nRow = 0; nRow < pItems->rowCount(); ++nRow)
                lstShown.append(pItems->item(nRow, 1)->text());
            // Delete "dog", the class of the only ROI.
            pEditor->GetTableView()->setCurrentIndex(pItems->index(1, 1));
            pEditor->slot_Delete();
            return int(QDialog::Accepted);
        });
    emit m_pView->signal_EditClasses();

    QCOMPARE(lstShown, QStringList({"cat", "dog", ""}));
    QCOMPARE(Validity(m_pModel->GetTrainImages()), QList<bool>({false}));
    QVERIFY(m_pLog->Sync());
    QVERIFY(m_pLog->Contains(ELogLevel_Error, "Validate: need to update class name for image a.jpg"));
}

void ProjectControllerTest::parameterEditorShowsStoredParameters()
{
    const QString strDir = NewProject("params");
    QVERIFY(CProjectFixture::Execute(CProjectFixture::DataFile(strDir, "params"),
                                     {"INSERT INTO parameter (NAME, VALUE) VALUES('momentum', '0.9')",
                                      "INSERT INTO parameter (NAME, VALUE) VALUES('decay', '0.0005')"}));
    m_pController->OpenProject(strDir, "params");

    QList<QStringList> lstShown;
    m_pAnswers->dialogs.push_back(
        [&lstShown](QDialog* pDialog)
        {
            auto* pEditor = qobject_cast<CParameterEditorView*>(pDialog);
            if (!pEditor)
                return int(QDialog::Rejected);
            QStandardItemModel* pItems = pEditor->GetItemModel();
            for (int nRow = 0; nRow < pItems->rowCount(); ++nRow)
                lstShown.append({pItems->item(nRow, 1)->text(), pItems->item(nRow, 2)->text()});
            return int(QDialog::Accepted);
        });
    emit m_pView->signal_EditParameters();

    QCOMPARE(lstShown, QList<QStringList>({{"momentum", "0.9"}, {"decay", "0.0005"}, {"", ""}}));
}

void ProjectControllerTest::sortingFromTreeReordersTrainingList()
{
    const QString strDir = NewProject("order");
    QVERIFY(
        CProjectFixture::Execute(CProjectFixture::DataFile(strDir, "order"),
                                 {ImageRow("b.jpg", "train"), ImageRow("c.jpg", "train"), ImageRow("a.jpg", "train"),
                                  ImageRow("z.jpg", "test"), ImageRow("y.jpg", "test")}));
    m_pController->OpenProject(strDir, "order");

    emit m_pView->signal_SortTrainImage();
    QCOMPARE(Names(m_pModel->GetTrainImages()), QStringList({"a.jpg", "b.jpg", "c.jpg"}));
    emit m_pView->signal_SortTrainImage();
    QCOMPARE(Names(m_pModel->GetTrainImages()), QStringList({"c.jpg", "b.jpg", "a.jpg"}));
    QCOMPARE(Names(m_pModel->GetTestImages()), QStringList({"z.jpg", "y.jpg"}));
}

QTEST_MAIN(ProjectControllerTest)
#include "ProjectControllerTest.moc"
