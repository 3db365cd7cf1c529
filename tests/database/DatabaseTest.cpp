#include "CLogCapture.h"
#include "CSqliteInspector.h"
#include "CTestSandbox.h"

#include "database/CDatabase.h"
#include "database/CDatabaseRecord.h"
#include "database/CDatabaseRecordFactory.h"
#include "frame/CSetting.h"
#include "frame/CSettingRecord.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#include <map>
#include <memory>

using ConditionMap = std::map<QString, QVariant>;
Q_DECLARE_METATYPE(ConditionMap)

namespace
{
QStringList g_lstWarnings;
QtMessageHandler g_previousHandler = nullptr;

// Qt SQL reports misused connections ("still in use", "duplicate connection name") only as warnings.
void RecordWarnings(QtMsgType eType, const QMessageLogContext& context, const QString& strMessage)
{
    if (eType == QtWarningMsg || eType == QtCriticalMsg)
        g_lstWarnings << strMessage;
    if (g_previousHandler)
        g_previousHandler(eType, context, strMessage);
}

std::shared_ptr<CSettingRecord> MakeSetting(const QString& strName, const QString& strValue,
                                            const QString& strType = QStringLiteral("string"))
{
    auto pRecord = std::make_shared<CSettingRecord>();
    pRecord->SetName(strName);
    pRecord->SetValue(strValue);
    pRecord->SetType(strType);
    return pRecord;
}
} // namespace

class DatabaseTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();

    void statementRendersClausesInKeyOrder_data();
    void statementRendersClausesInKeyOrder();
    void hostChoosesDriver_data();
    void hostChoosesDriver();
    void closeWithoutOpenLogsAndSucceeds();
    void reopeningSwitchesToTheNewFile();
    void twoObjectsOnOneFileDoNotDisturbEachOther();
    void runQueriesStopsAtFirstFailure_data();
    void runQueriesStopsAtFirstFailure();
    void blankStatementsSucceed_data();
    void blankStatementsSucceed();
    void runQueriesWithoutDatabaseFails();
    void queryFileIsSplitAtSemicolons();
    void queryFileFromResourceCreatesSettingsTable();
    void missingQueryFileFailsSilently();
    void transactionHidesRowsUntilCommit();
    void singleInsertSetsNewID();
    void batchInsertStoresRowsAndKeepsIDs_data();
    void batchInsertStoresRowsAndKeepsIDs();
    void batchInsertOfNothingFails();
    void failedSingleInsertLeavesIDAndLogsNothing();
    void selectFillsRecordsMatchingConditions_data();
    void selectFillsRecordsMatchingConditions();
    void selectOnTableUnknownToFactoryYieldsNothing();
    void failedSelectLeavesOutputAlone_data();
    void failedSelectLeavesOutputAlone();
    void updateChangesOnlyMatchingRows();
    void updateWithoutValuesFailsAndLogs();
    void deleteWithoutConditionsEmptiesTable();
    void settingRecordInsertStatement_data();
    void settingRecordInsertStatement();
    void settingRecordLoadsOnlyPresentColumns();
    void baseFactoryKnowsOnlySettings_data();
    void baseFactoryKnowsOnlySettings();

private:
    // A fresh file path for the running test (and data row).
    QString NewFile() const;
    // A file holding the settings table with the rows given as name/value pairs, inserted in that order.
    QString SettingsFile(const QList<QPair<QString, QString>>& lstRows);

    std::unique_ptr<CTestSandbox> m_pSandbox;
    std::unique_ptr<QTemporaryDir> m_pDir;
    std::unique_ptr<CLogCapture> m_pLog;
    CDatabaseRecordFactory m_factory;
};

