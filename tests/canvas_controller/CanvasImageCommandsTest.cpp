#include "CCanvasFixture.h"
#include "CCanvasTestFiles.h"
#include "CPromptAnswers.h"
#include "CReadOnlyGuard.h"
#include "CTestSandbox.h"
#include "CanvasTestText.h"
#include "ImageText.h"

#include "canvas/CCanvasHistories.h"
#include "canvas/CCanvasImageCommands.h"
#include "canvas/CDrawableGeometry.h"
#include "frame/CUndoStack.h"

#include "Utils/COvrelImage.h"

#include <QClipboard>
#include <QMimeData>
#include <QtTest>

#include <cstring>

using Ovrel::Utils::COvrelImage;

using CanvasTestText::Asked;
using CanvasTestText::Shown;

class CanvasImageCommandsTest : public QObject
{
    Q_OBJECT

private:
    CTestSandbox m_sandbox;
    CCanvasTestFiles m_files;
    std::unique_ptr<CCanvasFixture> m_pFixture;
    std::unique_ptr<CPromptAnswers> m_pAnswers;

    CCanvasFixture& F() { return *m_pFixture; }
    CPromptAnswers& Answers() { return *m_pAnswers; }
    QString Path(const QString& strName) const { return m_files.Path(strName); }

private slots:
    void initTestCase()
    {
        QVERIFY(m_files.WriteImage("photo.png"));
        QVERIFY(m_files.WriteImage("second.png", 1));
        QVERIFY(m_files.WriteBytes("words.jpg", "these are words, not a picture\n"));
        QVERIFY(QDir().mkpath(Path("read-only")));
    }

    void init()
    {
        m_pFixture = std::make_unique<CCanvasFixture>();
        QVERIFY(F().Show());
        m_pAnswers = std::make_unique<CPromptAnswers>();
    }

    void cleanup()
    {
        m_pAnswers.reset();
        m_pFixture.reset();
    }

    void savingWritesTheCurrentImageOrSaysItCannot_data()
    {
        QTest::addColumn<QString>("strName");
        QTest::addColumn<bool>("bReadOnly");
        QTest::addColumn<bool>("bSaved");
        QTest::newRow("png") << "saved.png" << false << true;
        QTest::newRow("bmp in capitals") << "saved.BMP" << false << true;
        QTest::newRow("unsupported extension") << "saved.xyz" << false << false;
        QTest::newRow("no extension") << "saved" << false << false;
        QTest::newRow("read-only folder") << "read-only/saved.png" << true << false;
        QTest::newRow("missing folder") << "missing/saved.png" << false << false;
    }

    void savingWritesTheCurrentImageOrSaysItCannot()
    {
        QFETCH(QString, strName);
        QFETCH(bool, bReadOnly);
        QFETCH(bool, bSaved);
        F().PushImage(40, 30);
        const QString strPath = Path(strName);
        QFile::remove(strPath);
        std::unique_ptr<CReadOnlyGuard> pGuard;
        if (bReadOnly)
        {
            pGuard = std::make_unique<CReadOnlyGuard>(Path("read-only"));
            if (!pGuard->IsActive())
                QSKIP("this file system cannot make a folder read-only");
        }
        Answers().files.push_back(strPath);

        F().controller->slot_SaveImage();

        const QStringList message{"message " + QString("Cannot save image %1").arg(strPath)};
        QCOMPARE(Asked(Answers()), QStringList{"save Save Image"} + (bSaved ? QStringList() : message));
        QCOMPARE(Answers().asked.front().strFilter, QString(CCanvasImageCommands::kSaveFilter));
        QCOMPARE(QFile::exists(strPath), bSaved);
        if (bSaved)
        {
            COvrelImage saved;
            QCOMPARE(saved.LoadFromFile(strPath.toStdWString()), Ovrel::Utils::EOvrelResult_OK);
            QCOMPARE(ImageText::Dump(saved), ImageText::Dump(*F().images.GetCurrentImage()));
        }
        else
        {
            QCOMPARE(Answers().asked.back().eIcon, QMessageBox::Critical);
        }
    }

