#include "CDatasetImportCase.h"

#include "database/CDatabase.h"
#include "project/import/CYoloDatasetImport.h"
#include "project/import/CYoloDatasetScan.h"
#include "project/store/CProjectRecordFactory.h"

using namespace ProjectTest;

// "Import Dataset" on real project files: data set folders written here, answered prompts, the rows and files it
// leaves, and the build's label files against the imported ones.
class DatasetImportTest : public CDatasetImportCase
{
    Q_OBJECT

private slots:
    void importTurnsLabelLinesIntoRows_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QStringList>("existingClasses");
        QTest::addColumn<QString>("share"); // the answer to the share of training images; null: not asked
        QTest::addColumn<QStringList>("images");
        QTest::addColumn<QStringList>("rois");
        QTest::addColumn<QStringList>("classes");
        QTest::addColumn<QStringList>("reported");

        QTest::newRow("labels beside the images, names file")
            << QStringList({"obj.names=cat|dog|", "a.png=img 200x100", "a.txt=1 0.5 0.5 0.2 0.4",
                            "sub/b.jpg=img 100x50", "sub/b.txt=0 0.25 0.5 0.5 1.0|0 0.5 0.5 0.1 0.1|"})
            << QStringList() << "100" << QStringList({"a.png train 200x100", "b.jpg train 100x50"})
            << QStringList({"a.png 80.000 30.000 40.000 40.000 dog", "b.jpg 0.000 0.000 50.000 50.000 cat",
                            "b.jpg 45.000 22.500 10.000 5.000 cat"})
            << QStringList({"cat", "dog"}) << QStringList("Imported 2 images with 3 boxes.");
        QTest::newRow("darknet layout, classes.txt, split by share")
            << QStringList({"classes.txt=car", "images/x1.png=img 100x100", "labels/x1.txt=0 0.5 0.5 0.5 0.5",
                            "images/x2.bmp=img 50x50", "labels/x2.txt=0 0.1 0.1 0.2 0.2"})
            << QStringList() << "50" << QStringList({"x1.png train 100x100", "x2.bmp test 50x50"})
            << QStringList({"x1.png 25.000 25.000 50.000 50.000 car", "x2.bmp 0.000 0.000 10.000 10.000 car"})
            << QStringList("car") << QStringList("Imported 2 images with 2 boxes.");
        QTest::newRow("no names: numbered classes")
            << QStringList({"p.png=img 100x100", "p.txt=2 0.5 0.5 1 1", "q.png=img 10x10"}) << QStringList() << "100"
            << QStringList({"p.png train 100x100", "q.png train 10x10"})
            << QStringList("p.png 0.000 0.000 100.000 100.000 class2") << QStringList({"class0", "class1", "class2"})
            << QStringList("Imported 2 images with 1 boxes.");
        QTest::newRow("train and test lists by the trainer's paths")
            << QStringList({"data.names=a", "img/t1.png=img 40x20", "img/t1.txt=0 0.5 0.5 0.5 0.5",
                            "img/t2.png=img 40x20", "img/t2.txt=0 0.25 0.25 0.5 0.5", "train.txt=data/obj/img/t1.png|",
                            "test.txt=/elsewhere/img/t2.png|"})
            << QStringList() << QString() << QStringList({"t1.png train 40x20", "t2.png test 40x20"})
            << QStringList({"t1.png 10.000 5.000 20.000 10.000 a", "t2.png 0.000 0.000 20.000 10.000 a"})
            << QStringList("a") << QStringList();
        QTest::newRow("name clashes get numbered names")
            << QStringList({"n.names=x", "a/img001.png=img 10x10", "a/img001.txt=0 0.5 0.5 1 1",
                            "b/img001.png=img 20x20", "b/img001.txt=0 0.5 0.5 0.5 0.5"})
            << QStringList() << "100" << QStringList({"img001.png train 10x10", "img001_1.png train 20x20"})
            << QStringList({"img001.png 0.000 0.000 10.000 10.000 x", "img001_1.png 5.000 5.000 10.000 10.000 x"})
            << QStringList("x") << QStringList();
        QTest::newRow("malformed lines, unnamed classes, boxes beyond the image")
            << QStringList({"n.names=only", "m.png=img 100x100",
                            "m.txt=0 0.5 0.5 0.2 0.2|zero 0.5 0.5 0.1 0.1|0 0.5 0.5|3 0.5 0.5 0.1 0.1|0 0.9 0.9 0.4 "
                            "0.4|1 0.5 0.5 0.1 0.1|",
                            "z.png=img 10x10", "z.txt=0 0.5 0.5 x 0.1"})
            << QStringList() << "100" << QStringList({"m.png train 100x100", "z.png train 10x10"})
            << QStringList({"m.png 40.000 40.000 20.000 20.000 only", "m.png 70.000 70.000 40.000 40.000 only"})
            << QStringList("only")
            << QStringList({"Imported 2 images with 2 boxes.",
                            "3 malformed label lines skipped (first in m.txt, z.txt)",
                            "2 label lines with a class index without a name skipped (first in m.txt)",
                            "1 boxes reach beyond their image (first in m.txt)"});
        // Hostile numbers: each line is skipped and counted, the image keeps its sound box. A value of 1e308 once
        // overflowed in pixels and dropped the whole image; 1e300 and boxes without size reached the rows.
        const QString strMalformed = "1 malformed label lines skipped (first in h.txt)";
        const QString strUnusable =
            "1 label lines with a box of no size or far outside its image skipped (first in h.txt)";
        for (const auto& sLine : std::vector<std::pair<const char*, QString>>{{"0 nan 0.5 0.1 0.1", strMalformed},
                                                                              {"0 0.5 inf 0.1 0.1", strMalformed},
                                                                              {"0 0.5 0.5 -inf 0.1", strMalformed},
                                                                              {"0 0.5 0.5 ten 0.1", strMalformed},
                                                                              {"0 NULL 0.5 0.1 0.1", strMalformed},
                                                                              {"0 0.5 0.5 -0.1 0.1", strMalformed},
                                                                              {"0 1e308 0.5 0.1 0.1", strUnusable},
                                                                              {"0 0.5 0.5 1e300 0.1", strUnusable},
                                                                              {"0 0.5 0.5 0 0.1", strUnusable},
                                                                              {"0 0.5 0.5 0.1 0", strUnusable},
                                                                              {"0 0.5 0.5 1e-300 0.1", strUnusable},
                                                                              {"0 1.2 0.5 0.2 0.1", strUnusable},
                                                                              {"0 0.5 -2 0.1 0.1", strUnusable},
                                                                              {"0 0.5 0.5 3.1 0.1", strUnusable}})
            QTest::newRow(sLine.first) << QStringList({"n.names=box", "h.png=img 100x100",
                                                       QString("h.txt=0 0.5 0.5 0.2 0.2|") + sLine.first})
                                       << QStringList() << "100" << QStringList("h.png train 100x100")
                                       << QStringList("h.png 40.000 40.000 20.000 20.000 box") << QStringList("box")
                                       << QStringList({"Imported 1 images with 1 boxes.", sLine.second});
        // The class editor refuses a blank name: a blank line names no class, and the names after it keep their
        // indices.
        QTest::newRow("blank class names skipped")
            << QStringList({"classes.txt=cat||  |dog||", "b.png=img 10x10",
                            "b.txt=0 0.5 0.5 1 1|1 0.5 0.5 1 1|2 0.5 0.5 1 1|3 0.5 0.5 1 1"})
            << QStringList() << "100" << QStringList("b.png train 10x10")
            << QStringList({"b.png 0.000 0.000 10.000 10.000 cat", "b.png 0.000 0.000 10.000 10.000 dog"})
            << QStringList({"cat", "dog"})
            << QStringList({"Imported 1 images with 2 boxes.", "2 blank class names skipped",
                            "2 label lines with a class index without a name skipped (first in b.txt)"});
        QTest::newRow("classes matched by name, new ones appended")
            << QStringList({"n.names=cat|dog|eel", "a.png=img 10x10", "a.txt=1 0.5 0.5 1 1|2 0.5 0.5 1 1"})
            << QStringList({"dog"}) << "100" << QStringList("a.png train 10x10")
            << QStringList({"a.png 0.000 0.000 10.000 10.000 dog", "a.png 0.000 0.000 10.000 10.000 eel"})
            << QStringList({"dog", "cat", "eel"}) << QStringList();
        // A file name holding a newline split its line in train.txt; a class name holding one, custom.names.
        QTest::newRow("file names that are no plain file names are not imported")
            << QStringList({"n.names=cat", "ok.png=img 10x10", "ok.txt=0 0.5 0.5 1 1", "bad\nname.png=img 10x10",
                            "bad\nname.txt=0 0.5 0.5 1 1", "back\\slash.png=img 10x10"})
            << QStringList() << "100" << QStringList("ok.png train 10x10")
            << QStringList("ok.png 0.000 0.000 10.000 10.000 cat") << QStringList("cat")
            << QStringList({"Imported 1 images with 1 boxes.", "2 images could not be imported (see the log)"});
        QTest::newRow("class name with a control character refuses the import")
            << QStringList({"n.names=ok|ca\tt", "a.png=img 10x10", "a.txt=0 0.5 0.5 1 1"}) << QStringList({"dog"})
            << "100" << QStringList() << QStringList() << QStringList("dog")
            << QStringList({"Imported 0 images with 0 boxes.",
                            "Class ca\\tt cannot be imported, its name holds a control character: nothing "
                            "imported."});
    }
    void importTurnsLabelLinesIntoRows()
    {
        QFETCH(QStringList, files);
        QFETCH(QStringList, existingClasses);
        QFETCH(QString, share);
        QFETCH(QStringList, images);
        QFETCH(QStringList, rois);
        QFETCH(QStringList, classes);
        QFETCH(QStringList, reported);
        QStringList lstStatements;
        for (const QString& strClass : existingClasses)
            lstStatements.append(QString("INSERT INTO category (NAME) VALUES ('%1')").arg(strClass));
        m_strDir = Project("imp", lstStatements);
        QVERIFY(!m_strDir.isEmpty());
        const QString strFolder = DataSet(files);
        const int nAskedBefore = m_pCase->answers.asked.size();

        Import(strFolder, share);

        QCOMPARE(ImageRows(), images);
        QCOMPARE(RoiRows(), rois);
        QCOMPARE(Classes(), classes);
        // The folder chooser, the share when the folder has no lists, the report.
        QCOMPARE(m_pCase->answers.asked.size() - nAskedBefore, share.isNull() ? 2 : 3);
        const QStringList lstReport = LastMessage().split('\n', Qt::SkipEmptyParts);
        for (const QString& strLine : reported)
            QVERIFY2(lstReport.contains(strLine), qPrintable(LastMessage()));
        // Every image row has its copy; the lists hold the same images.
        QStringList lstNames;
        QStringList lstTrain;
        QStringList lstTest;
        for (const QString& strImage : images)
        {
            lstNames.append(strImage.section(' ', 0, 0));
            (strImage.section(' ', 1, 1) == "train" ? lstTrain : lstTest).append(lstNames.last());
        }
        lstNames.sort();
        QCOMPARE(Files(m_strDir + "/Images"), lstNames);
        QCOMPARE(Entries(m_pCase->model.GetTrainImages()).replaceInStrings("!", ""), lstTrain);
        QCOMPARE(Entries(m_pCase->model.GetTestImages()).replaceInStrings("!", ""), lstTest);
        // The tree's marks once waited for the project to be opened again: an imported image is valid exactly when
        // it got boxes (their classes come with the import).
        QSet<QString> setBoxed;
        for (const QString& strRoi : rois)
            setBoxed.insert(strRoi.section(' ', 0, 0));
        CProjectModel::EntryList vctEntries = m_pCase->model.GetTrainImages();
        const CProjectModel::EntryList vctTest = m_pCase->model.GetTestImages();
        vctEntries.insert(vctEntries.end(), vctTest.begin(), vctTest.end());
        for (const auto& pEntry : vctEntries)
            QVERIFY2(pEntry->IsValid() == setBoxed.contains(pEntry->GetName()), qPrintable(pEntry->GetName()));
    }

    void roundTripBuildsTheImportedLabelFiles()
    {
        m_strDir = Project("imp");
        QStringList lstFiles = {"obj.names=person|car|bike|", "train.txt=images/r1.jpg|images/r2.png|",
                                "test.txt=images/r3.png|"};
        const QStringList lstLabels = {
            "0 0.512345 0.433333 0.210000 0.155556|2 0.100000 0.900000 0.200000 0.200000|",
            "1 0.500000 0.500000 1.000000 1.000000|",
            "2 0.333333 0.666667 0.123457 0.246914|0 0.750000 0.250000 0.050000 0.050000|1 0.5 0.5 0.25 0.25|"};
        const QStringList lstImages = {"r1.jpg=img 640x480", "r2.png=img 320x240", "r3.png=img 333x111"};
        for (int i = 0; i < 3; ++i)
        {
            lstFiles.append("images/" + lstImages[i]);
            lstFiles.append(QString("labels/r%1.txt=").arg(i + 1) + lstLabels[i]);
        }
        const QString strFolder = DataSet(lstFiles);

        Import(strFolder);
        QVERIFY(m_pCase->controller.BuildProject());

        QCOMPARE(Bytes(m_strDir + "/custom.names"), Bytes(strFolder + "/obj.names"));
        for (int i = 1; i <= 3; ++i)
        {
            const QString strLabel = QString("/Images/r%1.txt").arg(i);
            const QByteArray baBuilt = Bytes(m_strDir + strLabel);
            const QList<QByteArray> lstBuilt = baBuilt.split('\n');
            const QList<QByteArray> lstSource = Bytes(strFolder + QString("/labels/r%1.txt").arg(i)).split('\n');
            QCOMPARE(lstBuilt.size(), lstSource.size());
            for (int nLine = 0; nLine < lstBuilt.size(); ++nLine)
            {
                const QList<QByteArray> lstBuiltValues = lstBuilt[nLine].split(' ');
                const QList<QByteArray> lstSourceValues = lstSource[nLine].split(' ');
                QCOMPARE(lstBuiltValues.size(), lstSourceValues.size());
                for (int k = 0; k < lstBuiltValues.size(); ++k)
                    QVERIFY2(qAbs(lstBuiltValues[k].toDouble() - lstSourceValues[k].toDouble()) <= 1e-6,
                             baBuilt.constData());
            }
        }
        // Lines already written as the build writes them come back byte for byte.
        QCOMPARE(Bytes(m_strDir + "/Images/r1.txt"), Bytes(strFolder + "/labels/r1.txt"));
        QCOMPARE(Bytes(m_strDir + "/Images/r2.txt"), Bytes(strFolder + "/labels/r2.txt"));
        QCOMPARE(Bytes(m_strDir + "/train.txt"), QByteArray("Images/r1.jpg\nImages/r2.png\n"));
        QCOMPARE(Bytes(m_strDir + "/test.txt"), QByteArray("Images/r3.png\n"));
    }

    void cancelKeepsTheImagesFinishedWithTheirBoxes()
    {
        m_strDir = Project("imp");
        QStringList lstFiles = {"n.names=k"};
        for (int i = 0; i < 6; ++i)
        {
            lstFiles.append(QString("c%1.png=img 20x20").arg(i));
            lstFiles.append(QString("c%1.txt=0 0.5 0.5 0.5 0.5|0 0.25 0.25 0.5 0.5").arg(i));
        }
        const CYoloDatasetScan scan(DataSet(lstFiles));
        CProjectRecordFactory factory;
        CDatabase database(&factory);
        QVERIFY(database.OpenDatabase("localhost", CProjectFixture::DataFile(m_strDir, "imp"), "", ""));
        QList<int> lstAsked;

        const CYoloDatasetImport::SResult result = CYoloDatasetImport(&database, &m_pCase->model)
                                                       .Import(scan,
                                                               [&lstAsked](int nDone, int nTotal)
                                                               {
                                                                   lstAsked.append(nDone * 10 + nTotal);
                                                                   return nDone < 3;
                                                               });
        database.Close();

        QVERIFY(result.bCancelled);
        QCOMPARE(result.nImages, 3);
        QCOMPARE(lstAsked, QList<int>({6, 16, 26, 36}));
        QCOMPARE(ImageRows(), QStringList({"c0.png train 20x20", "c1.png train 20x20", "c2.png train 20x20"}));
        QCOMPARE(Sql("SELECT COUNT(*), COUNT(DISTINCT IMAGE_ID) FROM dataset_roi"), QList<QStringList>({{"6", "3"}}));
        QCOMPARE(Files(m_strDir + "/Images"), QStringList({"c0.png", "c1.png", "c2.png"}));
        QCOMPARE(Entries(m_pCase->model.GetTrainImages()).replaceInStrings("!", ""),
                 QStringList({"c0.png", "c1.png", "c2.png"}));
    }

    void freeNameNumbersTakenNames_data()
    {
        QTest::addColumn<QStringList>("taken");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("free");
        // A name that is free, or taken once, is guarded by the imports above.
        QTest::newRow("next free") << QStringList({"a.jpg", "a_1.jpg"}) << "a.jpg"
                                   << "a_2.jpg";
        QTest::newRow("last dot") << QStringList("a.b.png") << "a.b.png"
                                  << "a.b_1.png";
        QTest::newRow("no extension") << QStringList("img") << "img"
                                      << "img_1";
    }
    void freeNameNumbersTakenNames()
    {
        QFETCH(QStringList, taken);
        QFETCH(QString, name);
        QFETCH(QString, free);
        QSet<QString> setTaken(taken.begin(), taken.end());
        QCOMPARE(CYoloDatasetImport::FreeName(name, setTaken), free);
        QVERIFY(setTaken.contains(free));
    }
};

QTEST_MAIN(DatasetImportTest)
#include "DatasetImportTest.moc"
