// Mouse events take the window system's path, so that a click moves the keyboard focus as a user's click does.
#define QTEST_QPA_MOUSE_HANDLING

#include "CImageListScript.h"
#include "CPromptAnswers.h"
#include "CWorkspaceFixture.h"

#include "canvas/CImageView2D.h"
#include "canvas/CImageView2DController.h"
#include "canvas/CImageViewModeModel.h"
#include "images/CImageListModel.h"
#include "progress/CProgressModel.h"
#include "view3d/CImageView3D.h"
#include "workspace/CImageViewer.h"
#include "workspace/CImageViewerController.h"
#include "workspace/CThumbnailCache.h"

#include "Utils/COvrelImage.h"

#include <QAbstractButton>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QSplitter>
#include <QStandardItemModel>
#include <QtTest>

#include <memory>

using Ovrel::Utils::COvrelImage;
using ImagePtr = std::shared_ptr<COvrelImage>;
using Mode = CImageViewModeModel::EImageView2DMode;

Q_DECLARE_METATYPE(CImageViewer::EButton)

class ImageViewerTest : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        m_script.Clear();
        m_pFixture = std::make_unique<CWorkspaceFixture>();
        QVERIFY(m_pFixture->Show());
        CWorkspaceFixture::NewLogLines();
    }

    void cleanup() { m_pFixture.reset(); }

    void thumbnailsFollowImageList_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<int>("selected");
        QTest::addColumn<int>("made");

        // Each push announces the whole list; only the new image may be scaled.
        QTest::newRow("pushing one by one scales each image once")
            << QStringList{"push a", "push b", "push c", "push d", "push e", "push f"}
            << QStringList{"1. a", "2. b", "3. c", "4. d", "5. e", "6. f"} << 5 << 6;
        QTest::newRow("a push after a set scales only the pushed image")
            << QStringList{"set a b c d", "push e"} << QStringList{"1. a", "2. b", "3. c", "4. d", "5. e"} << 4 << 5;
        QTest::newRow("removing renumbers without scaling")
            << QStringList{"set a b c", "index 1", "remove"} << QStringList{"1. a", "2. c"} << 1 << 3;
        QTest::newRow("replacing the current image scales only the new one")
            << QStringList{"set a b c", "index 1", "replace x"} << QStringList{"1. a", "2. x", "3. c"} << 1 << 4;
        QTest::newRow("the same images set again scale nothing")
            << QStringList{"set a b", "set a b"} << QStringList{"1. a", "2. b"} << 0 << 2;
        QTest::newRow("a new order reuses the thumbnails")
            << QStringList{"set a b c", "set c a"} << QStringList{"1. c", "2. a"} << 0 << 3;
        QTest::newRow("an image cleared away is scaled again when it returns")
            << QStringList{"set a b", "clear", "push a"} << QStringList{"1. a"} << 0 << 3;
        // The list's own current item moves off the removed last row; that is no pick of the user's.
        QTest::newRow("fewer images set while the last was current")
            << QStringList{"set a b c", "index 2", "set x y"} << QStringList{"1. x", "2. y"} << 0 << 5;
        QTest::newRow("stepping between images scales nothing")
            << QStringList{"set a b c", "index 2", "index 0"} << QStringList{"1. a", "2. b", "3. c"} << 0 << 3;
    }
    void thumbnailsFollowImageList()
    {
        QFETCH(QStringList, steps);
        QFETCH(QStringList, texts);
        QFETCH(int, selected);
        QFETCH(int, made);

        for (const QString& strStep : steps)
            Run(strStep);

        QCOMPARE(ThumbnailTexts(), texts);
        QCOMPARE(Viewer()->GetThumbnailView()->currentIndex().row(), selected);
        QCOMPARE(Viewer()->GetThumbnailView()->selectionModel()->selectedRows().size(), 1);
        QCOMPARE(Viewer()->GetThumbnails().GetMadeCount(), made);
        QCOMPARE(Viewer()->GetThumbnails().GetKeptCount(), texts.size());
        // Every item shows the image it names, at the list's width, with room for its text.
        const QStandardItemModel* pItems = Viewer()->GetThumbnailModel();
        const int nWidth = Viewer()->GetThumbnails().GetWidth();
        for (int i = 0; i < pItems->rowCount(); ++i)
        {
            QCOMPARE(pItems->item(i)->data(CThumbnailCache::kUIDRole).toUInt(), Images()->GetImage(i)->GetUID());
            QCOMPARE(pItems->item(i)->sizeHint(), QSize(nWidth, nWidth * 30 / 40 + 20));
        }
        QCOMPARE(Images()->GetCurrentIndex(), selected);
    }

    void thumbnailShowsImagePixels_data()
    {
        QTest::addColumn<int>("channels");
        QTest::addColumn<QColor>("left");
        QTest::addColumn<QColor>("right");

        QTest::newRow("colour") << 3 << QColor(250, 10, 20) << QColor(5, 15, 240);
        QTest::newRow("colour with alpha") << 4 << QColor(250, 10, 20) << QColor(5, 15, 240);
    }
    void thumbnailShowsImagePixels()
    {
        QFETCH(int, channels);
        QFETCH(QColor, left);
        QFETCH(QColor, right);
        // Left half one colour, right half another, far larger than the thumbnail.
        auto pImage = std::make_shared<COvrelImage>();
        pImage->Create(1600, 800, channels);
        for (int y = 0; y < 800; ++y)
            for (int x = 0; x < 1600; ++x)
            {
                const QColor colour = x < 800 ? left : right;
                const int values[] = {colour.red(), colour.green(), colour.blue(), 255};
                for (int c = 0; c < channels; ++c)
                    pImage->GetPixel(x, y)[c] = static_cast<unsigned char>(values[c]);
            }

        Images()->PushImage(pImage);

        const QIcon icon = Viewer()->GetThumbnailModel()->item(0)->icon();
        const int nWidth = Viewer()->GetThumbnails().GetWidth();
        const QImage shown = icon.pixmap(QSize(nWidth, nWidth)).toImage();
        QCOMPARE(shown.size(), QSize(nWidth, nWidth / 2));
        QCOMPARE(shown.pixelColor(nWidth / 4, nWidth / 4), left);
        QCOMPARE(shown.pixelColor(3 * nWidth / 4, nWidth / 4), right);
    }

    void resizingRescalesKeptThumbnails()
    {
        Run("set a b c");
        const int nWidthBefore = Viewer()->GetThumbnails().GetWidth();

        m_pFixture->view->resize(1200, 700);
        QTRY_VERIFY(Viewer()->GetThumbnails().GetWidth() > nWidthBefore);
        const int nWider = Viewer()->GetThumbnails().GetWidth();
        // The user drags the splitter to the right.
        Viewer()->findChild<QSplitter*>()->setSizes({600, 600});
        emit Viewer()->findChild<QSplitter*>()->splitterMoved(600, 1);
        const int nWidest = Viewer()->GetThumbnails().GetWidth();

        QVERIFY(nWidest > nWider);
        QCOMPARE(Viewer()->GetThumbnails().GetMadeCount(), 3);
        for (int i = 0; i < 3; ++i)
        {
            const QStandardItem* pItem = Viewer()->GetThumbnailModel()->item(i);
            QCOMPARE(pItem->sizeHint(), QSize(nWidest, nWidest * 30 / 40 + 20));
            QCOMPARE(pItem->icon().availableSizes().value(0), QSize(nWidest, nWidest * 30 / 40));
        }
        QCOMPARE(ThumbnailTexts(), (QStringList{"1. a", "2. b", "3. c"}));
    }

    void pickingThumbnailMakesImageCurrent()
    {
        Run("set a b c");
        QListView* pList = Viewer()->GetThumbnailView();
        const QRect itemRect = pList->visualRect(pList->model()->index(1, 0));

        QTest::mouseClick(pList->viewport(), Qt::LeftButton, Qt::NoModifier, itemRect.center());

        QCOMPARE(Images()->GetCurrentIndex(), 1);
        QCOMPARE(m_pFixture->Viewer(0)->GetCanvas()->GetCurrentImage(), Image("b"));
    }

    void viewLabelShowsCurrentImage_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("channels");
        QTest::addColumn<bool>("removed");
        QTest::addColumn<QString>("label");

        QTest::newRow("colour") << 20 << 10 << 3 << false << "[View-0][20x10x3x8]";
        QTest::newRow("grey") << 7 << 5 << 1 << false << "[View-0][7x5x1x8]";
        QTest::newRow("colour with alpha") << 3 << 9 << 4 << false << "[View-0][3x9x4x8]";
        // A closed image's size would describe nothing shown.
        QTest::newRow("the only image removed") << 20 << 10 << 3 << true << "[View-0]";
    }
    void viewLabelShowsCurrentImage()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(int, channels);
        QFETCH(bool, removed);
        QFETCH(QString, label);
        QCOMPARE(Viewer()->GetViewLabel()->text(), QString("[View-0]"));

        Images()->PushImage(CWorkspaceFixture::MakeImage(width, height, channels, "x"));
        if (removed)
            Images()->RemoveCurrentImage();

        QCOMPARE(Viewer()->GetViewLabel()->text(), label);
        QCOMPARE(Viewer()->GetViewLabel()->styleSheet(), QString("QLabel{color: green;}"));
    }

    void pixelReadout_data()
    {
        QTest::addColumn<int>("channels");
        QTest::addColumn<QPointF>("position");
        QTest::addColumn<QString>("text");

        // MakeImage puts x + 10 y + channel into each channel: pixel (5, 3) holds 35, 36, 37, 38.
        QTest::newRow("grey") << 1 << QPointF(5.7, 3.2) << "[X=5; Y=3] [V=35]";
        QTest::newRow("colour") << 3 << QPointF(5.7, 3.2) << "[X=5; Y=3] [V=35;36;37]";
        QTest::newRow("colour with alpha") << 4 << QPointF(5.7, 3.2) << "[X=5; Y=3] [V=35;36;37;38]";
        QTest::newRow("last pixel") << 3 << QPointF(19.99, 9.5) << "[X=19; Y=9] [V=109;110;111]";
        // Whole pixels by flooring: just left of or above the image is no pixel, not pixel 0.
        QTest::newRow("left of the image") << 3 << QPointF(-0.5, 3.2) << "";
        QTest::newRow("above the image") << 3 << QPointF(4.0, -0.2) << "";
        QTest::newRow("right of the image") << 3 << QPointF(20.0, 3.0) << "";
    }
    void pixelReadout()
    {
        QFETCH(int, channels);
        QFETCH(QPointF, position);
        QFETCH(QString, text);
        Images()->PushImage(CWorkspaceFixture::MakeImage(20, 10, channels, "x"));
        // A readout is showing already, so that an empty one has been cleared.
        Images()->SetMousePosition(QPointF(1, 1));
        QTRY_VERIFY(!Viewer()->GetInfoLabel()->text().isEmpty());

        Images()->SetMousePosition(position);

        QTRY_COMPARE(Viewer()->GetInfoLabel()->text(), text);
    }

    void modeButtonsFollowModeModel_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("checked");

        QTest::newRow("selecting") << 0 << "selection";
        QTest::newRow("panning") << 1 << "move";
        QTest::newRow("rectangle") << 2 << "";
        QTest::newRow("ruler") << 6 << "ruler";
    }
    void modeButtonsFollowModeModel()
    {
        QFETCH(int, mode);
        QFETCH(QString, checked);
        CImageViewModeModel* pModes = m_pFixture->controller->GetModeModel();
        pModes->SetMode(CImageViewModeModel::EImageView2DMode_Drawing_Line);
        pModes->SetMode(CImageViewModeModel::EImageView2DMode_Panning);

        pModes->SetMode(static_cast<Mode>(mode));

        // Every viewer shows the shared mode; the 2D button is a choice of its own and stays checked.
        for (int nViewID = 0; nViewID < 4; ++nViewID)
        {
            const CImageViewer* pViewer = m_pFixture->ViewerWidget(nViewID);
            QCOMPARE(pViewer->GetButton(CImageViewer::EButton_Selection)->isChecked(), checked == "selection");
            QCOMPARE(pViewer->GetButton(CImageViewer::EButton_Move)->isChecked(), checked == "move");
            QCOMPARE(pViewer->GetButton(CImageViewer::EButton_Ruler)->isChecked(), checked == "ruler");
            QVERIFY(pViewer->GetButton(CImageViewer::EButton_2D)->isChecked());
        }
    }

    void toolBarButtonsReachCanvas_data()
    {
        QTest::addColumn<CImageViewer::EButton>("button");
        QTest::addColumn<QString>("outcome");

        QTest::newRow("previous") << CImageViewer::EButton_Previous << "index 0";
        QTest::newRow("next") << CImageViewer::EButton_Next << "index 2";
        QTest::newRow("clear") << CImageViewer::EButton_ClearImage << "count 0";
        QTest::newRow("rotate left") << CImageViewer::EButton_RotateLeft << "size 30x40";
        QTest::newRow("selection") << CImageViewer::EButton_Selection << "mode 0";
        QTest::newRow("move") << CImageViewer::EButton_Move << "mode 1";
        QTest::newRow("ruler") << CImageViewer::EButton_Ruler << "mode 6";
        QTest::newRow("add") << CImageViewer::EButton_AddImage << "asked opens Add Images";
        QTest::newRow("open") << CImageViewer::EButton_OpenFile << "asked opens Load File";
        QTest::newRow("save") << CImageViewer::EButton_SaveFile << "asked save Save Image";
    }
    void toolBarButtonsReachCanvas()
    {
        QFETCH(CImageViewer::EButton, button);
        QFETCH(QString, outcome);
        CPromptAnswers answers;
        Run("set a b c");
        Run("index 1");
        m_pFixture->controller->GetModeModel()->SetMode(CImageViewModeModel::EImageView2DMode_Drawing_Ellipse);

        QAbstractButton* pButton = Viewer()->GetButton(button);
        QTest::mouseClick(pButton, Qt::LeftButton);

        const QStringList lstOutcome = outcome.split(' ');
        const QString strKind = lstOutcome.value(0);
        if (strKind == "index")
            QCOMPARE(Images()->GetCurrentIndex(), lstOutcome.value(1).toInt());
        else if (strKind == "count")
            QCOMPARE(Images()->GetImageCount(), lstOutcome.value(1).toInt());
        else if (strKind == "size")
            QCOMPARE(QString("%1x%2")
                         .arg(Images()->GetCurrentImage()->GetWidth())
                         .arg(Images()->GetCurrentImage()->GetHeight()),
                     lstOutcome.value(1));
        else if (strKind == "mode")
            QCOMPARE(static_cast<int>(m_pFixture->controller->GetModeModel()->GetMode()), lstOutcome.value(1).toInt());
        else if (strKind == "asked")
        {
            QCOMPARE(answers.asked.size(), 1);
            QCOMPARE(answers.asked[0].strKind, lstOutcome.value(1));
            QCOMPARE(answers.asked[0].strTitle, QStringList(lstOutcome.mid(2)).join(' '));
        }
    }

    void contentSwitchesBetweenCanvasAnd3DView()
    {
        CImageView2D* pCanvas = m_pFixture->Viewer(0)->GetCanvas();
        QVERIFY(pCanvas->isVisible());
        auto* p3DView = qobject_cast<CImageView3D*>(Viewer()->Get3DView());
        QVERIFY(p3DView);
        QVERIFY(p3DView->isHidden());
        QVERIFY(Viewer()->GetButton(CImageViewer::EButton_3D)->isEnabled());
        QVERIFY(Viewer()->GetButton(CImageViewer::EButton_Capture)->isEnabled());
        for (const QLabel* pLabel : Viewer()->findChildren<QLabel*>())
            QVERIFY(!pLabel->text().contains("OpenGL"));

        // The canvas's own menu entry asks for 3D, the 3D view's menu entry for 2D.
        const auto entry = [](QMenu* pMenu, const QString& strText)
        {
            for (QAction* pAction : pMenu->actions())
                if (pAction->text() == strText)
                    return pAction;
            return static_cast<QAction*>(nullptr);
        };
        QVERIFY(entry(p3DView->GetContextMenu(), "Switch To 2D View"));
        entry(pCanvas->GetImageMenu(), "Switch To 3D View")->trigger();
        QVERIFY(pCanvas->isHidden());
        QVERIFY(!p3DView->isHidden());
        QVERIFY(Viewer()->GetButton(CImageViewer::EButton_3D)->isChecked());
        entry(p3DView->GetContextMenu(), "Switch To 2D View")->trigger();
        QVERIFY(pCanvas->isVisible());
        QVERIFY(p3DView->isHidden());
        QVERIFY(Viewer()->GetButton(CImageViewer::EButton_2D)->isChecked());
    }

    void progressShowsWhileValueIsNotZero()
    {
        CImageViewerController* pController = m_pFixture->Viewer(0);
        QWidget* pProgress = Viewer()->GetProgressWidget();
        QVERIFY(pProgress && Viewer()->isAncestorOf(pProgress));
        QVERIFY(!pProgress->isVisible());

        pController->slot_ChangeProgressMaxRange(50);
        pController->slot_ChangeProgressValue(30);
        QVERIFY(pProgress->isVisible());

        pController->slot_ChangeProgressValue(0);
        QVERIFY(!pProgress->isVisible());
    }

    void focusBorderFollowsFocusInsideViewer()
    {
        m_pFixture->controller->ChangeLayout(2, 2);
        QTRY_VERIFY(m_pFixture->ViewerWidget(2)->isVisible());
        for (int nViewID = 0; nViewID < 4; ++nViewID)
            m_pFixture->Viewer(nViewID)->GetImageListModel()->PushImage(CWorkspaceFixture::MakeImage(20, 10, 3, "x"));
        m_pFixture->Viewer(0)->GetCanvas()->setFocus();
        QTRY_VERIFY(m_pFixture->Viewer(0)->GetCanvas()->hasFocus());
        CWorkspaceFixture::NewLogLines();
        const QString strFocused = "#CImageViewer_%1 { border: 0.5px solid rgb(0, 100, 200); }";
        const QString strUnfocused = "#CImageViewer_%1 { border: 0.5px solid none; }";
        CImageView2D* pCanvas1 = m_pFixture->Viewer(1)->GetCanvas();
        CImageView2D* pCanvas2 = m_pFixture->Viewer(2)->GetCanvas();

        QTest::mouseClick(pCanvas1, Qt::LeftButton, Qt::NoModifier, pCanvas1->rect().center());
        QTRY_VERIFY(pCanvas1->hasFocus());
        QCOMPARE(m_pFixture->ViewerWidget(1)->styleSheet(), strFocused.arg(1));
        QCOMPARE(CWorkspaceFixture::NewLogLines().filter("Focus"),
                 (QStringList{"[DEBUG] Focus Out  0", "[DEBUG] Focus In  1"}));

        QTest::mouseClick(pCanvas2, Qt::LeftButton, Qt::NoModifier, pCanvas2->rect().center());
        QTRY_VERIFY(pCanvas2->hasFocus());
        QCOMPARE(m_pFixture->ViewerWidget(1)->styleSheet(), strUnfocused.arg(1));
        QCOMPARE(m_pFixture->ViewerWidget(2)->styleSheet(), strFocused.arg(2));
        QCOMPARE(CWorkspaceFixture::NewLogLines().filter("Focus"),
                 (QStringList{"[DEBUG] Focus Out  1", "[DEBUG] Focus In  2"}));

        // A press on the frame itself (its status line) marks it as well.
        QLabel* pLabel = m_pFixture->ViewerWidget(3)->GetViewLabel();
        QTest::mouseClick(pLabel, Qt::LeftButton, Qt::NoModifier, pLabel->rect().center());
        QCOMPARE(m_pFixture->ViewerWidget(3)->styleSheet(), strFocused.arg(3));
        QVERIFY(CWorkspaceFixture::NewLogLines().contains("[DEBUG] mousePressEvent 3"));
    }

private:
    ImagePtr Image(const QString& strName) { return m_script.Image(strName); }
    void Run(const QString& strStep) { QVERIFY2(m_script.Run(*Images(), strStep), qPrintable(strStep)); }

    QStringList ThumbnailTexts() const
    {
        QStringList lstTexts;
        const QStandardItemModel* pItems = Viewer()->GetThumbnailModel();
        for (int i = 0; i < pItems->rowCount(); ++i)
            lstTexts << pItems->item(i)->text();
        return lstTexts;
    }
    CImageListModel* Images() const { return m_pFixture->Viewer(0)->GetImageListModel(); }
    CImageViewer* Viewer() const { return m_pFixture->ViewerWidget(0); }

    std::unique_ptr<CWorkspaceFixture> m_pFixture;
    // Images of 40 x 30 pixels with 3 channels.
    CImageListScript m_script{[](const QString& strName) { return CWorkspaceFixture::MakeImage(40, 30, 3, strName); }};
};

int RunImageViewerTest(int argc, char** argv)
{
    ImageViewerTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "ImageViewerTest.moc"
