#include "CLogCapture.h"
#include "CSqliteReader.h"
#include "CTestSandbox.h"

#include "database/CColumnSelect.h"
#include "database/CDatabase.h"
#include "database/CDatabaseRecordFactory.h"
#include "frame/CSetting.h"
#include "frame/CSettingController.h"
#include "frame/CSettingRecord.h"
#include "frame/CSettingStore.h"
#include "frame/CSettingView.h"

#include <QDir>
#include <QSpinBox>
#include <QSqlDatabase>
#include <QTabWidget>
#include <QtTest>

#include <cmath>
#include <map>
#include <memory>

using ConditionMap = std::map<QString, QVariant>;
Q_DECLARE_METATYPE(ConditionMap)
using Records = std::vector<std::shared_ptr<CDatabaseRecord>>;

namespace
{
QStringList g_lstWarnings;
QtMessageHandler g_previousHandler = nullptr;

std::shared_ptr<CSettingRecord> Setting(const QString& strName, const QString& strValue, const QString& strType = "")
{
    auto pRecord = std::make_shared<CSettingRecord>();
    pRecord->SetName(strName);
    pRecord->SetValue(strValue);
    pRecord->SetType(strType);
    return pRecord;
}

QStringList Describe(const Records& vctRecords)
{
    QStringList lstLines;
    for (const auto& pRecord : vctRecords)
    {
        const auto p = std::dynamic_pointer_cast<CSettingRecord>(pRecord);
        lstLines << QString("%1|%2|%3|%4").arg(p->GetID()).arg(p->GetName(), p->GetValue(), p->GetType());
    }
    return lstLines;
}

struct SDialog
{
    CSettingView view{nullptr};
    CSettingController controller{&view};
};
} // namespace

// The database layer on real SQLite files, and the settings file the settings controller keeps with it.
class DatabaseTest : public QObject
{
    Q_OBJECT

    CTestSandbox m_sandbox;
    std::unique_ptr<CLogCapture> m_pLog;
    CDatabaseRecordFactory m_factory;
    std::unique_ptr<CDatabase> m_pDatabase;
    QString m_strFile; // the file Settings() reads: the settings file of the test, or the last one opened
    int m_nFiles = 0;
    std::unique_ptr<SDialog> m_pDialog; // while it lives, settings changes are written to the file

    QStringList Settings() const
    {
        return CSqliteReader::Rows(m_strFile, "SELECT ID, NAME, VALUE, TYPE FROM settings ORDER BY ID");
    }

    // Opens a new file on m_pDatabase and fills it with the settings table and these records (IDs 1, 2, ...).
    bool OpenSettings(const Records& vctRecords = {})
    {
        m_strFile = m_sandbox.Path(QString("%1.data").arg(++m_nFiles));
        const bool bOk = m_pDatabase->OpenDatabase("localhost", m_strFile, "", "") &&
                         m_pDatabase->RunQueryFile(":/Files/database_sqlite.sql", false) &&
                         (vctRecords.empty() || m_pDatabase->InsertToTable(vctRecords, true));
        m_pLog->NewLines();
        return bOk;
    }

    void Start() { m_pDialog = std::make_unique<SDialog>(); }

private slots:
    void initTestCase()
    {
        CSetting::Set("GENERAL_LOG_DIR", m_sandbox.Home());
        m_pLog = std::make_unique<CLogCapture>(m_sandbox.Home());
        // Qt SQL reports misused connections ("still in use", "duplicate connection name") only as warnings.
        g_previousHandler = qInstallMessageHandler(
            [](QtMsgType eType, const QMessageLogContext& context, const QString& strMessage)
            {
                if (eType == QtWarningMsg || eType == QtCriticalMsg)
                    g_lstWarnings << strMessage;
                g_previousHandler(eType, context, strMessage);
            });
    }

    // Every test has a folder without settings file.
    void init()
    {
        const QString strConfigDir = m_sandbox.Path(QString("config%1").arg(++m_nFiles));
        QVERIFY(QDir().mkpath(strConfigDir));
        CSetting::Set("GENERAL_PROGRAM_CONFIG_DIR", strConfigDir);
        m_strFile = strConfigDir + "/settings.data";
        m_pDatabase = std::make_unique<CDatabase>(&m_factory);
        m_pLog->NewLines();
        g_lstWarnings.clear();
    }

