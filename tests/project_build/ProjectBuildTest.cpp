#include "CBuildTestCase.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

using namespace ProjectTest;

// The trainer's files written by the Build command: their lines, their order, the projects that must not build, and
// a previous build that a failed one leaves whole.
class ProjectBuildTest : public CBuildTestCase
{
    Q_OBJECT

private:
    static QString Refusal(const QStringList& lstLines)
    {
        return "The build was refused; the files of the previous build were left as they were.\n\n" +
               lstLines.join('\n');
    }

private slots:
    void labelFileHoldsOneLinePerBoxRelativeToTheImage_data()
    {
        QTest::addColumn<QStringList>("categories");
        QTest::addColumn<QString>("image");
        QTest::addColumn<QStringList>("rois"); // "x y w h category", all on image 1
        QTest::addColumn<QString>("labelFile");
        QTest::addColumn<QByteArray>("lines");
        const QStringList lstTwo = {"cat", "dog"};
        QTest::newRow("second class of a 640x480 image")
            << lstTwo << "a.jpg 640x480" << QStringList("100 50 200 100 2") << "Images/a.txt"
            << QByteArray("1 0.312500 0.208333 0.312500 0.208333\n");
        QTest::newRow("boxes in the order they were drawn")
            << lstTwo << "b.png 100x50" << QStringList({"0 0 10 10 2", "50 25 50 25 1"}) << "Images/b.txt"
            << QByteArray("1 0.050000 0.100000 0.100000 0.200000\n0 0.750000 0.750000 0.500000 0.500000\n");
        QTest::newRow("name with several dots")
            << lstTwo << "photo.day1.jpg 640x480" << QStringList("0 0 640 480 1") << "Images/photo.day1.txt"
            << QByteArray("0 0.500000 0.500000 1.000000 1.000000\n");
        QTest::newRow("box beyond the image")
            << lstTwo << "c.JPG 640x480" << QStringList("-50 400 200 200 1") << "Images/c.txt"
            << QByteArray("0 0.078125 1.041667 0.312500 0.416667\n");
        // 25 / 640 is 0.0390625 exactly: rounded half to even as "%f" does, not half up.
        QTest::newRow("exact half of the last digit")
            << lstTwo << "e.jpg 640x480" << QStringList("0 0 25 30 1") << "Images/e.txt"
            << QByteArray("0 0.019531 0.031250 0.039062 0.062500\n");
        QTest::newRow("fractional box") << lstTwo << "d.JPEG 3x7" << QStringList("0.5 0.25 1.5 2.125 2")
                                        << "Images/d.txt" << QByteArray("1 0.416667 0.187500 0.500000 0.303571\n");
    }
    void labelFileHoldsOneLinePerBoxRelativeToTheImage()
    {
        QFETCH(QStringList, categories);
        QFETCH(QString, image);
        QFETCH(QStringList, rois);
        QFETCH(QString, labelFile);
        QFETCH(QByteArray, lines);
        QStringList lstRois;
        for (const QString& strRoi : rois)
        {
            QStringList lstParts = strRoi.split(' ');
            lstParts.insert(4, "1");
            lstRois.append(lstParts.join(' '));
        }
        const QString strDir = Project("labels", Statements(categories, {image}, lstRois));

        QVERIFY(Build());

        QCOMPARE(Read(strDir + "/" + labelFile), lines);
        QCOMPARE(Read(strDir + "/train.txt"), "Images/" + image.section(' ', 0, 0).toUtf8() + "\n");
    }