void DatabaseTest::initTestCase()
{
    m_pSandbox = std::make_unique<CTestSandbox>();
    const QString strLogDir = m_pSandbox->Path(QStringLiteral("log"));
    QDir().mkpath(strLogDir);
    CSetting::Set(QStringLiteral("GENERAL_LOG_DIR"), strLogDir);
    m_pLog = std::make_unique<CLogCapture>(strLogDir);
    g_previousHandler = qInstallMessageHandler(RecordWarnings);
}

void DatabaseTest::init()
{
    m_pDir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_pDir->isValid());
    m_pLog->NewLines();
    g_lstWarnings.clear();
}

void DatabaseTest::cleanup()
{
    QCOMPARE(g_lstWarnings, QStringList());
}

void DatabaseTest::cleanupTestCase()
{
    qInstallMessageHandler(g_previousHandler);
}

QString DatabaseTest::NewFile() const
{
    QString strName = QString::fromLatin1(QTest::currentTestFunction());
    if (QTest::currentDataTag())
        strName += QLatin1Char('_') + QString::number(qHash(QString::fromUtf8(QTest::currentDataTag())));
    return m_pDir->filePath(strName + QStringLiteral(".data"));
}

QString DatabaseTest::SettingsFile(const QList<QPair<QString, QString>>& lstRows)
{
    const QString strFile = NewFile();
    CDatabase database(&m_factory);
    if (!database.OpenDatabase("localhost", strFile, "", "") ||
        !database.RunQueryFile(":/Files/database_sqlite.sql", false))
        return QString();
    std::vector<std::shared_ptr<CDatabaseRecord>> vctRecords;
    for (const auto& row : lstRows)
        vctRecords.push_back(MakeSetting(row.first, row.second));
    if (!vctRecords.empty() && !database.InsertToTable(vctRecords, true))
        return QString();
    return strFile;
}

void DatabaseTest::statementRendersClausesInKeyOrder_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("table");
    QTest::addColumn<ConditionMap>("setValues");
    QTest::addColumn<ConditionMap>("whereValues");
    QTest::addColumn<QString>("expected");

    QTest::newRow("select everything") << "select"
                                       << "category" << ConditionMap{} << ConditionMap{} << "SELECT * FROM category";
    QTest::newRow("select by integer ID")
        << "select"
        << "category" << ConditionMap{} << ConditionMap{{"ID", 3}} << "SELECT * FROM category WHERE ID=3 ";
    QTest::newRow("select by number and text")
        << "select"
        << "t" << ConditionMap{} << ConditionMap{{"B", "x"}, {"A", 1}} << "SELECT * FROM t WHERE A=1 AND B='x' ";
    QTest::newRow("select with text holding AND")
        << "select"
        << "t" << ConditionMap{} << ConditionMap{{"NAME", "SAND AND"}} << "SELECT * FROM t WHERE NAME='SAND AND' ";
    QTest::newRow("upper case sorts before lower case")
        << "select"
        << "t" << ConditionMap{} << ConditionMap{{"a", 1}, {"B", 2}} << "SELECT * FROM t WHERE B=2 AND a=1 ";
    QTest::newRow("delete everything") << "delete"
                                       << "settings" << ConditionMap{} << ConditionMap{} << "DELETE FROM settings";
    QTest::newRow("delete by apostrophe text") << "delete"
                                               << "settings" << ConditionMap{} << ConditionMap{{"NAME", "O'Neil"}}
                                               << "DELETE FROM settings WHERE NAME='O''Neil' ";
    QTest::newRow("update one setting") << "update"
                                        << "settings" << ConditionMap{{"VALUE", "42"}}
                                        << ConditionMap{{"NAME", "GENERAL_LOG_DIR"}}
                                        << "UPDATE settings SET VALUE='42' WHERE NAME='GENERAL_LOG_DIR' ";
    QTest::newRow("set keys in name order") << "update"
                                            << "settings" << ConditionMap{{"VALUE", "5"}, {"NAME", "GENERAL_X"}}
                                            << ConditionMap{} << "UPDATE settings SET NAME='GENERAL_X',VALUE='5'";
    QTest::newRow("set numbers and flags bare")
        << "update"
        << "t" << ConditionMap{{"D", 1.5}, {"F", true}, {"N", -7}, {"U", 8u}} << ConditionMap{{"ID", 2}}
        << "UPDATE t SET D=1.5,F=true,N=-7,U=8 WHERE ID=2 ";
    QTest::newRow("set type before value")
        << "update"
        << "settings" << ConditionMap{{"VALUE", 200}, {"TYPE", "int"}} << ConditionMap{{"NAME", "K"}}
        << "UPDATE settings SET TYPE='int',VALUE=200 WHERE NAME='K' ";
    QTest::newRow("update without values")
        << "update"
        << "settings" << ConditionMap{} << ConditionMap{{"ID", 1}} << "UPDATE settings WHERE ID=1 ";
    QTest::newRow("attack text stays one literal")
        << "select"
        << "settings" << ConditionMap{} << ConditionMap{{"NAME", "x' OR '1'='1"}}
        << "SELECT * FROM settings WHERE NAME='x'' OR ''1''=''1' ";
    QTest::newRow("bytes are quoted like text") << "update"
                                                << "settings" << ConditionMap{{"VALUE", QByteArray("a'b")}}
                                                << ConditionMap{} << "UPDATE settings SET VALUE='a''b'";
}

