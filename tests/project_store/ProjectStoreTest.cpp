#include "CSqliteReader.h"

#include "database/CDatabase.h"
#include "project/store/CDatasetROIRecord.h"
#include "project/store/CProjectRecordFactory.h"
#include "project/store/CProjectTrainingRecord.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

using RecordPointer = std::shared_ptr<CDatabaseRecord>;
Q_DECLARE_METATYPE(RecordPointer)

namespace
{
const QString PROJECT_SCHEMA = ":/Files/tamsel_database_sqlite.sql";
const QStringList PROJECT_TABLES{"category",    "parameter",        "dataset_image",
                                 "dataset_roi", "project_training", "project_property"};
} // namespace

class ProjectStoreTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    CProjectRecordFactory m_factory;
    CDatabase m_database{&m_factory};
    QString m_strFile;
    int m_nFiles = 0;

    // A new file made by the schema resource (if any), now the one m_database uses.
    bool NewFile(const QString& strSchema = PROJECT_SCHEMA)
    {
        m_strFile = m_dir.filePath(QString("%1.data").arg(++m_nFiles));
        return m_database.OpenDatabase("localhost", m_strFile, "", "") &&
               (strSchema.isEmpty() || m_database.RunQueryFile(strSchema, true));
    }
    QStringList Rows(const QString& strSql) const { return CSqliteReader::Rows(m_strFile, strSql); }