    void classIndexIsThePositionOfTheCategory()
    {
        // IDs 1 and 3: "bird" (ID 2) was deleted, its index goes to "dog".
        const QString strDir = Project("gaps", Statements({"cat", "bird", "dog"}, {"a.jpg", "b.jpg test"},
                                                          {"100 50 200 100 1 3", "0 0 320 240 2 1"}) +
                                                   QStringList("DELETE FROM category WHERE ID = 2"));

        QVERIFY(Build());

        QCOMPARE(Read(strDir + "/custom.names"), QByteArray("cat\ndog\n"));
        QCOMPARE(Read(strDir + "/detector.txt"),
                 QByteArray("classes=2\ntrain=train.txt\ntest=test.txt\nnames=custom.names\nbackup=Backup\n"));
        QCOMPARE(Read(strDir + "/Images/a.txt"), QByteArray("1 0.312500 0.208333 0.312500 0.208333\n"));
        QCOMPARE(Read(strDir + "/Images/b.txt"), QByteArray("0 0.250000 0.250000 0.500000 0.500000\n"));
        QCOMPARE(Read(strDir + "/train.txt"), QByteArray("Images/a.jpg\n"));
        QCOMPARE(Read(strDir + "/test.txt"), QByteArray("Images/b.jpg\n"));
        QVERIFY(QFileInfo(strDir + "/Backup").isDir());
        QCOMPARE(LogLines("Created custom.names").size(), 1);
        QCOMPARE(LogLines("Build Completed"), QStringList("[NORMAL] Build Completed"));
    }

    // Rows of two images interleaved, one deleted and one added later: each label file holds its own image's rows in
    // the order they were stored, each class by its place in the class table.
    void labelFilesHoldEachImagesRowsInOrder()
    {
        const QString strDir =
            Project("equal", Statements({"x", "y", "z"}, {"a.jpg 100x100", "b.png 200x100 test"},
                                        {"10 20 20 40 1 2", "0 0 100 50 2 1", "50 50 10 10 1 1", "5 5 10 10 1 3"}) +
                                 QStringList({"DELETE FROM dataset_roi WHERE ID = 4",
                                              "INSERT INTO dataset_roi (X, Y, WIDTH, HEIGHT, IMAGE_ID, CATEGORY_ID) "
                                              "VALUES(20, 10, 40, 20, 2, 3)"}));

        QVERIFY(Build());

        QCOMPARE(Read(strDir + "/Images/a.txt"),
                 QByteArray("1 0.200000 0.400000 0.200000 0.400000\n0 0.550000 0.550000 0.100000 0.100000\n"));
        QCOMPARE(Read(strDir + "/Images/b.txt"),
                 QByteArray("0 0.250000 0.250000 0.500000 0.500000\n2 0.200000 0.200000 0.200000 0.200000\n"));
    }

    void imageListsFollowTheModelsOrder_data()
    {
        QTest::addColumn<QString>("change"); // "", "shuffle", "sort", "sort twice"
        QTest::newRow("as opened") << "";
        QTest::newRow("shuffled") << "shuffle";
        QTest::newRow("sorted") << "sort";
        QTest::newRow("sorted twice") << "sort twice";
    }
    void imageListsFollowTheModelsOrder()
    {
        QFETCH(QString, change);
        const QStringList lstNames = {"m.jpg", "b.jpg", "z.jpg", "a.jpg", "k.jpg", "c.jpg", "y.jpg", "d.jpg"};
        QStringList lstImages;
        QStringList lstRois;
        for (int i = 0; i < lstNames.size(); ++i)
        {
            lstImages.append(lstNames[i] + " 10x10");
            lstRois.append(QString("1 1 2 2 %1 1").arg(i + 1));
        }
        lstImages.append({"t2.jpg 10x10 test", "t1.jpg 10x10 test"});
        lstRois.append({"1 1 2 2 9 1", "1 1 2 2 10 1"});
        const QString strDir = Project("order", Statements({"thing"}, lstImages, lstRois));
        if (change == "shuffle")
            emit m_pCase->view.signal_ShuffleTrainImage();
        for (int i = change == "sort" ? 1 : change == "sort twice" ? 2 : 0; i > 0; --i)
            emit m_pCase->view.signal_SortTrainImage();

        QVERIFY(Build());

        QStringList lstExpected;
        for (const auto& pEntry : m_pCase->model.GetTrainImages())
            lstExpected.append("Images/" + pEntry->GetName());
        QStringList lstSorted = lstNames;
        std::sort(lstSorted.begin(), lstSorted.end());
        const QStringList lstModel = Entries(m_pCase->model.GetTrainImages());
        if (change == "")
            QCOMPARE(lstModel, lstNames);
        if (change == "sort")
            QCOMPARE(lstModel, lstSorted);
        if (change == "sort twice")
            QCOMPARE(lstModel, QStringList(lstSorted.rbegin(), lstSorted.rend()));
        QCOMPARE(QString::fromUtf8(Read(strDir + "/train.txt")), lstExpected.join('\n') + '\n');
        QCOMPARE(Read(strDir + "/test.txt"), QByteArray("Images/t2.jpg\nImages/t1.jpg\n"));
    }