    void cleanup()
    {
        m_pDialog.reset();
        m_pDatabase.reset();
        QCOMPARE(g_lstWarnings, QStringList());
        QCOMPARE(QSqlDatabase::connectionNames(), QStringList()); // every connection was released
    }

    void cleanupTestCase() { qInstallMessageHandler(g_previousHandler); }

    void statementText_data()
    {
        QTest::addColumn<QString>("actual");
        QTest::addColumn<QString>("expected");
        const auto select = &CDatabase::GetSelectQuery;
        const auto update = &CDatabase::GetUpdateQuery;
        QTest::newRow("keys in order") << select("t", {{"B", "x"}, {"A", 1}}) << "SELECT * FROM t WHERE A=1 AND B='x' ";
        QTest::newRow("text holding AND") << select("t", {{"N", "SAND AND"}}) << "SELECT * FROM t WHERE N='SAND AND' ";
        QTest::newRow("delete all") << CDatabase::GetDeleteQuery("settings", {}) << "DELETE FROM settings";
        QTest::newRow("update one setting") << update("settings", {{"VALUE", "42"}}, {{"NAME", "GENERAL_LOG_DIR"}})
                                            << "UPDATE settings SET VALUE='42' WHERE NAME='GENERAL_LOG_DIR' ";
        QTest::newRow("set keys in name order")
            << update("s", {{"VALUE", "5"}, {"NAME", "GENERAL_X"}}, {}) << "UPDATE s SET NAME='GENERAL_X',VALUE='5'";
        QTest::newRow("numbers and flags bare")
            << update("t", {{"D", 1.5}, {"F", true}, {"N", -7}, {"U", 8u}}, {}) << "UPDATE t SET D=1.5,F=true,N=-7,U=8";
        // Bytes may carry apostrophes as well, so they are quoted like text.
        QTest::newRow("bytes") << update("s", {{"V", QByteArray("a'b")}}, {}) << "UPDATE s SET V='a''b'";
        QTest::newRow("setting insert")
            << Setting("K'", QString::fromUtf8("/home/O'Neil 100% \xc3\xa9t\xc3\xa9 %s"), "int")->GetInsertQuery()
            << QString::fromUtf8("INSERT INTO settings (NAME, VALUE, TYPE) VALUES('K''', '/home/O''Neil 100% "
                                 "\xc3\xa9t\xc3\xa9 %s', 'int')");
    }

    void statementText()
    {
        QFETCH(QString, actual);
        QFETCH(QString, expected);
        QCOMPARE(actual, expected);
    }

    void closeWithoutOpenLogsAndSucceeds()
    {
        QVERIFY(m_pDatabase->Close());
        QCOMPARE(m_pLog->NewLines(), QStringList{"[NORMAL] Close Database"});
    }

    void reopeningSwitchesToTheNewFile()
    {
        QVERIFY(OpenSettings({Setting("A", "1")}));
        const QString strFirst = m_strFile;
        QVERIFY(OpenSettings());
        QVERIFY(m_pDatabase->InsertToTable(Setting("K", "v")));
        QCOMPARE(Settings(), QStringList{"1|K|v|"});
        QCOMPARE(CSqliteReader::Rows(strFirst, "SELECT NAME FROM settings"), QStringList{"A"});
    }

    void twoObjectsOnOneFileDoNotDisturbEachOther()
    {
        QVERIFY(OpenSettings({Setting("A", "1")}));
        {
            CDatabase second(&m_factory);
            QVERIFY(second.OpenDatabase("localhost", m_strFile, "", ""));
            QVERIFY(second.InsertToTable(Setting("B", "2")));
            QVERIFY(second.Close());
        }
        // The second object's close must not have taken the first one's connection with it.
        QVERIFY(m_pDatabase->InsertToTable(Setting("C", "3")));
        QCOMPARE(Settings(), (QStringList{"1|A|1|", "2|B|2|", "3|C|3|"}));
    }

