#include "CDatasetImportCase.h"

#include "project/import/CDatasetFormat.h"

using namespace ProjectTest;

// "Import Dataset" of Pascal VOC folders and COCO files on real project files: boxes in pixels per format's
// conventions, the split, and bad input counted with nothing of its image half-imported.
class DatasetAnnotationImportTest : public CDatasetImportCase
{
    Q_OBJECT

    // A VOC annotation of an image of w x h; each object "name xmin ymin xmax ymax", "?" for a blank name.
    static QString Voc(const QString& strFileName, int nWidth, int nHeight, const QStringList& lstObjects)
    {
        QString strXml = QString("<?xml version=\"1.0\"?><annotation><folder>VOC</folder><filename>%1</filename>"
                                 "<size><width>%2</width><height>%3</height><depth>3</depth></size>")
                             .arg(strFileName)
                             .arg(nWidth)
                             .arg(nHeight);
        for (const QString& strObject : lstObjects)
        {
            const QStringList v = strObject.split(' ');
            strXml += QString("<object><name>%1</name><difficult>1</difficult><bndbox><xmin>%2</xmin><ymin>%3</ymin>"
                              "<xmax>%4</xmax><ymax>%5</ymax></bndbox></object>")
                          .arg(v[0] == "?" ? QString() : v[0], v[1], v[2], v[3], v[4]);
        }
        return strXml + "</annotation>";
    }
    // JSON written with single quotes, which read better in a test row.
    static QString J(QString strJson) { return strJson.replace('\'', '"'); }

    void ImportAndCompare(const QString& strFolder, const QString& strShare, const QStringList& lstImages,
                          const QStringList& lstRois, const QStringList& lstClasses, const QStringList& lstReported)
    {
        const int nAskedBefore = m_pCase->answers.asked.size();

        Import(strFolder, strShare);

        QCOMPARE(ImageRows(), lstImages);
        QCOMPARE(RoiRows(), lstRois);
        QCOMPARE(Classes(), lstClasses);
        QCOMPARE(m_pCase->answers.asked.size() - nAskedBefore, strShare.isNull() ? 2 : 3);
        const QStringList lstReport = LastMessage().split('\n', Qt::SkipEmptyParts);
        for (const QString& strLine : lstReported)
            QVERIFY2(lstReport.contains(strLine), qPrintable(LastMessage()));
        // An image left out leaves no copy behind.
        QStringList lstNames;
        for (const QString& strImage : lstImages)
            lstNames.append(strImage.section(' ', 0, 0));
        lstNames.sort();
        QCOMPARE(Files(m_strDir + "/Images"), lstNames);
    }

private slots:
    void vocBoxesBecomePixelRows_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QString>("share"); // null: not asked
        QTest::addColumn<QStringList>("images");
        QTest::addColumn<QStringList>("rois");
        QTest::addColumn<QStringList>("classes");
        QTest::addColumn<QStringList>("reported");

