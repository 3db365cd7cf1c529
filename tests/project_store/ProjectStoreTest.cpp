#include "../database/CSqliteInspector.h"

#include "database/CDatabase.h"
#include "project/CCategoryRecord.h"
#include "project/CDatasetImageRecord.h"
#include "project/CDatasetROIRecord.h"
#include "project/CParameterRecord.h"
#include "project/CProjectPropertyRecord.h"
#include "project/CProjectRecordFactory.h"
#include "project/CProjectTrainingRecord.h"

#include <QDir>
#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using RecordPointer = std::shared_ptr<CDatabaseRecord>;
Q_DECLARE_METATYPE(RecordPointer)

namespace
{
RecordPointer Category(const QString& strName)
{
    auto pRecord = std::make_shared<CCategoryRecord>();
    pRecord->SetName(strName);
    return pRecord;
}

RecordPointer Image(const QString& strName, const QString& strType, unsigned int nWidth, unsigned int nHeight,
                    int nProjectID)
{
    auto pRecord = std::make_shared<CDatasetImageRecord>();
    pRecord->SetName(strName);
    pRecord->SetFullPath(QStringLiteral("Images") + QDir::separator() + strName);
    pRecord->SetType(strType);
    pRecord->SetWidth(nWidth);
    pRecord->SetHeight(nHeight);
    pRecord->SetProjectID(nProjectID);
    return pRecord;
}

RecordPointer ROI(double dblX, double dblY, double dblWidth, double dblHeight, int nImageID, int nCategoryID)
{
    auto pRecord = std::make_shared<CDatasetROIRecord>();
    pRecord->SetX(dblX);
    pRecord->SetY(dblY);
    pRecord->SetWidth(dblWidth);
    pRecord->SetHeight(dblHeight);
    pRecord->SetImageID(nImageID);
    pRecord->SetCategoryID(nCategoryID);
    return pRecord;
}

RecordPointer Parameter(const QString& strName, const QString& strValue)
{
    auto pRecord = std::make_shared<CParameterRecord>();
    pRecord->SetName(strName);
    pRecord->SetValue(strValue);
    return pRecord;
}

RecordPointer Property(const QString& strName, const QString& strValue, const QString& strType, int nProjectID)
{
    auto pRecord = std::make_shared<CProjectPropertyRecord>();
    pRecord->SetName(strName);
    pRecord->SetValue(strValue);
    pRecord->SetType(strType);
    pRecord->SetProjectID(nProjectID);
    return pRecord;
}

RecordPointer Training(const QString& strName, const QDateTime& created)
{
    auto pRecord = std::make_shared<CProjectTrainingRecord>();
    pRecord->SetName(strName);
    pRecord->SetType(QStringLiteral("yolo3"));
    pRecord->SetVersion(QStringLiteral("1.0.0"));
    pRecord->SetCreatedDateTime(created);
    return pRecord;
}

// The class and every field but the creation time (which is not read back reliably), as one line.
QString Describe(const RecordPointer& pRecord)
{
    if (!pRecord)
        return QStringLiteral("<none>");
    const QString strID = QString::number(pRecord->GetID());
    if (auto p = std::dynamic_pointer_cast<CCategoryRecord>(pRecord))
        return QStringList{"category", strID, p->GetName()}.join('|');
    if (auto p = std::dynamic_pointer_cast<CDatasetImageRecord>(pRecord))
        return QStringList{"dataset_image",
                           strID,
                           p->GetName(),
                           p->GetFullPath(),
                           p->GetType(),
                           QString::number(p->GetWidth()),
                           QString::number(p->GetHeight()),
                           QString::number(p->GetProjectID())}
            .join('|');
    if (auto p = std::dynamic_pointer_cast<CDatasetROIRecord>(pRecord))
        return QStringList{"dataset_roi",
                           strID,
                           QString::number(p->GetX(), 'g', 17),
                           QString::number(p->GetY(), 'g', 17),
                           QString::number(p->GetWidth(), 'g', 17),
                           QString::number(p->GetHeight(), 'g', 17),
                           QString::number(p->GetCategoryID()),
                           QString::number(p->GetImageID())}
            .join('|');
    if (auto p = std::dynamic_pointer_cast<CParameterRecord>(pRecord))
        return QStringList{"parameter", strID, p->GetName(), p->GetValue()}.join('|');
    if (auto p = std::dynamic_pointer_cast<CProjectPropertyRecord>(pRecord))
        return QStringList{"project_property", strID,        p->GetName(),
                           p->GetValue(),      p->GetType(), QString::number(p->GetProjectID())}
            .join('|');
    if (auto p = std::dynamic_pointer_cast<CProjectTrainingRecord>(pRecord))
        return QStringList{"project_training", strID, p->GetName(), p->GetType(), p->GetVersion()}.join('|');
    return QStringLiteral("<unknown>");
}
} // namespace

