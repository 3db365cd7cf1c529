#include "CMainWindowCase.h"

#include "canvas/CImageView2DController.h"
#include "frame/CUndoStack.h"
#include "process/CImageProcessView.h"
#include "project/CProjectModel.h"
#include "project/store/CDatasetImageEntry.h"
#include "views/CDatasetReportView.h"
#include "workspace/CImageViewer.h"

#include "Utils/COvrelImage.h"

#include <QStatusBar>
#include <QTreeWidget>

// What the window shows after commands that change a project image or the data set as a whole, held against what the
// project file holds.
class ProjectScreenTest : public CMainWindowCase
{
    Q_OBJECT

    using Mode = CImageViewModeModel;

    // A 200 x 100 image of scattered grey values outside the project, so that every filter changes most pixels.
    QString WriteNoise(const QString& strName) const
    {
        QImage image(200, 100, QImage::Format_RGB888);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
            {
                const int nValue = static_cast<int>(((x * 7919u + y * 104729u) * 2654435761u) >> 24);
                image.setPixel(x, y, qRgb(nValue, nValue, nValue));
            }
        const QString strPath = m_pSandbox->Path("camera/" + strName);
        return QDir().mkpath(m_pSandbox->Path("camera")) && image.save(strPath) ? strPath : QString();
    }
    static QByteArray Pixels(const std::shared_ptr<Ovrel::Utils::COvrelImage>& pImage)
    {
        if (!pImage)
            return QByteArray();
        QByteArray baPixels;
        for (int y = 0; y < pImage->GetHeight(); ++y)
            baPixels.append(reinterpret_cast<const char*>(pImage->GetPixel(0, y)),
                            pImage->GetWidth() * pImage->GetChannels());
        return baPixels;
    }
    // Training images as "name" or "!name" for an image the tree marks invalid.
    QStringList TrainMarks() const
    {
        QStringList lstMarks;
        for (const auto& pEntry : m_pWindow->GetProjectModel()->GetTrainImages())
            lstMarks.append((pEntry->IsValid() ? "" : "!") + pEntry->GetName());
        return lstMarks;
    }

private slots:
    void init() { NewSandboxAndWindow(); }
    void cleanup() { CloseWindow(); }

