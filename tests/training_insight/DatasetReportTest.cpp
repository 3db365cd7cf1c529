#include "CBuildTestCase.h"

#include "project/report/CDatasetReport.h"
#include "views/CDatasetReportView.h"

#include <QHeaderView>
#include <QImage>
#include <QTreeWidget>

// The data set report on a project whose images each carry one planted flaw, real image files written beside them.
class DatasetReportTest : public CBuildTestCase
{
    Q_OBJECT

private:
    // Classes a, b, c; every image stored as 64x48; "resized.jpg" is 32x24 on disk, "missing.jpg" is not there.
    QString FlawedProject()
    {
        const QString strDir = Project(
            "report",
            Statements({"a", "b", "c"},
                       {"good.jpg 64x48", "empty.jpg 64x48", "orphan.jpg 64x48", "outside.jpg 64x48", "tiny.jpg 64x48",
                        "dup.jpg 64x48", "missing.jpg 64x48", "resized.jpg 64x48", "picture.bmp 64x48 test"},
                       // Boxes stored in no image order: rows of the ROI table and of its image index differ.
                       {"5 5 10 10 9 1", "5 5 10 10 8 1", "5 5 10 10 7 1", "8 8 12 12 6 1", "8 8 12 12 6 1",
                        "5 5 3 10 5 1", "60 40 10 10 4 1", "5 5 10 10 3 9", "20 20 10 10 1 2", "1 1 10 10 1 1"}));
        if (strDir.isEmpty())
            return strDir;
        for (const char* strName :
             {"good.jpg", "empty.jpg", "orphan.jpg", "outside.jpg", "tiny.jpg", "dup.jpg", "picture.bmp"})
        {
            QImage image(64, 48, QImage::Format_RGB32);
            image.fill(Qt::darkGreen);
            if (!image.save(strDir + "/Images/" + strName))
                return QString();
        }
        QImage resized(32, 24, QImage::Format_RGB32);
        resized.fill(Qt::red);
        return resized.save(strDir + "/Images/resized.jpg") ? strDir : QString();
    }

    static QStringList Images(const CDatasetReport::SFlaw& flaw)
    {
        QStringList lstImages;
        for (const CDatasetReport::SImage& image : flaw.vctImages)
            lstImages.append(image.strDetail.isEmpty() ? image.strName : image.strName + ": " + image.strDetail);
        return lstImages;
    }

private slots:
    void reportCountsEachPlantedFlaw_data()
    {
        QTest::addColumn<int>("flaw");
        QTest::addColumn<int>("count");
        QTest::addColumn<QStringList>("images");

        QTest::newRow("without boxes") << int(CDatasetReport::EFlaw_ImageWithoutBoxes) << 1
                                       << QStringList({"empty.jpg"});
        QTest::newRow("unknown class") << int(CDatasetReport::EFlaw_UnknownClass) << 1
                                       << QStringList({"orphan.jpg: 1 box"});
        QTest::newRow("beyond the image")
            << int(CDatasetReport::EFlaw_BoxOutsideImage) << 1 << QStringList({"outside.jpg: 1 box"});
        QTest::newRow("smaller than 4x4")
            << int(CDatasetReport::EFlaw_TinyBox) << 1 << QStringList({"tiny.jpg: 1 box"});
        QTest::newRow("duplicate") << int(CDatasetReport::EFlaw_DuplicateBox) << 1 << QStringList({"dup.jpg: 1 box"});
        QTest::newRow("missing file") << int(CDatasetReport::EFlaw_MissingFile) << 1 << QStringList({"missing.jpg"});
        QTest::newRow("other size") << int(CDatasetReport::EFlaw_SizeMismatch) << 1
                                    << QStringList({"resized.jpg: stored 64x48, file 32x24"});
        QTest::newRow("unusable by the trainer")
            << int(CDatasetReport::EFlaw_UnusableByTrainer) << 1
            << QStringList({"picture.bmp: the trainer reads labels only for .jpg, .png, .JPG, .JPEG images"});
    }

    void reportCountsEachPlantedFlaw()
    {
        QFETCH(int, flaw);
        QFETCH(int, count);
        QFETCH(QStringList, images);
        QVERIFY(!FlawedProject().isEmpty());
        CDatasetReport report;

        QVERIFY(m_pCase->controller.MakeDatasetReport(report));

        const CDatasetReport::SFlaw& found = report.Flaw(static_cast<CDatasetReport::EFlaw>(flaw));
        QCOMPARE(found.nCount, count);
        QCOMPARE(Images(found), images);
    }