void DatabaseTest::statementRendersClausesInKeyOrder()
{
    QFETCH(QString, kind);
    QFETCH(QString, table);
    QFETCH(ConditionMap, setValues);
    QFETCH(ConditionMap, whereValues);
    QFETCH(QString, expected);

    QString strActual;
    if (kind == "select")
        strActual = CDatabase::GetSelectQuery(table, whereValues);
    else if (kind == "delete")
        strActual = CDatabase::GetDeleteQuery(table, whereValues);
    else
        strActual = CDatabase::GetUpdateQuery(table, setValues, whereValues);
    QCOMPARE(strActual, expected);
}

void DatabaseTest::hostChoosesDriver_data()
{
    QTest::addColumn<QString>("host");
    QTest::addColumn<bool>("sqlite");
    QTest::newRow("localhost") << "localhost" << true;
    QTest::newRow("mixed case") << "LocalHost" << true;
    QTest::newRow("inside a longer name") << "my-localhost-box" << true;
    QTest::newRow("numeric address") << "127.0.0.1" << false;
}

void DatabaseTest::hostChoosesDriver()
{
    QFETCH(QString, host);
    QFETCH(bool, sqlite);
    const QString strFile = NewFile();

    {
        CDatabase database(&m_factory);
        const bool bOpened = database.OpenDatabase(host, strFile, "", "");
        // Only the SQLite driver turns the name into a file; the MySQL path fails here (no server, often no driver).
        QCOMPARE(bOpened, sqlite);
        QCOMPARE(QFile::exists(strFile), sqlite);
        if (sqlite)
            QVERIFY(database.RunQueries({"CREATE TABLE t (ID INTEGER)"}, false));
    }
    if (sqlite)
        QCOMPARE(CSqliteInspector::Tables(strFile), QStringList{"t"});
    // A missing driver is Qt's warning, not ours.
    g_lstWarnings.clear();
}

void DatabaseTest::closeWithoutOpenLogsAndSucceeds()
{
    CDatabase database(nullptr);
    QVERIFY(database.Close());
    QCOMPARE(m_pLog->NewLines(), QStringList{"[NORMAL] Close Database"});
}

