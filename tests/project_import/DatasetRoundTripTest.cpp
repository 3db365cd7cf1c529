#include "CDatasetImportCase.h"

using namespace ProjectTest;

// A data set carried through every format the program reads and writes: YOLO into a project, out as Pascal VOC, into
// a second project, out as COCO, into a third. Each format's own conventions (YOLO's normalised centres, VOC's 1-based
// inclusive corners, COCO's 0-based corner and size) must give back the same boxes and the same split.
class DatasetRoundTripTest : public CDatasetImportCase
{
    Q_OBJECT

    // "Export Dataset..." of the open project with its images copied; returns the destination.
    QString Export(const QString& strFormat)
    {
        const QString strFolder = m_strRoot + "/out-" + strFormat.section(' ', -1);
        m_pCase->answers.texts.push_back(strFormat);
        m_pCase->answers.texts.push_back("Copied into the export");
        m_pCase->answers.files.push_back(strFolder);
        QDir().mkpath(strFolder);
        m_pCase->controller.slot_ExportDataset();
        return strFolder;
    }
    // Opens a new empty project "imp" below strParent and imports strFolder into it.
    void ImportIntoNewProject(const QString& strParent, const QString& strFolder)
    {
        QDir().mkpath(strParent);
        m_strDir = CProjectFixture::CreateProject(strParent, "imp");
        QVERIFY(!m_strDir.isEmpty());
        m_pCase->controller.OpenProject(m_strDir, "imp");
        Import(strFolder);
    }
    // Every box's numbers within half a pixel of the first import's, everything else equal.
    static void CompareWithinHalfPixel(const QStringList& lstRows, const QStringList& lstExpected)
    {
        QCOMPARE(lstRows.size(), lstExpected.size());
        for (int i = 0; i < lstRows.size(); ++i)
        {
            const QStringList lstGot = lstRows[i].split(' ');
            const QStringList lstWant = lstExpected[i].split(' ');
            QCOMPARE(lstGot.size(), 6);
            QCOMPARE(lstGot.first() + lstGot.last(), lstWant.first() + lstWant.last());
            for (int n = 1; n <= 4; ++n)
                QVERIFY2(qAbs(lstGot[n].toDouble() - lstWant[n].toDouble()) <= 0.5,
                         qPrintable(lstRows[i] + " vs " + lstExpected[i]));
        }
    }

private slots:
    void boxesSurviveEveryFormat()
    {
        // 64x48 and 30x20 images: one-pixel boxes in two corners, boxes touching each edge, a whole-image box and one
        // off the pixel grid.
        const QString strSet =
            DataSet({"obj.names=cat|dog", "img/a.png=img 64x48", "img/b.png=img 30x20",
                     "img/a.txt=0 0.0078125 0.010416666667 0.015625 0.020833333333|1 0.9921875 0.989583333333 0.015625 "
                     "0.020833333333|0 0.5 0.5 1 1|1 0.25 0.125 0.5 0.25",
                     "img/b.txt=1 0.1 0.5 0.2 1|0 0.9 0.5 0.2 1|1 0.4 0.4 0.123 0.321", "train.txt=data/obj/img/a.png|",
                     "test.txt=data/obj/img/b.png|"});
        QVERIFY(!strSet.isEmpty());
        m_strDir = Project("imp");
        Import(strSet);
        const QStringList lstImages = ImageRows();
        const QStringList lstRois = RoiRows();
        QCOMPARE(lstImages, QStringList({"a.png train 64x48", "b.png test 30x20"}));
        QCOMPARE(lstRois, QStringList({"a.png 0.000 0.000 1.000 1.000 cat", "a.png 63.000 47.000 1.000 1.000 dog",
                                       "a.png 0.000 0.000 64.000 48.000 cat", "a.png 0.000 0.000 32.000 12.000 dog",
                                       "b.png 0.000 0.000 6.000 20.000 dog", "b.png 24.000 0.000 6.000 20.000 cat",
                                       "b.png 10.155 4.790 3.690 6.420 dog"}));

        ImportIntoNewProject(m_strRoot + "/fromVoc", Export("Pascal VOC"));
        QCOMPARE(ImageRows(), lstImages);
        CompareWithinHalfPixel(RoiRows(), lstRois);
        QCOMPARE(Classes(), QStringList({"cat", "dog"}));

        ImportIntoNewProject(m_strRoot + "/fromCoco", Export("COCO"));
        QCOMPARE(ImageRows(), lstImages);
        CompareWithinHalfPixel(RoiRows(), lstRois);
        QCOMPARE(Classes(), QStringList({"cat", "dog"}));
    }
};

QTEST_MAIN(DatasetRoundTripTest)
#include "DatasetRoundTripTest.moc"