    // Sobel and Median replaced the project image and emptied the view while the rows stayed, and undo brought only
    // the pixels back.
    void imageToolsKeepTheBoxesOfAProjectImage_data()
    {
        QTest::addColumn<QString>("tool");
        for (const char* pszTool : {"Sobel", "Median"})
            QTest::newRow(pszTool) << QString(pszTool);
    }
    void imageToolsKeepTheBoxesOfAProjectImage()
    {
        QFETCH(QString, tool);
        QVERIFY(CreateProjectFromDialog("screen"));
        AddImages(true, {WriteNoise("a.png")});
        const int a = ImageID("a.png");
        Sql({"INSERT INTO category (NAME) VALUES ('cat')",
             QString(
                 "INSERT INTO dataset_roi (X, Y, WIDTH, HEIGHT, IMAGE_ID, CATEGORY_ID) VALUES (20, 10, 40, 30, %1, 1)")
                 .arg(a)});
        QVERIFY(ShowWindow());
        QVERIFY(ClickImageInTree("a.png"));
        const QStringList lstStored = {Box(20, 10, 40, 30, "cat")};
        QCOMPARE(Boxes(0), lstStored);
        const QByteArray baOriginal = Pixels(Viewer(0)->GetCurrentImage());

        Action(tool)->trigger();
        CImageProcessView* pTool = m_pWindow->findChildren<CImageProcessView*>().last();
        QTest::mouseClick(pTool->findChild<QPushButton*>("Run"), Qt::LeftButton);

        QVERIFY(Pixels(Viewer(0)->GetCurrentImage()) != baOriginal);
        QCOMPARE(Rows(a), lstStored);
        QCOMPARE(Boxes(0), lstStored);
        // The filtered image is still the project image: a box drawn on it gets its row.
        AnswerClass("cat");
        Drag(0, Mode::EImageView2DMode_Drawing_Rectanlge, QPointF(100, 50), QPointF(150, 90));
        QCOMPARE(Rows(a), QStringList({Box(100, 50, 50, 40, "cat"), Box(20, 10, 40, 30, "cat")}));
        QCOMPARE(Boxes(0), Rows(a));

        // Undo takes the box back, then the pixels; the stored box stays on screen.
        pTool->close();
        m_pWindow->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_pWindow.get()));
        Canvas(0)->setFocus();
        QTRY_VERIFY(Canvas(0)->hasFocus());
        QTest::keySequence(Canvas(0), QKeySequence::Undo);
        QTest::keySequence(Canvas(0), QKeySequence::Undo);
        QCOMPARE(Pixels(Viewer(0)->GetCurrentImage()), baOriginal);
        QCOMPARE(Rows(a), lstStored);
        QCOMPARE(Boxes(0), lstStored);

        // A quarter turn would put the stored boxes over other pixels: it is refused with a warning.
        const int nAsked = m_pAnswers->asked.size();
        QTest::mouseClick(Viewer(0)->GetViewer()->GetButton(CImageViewer::EButton_RotateLeft), Qt::LeftButton);
        QCOMPARE(m_pAnswers->asked.size(), nAsked + 1);
        QCOMPARE(m_pAnswers->asked.last().eIcon, QMessageBox::Warning);
        QCOMPARE(Pixels(Viewer(0)->GetCurrentImage()), baOriginal);
        QCOMPARE(Viewer(0)->GetCurrentImage()->GetWidth(), 200);
        QCOMPARE(Boxes(0), lstStored);

        // Another file opened in the view is no project image: it turns as before.
        Workspace()->slot_OpenFilePath(WriteImage("b.png", Qt::darkBlue));
        QTest::mouseClick(Viewer(0)->GetViewer()->GetButton(CImageViewer::EButton_RotateLeft), Qt::LeftButton);
        QCOMPARE(m_pAnswers->asked.size(), nAsked + 1);
        QCOMPARE(Viewer(0)->GetCurrentImage()->GetWidth(), 100);
    }

    // After an import the tree kept the marks and an open report the totals of the project before it.
    void importRevalidatesAndRefreshesTheOpenReport()
    {
        QVERIFY(CreateProjectFromDialog("imp"));
        Action("Dataset Report")->trigger();
        auto* pReport = m_pWindow->findChild<CDatasetReportView*>();
        QCOMPARE(pReport->GetSummary(), QString("0 images, 0 boxes, 0 classes"));
        const QString strSet = m_pSandbox->Path("set");
        QVERIFY(QDir().mkpath(strSet + "/images") && QDir().mkpath(strSet + "/labels"));
        for (const char* pszName : {"p", "q"})
        {
            QImage image(40, 20, QImage::Format_RGB888);
            image.fill(Qt::darkGreen);
            QVERIFY(image.save(strSet + "/images/" + pszName + ".jpg"));
        }
        const QList<QPair<QString, QByteArray>> lstFiles = {{"obj.names", "cat\n"},
                                                            {"train.txt", "images/p.jpg\nimages/q.jpg\n"},
                                                            {"labels/p.txt", "0 0.5 0.5 0.5 0.5\n"}};
        for (const auto& file : lstFiles)
        {
            QFile out(strSet + "/" + file.first);
            QVERIFY(out.open(QIODevice::WriteOnly) && out.write(file.second) == file.second.size());
        }
        m_pAnswers->files.push_back(strSet);

        Action("Import Dataset")->trigger();

        QCOMPARE(TrainMarks(), QStringList({"p.jpg", "!q.jpg"}));
        QCOMPARE(pReport->GetSummary(), QString("2 images, 1 boxes, 1 classes"));
    }

    // "Export Dataset..." in the File menu reaches the export: its answers decide format, images and destination.
    void exportFromFileMenuWritesTheProjectsImages()
    {
        QVERIFY(CreateProjectFromDialog("exp"));
        AddImages(true, {WriteImage("a.png", Qt::darkGreen)});
        AddImages(false, {WriteImage("b.png", Qt::darkBlue)});
        const QString strOut = m_pSandbox->Path("out");
        QVERIFY(QDir().mkpath(strOut));
        m_pAnswers->texts.push_back("COCO");
        m_pAnswers->texts.push_back("Copied into the export");
        m_pAnswers->files.push_back(strOut);

        Action("Export Dataset...")->trigger();

        QCOMPARE(QDir(strOut).entryList(QDir::Files), QStringList({"test.json", "train.json"}));
        QCOMPARE(QDir(strOut + "/images").entryList(QDir::Files), QStringList({"a.png", "b.png"}));
    }

    // Regression: an image opened from the report left the tree's current row on another image.
    void openingAReportEntrySelectsItsTreeRow()
    {
        QVERIFY(CreateProjectFromDialog("rep"));
        AddImages(true, {WriteImage("a.png", Qt::darkGreen), WriteImage("b.png", Qt::darkBlue)});
        QVERIFY(ClickImageInTree("a.png"));
        Action("Dataset Report")->trigger();
        QTreeWidget* pFlaws = m_pWindow->GetDatasetReportView()->GetFlawTree();
        const QList<QTreeWidgetItem*> lstFound = pFlaws->findItems("b.png", Qt::MatchStartsWith | Qt::MatchRecursive);
        QVERIFY(!lstFound.isEmpty());

        emit pFlaws->itemDoubleClicked(lstFound[0], 0);

        QCOMPARE(Viewer(0)->GetImageListModel()->GetCurrentImage()->GetWidth(), 200);
        const QModelIndex current = m_pWindow->GetProjectView()->findChild<QTreeView*>()->currentIndex();
        QVERIFY(current.data().toString().endsWith("] b.png"));
    }

    // A refused build said one red line, naming the first image with the wrong reason; one that went through said
    // nothing outside the log.
    void buildTellsWhyItWasRefusedAndWhenItCompleted()
    {
        QVERIFY(CreateProjectFromDialog("built"));
        AddImages(true, {WriteImage("a.png", Qt::darkGreen)});
        AddImages(false, {WriteImage("b.png", Qt::darkGreen)});
        const int nAsked = m_pAnswers->asked.size();

        Action("Build")->trigger();

        QCOMPARE(m_pAnswers->asked.size(), nAsked + 1);
        // What the refusal box and the log say is the build tests' own; here: the window's log view shows it.
        QTRY_COMPARE(LogViewLines("^Refused: "), QStringList("Refused: 2 images have no boxes"));
        QCOMPARE(m_pWindow->statusBar()->currentMessage(), QString());

        Sql({"INSERT INTO category (NAME) VALUES ('cat')",
             QString("INSERT INTO dataset_roi (X, Y, WIDTH, HEIGHT, IMAGE_ID, CATEGORY_ID) VALUES "
                     "(1, 1, 5, 5, %1, 1), (1, 1, 5, 5, %2, 1)")
                 .arg(ImageID("a.png"))
                 .arg(ImageID("b.png"))});
        Action("Build")->trigger();

        QCOMPARE(m_pAnswers->asked.size(), nAsked + 1);
        QCOMPARE(m_pWindow->statusBar()->currentMessage(), QString("Build completed: 1 training and 1 test images"));
    }
};

int RunProjectScreenTest(int argc, char** argv)
{
    ProjectScreenTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "ProjectScreenTest.moc"