void DatabaseTest::reopeningSwitchesToTheNewFile()
{
    const QString strFirst = SettingsFile({});
    const QString strSecond = m_pDir->filePath("second.data");
    QVERIFY(!strFirst.isEmpty());

    CDatabase database(&m_factory);
    QVERIFY(database.OpenDatabase("localhost", strFirst, "", ""));
    QVERIFY(database.OpenDatabase("localhost", strSecond, "", ""));
    QVERIFY(database.RunQueryFile(":/Files/database_sqlite.sql", false));
    QVERIFY(database.InsertToTable(MakeSetting("K", "v")));

    QCOMPARE(CSqliteInspector::Rows(strSecond, "SELECT NAME, VALUE FROM settings"), QStringList{"K|v"});
    QCOMPARE(CSqliteInspector::Rows(strFirst, "SELECT NAME, VALUE FROM settings"), QStringList());
    QVERIFY(database.Close());
}

void DatabaseTest::twoObjectsOnOneFileDoNotDisturbEachOther()
{
    const QString strFile = SettingsFile({{"A", "1"}});
    QVERIFY(!strFile.isEmpty());

    CDatabase first(&m_factory);
    QVERIFY(first.OpenDatabase("localhost", strFile, "", ""));
    {
        CDatabase second(&m_factory);
        QVERIFY(second.OpenDatabase("localhost", strFile, "", ""));
        QVERIFY(second.InsertToTable(MakeSetting("B", "2")));
        QVERIFY(second.Close());
    }
    // The second object's close must not have taken the first one's connection with it.
    QVERIFY(first.InsertToTable(MakeSetting("C", "3")));
    std::vector<std::shared_ptr<CDatabaseRecord>> vctRecords;
    first.SelectFromTable("settings", vctRecords, {});
    QCOMPARE(int(vctRecords.size()), 3);
}

void DatabaseTest::runQueriesStopsAtFirstFailure_data()
{
    QTest::addColumn<bool>("transaction");
    QTest::newRow("with transaction") << true;
    QTest::newRow("without transaction") << false;
}

void DatabaseTest::runQueriesStopsAtFirstFailure()
{
    QFETCH(bool, transaction);
    const QString strFile = NewFile();
    CDatabase database(nullptr);
    QVERIFY(database.OpenDatabase("localhost", strFile, "", ""));
    QVERIFY(database.RunQueries({"CREATE TABLE t (V INTEGER)"}, false));
    m_pLog->NewLines();

    const bool bResult = database.RunQueries(
        {"INSERT INTO t (V) VALUES(1)", "INSERT INTO missing (V) VALUES(2)", "INSERT INTO t (V) VALUES(3)"},
        transaction);

    QVERIFY(!bResult);
    QCOMPARE(CSqliteInspector::Rows(strFile, "SELECT V FROM t"), QStringList{"1"});
    const QStringList lstLog = m_pLog->NewLines();
    QCOMPARE(lstLog.size(), 1);
    QVERIFY2(lstLog.first().startsWith("[ERROR] no such table: missing"), qPrintable(lstLog.first()));
    // The connection is usable afterwards: no transaction was left open.
    QVERIFY(database.RunQueries({"INSERT INTO t (V) VALUES(4)"}, true));
    QCOMPARE(CSqliteInspector::Rows(strFile, "SELECT V FROM t"), (QStringList{"1", "4"}));
}

void DatabaseTest::blankStatementsSucceed_data()
{
    QTest::addColumn<QStringList>("statements");
    QTest::addColumn<bool>("transaction");
    QTest::newRow("blanks and line breaks") << QStringList{"  \n\t \r\n "} << false;
    QTest::newRow("empty text") << QStringList{""} << true;
    QTest::newRow("empty list") << QStringList{} << false;
    QTest::newRow("empty list in a transaction") << QStringList{} << true;
}

void DatabaseTest::blankStatementsSucceed()
{
    QFETCH(QStringList, statements);
    QFETCH(bool, transaction);
    CDatabase database(nullptr);
    QVERIFY(database.OpenDatabase("localhost", NewFile(), "", ""));
    QVERIFY(database.RunQueries(std::vector<QString>(statements.cbegin(), statements.cend()), transaction));
    QCOMPARE(m_pLog->NewLines(), QStringList());
}