class ProjectStoreTest : public QObject
{
    Q_OBJECT
private slots:
    void init();

    void factoryMakesRecordOfMatchingTable_data();
    void factoryMakesRecordOfMatchingTable();
    void insertStatementOfEachRecord_data();
    void insertStatementOfEachRecord();
    void schemaCreatesExactlySixTables();
    void schemaTableColumnsAndConstraints_data();
    void schemaTableColumnsAndConstraints();
    void schemaRunTwiceLeavesEmptyTables();
    void recordsRoundTripUnchanged_data();
    void recordsRoundTripUnchanged();
    void creationTimeIsStoredAsQtText();
    void loadingNarrowRowKeepsOtherFields();
    void secondRowWithUniqueNameIsRejected_data();
    void secondRowWithUniqueNameIsRejected();
    void largeProjectIsStoredAndReadBack();

private:
    // A new project file made by the schema resource, opened on m_database.
    QString NewProject();

    std::unique_ptr<QTemporaryDir> m_pDir;
    CProjectRecordFactory m_factory;
    std::unique_ptr<CDatabase> m_pDatabase;
};

void ProjectStoreTest::init()
{
    m_pDatabase.reset();
    m_pDir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_pDir->isValid());
}

QString ProjectStoreTest::NewProject()
{
    const QString strFile = m_pDir->filePath(QStringLiteral("project.data"));
    m_pDatabase = std::make_unique<CDatabase>(&m_factory);
    if (!m_pDatabase->OpenDatabase("localhost", strFile, "", "") ||
        !m_pDatabase->RunQueryFile(":/Files/tamsel_database_sqlite.sql", true))
        return QString();
    return strFile;
}

void ProjectStoreTest::factoryMakesRecordOfMatchingTable_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("expected");
    QTest::newRow("category") << "category"
                              << "category|-1|";
    QTest::newRow("dataset_image") << "dataset_image"
                                   << "dataset_image|-1||||0|0|-1";
    QTest::newRow("dataset_roi") << "dataset_roi"
                                 << "dataset_roi|-1|0|0|0|0|0|0";
    QTest::newRow("project_training") << "project_training"
                                      << "project_training|-1|||";
    QTest::newRow("parameter") << "parameter"
                               << "parameter|-1||";
    QTest::newRow("project_property") << "project_property"
                                      << "project_property|-1||||-1";
    QTest::newRow("settings") << "settings"
                              << "<none>";
    QTest::newRow("capitalised") << "Category"
                                 << "<none>";
    QTest::newRow("empty") << ""
                           << "<none>";
}

void ProjectStoreTest::factoryMakesRecordOfMatchingTable()
{
    QFETCH(QString, table);
    QFETCH(QString, expected);
    QCOMPARE(Describe(m_factory.Create(table)), expected);
}

