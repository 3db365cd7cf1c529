#include "CProjectTestCase.h"

#include "project/export/CDatasetExportCommand.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QXmlStreamReader>

using namespace ProjectTest;

// "Export Dataset" on real project files: the prompts answered, the Pascal VOC and COCO files parsed back with Qt's
// own readers and compared with the boxes the project stores.
class DatasetExportTest : public CProjectTestCase
{
    Q_OBJECT

    QString m_strDir;

    // The project "exp" with the classes cat and dog, the images "name type WxH" (in row order) and the boxes
    // "row x y w h categoryID"; each image file holds its own name.
    void Make(const QStringList& lstImages, const QStringList& lstBoxes)
    {
        QStringList lstStatements = {"INSERT INTO category (NAME) VALUES('cat'), ('dog')"};
        for (const QString& strImage : lstImages)
        {
            const QStringList lstParts = strImage.split(' ');
            const QStringList lstSize = lstParts[2].split('x');
            lstStatements.append(QString("INSERT INTO dataset_image (NAME, FULL_PATH, TYPE, WIDTH, HEIGHT, PROJECT_ID) "
                                         "VALUES('%1', 'Images/%1', '%2', %3, %4, 1)")
                                     .arg(lstParts[0], lstParts[1], lstSize[0], lstSize[1]));
        }
        for (const QString& strBox : lstBoxes)
        {
            const QStringList lstParts = strBox.split(' ');
            lstStatements.append(QString("INSERT INTO dataset_roi (IMAGE_ID, X, Y, WIDTH, HEIGHT, CATEGORY_ID) "
                                         "VALUES(%1)")
                                     .arg(lstParts.join(", ")));
        }
        m_strDir = Project("exp", lstStatements, false);
        QVERIFY(!m_strDir.isEmpty());
        for (const QString& strImage : lstImages)
        {
            QFile file(m_strDir + "/Images/" + strImage.section(' ', 0, 0));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(file.fileName().toUtf8()) > 0);
        }
        m_pCase->controller.OpenProject(m_strDir, "exp");
    }
    // "Export Dataset..." with the prompts answered; returns the destination.
    QString Export(const QString& strFormat, bool bCopy, const QString& strDestination = QString())
    {
        const QString strFolder = strDestination.isNull() ? m_strRoot + "/out-" + strFormat : strDestination;
        QDir().mkpath(strFolder);
        m_pCase->answers.texts.push_back(strFormat);
        m_pCase->answers.texts.push_back(CDatasetExportCommand::ImageChoices()[bCopy ? 1 : 0]);
        m_pCase->answers.files.push_back(strFolder);
        m_pCase->controller.slot_ExportDataset();
        return strFolder;
    }
    QString LastMessage(QMessageBox::Icon* pIcon = nullptr) const
    {
        for (int i = m_pCase->answers.asked.size() - 1; i >= 0; --i)
        {
            if (m_pCase->answers.asked[i].strKind == "message")
            {
                if (pIcon)
                    *pIcon = m_pCase->answers.asked[i].eIcon;
                return m_pCase->answers.asked[i].strText;
            }
        }
        return QString();
    }
    // The annotation's fields "folder", "filename", "path", "size" ("WxHxD") and its objects ("object": "name xmin
    // ymin xmax ymax truncated difficult" each) as the file writes them; "error" when the XML is malformed.
    static QMap<QString, QStringList> Voc(const QString& strFile)
    {
        QFile file(strFile);
        QMap<QString, QStringList> mapFields;
        if (!file.open(QIODevice::ReadOnly))
            return mapFields;
        QXmlStreamReader xml(&file);
        QStringList lstPath;
        QMap<QString, QString> mapObject;
        QMap<QString, QString> mapSize;
        while (!xml.atEnd())
        {
            xml.readNext();
            if (xml.isStartElement())
                lstPath.append(xml.name().toString());
            else if (xml.isCharacters() && !xml.isWhitespace())
            {
                const QString strWhere = lstPath.join('/');
                if (strWhere.startsWith("annotation/object/"))
                    mapObject[lstPath.last()] = xml.text().toString();
                else if (strWhere.startsWith("annotation/size/"))
                    mapSize[lstPath.last()] = xml.text().toString();
                else if (lstPath.size() == 2)
                    mapFields[lstPath.last()].append(xml.text().toString());
            }
            else if (xml.isEndElement())
            {
                if (lstPath.join('/') == "annotation/object")
                {
                    mapFields["object"].append(
                        QStringList({mapObject["name"], mapObject["xmin"], mapObject["ymin"], mapObject["xmax"],
                                     mapObject["ymax"], mapObject["truncated"], mapObject["difficult"]})
                            .join(' '));
                    mapObject.clear();
                }
                lstPath.removeLast();
            }
        }
        if (xml.hasError())
            mapFields["error"].append(xml.errorString());
        mapFields["size"].append(mapSize["width"] + "x" + mapSize["height"] + "x" + mapSize["depth"]);
        return mapFields;
    }
    // "images": "id file_name WxH"; "annotations": "id image_id category_id x y w h area iscrowd segmentation";
    // "categories": "id name"; numbers as the file writes them.
    static QMap<QString, QStringList> Coco(const QString& strFile)
    {
        QFile file(strFile);
        QMap<QString, QStringList> mapLists;
        QJsonParseError error;
        const QJsonDocument document =
            QJsonDocument::fromJson(file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray(), &error);
        if (error.error != QJsonParseError::NoError)
            return {{"error", {error.errorString()}}};
        const QJsonObject root = document.object();
        const auto number = [](const QJsonValue& value)
        { return QString::number(value.toDouble(), 'f', QLocale::FloatingPointShortest); };
        for (const QJsonValue& image : root["images"].toArray())
            mapLists["images"].append(QString("%1 %2 %3x%4")
                                          .arg(number(image["id"]), image["file_name"].toString(),
                                               number(image["width"]), number(image["height"])));
        for (const QJsonValue& roi : root["annotations"].toArray())
        {
            QStringList lstBox;
            for (const QJsonValue& value : roi["bbox"].toArray())
                lstBox.append(number(value));
            mapLists["annotations"].append(
                QStringList({number(roi["id"]), number(roi["image_id"]), number(roi["category_id"]), lstBox.join(' '),
                             number(roi["area"]), number(roi["iscrowd"]), roi["segmentation"].isArray() ? "[]" : "?"})
                    .join(' '));
        }
        for (const QJsonValue& category : root["categories"].toArray())
            mapLists["categories"].append(number(category["id"]) + " " + category["name"].toString());
        mapLists["info"].append(root["info"].isObject() ? "info" : "no info");
        return mapLists;
    }
    static QStringList Lines(const QString& strFile)
    {
        return QString::fromUtf8(Bytes(strFile)).split('\n', Qt::SkipEmptyParts);
    }