void DatabaseTest::runQueriesWithoutDatabaseFails()
{
    CDatabase database(nullptr);
    QVERIFY(!database.RunQueries({"SELECT 1"}, false));
    QVERIFY(!database.RunQueries({}, true));
    QVERIFY(!database.InsertToTable(MakeSetting("K", "v")));
    QCOMPARE(m_pLog->NewLines(), QStringList());
}

void DatabaseTest::queryFileIsSplitAtSemicolons()
{
    const QString strScript = m_pDir->filePath("script.sql");
    QFile script(strScript);
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write("CREATE TABLE t (V TEXT);\nINSERT INTO t (V) VALUES('\xc3\xa9t\xc3\xa9');\n");
    script.close();

    const QString strFile = NewFile();
    CDatabase database(nullptr);
    QVERIFY(database.OpenDatabase("localhost", strFile, "", ""));
    QVERIFY(database.RunQueryFile(strScript, true));
    QCOMPARE(CSqliteInspector::Rows(strFile, "SELECT V FROM t"), QStringList{QString::fromUtf8("\xc3\xa9t\xc3\xa9")});
    QCOMPARE(m_pLog->NewLines(), QStringList());
}

void DatabaseTest::queryFileFromResourceCreatesSettingsTable()
{
    const QString strFile = NewFile();
    CDatabase database(nullptr);
    QVERIFY(database.OpenDatabase("localhost", strFile, "", ""));
    QVERIFY(database.RunQueryFile(":/Files/database_sqlite.sql", false));
    QVERIFY(database.RunQueryFile(":/Files/database_sqlite.sql", false));

    QCOMPARE(CSqliteInspector::Tables(strFile), QStringList{"settings"});
    QCOMPARE(CSqliteInspector::Rows(strFile, "SELECT name, type, \"notnull\", pk FROM pragma_table_info('settings')"),
             (QStringList{"ID|INTEGER|1|1", "NAME|nvarchar(45)|1|0", "VALUE|TEXT|1|0", "TYPE|nvarchar(45)|1|0"}));
    QCOMPARE(CSqliteInspector::Rows(strFile, "SELECT ii.name FROM pragma_index_list('settings') il, "
                                             "pragma_index_info(il.name) ii WHERE il.\"unique\" = 1"),
             QStringList{"NAME"});
}

void DatabaseTest::missingQueryFileFailsSilently()
{
    CDatabase database(nullptr);
    QVERIFY(database.OpenDatabase("localhost", NewFile(), "", ""));
    QVERIFY(!database.RunQueryFile(m_pDir->filePath("missing.sql"), true));
    QVERIFY(!database.RunQueryFile(":/Files/missing.sql", false));
    QCOMPARE(m_pLog->NewLines(), QStringList());
}

void DatabaseTest::transactionHidesRowsUntilCommit()
{
    const QString strFile = SettingsFile({});
    CDatabase writer(&m_factory);
    QVERIFY(writer.OpenDatabase("localhost", strFile, "", ""));

    QVERIFY(writer.StartTransaction());
    QVERIFY(writer.InsertToTable(MakeSetting("K", "v")));
    QCOMPARE(CSqliteInspector::Rows(strFile, "SELECT NAME FROM settings"), QStringList());
    QVERIFY(writer.Commit());
    QCOMPARE(CSqliteInspector::Rows(strFile, "SELECT NAME FROM settings"), QStringList{"K"});
}

void DatabaseTest::singleInsertSetsNewID()
{
    const QString strFile = SettingsFile({{"A", "1"}});
    CDatabase database(&m_factory);
    QVERIFY(database.OpenDatabase("localhost", strFile, "", ""));

    auto pFirst = MakeSetting("B", "2");
    auto pSecond = MakeSetting("C", "3");
    QVERIFY(database.InsertToTable(pFirst));
    QVERIFY(database.InsertToTable(pSecond));

    QCOMPARE(pFirst->GetID(), 2);
    QCOMPARE(pSecond->GetID(), 3);
    QCOMPARE(CSqliteInspector::Rows(strFile, "SELECT ID, NAME FROM settings ORDER BY ID"),
             (QStringList{"1|A", "2|B", "3|C"}));
}