    void emptyProjectBuildsEmptyLists()
    {
        const QString strDir = Project("empty");
        QFile resource(":/Files/yolov3.cfg");
        QVERIFY(resource.open(QIODevice::ReadOnly | QIODevice::Text));
        const QByteArray baConfiguration = resource.readAll();

        QVERIFY(Build());

        QMap<QString, QByteArray> mapExpected;
        mapExpected.insert("custom.names", "");
        mapExpected.insert("train.txt", "");
        mapExpected.insert("test.txt", "");
        mapExpected.insert("detector.txt",
                           "classes=0\ntrain=train.txt\ntest=test.txt\nnames=custom.names\nbackup=Backup\n");
        mapExpected.insert("config.txt", baConfiguration);
        QCOMPARE(Snapshot(strDir), mapExpected);
        QVERIFY(QFileInfo(strDir + "/Backup").isDir());
        QCOMPARE(LogLines("Validate ROI").last(), QString("[NORMAL] Validate ROI OK"));
    }

    // A refusal once said one red line that named the first image and, for an image without boxes, the wrong
    // reason: the box tells every reason with its images.
    void invalidProjectWritesNothing_data()
    {
        QTest::addColumn<QStringList>("statements");
        QTest::addColumn<bool>("open");
        QTest::addColumn<QStringList>("errors");
        QTest::addColumn<QString>("told"); // the warning box, empty when none is shown
        const QStringList lstImage = Statements({"cat"}, {"a.jpg", "b.jpg test"}, {"1 1 2 2 1 1"});
        QTest::newRow("test image without box")
            << lstImage << true
            << QStringList({"[ERROR] Validate: need to update class name for image b.jpg",
                            "[ERROR] Validate: image b.jpg has no boxes", "[ERROR] Validate ROI Error",
                            "[ERROR] Refused: 1 image has no boxes"})
            << Refusal({"1 image has no boxes:", "    b.jpg"});
        QTest::newRow("box of a deleted class")
            << lstImage + QStringList({"INSERT INTO dataset_roi (X, Y, WIDTH, HEIGHT, IMAGE_ID, CATEGORY_ID) "
                                       "VALUES(1, 1, 2, 2, 2, 1)",
                                       "DELETE FROM category"})
            << true
            << QStringList({"[ERROR] Validate: need to update class name for image a.jpg",
                            "[ERROR] Validate: image a.jpg has boxes whose class was deleted",
                            "[ERROR] Validate: need to update class name for image b.jpg",
                            "[ERROR] Validate: image b.jpg has boxes whose class was deleted",
                            "[ERROR] Validate ROI Error",
                            "[ERROR] Refused: 2 images have boxes whose class was deleted"})
            << Refusal({"2 images have boxes whose class was deleted:", "    a.jpg", "    b.jpg"});
        QStringList lstMany;
        QStringList lstErrors;
        for (int i = 1; i <= 12; ++i)
        {
            lstMany.append(QString("m%1.jpg").arg(i));
            lstErrors << QString("[ERROR] Validate: need to update class name for image m%1.jpg").arg(i)
                      << QString("[ERROR] Validate: image m%1.jpg has no boxes").arg(i);
        }
        QStringList lstTold = {"12 images have no boxes:"};
        for (const QString& strName : lstMany.mid(0, 10))
            lstTold.append("    " + strName);
        lstTold.append("    and 2 more (the log names all of them)");
        QTest::newRow("more images than the box names")
            << Statements({"cat"}, lstMany, {}) << true
            << lstErrors + QStringList({"[ERROR] Validate ROI Error", "[ERROR] Refused: 12 images have no boxes"})
            << Refusal(lstTold);
        QTest::newRow("no project open") << QStringList() << false << QStringList() << QString();
    }
    void invalidProjectWritesNothing()
    {
        QFETCH(QStringList, statements);
        QFETCH(bool, open);
        QFETCH(QStringList, errors);
        QFETCH(QString, told);
        const QString strDir = Project("invalid", statements, open);
        const QStringList lstBefore = Tree(strDir);
        const int nLogStart = Log().size();
        const int nAsked = m_pCase->answers.asked.size();

        QVERIFY(!Build());

        QCOMPARE(Tree(strDir), lstBefore);
        QCOMPARE(Log().mid(nLogStart).filter("[ERROR]"), errors);
        QVERIFY(LogLines("Build").isEmpty());
        QCOMPARE(Told(nAsked), told);
        if (!told.isEmpty())
            QCOMPARE(m_pCase->answers.asked.last().eIcon, QMessageBox::Warning);
    }