private slots:
    void exportedBoxesFollowEachFormatsConvention_data()
    {
        QTest::addColumn<QString>("box");  // x y w h on an image of 640 x 480
        QTest::addColumn<QString>("voc");  // xmin ymin xmax ymax truncated
        QTest::addColumn<QString>("coco"); // x y w h area
        QTest::addColumn<QStringList>("notes");

        QTest::newRow("inside") << "10 20 30 40"
                                << "11 21 40 60 0"
                                << "10 20 30 40 1200" << QStringList();
        QTest::newRow("whole image") << "0 0 640 480"
                                     << "1 1 640 480 0"
                                     << "0 0 640 480 307200" << QStringList();
        QTest::newRow("one pixel at the top-left corner") << "0 0 1 1"
                                                          << "1 1 1 1 0"
                                                          << "0 0 1 1 1" << QStringList();
        QTest::newRow("one pixel at the bottom-right corner") << "639 479 1 1"
                                                              << "640 480 640 480 0"
                                                              << "639 479 1 1 1" << QStringList();
        QTest::newRow("fractional, six decimals kept") << "10.25 0.5 3.125 7.000001"
                                                       << "11.25 1.5 13.375 7.500001 0"
                                                       << "10.25 0.5 3.125 7.000001 21.875003125" << QStringList();
        QTest::newRow("beyond the right and bottom edges, cut")
            << "600 470 100 20"
            << "601 471 640 480 1"
            << "600 470 40 10 400" << QStringList("1 boxes cut at their image's edges (first on a.png)");
        QTest::newRow("beyond the left edge, cut")
            << "-5 10 10 10"
            << "1 11 5 20 1"
            << "0 10 5 10 50" << QStringList("1 boxes cut at their image's edges (first on a.png)");
    }
    void exportedBoxesFollowEachFormatsConvention()
    {
        QFETCH(QString, box);
        QFETCH(QString, voc);
        QFETCH(QString, coco);
        QFETCH(QStringList, notes);
        Make({"a.png train 640x480"}, {"1 " + box + " 2"});

        const QString strVoc = Export("Pascal VOC", false);
        QCOMPARE(LastMessage(), (QStringList("Exported 1 images with 1 boxes as Pascal VOC to " + strVoc +
                                             ", the images referenced.") +
                                 notes)
                                    .join('\n'));
        const QString strCoco = Export("COCO", false);

        QCOMPARE(Voc(strVoc + "/Annotations/a.xml")["object"], QStringList("dog " + voc + " 0"));
        QCOMPARE(Coco(strCoco + "/train.json")["annotations"],
                 QStringList("1 1 2 " + coco.section(' ', 0, 3) + " " + coco.section(' ', 4) + " 0 []"));
        // The numbers are written as the stored doubles: a reader gets the same double back, not a rounded one.
        const QStringList lstVoc = voc.split(' ');
        const QStringList lstBox = box.split(' ');
        QCOMPARE(lstVoc[0].toDouble() - 1.0, std::max(lstBox[0].toDouble(), 0.0));
    }

    void vocFolderHoldsEveryImageOfItsList_data()
    {
        QTest::addColumn<bool>("copy");
        QTest::newRow("referenced") << false;
        QTest::newRow("copied") << true;
    }
    void vocFolderHoldsEveryImageOfItsList()
    {
        QFETCH(bool, copy);
        // a.jpg and A.png would share Annotations/a.xml (and clash on a file system without case).
        Make({"b.png train 64x48", "a.jpg train 32x16", "t.bmp test 8x8", "A.png test 10x10"},
             {"1 1 2 3 4 1", "1 5 6 7 8 2", "2 0 0 32 16 1", "4 1 1 2 2 2"});

        const QString strOut = Export("Pascal VOC", copy);

        QStringList lstTree = {"Annotations/A_1.xml", "Annotations/a.xml",       "Annotations/b.xml",
                               "Annotations/t.xml",   "ImageSets/Main/test.txt", "ImageSets/Main/train.txt"};
        if (copy)
            lstTree << "JPEGImages/A_1.png"
                    << "JPEGImages/a.jpg"
                    << "JPEGImages/b.png"
                    << "JPEGImages/t.bmp";
        lstTree.sort();
        QCOMPARE(Tree(strOut), lstTree);
        QCOMPARE(Lines(strOut + "/ImageSets/Main/train.txt"), QStringList({"b", "a"}));
        QCOMPARE(Lines(strOut + "/ImageSets/Main/test.txt"), QStringList({"t", "A_1"}));
        const QMap<QString, QStringList> mapB = Voc(strOut + "/Annotations/b.xml");
        QCOMPARE(mapB["object"], QStringList({"cat 2 3 4 6 0 0", "dog 6 7 12 14 0 0"}));
        QCOMPARE(mapB["size"], QStringList("64x48x3"));
        const QMap<QString, QStringList> mapA = Voc(strOut + "/Annotations/A_1.xml");
        QCOMPARE(mapA["filename"], QStringList("A_1.png"));
        QCOMPARE(mapA["object"], QStringList("dog 2 2 3 3 0 0"));
        QCOMPARE(Voc(strOut + "/Annotations/t.xml")["object"], QStringList());
        if (copy)
        {
            QCOMPARE(mapA["folder"], QStringList("JPEGImages"));
            QCOMPARE(mapA["path"], QStringList(strOut + "/JPEGImages/A_1.png"));
            QCOMPARE(Bytes(strOut + "/JPEGImages/A_1.png"), Bytes(m_strDir + "/Images/A.png"));
        }
        else
        {
            QCOMPARE(mapA["folder"], QStringList("Images"));
            QCOMPARE(mapA["path"], QStringList(QDir(m_strDir).absolutePath() + "/Images/A.png"));
        }
        QCOMPARE(LastMessage().split('\n').mid(1),
                 QStringList("1 images renamed to keep their names distinct (first on A.png)"));
    }

    void cocoFilesHoldEveryImageOfTheirList_data()
    {
        QTest::addColumn<bool>("copy");
        QTest::newRow("referenced") << false;
        QTest::newRow("copied") << true;
    }
    void cocoFilesHoldEveryImageOfTheirList()
    {
        QFETCH(bool, copy);
        // Box 3 names a class the project lacks, box 4 has no size: both are left out and reported.
        Make({"b.png train 64x48", "t.bmp test 8x8", "a.jpg train 32x16"},
             {"1 1 2 3 4 1", "3 0 0 32 16 2", "1 1 1 1 1 7", "3 1 1 0 2 1", "2 0.5 0.5 7.5 7.5 1"});

        const QString strOut = Export("COCO", copy);

        QCOMPARE(Tree(strOut),
                 copy ? QStringList({"images/a.jpg", "images/b.png", "images/t.bmp", "test.json", "train.json"})
                      : QStringList({"test.json", "train.json"}));
        const QString strImages = copy ? QString() : QDir(m_strDir).absolutePath() + "/Images/";
        const QMap<QString, QStringList> mapTrain = Coco(strOut + "/train.json");
        const QMap<QString, QStringList> mapTest = Coco(strOut + "/test.json");
        QCOMPARE(mapTrain["images"], QStringList({"1 " + strImages + "b.png 64x48", "3 " + strImages + "a.jpg 32x16"}));
        QCOMPARE(mapTrain["annotations"], QStringList({"1 1 1 1 2 3 4 12 0 []", "2 3 2 0 0 32 16 512 0 []"}));
        QCOMPARE(mapTest["images"], QStringList("2 " + strImages + "t.bmp 8x8"));
        QCOMPARE(mapTest["annotations"], QStringList("3 2 1 0.5 0.5 7.5 7.5 56.25 0 []"));
        for (const auto& map : {mapTrain, mapTest})
        {
            QCOMPARE(map["categories"], QStringList({"1 cat", "2 dog"}));
            QCOMPARE(map["info"], QStringList("info"));
        }
        if (copy)
            QCOMPARE(Bytes(strOut + "/images/t.bmp"), Bytes(m_strDir + "/Images/t.bmp"));
        QCOMPARE(LastMessage().split('\n').mid(1),
                 QStringList({"1 boxes of a class the project lacks skipped (first on b.png)",
                              "1 boxes of no size or far outside their image skipped (first on a.jpg)"}));
    }

    void failedExportIsReportedAndLeavesNothing_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<bool>("copy");
        QTest::addColumn<QString>("blocked"); // relative to the destination: a folder where a file goes; empty:
                                              // the destination cannot be written
        QTest::newRow("voc, read-only destination") << "Pascal VOC" << false << QString();
        QTest::newRow("coco, read-only destination") << "COCO" << true << QString();
        QTest::newRow("voc, second annotation blocked") << "Pascal VOC" << true << "Annotations/b.xml";
        QTest::newRow("voc, split file blocked") << "Pascal VOC" << false << "ImageSets/Main/test.txt";
        QTest::newRow("coco, test file blocked") << "COCO" << false << "test.json";
    }
    void failedExportIsReportedAndLeavesNothing()
    {
        QFETCH(QString, format);
        QFETCH(bool, copy);
        QFETCH(QString, blocked);
        Make({"a.png train 64x48", "b.png test 64x48"}, {"1 1 2 3 4 1", "2 1 2 3 4 2"});
        const QString strOut = m_strRoot + "/out";
        QVERIFY(QDir().mkpath(blocked.isEmpty() ? strOut : strOut + "/" + blocked));
        const QStringList lstBefore = Tree(strOut);
        std::unique_ptr<CReadOnlyGuard> pGuard;
        if (blocked.isEmpty())
        {
            pGuard = std::make_unique<CReadOnlyGuard>(strOut);
            if (!pGuard->IsActive())
                QSKIP("the file system cannot protect the folder");
        }

        Export(format, copy, strOut);
        pGuard.reset();

        QMessageBox::Icon eIcon = QMessageBox::NoIcon;
        const QString strMessage = LastMessage(&eIcon);
        QCOMPARE(eIcon, QMessageBox::Critical);
        QVERIFY2(strMessage.startsWith("The export failed: Cannot write " + strOut + "/") &&
                     strMessage.endsWith("Nothing of it was kept."),
                 qPrintable(strMessage));
        QVERIFY2(blocked.isEmpty() || strMessage.contains(strOut + "/" + blocked + ": "), qPrintable(strMessage));
        QCOMPARE(Tree(strOut), lstBefore);
        QCOMPARE(QDir(strOut).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 blocked.isEmpty() ? QStringList() : QStringList(blocked.section('/', 0, 0)));
        QVERIFY(Log().contains("[ERROR] Export Dataset: " + strMessage.section(": ", 1).section(". Nothing", 0, 0)));
    }

    // XML cannot hold a control character even escaped: every reader would have refused the annotation files.
    void vocRefusesClassNameXmlCannotHold()
    {
        Make({"a.png train 64x48"}, {"1 1 2 3 4 1"});
        bool bOk = false;
        CProjectFixture::Query(CProjectFixture::DataFile(m_strDir, "exp"),
                               {"UPDATE category SET NAME = 'c' || char(1) || 't' WHERE ID = 1"}, &bOk);
        QVERIFY(bOk);

        const QString strOut = Export("Pascal VOC", false);

        QCOMPARE(LastMessage(), QString("The export failed: the class name \"c\\x01t\" holds a control character, "
                                        "which XML cannot hold. Nothing of it was kept."));
        QCOMPARE(Tree(strOut), QStringList());
    }

    void cancelledExportLeavesNothing()
    {
        Make({"a.png train 64x48", "b.png test 64x48"}, {"1 1 2 3 4 1"});
        const QString strOut = m_strRoot + "/out";
        QVERIFY(QDir().mkpath(strOut));
        const CDatasetExportCommand::SChoice choice{CDatasetExportCommand::PascalVoc, strOut, true};

        const CDatasetExportCommand::SResult result =
            CDatasetExportCommand(m_pCase->controller.Database(), &m_pCase->model)
                .Export(choice, [](int nDone, int) { return nDone < 1; });

        QVERIFY(result.bCancelled && !result.bDone);
        QCOMPARE(Tree(strOut), QStringList());
        QCOMPARE(QDir(strOut).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
    }
};

QTEST_MAIN(DatasetExportTest)
#include "DatasetExportTest.moc"
