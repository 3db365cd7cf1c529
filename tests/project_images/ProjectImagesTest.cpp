#include "CProjectTestCase.h"

#include "project/store/CDatasetImageRecord.h"

#include <QImageReader>
#include <QImageWriter>
#include <QProgressDialog>
#include <QTimer>

using namespace ProjectTest;

namespace
{
const char* const FILTER = "Files (*.bmp *.BMP *.jpg *.JPG *.jpeg *.JPEG *.png *.PNG *.gif *.GIF *.tif *.TIF *.tiff "
                           "*.TIFF)";

} // namespace

// Adding images to a project and removing them, through the project view's signals as the tree sends them, on real
// project files and real image files.
class ProjectImagesTest : public CProjectTestCase
{
    Q_OBJECT

    QString m_strDir; // the open project's folder

    // Writes a source file from "path=kind": kind "jpg WxH", "png WxH", "bmp WxH" (the format by the kind, whatever
    // the name), "text", "cut" (a JPEG missing its second half), "dir" (a folder) or "missing". Returns its path.
    QString Source(const QString& strDescribed)
    {
        const QString strPath = m_strRoot + "/src/" + strDescribed.section('=', 0, 0);
        const QString strKind = strDescribed.section('=', 1);
        QDir().mkpath(QFileInfo(strPath).path());
        const QString strFormat = strKind.section(' ', 0, 0);
        if (strKind == "dir")
            QDir().mkpath(strPath);
        else if (strKind == "text")
        {
            QFile file(strPath);
            file.open(QIODevice::WriteOnly) && file.write("not an image\n");
        }
        else if (strKind == "cut")
        {
            const QString strWhole = Source(strDescribed.section('=', 0, 0) + ".whole=jpg 64x48");
            QFile file(strPath);
            const QByteArray baWhole = Bytes(strWhole);
            file.open(QIODevice::WriteOnly) && file.write(baWhole.left(baWhole.size() / 2));
            QFile::remove(strWhole);
        }
        else if (strKind != "missing")
        {
            const QStringList lstSize = strKind.section(' ', 1).split('x');
            QImage image(lstSize.value(0).toInt(), lstSize.value(1).toInt(), QImage::Format_RGB888);
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    image.setPixel(x, y, qRgb(x * 7, y * 5, (x + y) * 3));
            QImageWriter writer(strPath, strFormat.toLatin1());
            writer.write(image);
        }
        return strPath;
    }
    QStringList Sources(const QStringList& lstDescribed)
    {
        QStringList lstPaths;
        for (const QString& strDescribed : lstDescribed)
            lstPaths.append(Source(strDescribed));
        return lstPaths;
    }

    QString DataFile() const { return CProjectFixture::DataFile(m_strDir, "pics"); }
    QStringList Query(const QString& strSql) const
    {
        QStringList lstRows;
        for (const QStringList& lstRow : CProjectFixture::Query(DataFile(), {strSql}))
            lstRows.append(lstRow.join('|'));
        return lstRows;
    }
    QStringList ImageRows() const
    {
        return Query("SELECT ID, NAME, FULL_PATH, TYPE, WIDTH, HEIGHT, PROJECT_ID FROM dataset_image ORDER BY ID");
    }
    QStringList RoiRows() const { return Query("SELECT ID, IMAGE_ID FROM dataset_roi ORDER BY ID"); }
    QStringList ImageFiles() const { return Files(m_strDir + "/Images"); }
    QStringList Entries(const QString& strType) const
    {
        return ProjectTest::Entries(strType == "train" ? m_pCase->model.GetTrainImages()
                                                       : m_pCase->model.GetTestImages());
    }

    // The lines logged by what runs, the project's own as "%1".
    QStringList LogOf(const std::function<void()>& action)
    {
        const int nBefore = Log().size();
        action();
        return Log().mid(nBefore).replaceInStrings(m_strDir, "%1");
    }