void DatabaseTest::batchInsertStoresRowsAndKeepsIDs_data()
{
    QTest::addColumn<bool>("transaction");
    QTest::newRow("with transaction") << true;
    QTest::newRow("without transaction") << false;
}

void DatabaseTest::batchInsertStoresRowsAndKeepsIDs()
{
    QFETCH(bool, transaction);
    const QString strFile = SettingsFile({});
    CDatabase database(&m_factory);
    QVERIFY(database.OpenDatabase("localhost", strFile, "", ""));

    auto pOld = MakeSetting("OLD", "x");
    pOld->SetID(41);
    const std::vector<std::shared_ptr<CDatabaseRecord>> vctRecords{MakeSetting("A", "1"), pOld,
                                                                   MakeSetting("B", "it's")};
    QVERIFY(database.InsertToTable(vctRecords, transaction));

    QCOMPARE(vctRecords[0]->GetID(), -1);
    QCOMPARE(vctRecords[1]->GetID(), 41);
    QCOMPARE(vctRecords[2]->GetID(), -1);
    QCOMPARE(CSqliteInspector::Rows(strFile, "SELECT ID, NAME, VALUE FROM settings ORDER BY ID"),
             (QStringList{"1|A|1", "2|OLD|x", "3|B|it's"}));
}

void DatabaseTest::batchInsertOfNothingFails()
{
    const QString strFile = SettingsFile({});
    CDatabase database(&m_factory);
    QVERIFY(database.OpenDatabase("localhost", strFile, "", ""));
    QVERIFY(!database.InsertToTable(std::vector<std::shared_ptr<CDatabaseRecord>>{}, true));
    QCOMPARE(m_pLog->NewLines(), QStringList());
}

void DatabaseTest::failedSingleInsertLeavesIDAndLogsNothing()
{
    const QString strFile = SettingsFile({{"A", "1"}});
    CDatabase database(&m_factory);
    QVERIFY(database.OpenDatabase("localhost", strFile, "", ""));
    m_pLog->NewLines();

    auto pDuplicate = MakeSetting("A", "2");
    QVERIFY(!database.InsertToTable(pDuplicate));
    QCOMPARE(pDuplicate->GetID(), -1);
    QCOMPARE(m_pLog->NewLines(), QStringList());
    QVERIFY(!database.InsertToTable(std::shared_ptr<CDatabaseRecord>()));
}

void DatabaseTest::selectFillsRecordsMatchingConditions_data()
{
    QTest::addColumn<ConditionMap>("where");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("every row in order") << ConditionMap{} << QStringList{"1|A|1", "2|O'Neil|it's", "3|C|3"};
    QTest::newRow("apostrophe matched unchanged") << ConditionMap{{"NAME", "O'Neil"}} << QStringList{"2|O'Neil|it's"};
    QTest::newRow("two conditions") << ConditionMap{{"ID", 3}, {"VALUE", "3"}} << QStringList{"3|C|3"};
    QTest::newRow("attack text matches nothing") << ConditionMap{{"NAME", "x' OR '1'='1"}} << QStringList{};
}

void DatabaseTest::selectFillsRecordsMatchingConditions()
{
    QFETCH(ConditionMap, where);
    QFETCH(QStringList, expected);
    const QString strFile = SettingsFile({{"A", "1"}, {"O'Neil", "it's"}, {"C", "3"}});
    CDatabase database(&m_factory);
    QVERIFY(database.OpenDatabase("localhost", strFile, "", ""));

    std::vector<std::shared_ptr<CDatabaseRecord>> vctRecords{MakeSetting("stale", "row")};
    database.SelectFromTable("settings", vctRecords, where);

    QStringList lstActual;
    for (const auto& pRecord : vctRecords)
    {
        const auto pSetting = std::dynamic_pointer_cast<CSettingRecord>(pRecord);
        QVERIFY(pSetting);
        lstActual << QString::number(pSetting->GetID()) + "|" + pSetting->GetName() + "|" + pSetting->GetValue();
    }
    QCOMPARE(lstActual, expected);
}