    // A failure anywhere in an atomic run leaves the file as it was before the run; a plain run keeps what ran before
    // the failure. The error text is logged once.
    void runKeepsAllOrWhatRanBeforeTheFailure_data()
    {
        QTest::addColumn<bool>("atomic");
        QTest::addColumn<QStringList>("statements");
        QTest::addColumn<bool>("succeeds");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QString>("logged");
        const QString strInsertB = "INSERT INTO settings VALUES(2, 'B', '2', '')";
        const QString strDeleteA = "DELETE FROM settings WHERE NAME='A'";
        const QString strMissing = "DELETE FROM missing";
        const QString strNoTable = "[ERROR] no such table: missing";
        QTest::newRow("all succeed") << true << QStringList{strInsertB, strDeleteA} << true << QStringList{"2|B|2|"}
                                     << "";
        QTest::newRow("second fails") << true << QStringList{strDeleteA, strMissing, strInsertB} << false
                                      << QStringList{"1|A|1|"} << strNoTable;
        QTest::newRow("last fails") << true << QStringList{strInsertB, strDeleteA, strMissing} << false
                                    << QStringList{"1|A|1|"} << strNoTable;
        QTest::newRow("duplicate row") << true
                                       << QStringList{strInsertB, "INSERT INTO settings VALUES(3, 'A', '3', '')"}
                                       << false << QStringList{"1|A|1|"} << "[ERROR] UNIQUE constraint failed";
        QTest::newRow("plain run, second fails") << false << QStringList{strInsertB, strMissing, strDeleteA} << false
                                                 << QStringList{"1|A|1|", "2|B|2|"} << strNoTable;
    }
    void runKeepsAllOrWhatRanBeforeTheFailure()
    {
        QFETCH(bool, atomic);
        QFETCH(QStringList, statements);
        QFETCH(bool, succeeds);
        QFETCH(QStringList, rows);
        QFETCH(QString, logged);
        QVERIFY(OpenSettings({Setting("A", "1")}));

        const std::vector<QString> vctStatements(statements.cbegin(), statements.cend());
        QCOMPARE(atomic ? m_pDatabase->RunQueriesAtomically(vctStatements)
                        : m_pDatabase->RunQueries(vctStatements, true),
                 succeeds);

        QCOMPARE(Settings(), rows);
        const QStringList lstLog = m_pLog->NewLines();
        QCOMPARE(lstLog.size(), logged.isEmpty() ? 0 : 1);
        if (!logged.isEmpty())
            QVERIFY2(lstLog.first().startsWith(logged), qPrintable(lstLog.first()));
        QCOMPARE(m_pDatabase->GetLastError().isEmpty(), succeeds);
        // No transaction was left open: the next one works.
        QVERIFY(m_pDatabase->RunQueriesAtomically({"INSERT INTO settings (NAME, VALUE, TYPE) VALUES('D', '4', '')"}));
        QCOMPARE(Settings(), rows + QStringList{QString("%1|D|4|").arg(rows.contains("2|B|2|") ? 3 : 2)});
    }

    void rollbackDropsWhatRanSinceTheStart()
    {
        QVERIFY(OpenSettings({Setting("A", "1")}));
        QVERIFY(m_pDatabase->StartTransaction());
        QVERIFY(
            m_pDatabase->RunQueries({"DELETE FROM settings", "INSERT INTO settings VALUES(5, 'E', '5', '')"}, false));
        QVERIFY(m_pDatabase->Rollback());
        QCOMPARE(Settings(), QStringList{"1|A|1|"});
    }

    // Schema files are split at ";" (every test runs one); one that cannot be read fails silently.
    void missingQueryFileFailsAndBlankStatementsSucceed()
    {
        QVERIFY(OpenSettings());
        QVERIFY(!m_pDatabase->RunQueryFile(m_sandbox.Path("missing.sql"), true));
        QVERIFY(!m_pDatabase->RunQueryFile(":/Files/missing.sql", false));
        QVERIFY(m_pDatabase->RunQueries({"  \n\t \r\n ", ""}, false));
        QVERIFY(m_pDatabase->RunQueries({}, true));
        QCOMPARE(m_pLog->NewLines(), QStringList());
    }