private slots:
    // Each row (named after its table) is written by plain SQL and read into a record; the record's own statement must
    // be the same text (or the one given, where a value is written in another form). Stored again in place of the row,
    // the record gets the next ID.
    void recordsReadAndWriteEveryColumn_data()
    {
        QTest::addColumn<QString>("written");
        QTest::addColumn<QString>("insert");
        QTest::newRow("category") << QString() << "INSERT INTO category (NAME) VALUES('driver''s ''seat''')";
        QTest::newRow("dataset_image")
            << QString()
            << "INSERT INTO dataset_image (NAME, FULL_PATH, TYPE, WIDTH, HEIGHT, PROJECT_ID) "
               "VALUES('O''Neil.png', 'Images/O''Neil.png', 'test', 4000, 3000, 7)";
        QTest::newRow("dataset_roi") << "INSERT INTO dataset_roi (X, Y, WIDTH, HEIGHT, IMAGE_ID, CATEGORY_ID) "
                                        "VALUES(10.250000, -1.500000, 320.125000, 0.123457, 5, 6)"
                                     << "INSERT INTO dataset_roi (X, Y, WIDTH, HEIGHT, IMAGE_ID, CATEGORY_ID) "
                                        "VALUES(10.25, -1.5, 320.125, 0.1234567, 5, 6)";
        QTest::newRow("parameter") << QString() << "INSERT INTO parameter (NAME, VALUE) VALUES('lr', '0.001')";
        QTest::newRow("project_property") << QString()
                                          << "INSERT INTO project_property (NAME, VALUE, TYPE, PROJECT_ID) "
                                             "VALUES('PROJECT_CONFIGURATION', '[net]\n# it''s; 100%\nbatch=64', "
                                             "'string', 1)";
        QTest::newRow("project_training") << "INSERT INTO project_training (NAME, TYPE, VERSION, CREATED_DATETIME) "
                                             "VALUES('Bob''s project', 'yolo3', '1.0.0', 'Sat Dec 5 17:32:02 2026')"
                                          << "INSERT INTO project_training (NAME, TYPE, VERSION, CREATED_DATETIME) "
                                             "VALUES('Bob''s project', 'yolo3', '1.0.0', '2026-12-05T17:32:02')";
    }

    void recordsReadAndWriteEveryColumn()
    {
        QFETCH(QString, written);
        QFETCH(QString, insert);
        const QString strTable = QTest::currentDataTag();
        QVERIFY(NewFile());
        QVERIFY(m_database.RunQueries({insert}, false));

        std::vector<RecordPointer> vctRecords;
        m_database.SelectFromTable(strTable, vctRecords, {});
        QCOMPARE(int(vctRecords.size()), 1);
        QCOMPARE(vctRecords.front()->GetID(), 1);
        QCOMPARE(vctRecords.front()->GetInsertQuery(), written.isNull() ? insert : written);
        QVERIFY(m_database.DeleteFromTable(strTable, {}, false));
        QVERIFY(m_database.InsertToTable(vctRecords.front()));
        QCOMPARE(vctRecords.front()->GetID(), 2);
    }

    void factoryKnowsOnlyProjectTables()
    {
        for (const char* pTable : {"settings", "Category", ""})
            QVERIFY2(!m_factory.Create(pTable), pTable);
    }

    void loadingNarrowRowKeepsOtherFields()
    {
        QVERIFY(NewFile(QString()));
        QVERIFY(m_database.RunQueries(
            {"CREATE TABLE dataset_image (ID INTEGER, NAME TEXT)", "INSERT INTO dataset_image VALUES(3, 'a.jpg')"},
            false));
        std::vector<RecordPointer> vctRecords;
        m_database.SelectFromTable("dataset_image", vctRecords, {});
        QCOMPARE(int(vctRecords.size()), 1);
        QCOMPARE(vctRecords.front()->GetID(), 3);
        QCOMPARE(vctRecords.front()->GetInsertQuery(),
                 QString("INSERT INTO dataset_image (NAME, FULL_PATH, TYPE, "
                         "WIDTH, HEIGHT, PROJECT_ID) VALUES('a.jpg', '', '', 0, 0, -1)"));
    }

    void schemaRunTwiceLeavesSixEmptyTables()
    {
        QVERIFY(NewFile());
        for (const QString& strTable : PROJECT_TABLES)
            QVERIFY(m_database.InsertToTable(m_factory.Create(strTable)));
        QVERIFY(m_database.RunQueryFile(PROJECT_SCHEMA, true));

        // Every column is NOT NULL and every table counts its ID up by itself.
        const QString strTables = "FROM sqlite_master m WHERE m.type = 'table' AND m.name NOT LIKE 'sqlite_%' ";
        QCOMPARE(Rows("SELECT count(*) " + strTables +
                      "AND (m.sql NOT LIKE '%PRIMARY KEY (`ID` AUTOINCREMENT)%' OR "
                      "EXISTS (SELECT * FROM pragma_table_info(m.name) WHERE NOT \"notnull\"))"),
                 QStringList{"0"});
        // The tables in creation order: columns with type, UNIQUE columns, then the foreign keys as written.
        QStringList lstTables;
        for (const QString& strTable : Rows("SELECT m.name " + strTables + "ORDER BY m.rowid"))
        {
            QCOMPARE(Rows("SELECT COUNT(*) FROM " + strTable), QStringList{"0"});
            QStringList lstParts = Rows("SELECT name || ' ' || upper(type) || CASE WHEN pk THEN ' PK' ELSE '' END "
                                        "FROM pragma_table_info('" +
                                        strTable + "')");
            lstParts << Rows("SELECT 'UNIQUE ' || ii.name FROM pragma_index_list('" + strTable +
                             "') il, pragma_index_info(il.name) ii WHERE il.\"unique\"");
            auto it = QRegularExpression("CONSTRAINT .*\\)")
                          .globalMatch(Rows("SELECT sql FROM sqlite_master WHERE name = '" + strTable + "'").value(0));
            while (it.hasNext())
                lstParts << it.next().captured();
            lstTables << strTable + ": " + lstParts.join(", ");
        }
        QCOMPARE(lstTables,
                 (QStringList{"category: ID INTEGER PK, NAME NVARCHAR(45), UNIQUE NAME",
                              "parameter: ID INTEGER PK, NAME NVARCHAR(45), VALUE TEXT, UNIQUE NAME",
                              "dataset_image: ID INTEGER PK, NAME NVARCHAR(45), FULL_PATH TEXT, TYPE NVARCHAR(45), "
                              "WIDTH INT, HEIGHT INT, PROJECT_ID INT, CONSTRAINT `PROJECT_ID_FK` FOREIGN KEY "
                              "(`PROJECT_ID`) REFERENCES `project_training` (`ID`)",
                              "dataset_roi: ID INTEGER PK, X DOUBLE, Y DOUBLE, WIDTH DOUBLE, HEIGHT DOUBLE, IMAGE_ID "
                              "INT, CATEGORY_ID INT, CONSTRAINT `CATEGORY_FK` FOREIGN KEY (`CATEGORY_ID`) REFERENCES "
                              "`category` (`ID`), CONSTRAINT `IMAGE_FK` FOREIGN KEY (`IMAGE_ID`) REFERENCES "
                              "`dataset_image` (`ID`)",
                              "project_training: ID INTEGER PK, NAME NVARCHAR(45), TYPE NVARCHAR(45), VERSION "
                              "NVARCHAR(45), CREATED_DATETIME DATETIME",
                              "project_property: ID INTEGER PK, NAME NVARCHAR(45), VALUE TEXT, TYPE NVARCHAR(45), "
                              "PROJECT_ID INT, UNIQUE NAME, CONSTRAINT `PROJECT_ID_FK` FOREIGN KEY (`PROJECT_ID`) "
                              "REFERENCES `project_training` (`ID`)"}));
    }
};

QTEST_MAIN(ProjectStoreTest)
#include "ProjectStoreTest.moc"