void DatabaseTest::selectOnTableUnknownToFactoryYieldsNothing()
{
    const QString strFile = NewFile();
    CDatabase database(&m_factory);
    QVERIFY(database.OpenDatabase("localhost", strFile, "", ""));
    QVERIFY(database.RunQueries({"CREATE TABLE other (ID INTEGER)", "INSERT INTO other (ID) VALUES(1)"}, true));

    std::vector<std::shared_ptr<CDatabaseRecord>> vctRecords{MakeSetting("stale", "row")};
    database.SelectFromTable("other", vctRecords, {});
    QVERIFY(vctRecords.empty());
}

void DatabaseTest::failedSelectLeavesOutputAlone_data()
{
    QTest::addColumn<QString>("situation");
    QTest::newRow("missing table") << "missing table";
    QTest::newRow("no factory") << "no factory";
    QTest::newRow("never opened") << "never opened";
    QTest::newRow("closed") << "closed";
}

void DatabaseTest::failedSelectLeavesOutputAlone()
{
    QFETCH(QString, situation);
    const QString strFile = SettingsFile({{"A", "1"}});
    CDatabase database(situation == "no factory" ? nullptr : &m_factory);
    if (situation != "never opened")
        QVERIFY(database.OpenDatabase("localhost", strFile, "", ""));
    if (situation == "closed")
        QVERIFY(database.Close());
    m_pLog->NewLines();

    auto pKept = MakeSetting("kept", "x");
    std::vector<std::shared_ptr<CDatabaseRecord>> vctRecords{pKept};
    database.SelectFromTable(situation == "missing table" ? "missing" : "settings", vctRecords, {});

    QCOMPARE(int(vctRecords.size()), 1);
    QCOMPARE(vctRecords.front(), std::static_pointer_cast<CDatabaseRecord>(pKept));
    QCOMPARE(m_pLog->NewLines(), QStringList());
}

void DatabaseTest::updateChangesOnlyMatchingRows()
{
    const QString strFile = SettingsFile({{"A", "1"}, {"O'Neil", "2"}});
    CDatabase database(&m_factory);
    QVERIFY(database.OpenDatabase("localhost", strFile, "", ""));

    QVERIFY(database.UpdateTable("settings", {{"VALUE", "it's"}, {"TYPE", "string"}}, {{"NAME", "O'Neil"}}, true));
    QCOMPARE(CSqliteInspector::Rows(strFile, "SELECT NAME, VALUE FROM settings ORDER BY ID"),
             (QStringList{"A|1", "O'Neil|it's"}));
    QVERIFY(database.DeleteFromTable("settings", {{"NAME", "O'Neil"}}, false));
    QCOMPARE(CSqliteInspector::Rows(strFile, "SELECT NAME FROM settings"), QStringList{"A"});
}

void DatabaseTest::updateWithoutValuesFailsAndLogs()
{
    const QString strFile = SettingsFile({{"A", "1"}});
    CDatabase database(&m_factory);
    QVERIFY(database.OpenDatabase("localhost", strFile, "", ""));
    m_pLog->NewLines();

    QVERIFY(!database.UpdateTable("settings", {}, {{"ID", 1}}, false));
    const QStringList lstLog = m_pLog->NewLines();
    QCOMPARE(lstLog.size(), 1);
    QVERIFY2(lstLog.first().startsWith("[ERROR] near \"WHERE\": syntax error"), qPrintable(lstLog.first()));
    QCOMPARE(CSqliteInspector::Rows(strFile, "SELECT NAME, VALUE FROM settings"), QStringList{"A|1"});
}

