#include "CDatasetImportCase.h"

#include "project/import/CDatasetFormat.h"
#include "project/import/CYoloDatasetScan.h"

#include <QProgressDialog>

#include <unistd.h>

#include <atomic>

using namespace ProjectTest;

// "Import Dataset" fed hostile data sets: special and unreadable files, files and counts beyond the limits, many
// classes, and Cancel while the folder is read.
class DatasetHostileImportTest : public CDatasetImportCase
{
    Q_OBJECT

    // The report's line for one file over the size limit.
    static QString TooLarge(const QString& strFile)
    {
        return QString("1 files over the size limit (%1 bytes for a text file, %2 for an image) not read (first in %3)")
            .arg(CYoloDatasetScan::kMaxTextBytes)
            .arg(CYoloDatasetScan::kMaxImageBytes)
            .arg(strFile);
    }

private slots:
    // Files that are no regular files or cannot be read: nothing waits on them, nothing of them is guessed, each is
    // named in the report. A test list that cannot be read stops the import: its images would train.
    void unreadableOrSpecialFilesAreReportedNotRead_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QString>("share"); // null: not asked
        QTest::addColumn<QStringList>("images");
        QTest::addColumn<QStringList>("reported");

        const QStringList lstListed = {"n.names=k", "a.png=img 10x10", "a.txt=0 0.5 0.5 1 1", "train.txt=a.png|"};
        const QString strRefused = "test.txt cannot be read or is too large: nothing imported.";
        const QString strTestList = "1 files are not regular files or cannot be read (first in test.txt)";
        QTest::newRow("test list is a FIFO") << (lstListed + QStringList("test.txt=fifo")) << QString() << QStringList()
                                             << QStringList({strRefused, strTestList});
        QTest::newRow("test list is a folder") << (lstListed + QStringList("test.txt=dir")) << QString()
                                               << QStringList() << QStringList({strRefused, strTestList});
        QTest::newRow("test list is a dangling link")
            << (lstListed + QStringList("test.txt=->/nonexistent/test.txt")) << QString() << QStringList()
            << QStringList({strRefused, strTestList});
        QTest::newRow("test list nobody may read") << (lstListed + QStringList("test.txt=mode000:a.png|")) << QString()
                                                   << QStringList() << QStringList({strRefused, strTestList});
        QTest::newRow("names file linked to /dev/zero")
            << QStringList({"z.names=->/dev/zero", "a.png=img 10x10", "a.txt=0 0.5 0.5 1 1"}) << QString()
            << QStringList()
            << QStringList({"z.names cannot be read or is too large: nothing imported.",
                            "1 files are not regular files or cannot be read (first in z.names)"});