    void savingWithoutAnImageWritesNothing()
    {
        Answers().files.push_back(Path("nothing.png"));

        F().controller->slot_SaveImage();
        F().controller->SaveImageAs(Path("nothing.png"));

        QCOMPARE(Asked(Answers()), QStringList{"save Save Image"});
        QVERIFY(!QFile::exists(Path("nothing.png")));
    }

    void copyPutsAnIndependentImageOnTheClipboard_data()
    {
        QTest::addColumn<int>("nChannels");
        QTest::addColumn<QImage::Format>("format");
        QTest::newRow("grey") << 1 << QImage::Format_Grayscale8;
        QTest::newRow("rgb") << 3 << QImage::Format_RGB888;
        QTest::newRow("rgba") << 4 << QImage::Format_RGBA8888;
    }

    void copyPutsAnIndependentImageOnTheClipboard()
    {
        QFETCH(int, nChannels);
        QFETCH(QImage::Format, format);
        const QString strPicture = nChannels == 1   ? "10 20 30|40 50 60"
                                   : nChannels == 3 ? "1,2,3 4,5,6 7,8,9|10,11,12 13,14,15 16,17,18"
                                                    : "1,2,3,4 5,6,7,8 9,10,11,12|13,14,15,16 17,18,19,20 21,22,23,24";
        std::shared_ptr<COvrelImage> pImage = ImageText::Make(strPicture);
        F().controller->PushImage(pImage);

        F().controller->slot_Copy();
        // Changed in place, then closed: neither may reach what the clipboard holds.
        pImage->GetPixel(0, 0)[0] = 99;
        F().controller->slot_CloseImage();
        pImage.reset();

        const QImage copied = QGuiApplication::clipboard()->image();
        QCOMPARE(copied.format(), format);
        QCOMPARE(copied.size(), QSize(3, 2));
        COvrelImage back;
        QVERIFY(back.Create(3, 2, nChannels) == Ovrel::Utils::EOvrelResult_OK);
        for (int y = 0; y < 2; ++y)
            std::memcpy(back.GetRows()[y], copied.constScanLine(y), size_t(3 * nChannels));
        QCOMPARE(ImageText::Dump(back), strPicture);
    }

    void pasteTakesImagesAndFilesButNotText_data()
    {
        QTest::addColumn<bool>("bImage");
        QTest::addColumn<QString>("strText");
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QStringList>("pushed");
        QTest::newRow("image") << true << QString() << QStringList() << QStringList{"3x2 10,20,30,255"};
        QTest::newRow("text") << false << "photo.png" << QStringList() << QStringList();
        QTest::newRow("image with text") << true << "caption" << QStringList() << QStringList();
        QTest::newRow("files, one broken") << false << QString() << QStringList{"photo.png", "words.jpg", "second.png"}
                                           << QStringList{"20x10 30,20,200", "20x10 31,20,200"};
        QTest::newRow("files with their names as text")
            << false << "photo.png" << QStringList{"photo.png"} << QStringList{"20x10 30,20,200"};
    }

    void pasteTakesImagesAndFilesButNotText()
    {
        QFETCH(bool, bImage);
        QFETCH(QString, strText);
        QFETCH(QStringList, files);
        QFETCH(QStringList, pushed);
        const std::shared_ptr<COvrelImage> pKept = F().PushImage();
        auto* pData = new QMimeData;
        if (bImage)
        {
            QImage image(3, 2, QImage::Format_RGB888);
            image.fill(QColor(10, 20, 30));
            pData->setImageData(image);
        }
        if (!strText.isNull())
            pData->setText(strText);
        QList<QUrl> urls;
        for (const QString& strName : files)
            urls << QUrl::fromLocalFile(Path(strName));
        if (!urls.isEmpty())
            pData->setUrls(urls);
        QGuiApplication::clipboard()->setMimeData(pData);

        emit F().canvas->signal_Paste();

        QCOMPARE(F().images.GetImageCount(), 1 + pushed.size());
        QCOMPARE(F().images.GetImage(0), pKept);
        QStringList added;
        for (int nIndex = 1; nIndex < F().images.GetImageCount(); ++nIndex)
        {
            const std::shared_ptr<COvrelImage> pImage = F().images.GetImage(nIndex);
            // Files are probed where Shown looks; the pasted 3 x 2 image at its first pixel.
            const bool bFile = pImage->GetWidth() > 3;
            added << QString("%1x%2 %3")
                         .arg(pImage->GetWidth())
                         .arg(pImage->GetHeight())
                         .arg(ImageText::Pixel(pImage->GetPixel(bFile ? 3 : 0, bFile ? 2 : 0), pImage->GetChannels()));
        }
        QCOMPARE(added, pushed);
        QCOMPARE(F().images.GetCurrentIndex(), pushed.size());
        QCOMPARE(Asked(Answers()), QStringList());
    }