    void reportCountsBoxesAndImagesPerClass()
    {
        QVERIFY(!FlawedProject().isEmpty());
        CDatasetReport report;

        QVERIFY(m_pCase->controller.MakeDatasetReport(report));

        QStringList lstClasses;
        for (const CDatasetReport::SClass& category : report.Classes())
            lstClasses.append(QString("%1 %2 %3").arg(category.strName).arg(category.nBoxes).arg(category.nImages));
        // a: good, outside, tiny, dup (twice), missing, resized, picture; b: the second box of good.
        QCOMPARE(lstClasses, QStringList({"a 8 7", "b 1 1", "c 0 0"}));
        QCOMPARE(report.ImageCount(), 9);
        QCOMPARE(report.BoxCount(), 10);
    }

    void reportWithoutProjectIsRefused()
    {
        CDatasetReport report;
        QVERIFY(!m_pCase->controller.MakeDatasetReport(report));
    }

    // The dock lists the flaws with their images; a double-click on an image asks for that image to be opened.
    void doubleClickOnFlaggedImageAsksToOpenIt()
    {
        QVERIFY(!FlawedProject().isEmpty());
        CDatasetReport report;
        QVERIFY(m_pCase->controller.MakeDatasetReport(report));
        CDatasetReportView view;
        view.SetReport(report);
        QSignalSpy opened(&view, &CDatasetReportView::signal_OpenImageFile);
        QTreeWidget* pFlaws = view.GetFlawTree();
        QCOMPARE(pFlaws->topLevelItemCount(), int(CDatasetReport::EFlaw_Count));
        QTreeWidgetItem* pSizes = pFlaws->topLevelItem(CDatasetReport::EFlaw_SizeMismatch);
        QCOMPARE(pSizes->text(0), QString("Image files of another size than stored"));
        QCOMPARE(pSizes->text(1), QString("1"));

        emit pFlaws->itemDoubleClicked(pSizes, 0);
        emit pFlaws->itemDoubleClicked(pSizes->child(0), 0);

        QCOMPARE(opened.size(), 1);
        QCOMPARE(opened[0][0].toInt(), 8);
        QCOMPARE(opened[0][1].toString(), QString("Images/resized.jpg"));
        QCOMPARE(view.GetSummary(), QString("9 images, 10 boxes, 3 classes"));
    }

    // Regression: in a narrow dock the flaw column stretched to what was left, and the titles were cut short.
    void flawTitlesAreNotCutShortInANarrowDock()
    {
        QVERIFY(!FlawedProject().isEmpty());
        CDatasetReport report;
        QVERIFY(m_pCase->controller.MakeDatasetReport(report));
        CDatasetReportView view;
        view.resize(120, 300);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));

        view.SetReport(report);

        QTreeWidget* pFlaws = view.GetFlawTree();
        const QFontMetrics metrics(pFlaws->font());
        for (int i = 0; i < pFlaws->topLevelItemCount(); ++i)
        {
            const QString strTitle = pFlaws->topLevelItem(i)->text(0);
            // The title starts after the branch indentation of its row.
            QTRY_VERIFY2(pFlaws->header()->sectionSize(0) >=
                             pFlaws->indentation() + metrics.horizontalAdvance(strTitle),
                         qPrintable(strTitle));
        }
    }

    void buildWarnsWhenConfigurationClassesDiffer_data()
    {
        QTest::addColumn<QString>("configuration");
        QTest::addColumn<QStringList>("warnings");

        QTest::newRow("default network") << QString()
                                         << QStringList({"[WARNING] Configuration has 80 classes, the project has 2 "
                                                         "categories"});
        QTest::newRow("fitted") << "[net]\nbatch=1\n[convolutional]\nfilters=21\n[yolo]\nmask=0,1,2\nclasses=2\n"
                                << QStringList();
        QTest::newRow("no detection layer") << "[net]\nbatch=1\n" << QStringList();
    }

    void buildWarnsWhenConfigurationClassesDiffer()
    {
        QFETCH(QString, configuration);
        QFETCH(QStringList, warnings);
        QVERIFY(!Project("warn", Statements({"a", "b"}, {"one.jpg"}, {"1 1 10 10 1 1"})).isEmpty());
        if (!configuration.isEmpty())
            m_pCase->controller.slot_UpdateProjectProperty("PROJECT_CONFIGURATION", configuration);

        QVERIFY(m_pCase->controller.BuildProject());

        QCOMPARE(LogLines("[WARNING]"), warnings);
    }
};

int RunDatasetReportTest(int argc, char** argv)
{
    DatasetReportTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "DatasetReportTest.moc"