void ProjectStoreTest::insertStatementOfEachRecord_data()
{
    QTest::addColumn<RecordPointer>("record");
    QTest::addColumn<QString>("expected");
    const QString strSeparator = QDir::separator();

    QTest::newRow("roi") << ROI(10, 20.5, 100, 50.25, 3, 2)
                         << "INSERT INTO dataset_roi (X, Y, WIDTH, HEIGHT, IMAGE_ID, CATEGORY_ID) "
                            "VALUES(10.000000, 20.500000, 100.000000, 50.250000, 3, 2)";
    QTest::newRow("roi rounded to six decimals")
        << ROI(0.1234567, -1.5, 1e6, 0.0000004, 0, 0)
        << "INSERT INTO dataset_roi (X, Y, WIDTH, HEIGHT, IMAGE_ID, CATEGORY_ID) "
           "VALUES(0.123457, -1.500000, 1000000.000000, 0.000000, 0, 0)";
    QTest::newRow("image") << Image("a.jpg", "train", 640, 480, 1)
                           << "INSERT INTO dataset_image (NAME, FULL_PATH, TYPE, WIDTH, HEIGHT, PROJECT_ID) "
                              "VALUES('a.jpg', 'Images" +
                                  strSeparator + "a.jpg', 'train', 640, 480, 1)";
    QTest::newRow("image with apostrophe") << Image("O'Neil.png", "test", 1, 2, 7)
                                           << "INSERT INTO dataset_image (NAME, FULL_PATH, TYPE, WIDTH, HEIGHT, "
                                              "PROJECT_ID) VALUES('O''Neil.png', 'Images" +
                                                  strSeparator + "O''Neil.png', 'test', 1, 2, 7)";
    QTest::newRow("category") << Category("car") << "INSERT INTO category (NAME) VALUES('car')";
    QTest::newRow("category with apostrophes")
        << Category("driver's 'seat'") << "INSERT INTO category (NAME) VALUES('driver''s ''seat''')";
    QTest::newRow("parameter") << Parameter("batch", "64")
                               << "INSERT INTO parameter (NAME, VALUE) VALUES('batch', '64')";
    QTest::newRow("property") << Property("PROJECT_CONFIGURATION", "[net]\n# it's\nbatch=64", "string", 1)
                              << "INSERT INTO project_property (NAME, VALUE, TYPE, PROJECT_ID) "
                                 "VALUES('PROJECT_CONFIGURATION', '[net]\n# it''s\nbatch=64', 'string', 1)";
    QTest::newRow("training") << Training("p'1", QDateTime(QDate(2026, 12, 5), QTime(17, 32, 2)))
                              << "INSERT INTO project_training (NAME, TYPE, VERSION, CREATED_DATETIME) "
                                 "VALUES('p''1', 'yolo3', '1.0.0', 'Sat Dec 5 17:32:02 2026')";
    QTest::newRow("training without time") << Training("p", QDateTime())
                                           << "INSERT INTO project_training (NAME, TYPE, VERSION, CREATED_DATETIME) "
                                              "VALUES('p', 'yolo3', '1.0.0', '')";
}

void ProjectStoreTest::insertStatementOfEachRecord()
{
    QFETCH(RecordPointer, record);
    QFETCH(QString, expected);
    QCOMPARE(record->GetInsertQuery(), expected);
}

void ProjectStoreTest::schemaCreatesExactlySixTables()
{
    const QString strFile = NewProject();
    QVERIFY(!strFile.isEmpty());
    QCOMPARE(CSqliteInspector::Tables(strFile), (QStringList{"category", "dataset_image", "dataset_roi", "parameter",
                                                             "project_property", "project_training"}));
    // The statements create the tables in this order.
    QCOMPARE(
        CSqliteInspector::Rows(strFile, "SELECT name FROM sqlite_master WHERE type='table' AND name NOT LIKE "
                                        "'sqlite_%' ORDER BY rowid"),
        (QStringList{"category", "parameter", "dataset_image", "dataset_roi", "project_training", "project_property"}));
}