    void Add(const QString& strType, const QStringList& lstPaths)
    {
        m_pCase->answers.fileLists.push_back(lstPaths);
        if (strType == "train")
            emit m_pCase->view.signal_AddTrainImage();
        else
            emit m_pCase->view.signal_AddTestImage();
    }
    void Remove(const QString& strType, int nImageID)
    {
        if (strType == "train")
            emit m_pCase->view.signal_RemoveTrainImage(nImageID);
        else
            emit m_pCase->view.signal_RemoveTestImage(nImageID);
    }

    // A project "pics" holding a.jpg (ID 1, with label a.txt) and b.jpg (2) as training images, t.jpg (3) as test
    // image, noext (4) and x.y.jpg (5, with label x.y.txt and an unrelated x.txt) as training images; ROIs 1 and 2 on
    // image 1, 3 on image 2, 4 on image 3.
    bool FilledProject()
    {
        m_strDir = Project("pics", {"INSERT INTO category (NAME) VALUES('cat')"});
        Add("train", Sources({"a.jpg=jpg 40x30", "b.jpg=jpg 8x6"}));
        Add("test", Sources({"t.jpg=png 5x4"}));
        Add("train", Sources({"noext=png 3x2", "x.y.jpg=bmp 9x7"}));
        bool bOk = false;
        CProjectFixture::Query(DataFile(),
                               {"INSERT INTO dataset_roi (X, Y, WIDTH, HEIGHT, IMAGE_ID, CATEGORY_ID) VALUES "
                                "(1, 1, 2, 2, 1, 1), (2, 2, 3, 3, 1, 1), (0, 0, 1, 1, 2, 1), (0, 0, 1, 1, 3, 1)"},
                               &bOk);
        for (const char* pszLabel : {"a.txt", "x.y.txt", "x.txt", "noext.txt"})
        {
            QFile file(m_strDir + "/Images/" + pszLabel);
            bOk = bOk && file.open(QIODevice::WriteOnly) && file.write(pszLabel) > 0;
        }
        return bOk && ImageFiles().size() == 9 && ImageRows().size() == 5;
    }

private slots:
    void addingCopiesAndListsEachFileInOrder_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QStringList>("before"); // files added to the other list first
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QStringList>("log");
        QTest::addColumn<QStringList>("rows");   // the rows added
        QTest::addColumn<QStringList>("images"); // the image folder afterwards