    // Darknet trains on an image with an empty label file as a negative; the project decides whether it may.
    void imageWithoutBoxesFollowsTheProjectOption_data()
    {
        QTest::addColumn<QVariant>("allow"); // the stored option, null when never set
        QTest::addColumn<bool>("built");
        QTest::addColumn<QStringList>("errors");
        const QStringList lstRefused = {"[ERROR] Validate: need to update class name for image b.jpg",
                                        "[ERROR] Validate: image b.jpg has no boxes", "[ERROR] Validate ROI Error",
                                        "[ERROR] Refused: 1 image has no boxes"};
        QTest::newRow("never set") << QVariant() << false << lstRefused;
        QTest::newRow("off") << QVariant(false) << false << lstRefused;
        QTest::newRow("on") << QVariant(true) << true << QStringList();
    }
    void imageWithoutBoxesFollowsTheProjectOption()
    {
        QFETCH(QVariant, allow);
        QFETCH(bool, built);
        QFETCH(QStringList, errors);
        const QString strDir = Project("background", Statements({"cat"}, {"a.jpg", "b.jpg"}, {"1 1 2 2 1 1"}));
        m_pCase->controller.slot_UpdateProjectProperty("PROJECT_ALLOW_NO_BOXES", allow);
        // The tree's mark follows the option at once, not at the next opening.
        QCOMPARE(m_pCase->model.FindTrainImage(2)->IsValid(), built);
        const int nLogStart = Log().size();

        QCOMPARE(Build(), built);

        QCOMPARE(Log().mid(nLogStart).filter("[ERROR]"), errors);
        QCOMPARE(QFileInfo::exists(strDir + "/Images/b.txt"), built);
        if (built)
        {
            QCOMPARE(Read(strDir + "/Images/b.txt"), QByteArray());
            QCOMPARE(Read(strDir + "/train.txt"), QByteArray("Images/a.jpg\nImages/b.jpg\n"));
        }
    }

    void configurationIsWrittenWithNewlineLineEnds_data()
    {
        QTest::addColumn<QString>("configuration");
        QTest::addColumn<QByteArray>("written");
        QTest::newRow("newlines") << "[net]\nbatch=1\n" << QByteArray("[net]\nbatch=1\n");
        QTest::newRow("carriage returns and newlines") << "[net]\r\nbatch=1\r\n" << QByteArray("[net]\nbatch=1\n");
        QTest::newRow("mixed, no end at the end")
            << "[net]\r\nbatch=1\nwidth=416" << QByteArray("[net]\nbatch=1\nwidth=416");
        QTest::newRow("doubled carriage return") << "[net]\r\r\n" << QByteArray("[net]\n");
        QTest::newRow("carriage return inside a line") << "a\rb\n" << QByteArray("a\rb\n");
    }
    void configurationIsWrittenWithNewlineLineEnds()
    {
        QFETCH(QString, configuration);
        QFETCH(QByteArray, written);
        const QString strDir = Project("lineends");
        m_pCase->controller.slot_UpdateProjectProperty("PROJECT_CONFIGURATION", configuration);

        QVERIFY(Build());

        QCOMPARE(Read(strDir + "/config.txt"), written);
    }