void ProjectStoreTest::schemaTableColumnsAndConstraints_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QStringList>("columns"); // name|declared type in upper case|not null|primary key
    QTest::addColumn<QStringList>("unique");
    QTest::addColumn<QStringList>("foreignKeys"); // constraint as written, in order

    const QString strID = "ID|INTEGER|1|1";
    QTest::newRow("category") << "category" << QStringList{strID, "NAME|NVARCHAR(45)|1|0"} << QStringList{"NAME"}
                              << QStringList{};
    QTest::newRow("parameter") << "parameter" << QStringList{strID, "NAME|NVARCHAR(45)|1|0", "VALUE|TEXT|1|0"}
                               << QStringList{"NAME"} << QStringList{};
    QTest::newRow("dataset_image")
        << "dataset_image"
        << QStringList{strID,           "NAME|NVARCHAR(45)|1|0", "FULL_PATH|TEXT|1|0", "TYPE|NVARCHAR(45)|1|0",
                       "WIDTH|INT|1|0", "HEIGHT|INT|1|0",        "PROJECT_ID|INT|1|0"}
        << QStringList{}
        << QStringList{"CONSTRAINT `PROJECT_ID_FK` FOREIGN KEY (`PROJECT_ID`) REFERENCES "
                       "`project_training` (`ID`)"};
    QTest::newRow("dataset_roi")
        << "dataset_roi"
        << QStringList{strID,
                       "X|DOUBLE|1|0",
                       "Y|DOUBLE|1|0",
                       "WIDTH|DOUBLE|1|0",
                       "HEIGHT|DOUBLE|1|0",
                       "IMAGE_ID|INT|1|0",
                       "CATEGORY_ID|INT|1|0"}
        << QStringList{}
        << QStringList{"CONSTRAINT `CATEGORY_FK` FOREIGN KEY (`CATEGORY_ID`) REFERENCES `category` (`ID`)",
                       "CONSTRAINT `IMAGE_FK` FOREIGN KEY (`IMAGE_ID`) REFERENCES `dataset_image` (`ID`)"};
    QTest::newRow("project_training") << "project_training"
                                      << QStringList{strID, "NAME|NVARCHAR(45)|1|0", "TYPE|NVARCHAR(45)|1|0",
                                                     "VERSION|NVARCHAR(45)|1|0", "CREATED_DATETIME|DATETIME|1|0"}
                                      << QStringList{} << QStringList{};
    QTest::newRow("project_property")
        << "project_property"
        << QStringList{strID, "NAME|NVARCHAR(45)|1|0", "VALUE|TEXT|1|0", "TYPE|NVARCHAR(45)|1|0", "PROJECT_ID|INT|1|0"}
        << QStringList{"NAME"}
        << QStringList{"CONSTRAINT `PROJECT_ID_FK` FOREIGN KEY (`PROJECT_ID`) REFERENCES `project_training` (`ID`)"};
}

void ProjectStoreTest::schemaTableColumnsAndConstraints()
{
    QFETCH(QString, table);
    QFETCH(QStringList, columns);
    QFETCH(QStringList, unique);
    QFETCH(QStringList, foreignKeys);
    const QString strFile = NewProject();
    QVERIFY(!strFile.isEmpty());

    QCOMPARE(CSqliteInspector::Rows(strFile,
                                    QString("SELECT name, upper(type), \"notnull\", pk FROM pragma_table_info('%1') "
                                            "ORDER BY cid")
                                        .arg(table)),
             columns);
    QCOMPARE(CSqliteInspector::Rows(strFile, QString("SELECT ii.name FROM pragma_index_list('%1') il, "
                                                     "pragma_index_info(il.name) ii WHERE il.\"unique\" = 1")
                                                 .arg(table)),
             unique);
    // The key counts up by itself.
    QCOMPARE(CSqliteInspector::Rows(strFile,
                                    QString("SELECT sql LIKE '%PRIMARY KEY (`ID` AUTOINCREMENT)%' FROM sqlite_master "
                                            "WHERE name = '%1'")
                                        .arg(table)),
             QStringList{"1"});

    const QString strSql =
        CSqliteInspector::Rows(strFile, QString("SELECT sql FROM sqlite_master WHERE name = '%1'").arg(table)).value(0);
    int nPosition = 0;
    for (const QString& strKey : foreignKeys)
    {
        const int nFound = strSql.indexOf(strKey);
        QVERIFY2(nFound >= nPosition, qPrintable(strKey));
        nPosition = nFound;
    }
    QCOMPARE(strSql.count("FOREIGN KEY"), foreignKeys.size());
}