        const QStringList lstNone;
        QTest::newRow("three formats, training list")
            << "train" << lstNone << QStringList{"a.jpg=jpg 40x30", "b.png=png 20x10", "c.bmp=bmp 7x5"}
            << QStringList{"[NORMAL] Copy image a.jpg", "[NORMAL] Copy image b.png", "[NORMAL] Copy image c.bmp"}
            << QStringList{"1|a.jpg|Images/a.jpg|train|40|30|1", "2|b.png|Images/b.png|train|20|10|1",
                           "3|c.bmp|Images/c.bmp|train|7|5|1"}
            << QStringList{"a.jpg", "b.png", "c.bmp"};
        QTest::newRow("test list, order as given")
            << "test" << lstNone << QStringList{"z.png=png 2x3", "m.jpg=jpg 16x8"}
            << QStringList{"[NORMAL] Copy image z.png", "[NORMAL] Copy image m.jpg"}
            << QStringList{"1|z.png|Images/z.png|test|2|3|1", "2|m.jpg|Images/m.jpg|test|16|8|1"}
            << QStringList{"m.jpg", "z.png"};
        QTest::newRow("undecodable file in the middle")
            << "train" << lstNone << QStringList{"a.jpg=jpg 4x4", "b.jpg=text", "c.jpg=jpg 6x6"}
            << QStringList{"[NORMAL] Copy image a.jpg", "[NORMAL] Copy image b.jpg", "[ERROR] Cannot load image b.jpg",
                           "[NORMAL] Copy image c.jpg"}
            << QStringList{"1|a.jpg|Images/a.jpg|train|4|4|1", "2|c.jpg|Images/c.jpg|train|6|6|1"}
            << QStringList{"a.jpg", "c.jpg"};
        QTest::newRow("truncated JPEG") << "test" << lstNone << QStringList{"cut.jpg=cut", "ok.jpg=jpg 3x3"}
                                        << QStringList{"[NORMAL] Copy image cut.jpg",
                                                       "[ERROR] Cannot load image cut.jpg",
                                                       "[NORMAL] Copy image ok.jpg"}
                                        << QStringList{"1|ok.jpg|Images/ok.jpg|test|3|3|1"} << QStringList{"ok.jpg"};
        QTest::newRow("folder and missing path")
            << "train" << lstNone << QStringList{"d.jpg=dir", "e.jpg=missing", "f.jpg=jpg 2x2"}
            << QStringList{"[ERROR] Cannot copy image d.jpg", "[ERROR] Cannot copy image e.jpg",
                           "[NORMAL] Copy image f.jpg"}
            << QStringList{"1|f.jpg|Images/f.jpg|train|2|2|1"} << QStringList{"f.jpg"};
        QTest::newRow("name taken in the other list")
            << "train" << QStringList{"a.jpg=jpg 5x5"} << QStringList{"other/a.jpg=jpg 9x9", "b.jpg=jpg 1x1"}
            << QStringList{"[ERROR] File a.jpg is already exists", "[NORMAL] Copy image b.jpg"}
            << QStringList{"2|b.jpg|Images/b.jpg|train|1|1|1"} << QStringList{"a.jpg", "b.jpg"};
        QTest::newRow("same name twice in one selection")
            << "test" << lstNone << QStringList{"one/a.jpg=jpg 5x5", "two/a.jpg=jpg 9x9"}
            << QStringList{"[NORMAL] Copy image a.jpg", "[ERROR] File a.jpg is already exists"}
            << QStringList{"1|a.jpg|Images/a.jpg|test|5|5|1"} << QStringList{"a.jpg"};
        // The broken file's copy goes; the good one that follows under the same name takes its place.
        QTest::newRow("broken file, then a good one of the same name")
            << "train" << lstNone << QStringList{"one/a.jpg=cut", "two/a.jpg=jpg 9x9"}
            << QStringList{"[NORMAL] Copy image a.jpg", "[ERROR] Cannot load image a.jpg", "[NORMAL] Copy image a.jpg"}
            << QStringList{"1|a.jpg|Images/a.jpg|train|9|9|1"} << QStringList{"a.jpg"};
        QTest::newRow("name without extension")
            << "train" << lstNone << QStringList{"noext=png 3x2"} << QStringList{"[NORMAL] Copy image noext"}
            << QStringList{"1|noext|Images/noext|train|3|2|1"} << QStringList{"noext"};
        QTest::newRow("apostrophe in the name")
            << "train" << lstNone << QStringList{"it's.png=png 2x2"} << QStringList{"[NORMAL] Copy image it's.png"}
            << QStringList{"1|it's.png|Images/it's.png|train|2|2|1"} << QStringList{"it's.png"};
        // Regression: the newline split the image's line in train.txt.
        QTest::newRow("newline in the name")
            << "train" << lstNone << QStringList{"a\nb.png=png 2x2", "c.png=png 2x2"}
            << QStringList{"[ERROR] Cannot add image a\\nb.png: its name holds a control character",
                           "[NORMAL] Copy image c.png"}
            << QStringList{"1|c.png|Images/c.png|train|2|2|1"} << QStringList{"c.png"};
    }
    void addingCopiesAndListsEachFileInOrder()
    {
        QFETCH(QString, type);
        QFETCH(QStringList, before);
        QFETCH(QStringList, files);
        QFETCH(QStringList, log);
        QFETCH(QStringList, rows);
        QFETCH(QStringList, images);
        m_strDir = Project("pics");
        const QString strOther = type == "train" ? "test" : "train";
        Add(strOther, Sources(before));
        const QStringList lstRowsBefore = ImageRows();
        const QByteArray baBefore = Bytes(m_strDir + "/Images/a.jpg");
        const QStringList lstPaths = Sources(files);

        QCOMPARE(LogOf([&] { Add(type, lstPaths); }), log);

        QCOMPARE(ImageRows(), lstRowsBefore + rows);
        QStringList lstNames;
        for (const QString& strRow : rows)
            lstNames.append("!" + strRow.section('|', 1, 1));
        QCOMPARE(Entries(type), lstNames);
        QCOMPARE(Entries(strOther).size(), before.size());
        QCOMPARE(ImageFiles(), images);
        if (!before.isEmpty())
            QCOMPARE(Bytes(m_strDir + "/Images/a.jpg"), baBefore);
        // Every copy is the file whose size its row holds.
        for (const QString& strRow : rows)
            QCOMPARE(QImageReader(m_strDir + "/" + strRow.section('|', 2, 2)).size(),
                     QSize(strRow.section('|', 4, 4).toInt(), strRow.section('|', 5, 5).toInt()));
        const CPromptAnswers::SAsked& asked = m_pCase->answers.asked.last();
        QCOMPARE(asked.strKind, QString("opens"));
        QCOMPARE(asked.strTitle, QString("Add Images"));
        QCOMPARE(asked.strFilter, QString(FILTER));
    }

    void withoutProjectNothingIsAdded()
    {
        const QStringList lstPaths = Sources({"a.jpg=jpg 2x2"});
        QCOMPARE(LogOf([&] { Add("train", lstPaths); }), QStringList());
        QCOMPARE(m_pCase->answers.asked.size(), 1);
        QCOMPARE(Entries("train"), QStringList());
        QVERIFY(!QFileInfo::exists(m_strRoot + "/Images"));
    }

    // A copy that got no row is removed, so that the file can be added once it is mended. An undecodable file's
    // copy going is seen by the adding rows above.
    void aFailedFileCanBeAddedOnceMended()
    {
        m_strDir = Project("pics", {"CREATE TRIGGER refuse BEFORE INSERT ON dataset_image WHEN NEW.NAME = 'b.jpg' "
                                    "BEGIN SELECT RAISE(ABORT, 'refused'); END"});
        const QStringList lstPaths = Sources({"a.jpg=jpg 4x3", "b.jpg=jpg 2x2"});

        QCOMPARE(LogOf([&] { Add("train", lstPaths); }),
                 (QStringList{"[NORMAL] Copy image a.jpg", "[NORMAL] Copy image b.jpg",
                              "[ERROR] Cannot insert image b.jpg"}));
        QCOMPARE(ImageFiles(), QStringList{"a.jpg"});
        QCOMPARE(ImageRows(), QStringList{"1|a.jpg|Images/a.jpg|train|4|3|1"});

        CProjectFixture::Query(DataFile(), {"DROP TRIGGER refuse"});
        QCOMPARE(LogOf([&] { Add("train", {lstPaths[1]}); }), QStringList{"[NORMAL] Copy image b.jpg"});
        QCOMPARE(ImageFiles(), (QStringList{"a.jpg", "b.jpg"}));
        QCOMPARE(Entries("train"), (QStringList{"!a.jpg", "!b.jpg"}));
        QCOMPARE(ImageRows().last().section('|', 1), QString("b.jpg|Images/b.jpg|train|2|2|1"));
    }

    // Nothing can be added, and the log says why.
    void anImageFolderThatCannotBeWrittenIsReported_data()
    {
        QTest::addColumn<QString>("locked");
        QTest::addColumn<QStringList>("log");
        QTest::newRow("folder cannot be made") << "project" << QStringList{"[ERROR] Cannot create folder %1/Images"};
        QTest::newRow("folder cannot be written")
            << "Images" << QStringList{"[ERROR] Cannot copy image a.jpg", "[ERROR] Cannot copy image b.jpg"};
    }
    void anImageFolderThatCannotBeWrittenIsReported()
    {
        QFETCH(QString, locked);
        QFETCH(QStringList, log);
        m_strDir = Project("pics");
        Add("test", Sources({"t.jpg=jpg 2x2"}));
        if (locked == "project")
        {
            QVERIFY(QFile::remove(m_strDir + "/Images/t.jpg") && QDir(m_strDir).rmdir("Images"));
            m_pCase->model.ClearTestImages();
        }
        const QByteArray baFile = Bytes(DataFile());
        const QStringList lstPaths = Sources({"a.jpg=jpg 2x2", "b.jpg=jpg 3x3"});
        CReadOnlyGuard guard(locked == "project" ? m_strDir : m_strDir + "/Images");
        if (!guard.IsActive())
            QSKIP("the file system cannot protect the folder");

        QCOMPARE(LogOf([&] { Add("train", lstPaths); }), log);
        QCOMPARE(Entries("train"), QStringList());
        QCOMPARE(Bytes(DataFile()), baFile);
    }

    void removingTakesFilesRowsROIsAndEntry_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("missing"); // a file removed beforehand
        QTest::addColumn<QStringList>("log");
        QTest::addColumn<QStringList>("gone"); // files of the image folder that go
        QTest::addColumn<QStringList>("ids");  // image rows left
        QTest::addColumn<QStringList>("rois"); // ROI rows left as ID|IMAGE_ID
        QTest::addColumn<QStringList>("train");
        QTest::addColumn<QStringList>("test");
        const QStringList lstTrain{"!a.jpg", "!b.jpg", "!noext", "!x.y.jpg"};
        const QStringList lstRois{"1|1", "2|1", "3|2", "4|3"};
        QTest::newRow("with label and ROIs")
            << "train" << 1 << "" << QStringList{"[NORMAL] Remove file %1/Images/a.jpg"}
            << QStringList{"a.jpg", "a.txt"} << QStringList{"2", "3", "4", "5"} << QStringList{"3|2", "4|3"}
            << QStringList{"!b.jpg", "!noext", "!x.y.jpg"} << QStringList{"!t.jpg"};
        QTest::newRow("label never built")
            << "train" << 2 << ""
            << QStringList{"[ERROR] File %1/Images/b.txt not found", "[NORMAL] Remove file %1/Images/b.jpg"}
            << QStringList{"b.jpg"} << QStringList{"1", "3", "4", "5"} << QStringList{"1|1", "2|1", "4|3"}
            << QStringList{"!a.jpg", "!noext", "!x.y.jpg"} << QStringList{"!t.jpg"};
        QTest::newRow("copy gone") << "train" << 1 << "a.jpg"
                                   << QStringList{"[ERROR] File %1/Images/a.jpg not found",
                                                  "[NORMAL] Remove file %1/Images/a.jpg"}
                                   << QStringList{"a.jpg", "a.txt"} << QStringList{"2", "3", "4", "5"}
                                   << QStringList{"3|2", "4|3"} << QStringList{"!b.jpg", "!noext", "!x.y.jpg"}
                                   << QStringList{"!t.jpg"};
        QTest::newRow("test image") << "test" << 3 << ""
                                    << QStringList{"[ERROR] File %1/Images/t.txt not found",
                                                   "[NORMAL] Remove file %1/Images/t.jpg"}
                                    << QStringList{"t.jpg"} << QStringList{"1", "2", "4", "5"}
                                    << QStringList{"1|1", "2|1", "3|2"} << lstTrain << QStringList();
        QTest::newRow("name without extension")
            << "train" << 4 << "" << QStringList{"[NORMAL] Remove file %1/Images/noext"}
            << QStringList{"noext", "noext.txt"} << QStringList{"1", "2", "3", "5"} << lstRois
            << QStringList{"!a.jpg", "!b.jpg", "!x.y.jpg"} << QStringList{"!t.jpg"};
        QTest::newRow("two dots in the name")
            << "train" << 5 << "" << QStringList{"[NORMAL] Remove file %1/Images/x.y.jpg"}
            << QStringList{"x.y.jpg", "x.y.txt"} << QStringList{"1", "2", "3", "4"} << lstRois
            << QStringList{"!a.jpg", "!b.jpg", "!noext"} << QStringList{"!t.jpg"};
        QTest::newRow("unknown ID") << "train" << 9 << "" << QStringList() << QStringList()
                                    << QStringList{"1", "2", "3", "4", "5"} << lstRois << lstTrain
                                    << QStringList{"!t.jpg"};
        QTest::newRow("test image asked of the training list")
            << "train" << 3 << "" << QStringList() << QStringList() << QStringList{"1", "2", "3", "4", "5"} << lstRois
            << lstTrain << QStringList{"!t.jpg"};
    }
    void removingTakesFilesRowsROIsAndEntry()
    {
        QFETCH(QString, type);
        QFETCH(int, id);
        QFETCH(QString, missing);
        QFETCH(QStringList, log);
        QFETCH(QStringList, gone);
        QFETCH(QStringList, ids);
        QFETCH(QStringList, rois);
        QFETCH(QStringList, train);
        QFETCH(QStringList, test);
        QVERIFY(FilledProject());
        if (!missing.isEmpty())
            QVERIFY(QFile::remove(m_strDir + "/Images/" + missing));
        QStringList lstLeft = ImageFiles();
        for (const QString& strGone : gone)
            lstLeft.removeAll(strGone);

        QCOMPARE(LogOf([&] { Remove(type, id); }), log);

        QCOMPARE(ImageFiles(), lstLeft);
        QCOMPARE(Query("SELECT ID FROM dataset_image ORDER BY ID"), ids);
        QCOMPARE(RoiRows(), rois);
        QCOMPARE(Entries("train"), train);
        QCOMPARE(Entries("test"), test);
        QCOMPARE(Bytes(m_strDir + "/Images/x.txt"), QByteArray("x.txt"));
    }

    // Whatever cannot be done, the image keeps its files (byte for byte), its row, its ROIs and its entry.
    void aFailedRemovalKeepsTheWholeImage_data()
    {
        QTest::addColumn<QString>("obstacle");
        QTest::addColumn<QString>("logged");
        QTest::newRow("copy cannot be removed") << "Images/a.jpg"
                                                << "[ERROR] Failed to remove file %1/Images/a.jpg";
        QTest::newRow("label cannot be removed") << "Images/a.txt"
                                                 << "[ERROR] Failed to remove file %1/Images/a.txt";
        QTest::newRow("image folder locked") << "Images"
                                             << "[ERROR] Failed to remove file %1/Images/a.jpg";
        QTest::newRow("ROI rows refused") << "dataset_roi"
                                          << "[ERROR] refused";
        QTest::newRow("image row refused") << "dataset_image"
                                           << "[ERROR] refused";
    }
    void aFailedRemovalKeepsTheWholeImage()
    {
        QFETCH(QString, obstacle);
        QFETCH(QString, logged);
        QVERIFY(FilledProject());
        std::unique_ptr<CReadOnlyGuard> pGuard;
        if (obstacle.startsWith("dataset_"))
            CProjectFixture::Query(DataFile(), {QString("CREATE TRIGGER refuse BEFORE DELETE ON %1 BEGIN SELECT "
                                                        "RAISE(ABORT, 'refused'); END")
                                                    .arg(obstacle)});
        else if (!(pGuard = std::make_unique<CReadOnlyGuard>(m_strDir + "/" + obstacle))->IsActive())
            QSKIP("the file system cannot protect the file");
        QMap<QString, QByteArray> mapBefore;
        for (const QString& strFile : ImageFiles())
            mapBefore[strFile] = Bytes(m_strDir + "/Images/" + strFile);
        const QStringList lstRows = ImageRows();
        const QStringList lstRois = RoiRows();

        const QStringList lstLog = LogOf([&] { Remove("train", 1); });

        QCOMPARE(lstLog.size(), 1);
        QVERIFY2(lstLog.first().startsWith(logged), qPrintable(lstLog.first()));
        pGuard.reset();
        QCOMPARE(ImageFiles(), mapBefore.keys());
        for (const QString& strFile : mapBefore.keys())
            QCOMPARE(Bytes(m_strDir + "/Images/" + strFile), mapBefore[strFile]);
        QCOMPARE(ImageRows(), lstRows);
        QCOMPARE(RoiRows(), lstRois);
        QCOMPARE(Entries("train"), (QStringList{"!a.jpg", "!b.jpg", "!noext", "!x.y.jpg"}));
        // Once the obstacle is gone the removal goes through.
        CProjectFixture::Query(DataFile(), {"DROP TRIGGER IF EXISTS refuse"});
        QCOMPARE(LogOf([&] { Remove("train", 1); }), QStringList{"[NORMAL] Remove file %1/Images/a.jpg"});
        QCOMPARE(RoiRows(), (QStringList{"3|2", "4|3"}));
    }

    // Cancelling keeps what was added so far: rows, entries and copies agree, and the rest is not touched.
    void cancellingKeepsWhatWasAdded_data()
    {
        QTest::addColumn<int>("after");      // entries listed when the cancel comes
        QTest::addColumn<bool>("fromTimer"); // through the event loop, while a decode is waited for
        QTest::newRow("after the first") << 1 << false;
        QTest::newRow("after the third") << 3 << false;
        QTest::newRow("from the event loop") << 1 << true;
    }
    void cancellingKeepsWhatWasAdded()
    {
        QFETCH(int, after);
        QFETCH(bool, fromTimer);
        m_strDir = Project("pics");
        QStringList lstDescribed;
        for (int i = 0; i < 6; ++i)
            lstDescribed.append(QString("p%1.jpg=jpg 600x400").arg(i));
        const QStringList lstPaths = Sources(lstDescribed);
        bool bFound = false;
        const auto cancel = [this, &bFound]
        {
            QProgressDialog* pDialog = m_pCase->view.findChild<QProgressDialog*>();
            bFound = pDialog != nullptr;
            if (pDialog)
                pDialog->cancel();
        };
        if (fromTimer)
            QTimer::singleShot(0, this, cancel);
        else
            connect(&m_pCase->model, &CProjectModel::signal_ChangeTrainImageList, this,
                    [&]
                    {
                        if (static_cast<int>(m_pCase->model.GetTrainImages().size()) == after)
                            cancel();
                    });

        Add("train", lstPaths);

        QVERIFY(bFound);
        const int nAdded = static_cast<int>(m_pCase->model.GetTrainImages().size());
        // The file whose decode was waited for is finished.
        QCOMPARE(nAdded, after);
        QStringList lstNames;
        for (int i = 0; i < nAdded; ++i)
            lstNames.append(QString("p%1.jpg").arg(i));
        QCOMPARE(ImageFiles(), lstNames);
        QCOMPARE(Query("SELECT NAME FROM dataset_image ORDER BY ID"), lstNames);
        QCOMPARE(Entries("train").replaceInStrings("!", ""), lstNames);
        // The dialog went with the add.
        QVERIFY(!m_pCase->view.findChild<QProgressDialog*>());
        QStringList lstAll;
        for (const QString& strName : lstNames)
            lstAll.append("[NORMAL] Copy image " + strName);
        QCOMPARE(LogOf([] {}), QStringList());
        QVERIFY(Log().join('\n').contains(lstAll.join('\n')));
    }
};

QTEST_MAIN(ProjectImagesTest)
#include "ProjectImagesTest.moc"
