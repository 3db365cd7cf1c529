// Mouse and key events take the window system's path, so that drags carry their button and clicks move the focus.
#define QTEST_QPA_MOUSE_HANDLING

#include "CPromptAnswers.h"
#include "CWorkspaceFixture.h"

#include "canvas/CDrawableGeometry.h"
#include "canvas/CDrawableObjectModel.h"
#include "canvas/CDrawableObjectPanel.h"
#include "canvas/CImageView2D.h"
#include "canvas/CImageView2DController.h"
#include "canvas/CImageView2DSidePanel.h"
#include "canvas/CImageView2DToolPanel.h"
#include "canvas/CImageViewModeModel.h"
#include "frame/CMVCRegistry.h"
#include "images/CImageListModel.h"
#include "workspace/CImageViewer.h"
#include "workspace/CImageViewerController.h"
#include "workspace/CSelectImageViewDialog.h"

#include "Geometry/COvrelRectangle.h"
#include "Utils/COvrelImage.h"

#include <QDir>
#include <QFile>
#include <QtTest>

#include <memory>

using Ovrel::Utils::COvrelImage;

class ImageWorkspaceTest : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        m_pFixture = std::make_unique<CWorkspaceFixture>();
        CWorkspaceFixture::NewLogLines();
    }

    void cleanup() { m_pFixture.reset(); }

    void layoutPlacesViewers_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QList<QRect>>("cells");
        QTest::addColumn<QStringList>("log");

        const QList<QRect> one{QRect(0, 0, 800, 600)};
        const QList<QRect> sideBySide{QRect(0, 0, 400, 600), QRect(400, 0, 400, 600)};
        const QList<QRect> four{QRect(0, 0, 400, 300), QRect(400, 0, 400, 300), QRect(0, 300, 400, 300),
                                QRect(400, 300, 400, 300)};
        QTest::newRow("1x1 shows viewer 0 alone") << "2x2"
                                                  << "1x1" << one << QStringList{"[NORMAL] ChangeSize(1, 1)"};
        QTest::newRow("2x1 side by side") << "1x1"
                                          << "2x1" << sideBySide << QStringList{"[NORMAL] ChangeSize(2, 1)"};
        QTest::newRow("2x2 two rows of two") << "1x1"
                                             << "2x2" << four << QStringList{"[NORMAL] ChangeSize(2, 2)"};
        QTest::newRow("one row and two columns is 2x1")
            << "1x1"
            << "rows 1 columns 2" << sideBySide << QStringList{"[NORMAL] ChangeSize(2, 1)"};
        QTest::newRow("one column of two rows stacks")
            << "1x1"
            << "rows 2 columns 1" << QList<QRect>{QRect(0, 0, 800, 300), QRect(0, 300, 800, 300)}
            << QStringList{"[NORMAL] ChangeSize(1, 2)"};
        QTest::newRow("the same size again is silent") << "2x2"
                                                       << "2x2" << four << QStringList();
        QTest::newRow("more cells than viewers keep the viewers where they are")
            << "2x2"
            << "rows 3 columns 3" << four << QStringList{"[NORMAL] ChangeSize(3, 3)"};
    }
    void layoutPlacesViewers()
    {
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(QList<QRect>, cells);
        QFETCH(QStringList, log);
        QVERIFY(m_pFixture->Show());
        CImageWorkspaceController* pController = m_pFixture->controller.get();
        const auto apply = [pController](const QString& strLayout)
        {
            if (strLayout == "1x1")
                pController->slot_ChangeLayout1x1();
            else if (strLayout == "2x1")
                pController->slot_ChangeLayout2x1();
            else if (strLayout == "2x2")
                pController->slot_ChangeLayout2x2();
            else
            {
                const QStringList lstWords = strLayout.split(' ');
                pController->ChangeLayout(lstWords.value(1).toInt(), lstWords.value(3).toInt());
            }
        };
        apply(from);
        CWorkspaceFixture::NewLogLines();
        QSignalSpy changed(m_pFixture->layout.get(), &CImageLayoutModel::signal_ChangedSize);

        apply(to);

        QCOMPARE(CWorkspaceFixture::NewLogLines().filter("ChangeSize"), log);
        QCOMPARE(changed.count(), log.size());
        for (int i = 0; i < 4; ++i)
        {
            const CImageViewer* pViewer = m_pFixture->ViewerWidget(i);
            QCOMPARE(pViewer->isVisible(), i < cells.size());
            if (i < cells.size())
                QCOMPARE(pViewer->geometry(), cells[i]);
        }
    }

    void openFileTellsViewAndImage_data()
    {
        QTest::addColumn<QString>("layout");
        QTest::addColumn<int>("choice");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("offered");
        QTest::addColumn<int>("view");
        QTest::addColumn<bool>("loaded");
        QTest::addColumn<QStringList>("asked"); // prompt titles and message texts; %1 is the file's path

        const QStringList four{"Image View [0]", "Image View [1]", "Image View [2]", "Image View [3]"};
        const QStringList chooser{"Select Image View"};
        QTest::newRow("1x1 into viewer 0 without asking")
            << "1x1" << 3 << "a.png" << QStringList() << 0 << true << QStringList();
        QTest::newRow("2x1 offers the two shown viewers")
            << "2x1" << 1 << "a.png" << QStringList{"Image View [0]", "Image View [1]"} << 1 << true << chooser;
        QTest::newRow("2x2 into the chosen viewer") << "2x2" << 3 << "a.png" << four << 3 << true << chooser;
        QTest::newRow("chooser cancelled") << "2x2" << -1 << "a.png" << four << -1 << false << chooser;
        QTest::newRow("unreadable file") << "2x2" << 1 << "broken.png" << four << 1 << false
                                         << QStringList{"Select Image View", "Cannot load image %1"};
        QTest::newRow("missing file") << "1x1" << -1 << "missing.png" << QStringList() << 0 << false
                                      << QStringList{"Cannot load image %1"};
    }
    void openFileTellsViewAndImage()
    {
        QFETCH(QString, layout);
        QFETCH(int, choice);
        QFETCH(QString, file);
        QFETCH(QStringList, offered);
        QFETCH(int, view);
        QFETCH(bool, loaded);
        QFETCH(QStringList, asked);
        m_pFixture->WriteImageFile("a.png");
        QFile broken(m_pFixture->Path("broken.png"));
        QVERIFY(broken.open(QIODevice::WriteOnly) && broken.write("not an image") > 0);
        broken.close();
        m_pFixture->controller->ChangeLayout(layout.right(1).toInt(), layout.left(1).toInt());
        // Every viewer shows an image already: a file that does not load must leave its viewer without one.
        m_pFixture->PushImages();
        CPromptAnswers answers;
        QStringList lstOffered;
        answers.dialogs.push_back(CWorkspaceFixture::Choose(choice, &lstOffered));
        int nViewID = 42;
        unsigned int nImageUID = 42;

        m_pFixture->controller->OpenFileWithViewIDImageID(m_pFixture->Path(file), nViewID, nImageUID);

        QCOMPARE(lstOffered, offered);
        QCOMPARE(nViewID, view);
        QStringList lstAsked;
        for (const auto& prompt : answers.asked)
            lstAsked << (prompt.strKind == "message" ? prompt.strText : prompt.strTitle);
        QCOMPARE(lstAsked, asked.replaceInStrings("%1", m_pFixture->Path(file)));
        for (int i = 0; i < 4; ++i)
        {
            const CImageListModel* pImages = m_pFixture->Viewer(i)->GetImageListModel();
            QCOMPARE(pImages->GetImageCount(), i == view && !loaded ? 0 : 1);
            if (i == view && loaded)
            {
                QCOMPARE(nImageUID, pImages->GetCurrentImage()->GetUID());
                QCOMPARE(QString::fromStdWString(pImages->GetCurrentImage()->GetName()), file);
            }
        }
        if (!loaded)
            QCOMPARE(nImageUID, CImageWorkspaceController::kNoImage);
    }

    void selectFilesOpensFirstFile_data()
    {
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QString>("opened");

        QTest::newRow("a folder, then two files") << QStringList{"folder", "a.png", "b.png"} << "a.png";
        QTest::newRow("a missing file, then a file") << QStringList{"missing.png", "b.png"} << "b.png";
        QTest::newRow("a folder only") << QStringList{"folder"} << "";
        QTest::newRow("nothing") << QStringList() << "";
    }
    void selectFilesOpensFirstFile()
    {
        QFETCH(QStringList, entries);
        QFETCH(QString, opened);
        m_pFixture->WriteImageFile("a.png");
        m_pFixture->WriteImageFile("b.png");
        QVERIFY(QDir(m_pFixture->Path("")).mkpath("folder"));
        std::vector<QFileInfo> vctFiles;
        for (const QString& strEntry : entries)
            vctFiles.emplace_back(m_pFixture->Path(strEntry));
        CPromptAnswers answers;

        m_pFixture->controller->slot_SelectFiles(vctFiles);

        CImageListModel* pImages = m_pFixture->Viewer(0)->GetImageListModel();
        QCOMPARE(pImages->GetImageCount(), opened.isEmpty() ? 0 : 1);
        if (!opened.isEmpty())
            QCOMPARE(QString::fromStdWString(pImages->GetCurrentImage()->GetName()), opened);
        QVERIFY(answers.asked.isEmpty());
    }

    void saveFileWritesChosenViewersImage()
    {
        m_pFixture->controller->slot_ChangeLayout2x1();
        m_pFixture->Viewer(0)->GetImageListModel()->PushImage(CWorkspaceFixture::MakeImage(20, 10, 3, "zero"));
        m_pFixture->Viewer(1)->GetImageListModel()->PushImage(CWorkspaceFixture::MakeImage(30, 15, 3, "one"));
        const QString strPath = m_pFixture->Path("saved.png");
        CPromptAnswers answers;
        QStringList lstOffered;
        answers.dialogs.push_back(CWorkspaceFixture::Choose(1, &lstOffered));
        answers.dialogs.push_back(CWorkspaceFixture::Choose(-1, &lstOffered));
        answers.files.push_back(strPath);

        m_pFixture->controller->slot_SaveFile();
        // Cancelling the chooser asks for no path.
        m_pFixture->controller->slot_SaveFile();

        QCOMPARE(answers.asked.size(), 3);
        QCOMPARE(answers.asked[1].strKind, QString("save"));
        QCOMPARE(answers.asked[1].strTitle, QString("Save Image"));
        COvrelImage saved;
        QCOMPARE(saved.LoadFromFile(strPath.toStdWString()), Ovrel::Utils::EOvrelResult_OK);
        QCOMPARE(saved.GetWidth(), 30);
        QCOMPARE(saved.GetHeight(), 15);
        QCOMPARE(saved.GetPixel(7, 4)[1], static_cast<unsigned char>(7 + 40 + 1));
    }

    void activeCanvasPanelsFillWorkspaceAreas()
    {
        m_pFixture->controller->ChangeLayout(2, 2);
        QVERIFY(m_pFixture->Show());
        m_pFixture->PushImages();
        for (int nViewID : {1, 2})
        {
            CImageView2D* pCanvas = m_pFixture->Viewer(nViewID)->GetCanvas();
            QTest::mouseClick(pCanvas, Qt::LeftButton, Qt::NoModifier, pCanvas->rect().center());

            const CImageView2DController* pCanvasController = m_pFixture->Viewer(nViewID)->GetCanvasController();
            QCOMPARE(m_pFixture->toolPanel.widget(), static_cast<QWidget*>(pCanvasController->GetToolPanel()));
            QCOMPARE(m_pFixture->propertyPanel.widget(), static_cast<QWidget*>(pCanvasController->GetObjectPanel()));
            QCOMPARE(m_pFixture->bottomPanel.widget(), static_cast<QWidget*>(pCanvasController->GetSidePanel()));
        }
        QVERIFY(m_pFixture->toolPanel.widgetResizable());
    }

    void controllerDeletedBeforeViewLeavesViewUsable()
    {
        QVERIFY(m_pFixture->Show());
        m_pFixture->PushImages();
        m_pFixture->controller.reset();

        // The canvases went with their controllers; what is left still lays out and paints.
        m_pFixture->view->resize(640, 480);
        m_pFixture->view->repaint();
        QVERIFY(m_pFixture->view->GetImageView(0));
        QVERIFY(!m_pFixture->view->GetImageView(0)->GetCanvas());
        QCOMPARE(CMVCRegistry::FindMVC("Image View [0]").pController, nullptr);
    }

private:
    std::unique_ptr<CWorkspaceFixture> m_pFixture;
};

int RunImageWorkspaceTest(int argc, char** argv)
{
    ImageWorkspaceTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "ImageWorkspaceTest.moc"