void ProjectStoreTest::schemaRunTwiceLeavesEmptyTables()
{
    const QString strFile = NewProject();
    QVERIFY(!strFile.isEmpty());
    QVERIFY(m_pDatabase->InsertToTable(Category("car")));
    QVERIFY(m_pDatabase->InsertToTable(ROI(1, 2, 3, 4, 1, 1)));
    QVERIFY(m_pDatabase->InsertToTable(Training("p", QDateTime::currentDateTime())));

    QVERIFY(m_pDatabase->RunQueryFile(":/Files/tamsel_database_sqlite.sql", true));

    QCOMPARE(CSqliteInspector::Tables(strFile).size(), 6);
    for (const QString& strTable : CSqliteInspector::Tables(strFile))
        QCOMPARE(CSqliteInspector::Rows(strFile, "SELECT COUNT(*) FROM " + strTable), QStringList{"0"});
}

void ProjectStoreTest::recordsRoundTripUnchanged_data()
{
    QTest::addColumn<RecordPointer>("record");
    QTest::addColumn<QString>("table");
    QTest::newRow("category with apostrophe") << Category("O'Neil's car") << "category";
    QTest::newRow("image in folder with apostrophe") << Image("O'Neil.jpg", "train", 4000, 3000, 1) << "dataset_image";
    QTest::newRow("roi") << ROI(10.25, 0.5, 320.125, 240.0625, 5, 6) << "dataset_roi";
    QTest::newRow("parameter") << Parameter("learning_rate", "0.001") << "parameter";
    QTest::newRow("configuration property")
        << Property("PROJECT_CONFIGURATION", "[net]\nbatch=64 ; it's\n'quoted'", "string", 1) << "project_property";
    QTest::newRow("project") << Training("Bob's project", QDateTime::currentDateTime()) << "project_training";
}

void ProjectStoreTest::recordsRoundTripUnchanged()
{
    QFETCH(RecordPointer, record);
    QFETCH(QString, table);
    QVERIFY(!NewProject().isEmpty());
    // A first row, so that the new ID is not merely the default 1.
    QVERIFY(m_pDatabase->InsertToTable(m_factory.Create(table)));

    QVERIFY(m_pDatabase->InsertToTable(record));
    QCOMPARE(record->GetID(), 2);

    std::vector<RecordPointer> vctRecords;
    m_pDatabase->SelectFromTable(table, vctRecords, {{"ID", 2}});
    QCOMPARE(int(vctRecords.size()), 1);
    QCOMPARE(Describe(vctRecords.front()), Describe(record));
}

void ProjectStoreTest::creationTimeIsStoredAsQtText()
{
    const QString strFile = NewProject();
    QVERIFY(!strFile.isEmpty());
    QVERIFY(m_pDatabase->InsertToTable(Training("p", QDateTime(QDate(2021, 8, 14), QTime(9, 5, 31)))));
    QCOMPARE(CSqliteInspector::Rows(strFile, "SELECT CREATED_DATETIME FROM project_training"),
             QStringList{"Sat Aug 14 09:05:31 2021"});
}