    void onlySingleInsertSetsTheIDAndFailuresChangeNothing()
    {
        QVERIFY(OpenSettings({Setting("A", "1")}));
        const Records vctBatch{Setting("OLD", "x"), Setting("C", "it's")};
        vctBatch.front()->SetID(41);
        auto pSingle = Setting("B", "2");
        auto pDuplicate = Setting("A", "2");

        QVERIFY(m_pDatabase->InsertToTable(pSingle));
        QVERIFY(m_pDatabase->InsertToTable(vctBatch, false));
        QVERIFY(!m_pDatabase->InsertToTable(pDuplicate));
        QVERIFY(!m_pDatabase->InsertToTable(std::shared_ptr<CDatabaseRecord>()));
        QVERIFY(!m_pDatabase->InsertToTable(Records{}, true));

        QCOMPARE(pSingle->GetID(), 2);
        QCOMPARE(pDuplicate->GetID(), -1);
        QCOMPARE(Describe(vctBatch), (QStringList{"41|OLD|x|", "-1|C|it's|"}));
        QCOMPARE(Settings(), (QStringList{"1|A|1|", "2|B|2|", "3|OLD|x|", "4|C|it's|"}));
        QCOMPARE(m_pLog->NewLines(), QStringList());
    }

    // The output holds one stale record before the select.
    void selectReplacesOutputOnlyOnSuccess_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<ConditionMap>("where");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("every row") << "settings" << ConditionMap{} << QStringList{"1|A|1|", "2|O'Neil|it's|", "3|C|3|"};
        QTest::newRow("apostrophe") << "settings" << ConditionMap{{"NAME", "O'Neil"}} << QStringList{"2|O'Neil|it's|"};
        QTest::newRow("attack text") << "settings" << ConditionMap{{"NAME", "x' OR '1'='1"}} << QStringList();
        QTest::newRow("table unknown to the factory") << "other" << ConditionMap{} << QStringList();
        QTest::newRow("missing table") << "missing" << ConditionMap{} << QStringList{"-1|stale|x|"};
    }

    void selectReplacesOutputOnlyOnSuccess()
    {
        QFETCH(QString, table);
        QFETCH(ConditionMap, where);
        QFETCH(QStringList, expected);
        QVERIFY(OpenSettings({Setting("A", "1"), Setting("O'Neil", "it's"), Setting("C", "3")}));
        QVERIFY(m_pDatabase->RunQueries({"CREATE TABLE other (ID INTEGER)", "INSERT INTO other VALUES(1)"}, false));
        Records vctRecords{Setting("stale", "x")};
        m_pDatabase->SelectFromTable(table, vctRecords, where);
        QCOMPARE(Describe(vctRecords), expected);
        QCOMPARE(m_pLog->NewLines(), QStringList());
    }

    // Cells as a check of stored data needs them: a coordinate that is no number must not read as 0.
    void columnSelectReadsTypedCellsAndLeavesArraysOnFailure_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<ConditionMap>("where");
        QTest::addColumn<QList<int>>("in");
        QTest::addColumn<QString>("expected");
        const QList<int> none;
        QTest::newRow("every row") << "cells" << ConditionMap{} << none
                                   << "1 2.5 a|2 nan b'c|3 nan null|0 12 12|4 -1 \u00e9";
        QTest::newRow("where with apostrophe") << "cells" << ConditionMap{{"T", "b'c"}} << none << "2 nan b'c";
        QTest::newRow("in a list") << "cells" << ConditionMap{} << QList<int>{4, 1, 99} << "1 2.5 a|4 -1 \u00e9";
        QTest::newRow("where and in") << "cells" << ConditionMap{{"T", "a"}} << QList<int>{4, 1} << "1 2.5 a";
        QTest::newRow("no row matches") << "cells" << ConditionMap{{"I", 99}} << none << "";
        QTest::newRow("missing table") << "missing" << ConditionMap{} << none << "stale";
        QTest::newRow("missing column") << "settings" << ConditionMap{} << none << "stale";
    }

    void columnSelectReadsTypedCellsAndLeavesArraysOnFailure()
    {
        QFETCH(QString, table);
        QFETCH(ConditionMap, where);
        QFETCH(QList<int>, in);
        QFETCH(QString, expected);
        QVERIFY(OpenSettings());
        QVERIFY(m_pDatabase->RunQueries(
            {"CREATE TABLE cells (I INTEGER, R REAL, T TEXT)", "INSERT INTO cells VALUES(1, 2.5, 'a')",
             "INSERT INTO cells VALUES(2, 'x', 'b''c')", "INSERT INTO cells VALUES(3, NULL, NULL)",
             "INSERT INTO cells VALUES(NULL, ' 12', '12')", "INSERT INTO cells VALUES(4, -1, char(233))"},
            false));
        std::vector<int> vctI = {-7};
        std::vector<double> vctR = {-7.0};
        std::vector<QString> vctT = {"stale"};
        CColumnSelect select(table, where);
        if (!in.isEmpty())
            select.AddWhereIn("I", std::vector<int>(in.begin(), in.end()));
        select.AddInteger("I", &vctI);
        select.AddReal("R", &vctR);
        select.AddText("T", &vctT);
        QCOMPARE(select.Run(m_pDatabase.get()), !expected.startsWith("stale"));
        QStringList lstRows;
        for (size_t i = 0; i < vctT.size() && !expected.startsWith("stale"); ++i)
            lstRows.append(QString("%1 %2 %3")
                               .arg(vctI[i])
                               .arg(std::isnan(vctR[i]) ? QString("nan") : QString::number(vctR[i]))
                               .arg(vctT[i].isNull() ? QString("null") : vctT[i]));
        if (expected.startsWith("stale"))
            lstRows.append(vctT.front());
        QCOMPARE(lstRows.join('|'), expected);
    }

    void updateAndDeleteMatchTextUnchanged()
    {
        QVERIFY(OpenSettings({Setting("A", "1"), Setting("O'Neil", "2")}));
        QVERIFY(m_pDatabase->UpdateTable("settings", {{"VALUE", "it's"}, {"TYPE", "t"}}, {{"NAME", "O'Neil"}}, true));
        QCOMPARE(Settings(), (QStringList{"1|A|1|", "2|O'Neil|it's|t"}));
        // Without values the statement is "UPDATE settings WHERE ID=1 ", which the database rejects.
        QVERIFY(!m_pDatabase->UpdateTable("settings", {}, {{"ID", 1}}, false));
        QCOMPARE(m_pLog->NewLines().filter("[ERROR] near \"WHERE\": syntax error").size(), 1);

        QVERIFY(m_pDatabase->DeleteFromTable("settings", {{"NAME", "O'Neil"}}, false));
        QCOMPARE(Settings(), QStringList{"1|A|1|"});
        QVERIFY(m_pDatabase->DeleteFromTable("settings", {}, true));
        QCOMPARE(Settings(), QStringList());
    }

    void firstSettingsStartCreatesFileWithEmptyTable()
    {
        QSignalSpy spyStore(&CSettingStore::GetInstance(), &CSettingStore::signal_UpdateSettingParameter);
        Start();
        QCOMPARE(CSqliteReader::Rows(m_strFile, "SELECT name FROM sqlite_master WHERE type = 'table'"),
                 (QStringList{"settings", "sqlite_sequence"})); // the ID counts up by itself
        QCOMPARE(CSqliteReader::Rows(m_strFile,
                                     "SELECT name, upper(type), \"notnull\", pk FROM pragma_table_info('settings')"),
                 (QStringList{"ID|INTEGER|1|1", "NAME|NVARCHAR(45)|1|0", "VALUE|TEXT|1|0", "TYPE|NVARCHAR(45)|1|0"}));
        QCOMPARE(Settings(), QStringList());
        QCOMPARE(spyStore.count(), 0);
        QCOMPARE(m_pLog->NewLines(), QStringList());
    }

    // A start that ended between the driver creating the file and the table being made.
    void settingsFileLeftEmptyGetsItsTable()
    {
        QFile empty(m_strFile);
        QVERIFY(empty.open(QIODevice::WriteOnly));
        empty.close();
        Start();
        m_pDialog->view.findChild<QSpinBox*>("GENERAL_PDF_RESOLUTION_X")->setValue(202);
        QCOMPARE(Settings(), QStringList{"1|GENERAL_PDF_RESOLUTION_X|202|int"});
    }

    void settingsDialogEditsOneIntRowThatCannotBeUndone()
    {
        const QString strLine = "[NORMAL] Update Setting {GENERAL_PDF_RESOLUTION_X} OK";
        Start();
        auto* pSpinBox = m_pDialog->view.findChild<QSpinBox*>("GENERAL_PDF_RESOLUTION_X");
        pSpinBox->setValue(200);
        QCOMPARE(Settings(), QStringList{"1|GENERAL_PDF_RESOLUTION_X|200|int"});
        pSpinBox->setValue(300);
        CSetting::Set("GENERAL_PDF_RESOLUTION_X", "300"); // equal to the stored value: nothing is written
        QCOMPARE(Settings(), QStringList{"1|GENERAL_PDF_RESOLUTION_X|300|int"});
        QCOMPARE(m_pLog->NewLines(), (QStringList{strLine, strLine}));

        QVERIFY(!m_pDialog->controller.Undo());
        QVERIFY(!m_pDialog->controller.Redo());
        QCOMPARE(Settings(), QStringList{"1|GENERAL_PDF_RESOLUTION_X|300|int"});
        QCOMPARE(CSetting::GetInt("GENERAL_PDF_RESOLUTION_X", 0), 300);
    }

    // Each value is inserted, then the next start loads its text back.
    void settingValuesRoundTripThroughTheFile_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("row");
        QTest::newRow("int") << QVariant(-8) << "1|K|-8|int";
        QTest::newRow("double") << QVariant(0.125) << "1|K|0.125|double";
        QTest::newRow("bool") << QVariant(true) << "1|K|true|bool";
        QTest::newRow("apostrophes") << QVariant("/home/O'Neil'; DROP TABLE settings")
                                     << "1|K|/home/O'Neil'; DROP TABLE settings|string";
        QTest::newRow("other type") << QVariant(QByteArray("c'd")) << "1|K|c'd|";
    }

    void settingValuesRoundTripThroughTheFile()
    {
        QFETCH(QVariant, value);
        QFETCH(QString, row);
        CSetting::Set("K", QVariant());
        Start();
        CSetting::Set("K", value);
        QCOMPARE(Settings(), QStringList{row});
        m_pDialog.reset();
        CSetting::Set("K", QVariant());
        m_pLog->NewLines();

        Start();
        const QVariant loaded = CSettingStore::GetInstance().Get("K");
        QCOMPARE(loaded.userType(), int(QMetaType::QString));
        QCOMPARE(loaded.toString(), row.section('|', 2, 2));
        // Loading wrote nothing back: the row keeps its type.
        QCOMPARE(Settings(), QStringList{row});
        QCOMPARE(m_pLog->NewLines(), QStringList());
    }

    void unopenableSettingsFileReportsEveryUpdateAsFailed()
    {
        CSetting::Set("GENERAL_PROGRAM_CONFIG_DIR", m_strFile + "/missing");
        Start();
        CSetting::Set("TEST_UNSAVED", 5);
        QCOMPARE(m_pLog->NewLines().filter("Update Setting"), QStringList{"[ERROR] Update Setting {TEST_UNSAVED} NG"});
        QCOMPARE(CSetting::GetInt("TEST_UNSAVED", 0), 5);
    }

    void generalTabShowsTheResolutionsOfTheStore()
    {
        CSetting::Set("GENERAL_PDF_RESOLUTION_Y", 72);
        Start();
        auto* pTabs = m_pDialog->view.findChild<QTabWidget*>();
        QCOMPARE(m_pDialog->view.windowTitle() + "/" + pTabs->tabText(0), QString("Settings/General"));
        QCOMPARE(m_pDialog->view.GetGeneralPDFResolutionY(), 72);
        CSetting::Set("GENERAL_PDF_RESOLUTION_X", 96); // a change made elsewhere reaches the editor
        QCOMPARE(m_pDialog->view.GetGeneralPDFResolutionX(), 96);
        m_pDialog->view.slot_ChangeValueInt(5); // not called through a signal: there is no key, nothing is written
        QCOMPARE(Settings(), QStringList{"1|GENERAL_PDF_RESOLUTION_X|96|int"});
    }
};

QTEST_MAIN(DatabaseTest)
#include "DatabaseTest.moc"