        QTest::newRow("VOC layout: 1-based corners at the edges and of one pixel, split by the lists")
            << QStringList(
                   {"Annotations/a.xml=" + Voc("a.png", 20, 10, {"cat 1 1 20 10", "dog 5 5 5 5", "cat 20 10 20 10"}),
                    "Annotations/b.xml=" + Voc("b.png", 8, 8, {"dog 2 3 4 8"}), "JPEGImages/a.png=img 20x10",
                    "JPEGImages/b.png=img 8x8", "ImageSets/Main/train.txt=a|", "ImageSets/Main/test.txt=b|"})
            << QString() << QStringList({"a.png train 20x10", "b.png test 8x8"})
            << QStringList({"a.png 0.000 0.000 20.000 10.000 cat", "a.png 4.000 4.000 1.000 1.000 dog",
                            "a.png 19.000 9.000 1.000 1.000 cat", "b.png 1.000 2.000 3.000 6.000 dog"})
            << QStringList({"cat", "dog"}) << QStringList("Imported 2 images with 4 boxes.");
        QTest::newRow("annotation beside its image without a file name, val list")
            << QStringList({"p.xml=" + Voc("", 10, 10, {"k 1 1 10 10"}), "p.png=img 10x10",
                            "q.xml=" + Voc("q.png", 10, 10, {"k 2 2 3 3"}), "q.png=img 10x10",
                            "ImageSets/Main/val.txt=p|"})
            << QString() << QStringList({"p.png test 10x10", "q.png train 10x10"})
            << QStringList({"p.png 0.000 0.000 10.000 10.000 k", "q.png 1.000 1.000 2.000 2.000 k"}) << QStringList("k")
            << QStringList("Imported 2 images with 2 boxes.");
        QTest::newRow("bad input counted, no image half-imported")
            << QStringList(
                   {"Annotations/ok.xml=" +
                        Voc("ok.png", 10, 10,
                            {"k 1 1 5 5", "k 6 1 5 5", "k 1 1 x 5", "k 30 30 40 40", "k 8 8 12 12", "? 1 1 2 2"}),
                    "JPEGImages/ok.png=img 10x10", "Annotations/broken.xml=<annotation><filename>ok.png",
                    "Annotations/lost.xml=" + Voc("lost.png", 10, 10, {"k 1 1 2 2"}),
                    "Annotations/d1.xml=" + Voc("dup.png", 10, 10, {"k 1 1 2 2"}),
                    "Annotations/d2.xml=" + Voc("dup.png", 10, 10, {"k 3 3 4 4"}), "JPEGImages/dup.png=img 10x10",
                    "Annotations/size.xml=" + Voc("size.png", 20, 10, {"k 1 1 2 2"}), "JPEGImages/size.png=img 30x10"})
            << "100" << QStringList("ok.png train 10x10")
            << QStringList({"ok.png 0.000 0.000 5.000 5.000 k", "ok.png 7.000 7.000 5.000 5.000 k"}) << QStringList("k")
            << QStringList(
                   {"Imported 1 images with 2 boxes.", "1 images could not be imported (see the log)",
                    "2 boxes without their four numbers or with corners in the wrong order skipped (first in "
                    "Annotations/ok.xml)",
                    "1 boxes of no size or far outside their image skipped (first in Annotations/ok.xml)",
                    "1 boxes reach beyond their image (first in Annotations/ok.xml)",
                    "1 boxes of an unknown category skipped (first in Annotations/ok.xml)",
                    "1 annotation files malformed, nothing of them imported (first in Annotations/broken.xml)",
                    "1 annotated images not found (first in Annotations/lost.xml)",
                    "2 annotations of an image annotated more than once, the image left out with its boxes (first "
                    "in Annotations/d1.xml, Annotations/d2.xml)"});
    }
    void vocBoxesBecomePixelRows()
    {
        QFETCH(QStringList, files);
        QFETCH(QString, share);
        QFETCH(QStringList, images);
        QFETCH(QStringList, rois);
        QFETCH(QStringList, classes);
        QFETCH(QStringList, reported);
        m_strDir = Project("imp");
        QVERIFY(!m_strDir.isEmpty());

        ImportAndCompare(DataSet(files), share, images, rois, classes, reported);
    }

    void cocoBoxesBecomePixelRows_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QString>("share"); // null: not asked
        QTest::addColumn<QStringList>("images");
        QTest::addColumn<QStringList>("rois");
        QTest::addColumn<QStringList>("classes");
        QTest::addColumn<QStringList>("reported");

        const QString strAB =
            "{'images':[{'id':7,'file_name':'a.png','width':20,'height':10},{'id':8,'file_name':'b.png','width':8,"
            "'height':8}],'annotations':[{'id':1,'image_id':7,'category_id':3,'bbox':[0,0,20,10],'iscrowd':0,"
            "'segmentation':[[0,0,1,0,1,1]]},{'id':2,'image_id':7,'category_id':1,'bbox':[19,9,1,1],'iscrowd':1},"
            "{'id':3,'image_id':8,'category_id':3,'bbox':[0.5,1.25,3,4]}],'categories':[{'id':3,'name':'dog'},"
            "{'id':1,'name':'cat'}]}";
        const QStringList lstRois = {"a.png 0.000 0.000 20.000 10.000 dog", "a.png 19.000 9.000 1.000 1.000 cat",
                                     "b.png 0.500 1.250 3.000 4.000 dog"};
        QTest::newRow("0-based boxes at the edges and of one pixel, crowd boxes, images folder beside")
            << QStringList({"ann.json=" + J(strAB), "images/a.png=img 20x10", "b.png=img 8x8"}) << "100"
            << QStringList({"a.png train 20x10", "b.png train 8x8"}) << lstRois << QStringList({"cat", "dog"})
            << QStringList({"Imported 2 images with 3 boxes.", "1 crowd boxes imported as ordinary boxes"});
        QTest::newRow("train and val files split")
            << QStringList(
                   {"train.json=" + J("{'images':[{'id':1,'file_name':'a.png','width':4,'height':4}],'annotations':"
                                      "[{'image_id':1,'category_id':1,'bbox':[0,0,4,4]}],'categories':[{'id':1,"
                                      "'name':'k'}]}"),
                    "val.json=" + J("{'images':[{'id':1,'file_name':'b.png','width':4,'height':4}],'annotations':"
                                    "[{'image_id':1,'category_id':1,'bbox':[1,1,2,2]}],'categories':[{'id':1,"
                                    "'name':'k'}]}"),
                    "a.png=img 4x4", "b.png=img 4x4"})
            << QString() << QStringList({"a.png train 4x4", "b.png test 4x4"})
            << QStringList({"a.png 0.000 0.000 4.000 4.000 k", "b.png 1.000 1.000 2.000 2.000 k"}) << QStringList("k")
            << QStringList("Imported 2 images with 2 boxes.");
        QTest::newRow("bad input counted, no image half-imported")
            << QStringList(
                   {"ann.json=" +
                        J("{'images':[{'id':1,'file_name':'ok.png','width':10,'height':10},{'id':2,'file_name':"
                          "'lost.png','width':10,'height':10},{'id':3,'file_name':'dup.png','width':10,'height':10},"
                          "{'id':4,'file_name':'dup.png','width':10,'height':10},{'id':5,'file_name':'size.png',"
                          "'width':20,'height':10}],'annotations':[{'image_id':1,'category_id':1,'bbox':[1,1,2,2]},"
                          "{'image_id':1,'category_id':1,'bbox':[1,1,-2,2]},{'image_id':1,'category_id':1,'bbox':[1,"
                          "1]},{'image_id':1,'category_id':9,'bbox':[1,1,2,2]},{'image_id':99,'category_id':1,'bbox':"
                          "[1,1,2,2]},{'image_id':1,'category_id':1,'bbox':[30,30,5,5]},{'image_id':1,'category_id':"
                          "1,'bbox':[8,8,5,5]},{'image_id':3,'category_id':1,'bbox':[1,1,1,1]},{'image_id':2,"
                          "'category_id':1,'bbox':[1,1,1,1]},{'image_id':5,'category_id':1,'bbox':[1,1,1,1]}],"
                          "'categories':[{'id':1,'name':'k'}]}"),
                    "ok.png=img 10x10", "dup.png=img 10x10", "size.png=img 30x10"})
            << "100" << QStringList("ok.png train 10x10")
            << QStringList({"ok.png 1.000 1.000 2.000 2.000 k", "ok.png 8.000 8.000 5.000 5.000 k"}) << QStringList("k")
            << QStringList({"Imported 1 images with 2 boxes.", "1 images could not be imported (see the log)",
                            "2 boxes without their four numbers or with corners in the wrong order skipped (first "
                            "in ann.json)",
                            "1 boxes of an unknown category skipped (first in ann.json)",
                            "1 boxes of an image that is not listed skipped (first in ann.json)",
                            "1 boxes of no size or far outside their image skipped (first in ann.json)",
                            "1 boxes reach beyond their image (first in ann.json)",
                            "1 annotated images not found (first in lost.png)",
                            "2 annotations of an image annotated more than once, the image left out with its boxes "
                            "(first in dup.png)"});
        QTest::newRow("malformed file imports nothing")
            << QStringList({"ann.json=" + J(strAB).left(200), "images/a.png=img 20x10", "b.png=img 8x8"}) << QString()
            << QStringList() << QStringList() << QStringList()
            << QStringList({"Imported 0 images with 0 boxes.",
                            "1 annotation files malformed, nothing of them imported (first in ann.json)"});
        QTest::newRow("one image ID twice leaves both entries out")
            << QStringList({"ann.json=" + J("{'images':[{'id':1,'file_name':'a.png','width':4,'height':4},{'id':1,"
                                            "'file_name':'b.png','width':4,'height':4}],'annotations':[{'image_id':"
                                            "1,'category_id':1,'bbox':[0,0,4,4]}],'categories':[{'id':1,'name':"
                                            "'k'}]}"),
                            "a.png=img 4x4", "b.png=img 4x4"})
            << QString() << QStringList() << QStringList() << QStringList("k")
            << QStringList({"Imported 0 images with 0 boxes.",
                            "2 annotations of an image annotated more than once, the image left out with its boxes "
                            "(first in a.png, b.png)"});
        QTest::newRow("folder of JSON files that are no pair refuses")
            << QStringList({"a.json={}", "b.json={}", "c.json={}"}) << QString() << QStringList() << QStringList()
            << QStringList()
            << QStringList("The folder holds 3 JSON files (a.json, b.json, c.json); COCO needs one file, or one "
                           "whose name holds \"train\" and one whose name holds \"test\" or \"val\": nothing "
                           "imported.");
    }
    void cocoBoxesBecomePixelRows()
    {
        QFETCH(QStringList, files);
        QFETCH(QString, share);
        QFETCH(QStringList, images);
        QFETCH(QStringList, rois);
        QFETCH(QStringList, classes);
        QFETCH(QStringList, reported);
        m_strDir = Project("imp");
        QVERIFY(!m_strDir.isEmpty());

        ImportAndCompare(DataSet(files), share, images, rois, classes, reported);
    }

    void formatIsRecognisedFromTheFolder_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QString>("chosen"); // below the data set's folder
        QTest::addColumn<int>("format");

        QTest::newRow("Annotations folder")
            << QStringList("Annotations/a.xml=<annotation/>") << "" << int(CDatasetFormat::Voc);
        QTest::newRow("XML beside the images")
            << QStringList({"a.xml=<annotation/>", "a.png=img 2x2"}) << "" << int(CDatasetFormat::Voc);
        QTest::newRow("JSON file in the folder") << QStringList("ann.json={}") << "" << int(CDatasetFormat::Coco);
        QTest::newRow("JSON file chosen") << QStringList("ann.json={}") << "/ann.json" << int(CDatasetFormat::Coco);
        QTest::newRow("names file wins over a stray JSON")
            << QStringList({"obj.names=k", "meta.json={}", "a.png=img 2x2"}) << "" << int(CDatasetFormat::Yolo);
        QTest::newRow("labels only") << QStringList({"a.png=img 2x2", "a.txt=0 0.5 0.5 1 1"}) << ""
                                     << int(CDatasetFormat::Yolo);
    }
    void formatIsRecognisedFromTheFolder()
    {
        QFETCH(QStringList, files);
        QFETCH(QString, chosen);
        QFETCH(int, format);

        QCOMPARE(int(CDatasetFormat::Recognise(DataSet(files) + chosen)), format);
    }
};

QTEST_MAIN(DatasetAnnotationImportTest)
#include "DatasetAnnotationImportTest.moc"
