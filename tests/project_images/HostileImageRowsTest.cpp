#include "CProjectTestCase.h"

#include "project/lifecycle/CProjectFolderRemover.h"
#include "project/report/CDatasetReport.h"

#include <QImage>

using namespace ProjectTest;

// Image rows of a project file received from someone else whose name or stored path leads out of the project folder:
// removing, deleting, opening and reporting them never touches nor reads a file beside the project.
class HostileImageRowsTest : public CProjectTestCase
{
    Q_OBJECT

    QString m_strDir;
    QString m_strVictim;
    QByteArray m_baVictim;

    // A project "pics" whose one training image (ID 1, with a box) has the name and stored path given ("%victim" is
    // the absolute path of the victim, an image beside the project folder).
    void HostileProject(const QString& strName, const QString& strStoredPath)
    {
        m_strVictim = m_strRoot + "/victim/CMakeLists.png";
        QDir().mkpath(m_strRoot + "/victim");
        QImage image(6, 4, QImage::Format_RGB888);
        image.fill(Qt::red);
        QVERIFY(image.save(m_strVictim));
        m_baVictim = Bytes(m_strVictim);
        const auto literal = [](QString strText) { return "'" + strText.replace('\'', "''") + "'"; };
        m_strDir = Project(
            "pics",
            {"INSERT INTO category (NAME) VALUES('cat')",
             "INSERT INTO dataset_image (NAME, FULL_PATH, TYPE, WIDTH, HEIGHT, PROJECT_ID) VALUES(" + literal(strName) +
                 ", " + literal(QString(strStoredPath).replace("%victim", m_strVictim)) + ", 'train', 6, 4, 1)",
             "INSERT INTO dataset_roi (X, Y, WIDTH, HEIGHT, IMAGE_ID, CATEGORY_ID) VALUES(1, 1, 2, 2, 1, 1)"});
        QVERIFY(!m_strDir.isEmpty());
        QCOMPARE(m_pCase->model.GetTrainImages().size(), size_t(1));
    }
    QStringList ImageRows() const
    {
        QStringList lstRows;
        for (const QStringList& row :
             CProjectFixture::Query(CProjectFixture::DataFile(m_strDir, "pics"), {"SELECT ID FROM dataset_image"}))
            lstRows.append(row.join('|'));
        return lstRows;
    }

private slots:
    // Regression: removing such a row removed the file it named beside the project.
    void removingAHostileRowRemovesNoFile_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("shown");
        QTest::newRow("name with parent folders") << "../../victim/CMakeLists.png"
                                                  << "Images/../../victim/CMakeLists.png"
                                                  << "../../victim/CMakeLists.png";
        QTest::newRow("stored path with parent folders") << "CMakeLists.png"
                                                         << "../victim/CMakeLists.png"
                                                         << "CMakeLists.png";
        QTest::newRow("absolute stored path") << "CMakeLists.png"
                                              << "%victim"
                                              << "CMakeLists.png";
        QTest::newRow("name with a newline") << "a\n../../victim/CMakeLists.png"
                                             << "Images/a\n../../victim/CMakeLists.png"
                                             << "a\\n../../victim/CMakeLists.png";
    }
    void removingAHostileRowRemovesNoFile()
    {
        QFETCH(QString, name);
        QFETCH(QString, stored);
        QFETCH(QString, shown);
        HostileProject(name, stored);
        // The label file it would name, too.
        QFile label(m_strRoot + "/victim/CMakeLists.txt");
        QVERIFY(label.open(QIODevice::WriteOnly) && label.write("label") > 0);
        label.close();

        emit m_pCase->view.signal_RemoveTrainImage(1);

        QCOMPARE(Bytes(m_strVictim), m_baVictim);
        QCOMPARE(Bytes(m_strRoot + "/victim/CMakeLists.txt"), QByteArray("label"));
        QCOMPARE(Files(m_strRoot + "/victim").size(), 2);
        QCOMPARE(ImageRows(), QStringList());
        QVERIFY(m_pCase->model.GetTrainImages().empty());
        QVERIFY2(Log().contains("[ERROR] Image " + shown + " is no file of the Images folder: no file removed"),
                 qPrintable(Log().join('\n')));
    }
    // Only a name leads the remover out: it never sees stored paths.
    void deletingTheProjectRemovesNoFileOutside()
    {
        const QString name = "../../victim/CMakeLists.png";
        HostileProject(name, "Images/" + name);
        QVERIFY(m_pCase->controller.CloseProject());
        QFile label(m_strRoot + "/victim/CMakeLists.txt");
        QVERIFY(label.open(QIODevice::WriteOnly) && label.write("label") > 0);
        label.close();
        // A folder of other things: only the project's own files go, one by one.
        QFile notes(m_strDir + "/notes.txt");
        QVERIFY(notes.open(QIODevice::WriteOnly) && notes.write("mine") > 0);
        notes.close();
        QVERIFY(QDir().mkpath(m_strDir + "/Images"));

        CProjectFolderRemover remover(m_strDir, "pics", {name});
        QVERIFY(remover.RemoveProjectFile());
        remover.RemoveRest();

        QCOMPARE(Bytes(m_strVictim), m_baVictim);
        QCOMPARE(Bytes(m_strRoot + "/victim/CMakeLists.txt"), QByteArray("label"));
        QCOMPARE(Files(m_strDir), QStringList("notes.txt"));
    }
    // Regression: the image beside the project was shown as the project's.
    void openingAHostileRowReadsNoFile_data() { removingAHostileRowRemovesNoFile_data(); }
    void openingAHostileRowReadsNoFile()
    {
        QFETCH(QString, name);
        QFETCH(QString, stored);
        HostileProject(name, stored);
        const QString strStored = m_pCase->model.GetTrainImages()[0]->GetFullPath();

        m_pCase->controller.slot_OpenImage(1, strStored);

        QCOMPARE(m_pCase->controller.GetCurrentImageID(), -1);
        QVERIFY2(Log().contains(QString("[ERROR] Cannot open image 1: %1 is no file of the Images folder")
                                    .arg(QString(strStored).replace("\n", "\\n"))),
                 qPrintable(Log().join('\n')));
    }
    void reportReadsNoFileOutside_data() { removingAHostileRowRemovesNoFile_data(); }
    void reportReadsNoFileOutside()
    {
        QFETCH(QString, name);
        QFETCH(QString, stored);
        QFETCH(QString, shown);
        HostileProject(name, stored);
        CDatasetReport report;

        QVERIFY(m_pCase->controller.MakeDatasetReport(report));

        // The victim is a readable 6x4 image: read, it would not count as missing.
        const CDatasetReport::SFlaw& missing = report.Flaw(CDatasetReport::EFlaw_MissingFile);
        QCOMPARE(missing.vctImages.size(), 1);
        QCOMPARE(missing.vctImages[0].nID, 1);
        QCOMPARE(missing.vctImages[0].strName, shown);
        if (name != "CMakeLists.png")
        {
            const CDatasetReport::SFlaw& unusable = report.Flaw(CDatasetReport::EFlaw_UnusableByTrainer);
            QCOMPARE(unusable.vctImages.size(), 1);
            QVERIFY2(unusable.vctImages[0].strDetail.startsWith("its name holds"),
                     qPrintable(unusable.vctImages[0].strDetail));
        }
    }
};

QTEST_MAIN(HostileImageRowsTest)

#include "HostileImageRowsTest.moc"