void DatabaseTest::deleteWithoutConditionsEmptiesTable()
{
    const QString strFile = SettingsFile({{"A", "1"}, {"B", "2"}});
    CDatabase database(&m_factory);
    QVERIFY(database.OpenDatabase("localhost", strFile, "", ""));

    QVERIFY(database.DeleteFromTable("settings", {}, true));
    QCOMPARE(CSqliteInspector::Rows(strFile, "SELECT COUNT(*) FROM settings"), QStringList{"0"});
}

void DatabaseTest::settingRecordInsertStatement_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("expected");
    QTest::newRow("plain")
        << "GENERAL_PDF_RESOLUTION_X"
        << "200"
        << "int"
        << "INSERT INTO settings (NAME, VALUE, TYPE) VALUES('GENERAL_PDF_RESOLUTION_X', '200', 'int')";
    QTest::newRow("apostrophes in every value")
        << "K'"
        << "/home/O'Neil"
        << "'"
        << "INSERT INTO settings (NAME, VALUE, TYPE) VALUES('K''', '/home/O''Neil', '''')";
    QTest::newRow("percent signs and non-ASCII") << "P" << QString::fromUtf8("100% \xc3\xa9t\xc3\xa9 %s") << ""
                                                 << QString::fromUtf8("INSERT INTO settings (NAME, VALUE, TYPE) "
                                                                      "VALUES('P', '100% \xc3\xa9t\xc3\xa9 %s', '')");
}

void DatabaseTest::settingRecordInsertStatement()
{
    QFETCH(QString, name);
    QFETCH(QString, value);
    QFETCH(QString, type);
    QFETCH(QString, expected);
    QCOMPARE(MakeSetting(name, value, type)->GetInsertQuery(), expected);
}

void DatabaseTest::settingRecordLoadsOnlyPresentColumns()
{
    const QString strFile = SettingsFile({{"A", "1"}});
    CDatabase database(&m_factory);
    QVERIFY(database.OpenDatabase("localhost", strFile, "", ""));
    QVERIFY(
        database.RunQueries({"CREATE TABLE narrow (NAME TEXT)", "INSERT INTO narrow (NAME) VALUES('only')"}, false));

    // A query of its own on the same file: LoadFromQuery is the record's public face.
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "narrow");
        db.setDatabaseName(strFile);
        QVERIFY(db.open());
        QSqlQuery query(db);
        QVERIFY(query.exec("SELECT NAME FROM narrow"));
        QVERIFY(query.next());
        auto pRecord = MakeSetting("before", "value", "type");
        pRecord->SetID(9);
        pRecord->LoadFromQuery(&query);
        pRecord->LoadFromQuery(nullptr);
        QCOMPARE(pRecord->GetID(), 9);
        QCOMPARE(pRecord->GetName(), QString("only"));
        QCOMPARE(pRecord->GetValue(), QString("value"));
        QCOMPARE(pRecord->GetType(), QString("type"));
    }
    QSqlDatabase::removeDatabase("narrow");
}

void DatabaseTest::baseFactoryKnowsOnlySettings_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<bool>("known");
    QTest::newRow("settings") << "settings" << true;
    QTest::newRow("capitalised") << "Settings" << false;
    QTest::newRow("project table") << "category" << false;
    QTest::newRow("empty") << "" << false;
}

void DatabaseTest::baseFactoryKnowsOnlySettings()
{
    QFETCH(QString, table);
    QFETCH(bool, known);
    const std::shared_ptr<CDatabaseRecord> pRecord = m_factory.Create(table);
    QCOMPARE(bool(std::dynamic_pointer_cast<CSettingRecord>(pRecord)), known);
    QCOMPARE(bool(pRecord), known);
    if (pRecord)
        QCOMPARE(pRecord->GetID(), -1);
}

QTEST_MAIN(DatabaseTest)
#include "DatabaseTest.moc"