void ProjectStoreTest::loadingNarrowRowKeepsOtherFields()
{
    const QString strFile = NewProject();
    QVERIFY(!strFile.isEmpty());
    QVERIFY(m_pDatabase->InsertToTable(Image("a.jpg", "train", 640, 480, 1)));

    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "narrow");
        db.setDatabaseName(strFile);
        QVERIFY(db.open());
        QSqlQuery query(db);
        QVERIFY(query.exec("SELECT ID, NAME FROM dataset_image"));
        QVERIFY(query.next());
        CDatasetImageRecord record;
        record.LoadFromQuery(&query);
        QCOMPARE(record.GetID(), 1);
        QCOMPARE(record.GetName(), QString("a.jpg"));
        QCOMPARE(record.GetFullPath(), QString());
        QCOMPARE(record.GetType(), QString());
        QCOMPARE(record.GetWidth(), 0u);
        QCOMPARE(record.GetHeight(), 0u);
        QCOMPARE(record.GetProjectID(), -1);
    }
    QSqlDatabase::removeDatabase("narrow");
}

void ProjectStoreTest::secondRowWithUniqueNameIsRejected_data()
{
    QTest::addColumn<RecordPointer>("first");
    QTest::addColumn<RecordPointer>("second");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("category") << Category("car") << Category("car") << false;
    QTest::newRow("category differs in case") << Category("car") << Category("Car") << true;
    QTest::newRow("parameter") << Parameter("batch", "1") << Parameter("batch", "2") << false;
    QTest::newRow("property") << Property("P", "1", "int", 1) << Property("P", "2", "int", 1) << false;
    QTest::newRow("image names may repeat")
        << Image("a.jpg", "train", 1, 1, 1) << Image("a.jpg", "test", 1, 1, 1) << true;
}

void ProjectStoreTest::secondRowWithUniqueNameIsRejected()
{
    QFETCH(RecordPointer, first);
    QFETCH(RecordPointer, second);
    QFETCH(bool, accepted);
    QVERIFY(!NewProject().isEmpty());
    QVERIFY(m_pDatabase->InsertToTable(first));
    QCOMPARE(m_pDatabase->InsertToTable(second), accepted);
    QCOMPARE(second->GetID(), accepted ? 2 : -1);
}

void ProjectStoreTest::largeProjectIsStoredAndReadBack()
{
    const int nImages = 20000;
    const int nROIsPerImage = 5;
    const QString strFile = NewProject();
    QVERIFY(!strFile.isEmpty());

    std::vector<RecordPointer> vctImages;
    vctImages.reserve(nImages);
    for (int i = 0; i < nImages; ++i)
        vctImages.push_back(Image(QString("img_%1.jpg").arg(i), i % 10 ? "train" : "test", 640, 480, 1));
    std::vector<RecordPointer> vctROIs;
    vctROIs.reserve(nImages * nROIsPerImage);
    for (int i = 0; i < nImages * nROIsPerImage; ++i)
        vctROIs.push_back(ROI(i % 600, 0.5, 10.25, 20, i / nROIsPerImage + 1, i % 3 + 1));

    QElapsedTimer timer;
    timer.start();
    QVERIFY(m_pDatabase->InsertToTable(vctImages, true));
    QVERIFY(m_pDatabase->InsertToTable(vctROIs, true));
    const qint64 nInsertMs = timer.restart();

    std::vector<RecordPointer> vctLoaded;
    m_pDatabase->SelectFromTable("dataset_roi", vctLoaded, {});
    const qint64 nSelectMs = timer.elapsed();
    qInfo("inserted %d images and %d ROIs in %lld ms, read the ROIs back in %lld ms", nImages, nImages * nROIsPerImage,
          nInsertMs, nSelectMs);

    QCOMPARE(int(vctLoaded.size()), nImages * nROIsPerImage);
    QCOMPARE(Describe(vctLoaded.back()), QString("dataset_roi|100000|399|0.5|10.25|20|1|20000"));
    std::vector<RecordPointer> vctImageRows;
    m_pDatabase->SelectFromTable("dataset_image", vctImageRows, {{"TYPE", "test"}});
    QCOMPARE(int(vctImageRows.size()), nImages / 10);
    // Generous bound: a per-row reconnect or a quadratic step would take minutes, not seconds.
    QVERIFY2(nInsertMs + nSelectMs < 60000, "the large project took too long");
}

QTEST_MAIN(ProjectStoreTest)
#include "ProjectStoreTest.moc"