    void imagesTheTrainerCannotUseStopTheBuild_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QStringList>("errors"); // empty: the build succeeds
        const QString strLabelsOnly = ": the trainer reads labels only for .jpg, .png, .JPG, .JPEG images";
        const QString strCannot = "[ERROR] Image %1 cannot be used by the trainer";
        for (const char* pszName : {"a.jpg", "a.png", "a.JPG", "a.JPEG", "photo.day1.jpg", "Images.jpg", "IMAGES.png"})
            QTest::newRow(pszName) << QStringList(pszName) << QStringList();
        for (const char* pszName : {"a.jpeg", "a.bmp", "a.tif", "a.tiff", "a.PNG", "noextension"})
            QTest::newRow(pszName) << QStringList(pszName)
                                   << QStringList(QString(strCannot).arg(pszName) + strLabelsOnly);
        QTest::newRow("a.gif") << QStringList("a.gif")
                               << QStringList(strCannot.arg("a.gif") + ": the trainer cannot load GIF images");
        const QString strReads = ": the trainer would read its labels from Images/";
        const QList<QPair<QString, QString>> lstRedirected = {{"draw1.jpg", "dlabels1.txt"},
                                                              {"images2.png", "labels2.txt"},
                                                              {"JPEGImages.jpg", "labels.txt"},
                                                              {"x.jpg.png", "x.txt.txt"}};
        for (const auto& redirected : lstRedirected)
            QTest::newRow(qPrintable(redirected.first))
                << QStringList(redirected.first)
                << QStringList(strCannot.arg(redirected.first) + strReads + redirected.second);
        QTest::newRow("two images, one label file")
            << QStringList({"a.jpg", "b.jpg", "a.png"})
            << QStringList(strCannot.arg("a.png") + ": its label file Images/a.txt is the label file of a.jpg too");
        QTest::newRow("every unusable one is named") << QStringList({"raw.jpg", "ok.jpg", "b.bmp"})
                                                     << QStringList({strCannot.arg("raw.jpg") + strReads + "labels.txt",
                                                                     strCannot.arg("b.bmp") + strLabelsOnly});
    }
    void imagesTheTrainerCannotUseStopTheBuild()
    {
        QFETCH(QStringList, names);
        QFETCH(QStringList, errors);
        QStringList lstImages;
        QStringList lstRois;
        for (int i = 0; i < names.size(); ++i)
        {
            // Every other image a test image: both lists are checked.
            lstImages.append(names[i] + (i % 2 ? " 8x8 test" : " 8x8 train"));
            lstRois.append(QString("0 0 4 4 %1 1").arg(i + 1));
        }
        const QString strDir = Project("trainer", Statements({"thing"}, lstImages, lstRois));
        const QStringList lstBefore = Tree(strDir);
        const int nAsked = m_pCase->answers.asked.size();

        const bool bBuilt = Build();

        QCOMPARE(bBuilt, errors.isEmpty());
        QStringList lstExpected = errors;
        QStringList lstTold;
        if (!errors.isEmpty())
        {
            const QString strCount = QString("%1 %2 cannot be used by the trainer")
                                         .arg(errors.size())
                                         .arg(errors.size() == 1 ? "image" : "images");
            lstExpected.append(
                QString("[ERROR] Build Failed: %1 images cannot be used by the trainer").arg(errors.size()));
            lstExpected.append("[ERROR] Refused: " + strCount);
            QCOMPARE(Tree(strDir), lstBefore);
            lstTold.append(strCount + ":");
            for (const QString& strError : errors)
                lstTold.append(
                    "    " +
                    strError.mid(QString("[ERROR] Image ").size()).replace(" cannot be used by the trainer: ", ": "));
        }
        QCOMPARE(Log().filter("[ERROR]"), lstExpected);
        QCOMPARE(Told(nAsked), errors.isEmpty() ? QString() : Refusal(lstTold));
    }

    void failedBuildLeavesThePreviousBuildWhole_data()
    {
        QTest::addColumn<QString>("locked"); // made unchangeable for the second build
        QTest::addColumn<QString>("failed"); // the file the failure names
        // The journal of the commit is the first file the build makes in the project folder.
        const auto row = [](const char* pszTag, const QString& strLocked, const QString& strFailed)
        { QTest::newRow(pszTag) << strLocked << strFailed; };
        row("project folder", "", "build.journal");
        row("Images folder", "Images", "Images/a.txt");
        row("train list", "train.txt", "train.txt");
        row("last label file", "Images/b.txt", "Images/b.txt");
        row("configuration", "config.txt", "config.txt");
    }
    void failedBuildLeavesThePreviousBuildWhole()
    {
        QFETCH(QString, locked);
        QFETCH(QString, failed);
        const QString strDir = Project("whole", Statements({"cat"}, {"a.jpg", "b.jpg test", "c.jpg"},
                                                           {"1 1 2 2 1 1", "3 3 2 2 2 1", "1 1 4 4 3 1"}));
        QVERIFY(Build());
        const QMap<QString, QByteArray> mapPrevious = Snapshot(strDir);
        // Every file of the next build would differ from the previous one, and one more label file would come.
        m_pCase->controller.slot_UpdateProjectProperty("PROJECT_CONFIGURATION", QString("[net]\n"));
        bool bOk = false;
        CProjectFixture::Query(CProjectFixture::DataFile(strDir, "whole"),
                               Statements({"dog"}, {"d.jpg 8x8 test"}, {"1 1 2 2 4 2"}) +
                                   QStringList("UPDATE dataset_roi SET CATEGORY_ID = 2"),
                               &bOk);
        QVERIFY(bOk);
        QVERIFY(m_pCase->controller.CloseProject());
        m_pCase->controller.OpenProject(strDir, "whole");
        QCOMPARE(Entries(m_pCase->model.GetTestImages()), QStringList({"b.jpg", "d.jpg"}));
        emit m_pCase->view.signal_SortTrainImage();
        emit m_pCase->view.signal_SortTrainImage();
        const QString strLocked = locked.isEmpty() ? strDir : strDir + "/" + locked;
        if (QFileInfo(strLocked).isFile() && geteuid() != 0)
            QSKIP("Only the immutable attribute keeps a file from being replaced");

        {
            CReadOnlyGuard guard(strLocked);
            if (!guard.IsActive())
                QSKIP("This file system cannot protect the path");
            QVERIFY(!Build());
        }

        QCOMPARE(Snapshot(strDir), mapPrevious);
        // The system's reason follows on a line of its own: an unchangeable path is not permitted to change.
        QCOMPARE(LogLines("Build Failed"),
                 QStringList({"[ERROR] Build Failed: " + strDir + "/" + failed,
                              "[ERROR] Build Failed because: " + QString::fromLocal8Bit(strerror(EPERM))}));
        QVERIFY(LogLines("Build Completed").size() == 1);
        QVERIFY(Build());
        const QMap<QString, QByteArray> mapNext = Snapshot(strDir);
        QStringList lstExpectedFiles = mapPrevious.keys() + QStringList("Images/d.txt");
        lstExpectedFiles.sort();
        QCOMPARE(mapNext.keys(), lstExpectedFiles);
        for (auto it = mapPrevious.begin(); it != mapPrevious.end(); ++it)
            QVERIFY2(mapNext.value(it.key()) != it.value(), qPrintable(it.key()));
    }
};

int RunProjectBuildTest(int argc, char** argv)
{
    ProjectBuildTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "ProjectBuildTest.moc"