    void rotationIsOneUndoStepThatClearsTheObjects_data()
    {
        QTest::addColumn<bool>("bRight");
        QTest::addColumn<QString>("strTurned");
        QTest::newRow("right, clockwise") << true << "4 1|5 2|6 3";
        QTest::newRow("left") << false << "3 6|2 5|1 4";
    }

    void rotationIsOneUndoStepThatClearsTheObjects()
    {
        QFETCH(bool, bRight);
        QFETCH(QString, strTurned);
        const std::shared_ptr<COvrelImage> pImage = ImageText::Make("1 2 3|4 5 6");
        F().controller->PushImage(pImage);
        F().AddRectangle(0, 0, 1, 1);

        if (bRight)
            F().controller->slot_RotateRight();
        else
            F().controller->slot_RotateLeft();

        QCOMPARE(ImageText::Dump(*F().images.GetCurrentImage()), strTurned);
        QCOMPARE(F().canvas->GetCurrentImage(), F().images.GetCurrentImage());
        QCOMPARE(ImageText::Dump(*pImage), QString("1 2 3|4 5 6"));
        QCOMPARE(F().objects.GetObjectCount(), 0);
        QCOMPARE(F().UndoCount(), 1);

        F().AddRectangle(0, 0, 1, 1);
        F().Key(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(ImageText::Dump(*F().images.GetCurrentImage()), QString("1 2 3|4 5 6"));
        QCOMPARE(F().images.GetImageCount(), 1);
        QCOMPARE(F().objects.GetObjectCount(), 0);
        F().Key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(ImageText::Dump(*F().images.GetCurrentImage()), strTurned);
    }

    // The history belongs to the image it was made on: once another image is shown, neither a box nor a rotation is
    // undone or redone on it.
    void undoNeverAppliesToAnotherImage_data()
    {
        QTest::addColumn<QString>("strEdit");
        QTest::addColumn<QString>("strSwitch");
        for (const char* pszEdit : {"draw", "rotate"})
        {
            for (const char* pszSwitch : {"open file", "previous", "push image", "close image"})
                QTest::newRow(qPrintable(QString("%1, then %2").arg(pszEdit, pszSwitch))) << pszEdit << pszSwitch;
        }
    }

    void undoNeverAppliesToAnotherImage()
    {
        QFETCH(QString, strEdit);
        QFETCH(QString, strSwitch);
        F().PushImage();
        F().PushImage();
        if (strEdit == "draw")
        {
            F().SetMode(CImageViewModeModel::EImageView2DMode_Drawing_Rectanlge);
            F().Drag(QPointF(10, 10), QPointF(40, 30));
        }
        else
            F().controller->slot_RotateRight();
        F().Key(Qt::Key_Z, Qt::ControlModifier);
        F().Key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(F().UndoCount(), 1);

        if (strSwitch == "open file")
            F().controller->OpenFile(Path("photo.png"));
        else if (strSwitch == "previous")
            F().controller->slot_Previous();
        else if (strSwitch == "push image")
            F().PushImage();
        else
            emit F().canvas->signal_CloseImage();
        const std::shared_ptr<COvrelImage> pShown = F().images.GetCurrentImage();
        const QStringList lstObjects = F().Objects();
        F().Key(Qt::Key_Z, Qt::ControlModifier);
        F().Key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        F().Key(Qt::Key_Z, Qt::ControlModifier);

        QCOMPARE(F().images.GetCurrentImage(), pShown);
        QCOMPARE(F().Objects(), lstObjects);
        QCOMPARE(F().UndoCount() + F().RedoCount(), 0);
    }

    // A keyed history is parked with the objects its commands hold and comes back whole with them.
    void parkedHistoryComesBackWithItsObjects()
    {
        CCanvasHistories* pHistories = F().controller->GetHistories();
        F().PushImage();
        pHistories->SetKey("first");
        F().AddRectangle(60, 60, 10, 10);
        F().SetMode(CImageViewModeModel::EImageView2DMode_Drawing_Rectanlge);
        F().Drag(QPointF(10, 10), QPointF(40, 30));
        const QStringList lstDrawn = F().Objects();

        F().controller->OpenFile(Path("photo.png"));
        QCOMPARE(pHistories->GetKey(), QString());
        QCOMPARE(F().UndoCount(), 0);
        QCOMPARE(pHistories->ParkedObjects("first").size(), size_t(2));
        F().controller->OpenFile(Path("second.png"));

        QVERIFY(pHistories->Resume("first"));
        QCOMPARE(F().Objects().replaceInStrings("*", ""), QStringList(lstDrawn).replaceInStrings("*", ""));
        QCOMPARE(pHistories->GetKey(), QString("first"));
        QVERIFY(!pHistories->IsParked("first"));
        F().Key(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(F().Objects().replaceInStrings("*", ""), QStringList("60,60,10,10"));
        F().Key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(F().Objects().size(), 2);
    }

    void steppingAndClosing_data()
    {
        QTest::addColumn<QStringList>("commands");
        QTest::addColumn<int>("nCount");
        QTest::addColumn<int>("nCurrent");
        QTest::addColumn<int>("nObjects");
        // Three images, the last current, one object.
        QTest::newRow("previous twice") << QStringList{"previous", "previous"} << 3 << 0 << 1;
        QTest::newRow("previous three times stops at the first")
            << QStringList{"previous", "previous", "previous"} << 3 << 0 << 1;
        QTest::newRow("next at the end") << QStringList{"next"} << 3 << 2 << 1;
        QTest::newRow("select 1") << QStringList{"select 1"} << 3 << 1 << 1;
        QTest::newRow("select 3, outside") << QStringList{"select 3"} << 3 << 2 << 1;
        QTest::newRow("close the last") << QStringList{"close"} << 2 << 1 << 0;
        QTest::newRow("close all") << QStringList{"close", "close", "close"} << 0 << -1 << 0;
        QTest::newRow("clear keeps the objects") << QStringList{"clear"} << 0 << 0 << 1;
    }

    void steppingAndClosing()
    {
        QFETCH(QStringList, commands);
        QFETCH(int, nCount);
        QFETCH(int, nCurrent);
        QFETCH(int, nObjects);
        for (int nImage = 0; nImage < 3; ++nImage)
            F().PushImage(10 + nImage, 10);
        F().AddRectangle(1, 1, 5, 5);

        for (const QString& strCommand : commands)
        {
            if (strCommand == "previous")
                F().controller->slot_Previous();
            else if (strCommand == "next")
                F().controller->slot_Next();
            else if (strCommand.startsWith("select"))
                F().controller->slot_SelectImage(strCommand.section(' ', 1).toInt());
            else if (strCommand == "close")
                emit F().canvas->signal_CloseImage();
            else
                F().controller->slot_ClearImage();
        }

        QCOMPARE(F().images.GetImageCount(), nCount);
        QCOMPARE(F().images.GetCurrentIndex(), nCurrent);
        QCOMPARE(F().objects.GetObjectCount(), nObjects);
        QCOMPARE(F().canvas->GetCurrentImage(), F().images.GetCurrentImage());
        if (nCount > 0)
            QCOMPARE(F().images.GetCurrentImage()->GetWidth(), 10 + nCurrent);
    }
};

QTEST_MAIN(CanvasImageCommandsTest)
#include "CanvasImageCommandsTest.moc"