        // Label files are read as the lists above are: one row shows what an unreadable one costs.
        const QStringList lstTwo = {"n.names=k", "b.png=img 10x10", "b.txt=0 0.5 0.5 1 1"};
        const QString strSkipped = "1 images skipped: their label files cannot be read or are too large";
        QTest::newRow("label file linked to /dev/zero")
            << (lstTwo + QStringList({"a.png=img 10x10", "a.txt=->/dev/zero"})) << "100"
            << QStringList("b.png train 10x10")
            << QStringList({strSkipped, "1 files are not regular files or cannot be read (first in a.txt)"});
        QTest::newRow("image is a FIFO") << (lstTwo + QStringList("a.png=fifo")) << "100"
                                         << QStringList("b.png train 10x10")
                                         << QStringList("1 files are not regular files or cannot be read (first in "
                                                        "a.png)");
        QTest::newRow("image is a dangling link")
            << (lstTwo + QStringList("a.png=->/nonexistent/a.png")) << "100" << QStringList("b.png train 10x10")
            << QStringList("1 files are not regular files or cannot be read (first in a.png)");
        QTest::newRow("image linked to a regular file elsewhere is read")
            << (lstTwo + QStringList({"../elsewhere/c.png=img 20x20", "a.png=->../elsewhere/c.png"})) << "100"
            << QStringList({"a.png train 20x20", "b.png train 10x10"}) << QStringList();
    }
    void unreadableOrSpecialFilesAreReportedNotRead()
    {
        QFETCH(QStringList, files);
        QFETCH(QString, share);
        QFETCH(QStringList, images);
        QFETCH(QStringList, reported);
        if (QString(QTest::currentDataTag()).contains("nobody may read") && geteuid() == 0)
            QSKIP("root reads a file without permissions; the folder and dangling-link rows cover unreadable files");
        m_strDir = Project("imp");
        QVERIFY(!m_strDir.isEmpty());
        const QString strFolder = DataSet(files);
        QVERIFY(!strFolder.isEmpty());

        Import(strFolder, share);

        QCOMPARE(ImageRows(), images);
        QCOMPARE(m_pCase->answers.texts.size(), size_t(0));
        const QStringList lstReport = LastMessage().split('\n', Qt::SkipEmptyParts);
        for (const QString& strLine : reported)
            QVERIFY2(lstReport.contains(strLine), qPrintable(LastMessage()));
        if (reported.isEmpty())
            QCOMPARE(lstReport.size(), 1);
        // Nothing refused leaves a copy or a class behind.
        QCOMPARE(Files(m_strDir + "/Images").size(), images.size());
        if (images.isEmpty())
            QCOMPARE(Classes(), QStringList());
    }

    // Label files, boxes and classes beyond the limits are refused with a count, not read into memory.
    void dataSetBeyondTheLimitsIsRefusedWithACount_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QStringList>("existingClasses"); // statements filling the project's class table
        QTest::addColumn<QString>("share");
        QTest::addColumn<QStringList>("images");
        QTest::addColumn<int>("boxes");
        QTest::addColumn<int>("classes");
        QTest::addColumn<QStringList>("reported");

        const QString strLine = "0 0.5 0.5 0.1 0.1|";
        const int nOversized = static_cast<int>(CYoloDatasetScan::kMaxTextBytes / (strLine.size() - 1)) + 1;
        const int nLimit = CYoloDatasetScan::kMaxBoxesPerImage;
        QTest::newRow("label file over the size limit")
            << QStringList({"n.names=k", "a.png=img 10x10", "a.txt=" + strLine.repeated(nOversized), "b.png=img 10x10",
                            "b.txt=" + strLine})
            << QStringList() << "100" << QStringList("b.png train 10x10") << 1 << 1
            << QStringList({TooLarge("a.txt"), "1 images skipped: their label files cannot be read or are too large"});
        QTest::newRow("image over the size limit")
            << QStringList({"n.names=k", "a.png=sparse " + QString::number(CYoloDatasetScan::kMaxImageBytes + 1),
                            "b.png=img 10x10", "b.txt=" + strLine})
            << QStringList() << "100" << QStringList("b.png train 10x10") << 1 << 1 << QStringList(TooLarge("a.png"));
        QTest::newRow("boxes beyond the limit per image")
            << QStringList({"n.names=k", "a.png=img 10x10", "a.txt=" + strLine.repeated(nLimit + 5)}) << QStringList()
            << "100" << QStringList("a.png train 10x10") << nLimit << 1
            << QStringList(QString("5 label lines beyond %1 boxes per image skipped (first in a.txt)").arg(nLimit));
        QStringList lstNames;
        for (int i = 0; i < 20000; ++i)
            lstNames.append(QString("c%1").arg(i));
        QTest::newRow("20000 classes")
            << QStringList({"classes.txt=" + lstNames.join('|'), "a.png=img 10x10", "a.txt=" + strLine})
            << QStringList() << "100" << QStringList() << 0 << 0
            << QStringList(QString("20000 classes exceed the limit of %1 per project: nothing imported.")
                               .arg(CYoloDatasetScan::kMaxClasses));
        QTest::newRow("project and data set together beyond the class limit")
            << QStringList({"n.names=new1|new2|c1", "a.png=img 10x10", "a.txt=" + strLine})
            << QStringList(
                   QString("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) INSERT INTO "
                           "category (NAME) SELECT 'c' || i FROM n")
                       .arg(CYoloDatasetScan::kMaxClasses - 1))
            << "100" << QStringList() << 0 << CYoloDatasetScan::kMaxClasses - 1
            << QStringList(QString("The project would hold %1 classes, more than the limit of %2: nothing imported.")
                               .arg(CYoloDatasetScan::kMaxClasses + 1)
                               .arg(CYoloDatasetScan::kMaxClasses));
        QTest::newRow("class index far beyond the limit without names")
            << QStringList({"a.png=img 10x10", "a.txt=99999999 0.5 0.5 1 1|0 0.5 0.5 1 1"}) << QStringList() << "100"
            << QStringList("a.png train 10x10") << 1 << 1
            << QStringList("1 label lines with a class index without a name skipped (first in a.txt)");
    }
    void dataSetBeyondTheLimitsIsRefusedWithACount()
    {
        QFETCH(QStringList, files);
        QFETCH(QStringList, existingClasses);
        QFETCH(QString, share);
        QFETCH(QStringList, images);
        QFETCH(int, boxes);
        QFETCH(int, classes);
        QFETCH(QStringList, reported);
        m_strDir = Project("imp", existingClasses);
        QVERIFY(!m_strDir.isEmpty());
        const QString strFolder = DataSet(files);
        QVERIFY(!strFolder.isEmpty());

        Import(strFolder, share);

        QCOMPARE(ImageRows(), images);
        QCOMPARE(Sql("SELECT COUNT(*) FROM dataset_roi"), QList<QStringList>({{QString::number(boxes)}}));
        QCOMPARE(Sql("SELECT COUNT(*) FROM category"), QList<QStringList>({{QString::number(classes)}}));
        const QStringList lstReport = LastMessage().split('\n', Qt::SkipEmptyParts);
        for (const QString& strLine : reported)
            QVERIFY2(lstReport.contains(strLine), qPrintable(LastMessage()));
    }

    // Thousands of new classes once took a commit each before the first image.
    void newClassesOfAnImportCommitOnce()
    {
        m_strDir = Project("imp", {"INSERT INTO category (NAME) VALUES ('b')"});
        const QString strFolder = DataSet({"n.names=a|b|c|d", "a.png=img 10x10", "a.txt=3 0.5 0.5 1 1"});
        CSqlTrace::TakeAll();

        Import(strFolder, "100");

        QCOMPARE(Classes(), QStringList({"b", "a", "c", "d"}));
        // Each class insert, and every transaction statement around them: one BEGIN, the three, one COMMIT.
        QStringList lstTrace;
        for (const QString& strStatement : CSqlTrace::TakeAll())
        {
            const QString strUpper = strStatement.trimmed().toUpper();
            if (strUpper.startsWith("INSERT INTO CATEGORY"))
                lstTrace.append("insert");
            else if (strUpper.startsWith("BEGIN") || strUpper.startsWith("COMMIT") || strUpper.startsWith("END") ||
                     strUpper.startsWith("ROLLBACK"))
                lstTrace.append(strUpper.section(' ', 0, 0));
        }
        const int nFirst = lstTrace.indexOf("insert");
        QVERIFY2(nFirst > 0, qPrintable(lstTrace.join(' ')));
        QCOMPARE(lstTrace.mid(nFirst - 1, 5), QStringList({"BEGIN", "insert", "insert", "insert", "COMMIT"}));
    }

    // The folder was once read before any dialog showed: nothing could cancel it.
    void cancelWhileTheFolderIsReadImportsNothing()
    {
        m_strDir = Project("imp");
        QStringList lstFiles = {"n.names=k", "train.txt="};
        for (int i = 0; i < 3; ++i)
            lstFiles.append(QString("c%1.png=img 20x20").arg(i));
        const QString strFolder = DataSet(lstFiles);
        QVERIFY(!strFolder.isEmpty());
        m_pCase->answers.files.push_back(strFolder);
        bool bFound = false;
        // Runs at the first event the import lets through: the dialog must be there and able to cancel.
        QTimer::singleShot(0, &m_pCase->view,
                           [this, &bFound]
                           {
                               if (auto* pDialog = m_pCase->view.findChild<QProgressDialog*>())
                               {
                                   bFound = true;
                                   pDialog->cancel();
                               }
                           });

        m_pCase->controller.slot_ImportDataset();

        QVERIFY(bFound);
        QCOMPARE(ImageRows(), QStringList());
        QVERIFY2(LastMessage().contains("Cancelled"), qPrintable(LastMessage()));
        QCOMPARE(Files(m_strDir + "/Images"), QStringList());
    }

    // A scan told to stop, as Cancel does from the GUI thread, keeps nothing it read, whatever the format.
    void cancelledScanKeepsNothing_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::newRow("YOLO") << QStringList({"n.names=k", "a.png=img 10x10", "a.txt=0 0.5 0.5 1 1"});
        QTest::newRow("VOC") << QStringList({"a.xml=<annotation><filename>a.png</filename><size><width>10</width>"
                                             "<height>10</height></size></annotation>",
                                             "a.png=img 10x10"});
        QTest::newRow("COCO") << QStringList({"a.json={\"images\":[{\"id\":1,\"file_name\":\"a.png\",\"width\":10,"
                                              "\"height\":10}],\"annotations\":[],\"categories\":[]}",
                                              "a.png=img 10x10"});
    }
    void cancelledScanKeepsNothing()
    {
        QFETCH(QStringList, files);
        const QString strFolder = DataSet(files);
        const std::atomic_bool bCancel{true};

        const std::unique_ptr<CDatasetScan> pScan = CDatasetFormat::Scan(strFolder, &bCancel);

        QVERIFY(pScan->Cancelled());
        QVERIFY(pScan->Images().empty());
        QVERIFY(pScan->Refusal().isEmpty());
    }
};

QTEST_MAIN(DatasetHostileImportTest)
#include "DatasetHostileImportTest.moc"
