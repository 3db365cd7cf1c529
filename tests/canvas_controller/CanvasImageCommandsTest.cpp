#include "CCanvasFixture.h"
#include "CCanvasTestFiles.h"
#include "CPromptAnswers.h"
#include "CReadOnlyGuard.h"
#include "CTestSandbox.h"
#include "ImageText.h"

#include "canvas/CCanvasImageCommands.h"
#include "canvas/CCanvasImageLoader.h"
#include "canvas/CDrawableGeometry.h"
#include "frame/CSetting.h"
#include "frame/CUndoStack.h"

#include "Utils/COvrelImage.h"

#include <QClipboard>
#include <QMimeData>
#include <QtTest>

#include <cstring>

using Ovrel::Utils::COvrelImage;

namespace
{
// The current image's size and its pixel (x, y), "20x10 30,20,200".
QString Shown(const CImageListModel& images, int x = 3, int y = 2)
{
    const std::shared_ptr<COvrelImage> pImage = images.GetCurrentImage();
    if (!pImage)
        return "none";
    return QString("%1x%2 %3")
        .arg(pImage->GetWidth())
        .arg(pImage->GetHeight())
        .arg(ImageText::Pixel(pImage->GetPixel(x, y), pImage->GetChannels()));
}

// Every prompt asked, one line each: "message Cannot load image /tmp/..", "open Load Image", "text Input the password".
QStringList Asked(const CPromptAnswers& answers)
{
    QStringList lines;
    for (const CPromptAnswers::SAsked& asked : answers.asked)
        lines << asked.strKind + " " + (asked.strKind == "message" ? asked.strText : asked.strTitle);
    return lines;
}
} // namespace

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

    // Drops the files on the canvas as a file manager would.
    void Drop(const QStringList& vctNames)
    {
        QMimeData data;
        QList<QUrl> urls;
        for (const QString& strName : vctNames)
            urls << QUrl::fromLocalFile(Path(strName));
        data.setUrls(urls);
        const QPoint at = F().canvas->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(F().canvas.get(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(F().canvas.get(), &drop);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_files.WriteImage("photo.png"));
        QVERIFY(m_files.WriteImage("second.png", 1));
        QVERIFY(m_files.WriteImage("xpdf/photo.png", 2));
        QVERIFY(m_files.WriteImage("mypdf.png", 3));
        QVERIFY(m_files.WriteImage("photo.bmp", 4));
        QVERIFY(m_files.WritePdfs());
        QFile::copy(Path("two pages.pdf"), Path("CAPITALS.PDF"));
        QFile png(Path("photo.png"));
        QVERIFY(png.open(QIODevice::ReadOnly));
        const QByteArray bytes = png.readAll();
        QVERIFY(m_files.WriteBytes("empty.png", QByteArray("")));
        QVERIFY(m_files.WriteBytes("truncated.png", bytes.left(bytes.size() / 2)));
        QVERIFY(m_files.WriteBytes("words.jpg", "these are words, not a picture\n"));
        QVERIFY(m_files.WriteBytes("words.pdf", "these are words, not a document\n"));
        QVERIFY(m_files.WriteBytes("huge.png", CCanvasTestFiles::PngClaiming(bytes, 60000, 60000)));
        QVERIFY(QDir().mkpath(Path("folder.png")));
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
        CSetting::Set("GENERAL_PDF_RESOLUTION_X", QVariant());
        CSetting::Set("GENERAL_PDF_RESOLUTION_Y", QVariant());
    }

    void pdfIsToldByTheExtension_data()
    {
        QTest::addColumn<QString>("strName");
        QTest::addColumn<bool>("bPdf");
        QTest::addColumn<QString>("strShown");
        QTest::newRow("png in a folder named xpdf") << "xpdf/photo.png" << false << "20x10 32,20,200";
        QTest::newRow("png named mypdf") << "mypdf.png" << false << "20x10 33,20,200";
        QTest::newRow("pdf") << "two pages.pdf" << true << "400x200 255,0,0,255";
        QTest::newRow("PDF in capitals") << "CAPITALS.PDF" << true << "400x200 255,0,0,255";
    }

    void pdfIsToldByTheExtension()
    {
        QFETCH(QString, strName);
        QFETCH(bool, bPdf);
        QFETCH(QString, strShown);
        QCOMPARE(CCanvasImageLoader::IsPdfPath(Path(strName)), bPdf);

        F().controller->OpenFile(Path(strName));

        QCOMPARE(F().images.GetImageCount(), bPdf ? 2 : 1);
        QCOMPARE(Shown(F().images), strShown);
        QCOMPARE(Asked(Answers()), QStringList());
    }

    void pdfPagesBecomeImages_data()
    {
        QTest::addColumn<QString>("strName");
        QTest::addColumn<QStringList>("passwords");
        QTest::addColumn<double>("dblDpiY");
        QTest::addColumn<QStringList>("pages");
        QTest::addColumn<QStringList>("asked");
        // Each page as "<size> <pixel at (w/4, h/2)> <pixel at (3w/4, h/2)>"; pages are 200 x 100 points.
        const QString strRed = "255,0,0,255";
        const QString strBlue = "0,0,255,255";
        const QString strWhite = "255,255,255,255";
        const QStringList both{"400x200 " + strRed + " " + strWhite, "400x200 " + strWhite + " " + strBlue};
        const QString strOpen = "open Load PDF File";
        const QString strPassword = "text Input the password";
        QTest::newRow("plain") << "two pages.pdf" << QStringList() << 144.0 << both << QStringList{strOpen};
        QTest::newRow("locked, right password") << "locked.pdf" << QStringList{CCanvasTestFiles::kPassword} << 144.0
                                                << both << QStringList{strOpen, strPassword};
        QTest::newRow("resolution from the settings")
            << "two pages.pdf" << QStringList() << 36.0
            << QStringList{"400x50 " + strRed + " " + strWhite, "400x50 " + strWhite + " " + strBlue}
            << QStringList{strOpen};
        QTest::newRow("third page cannot render: two pages, no message")
            << "bad third page.pdf" << QStringList() << 144.0
            << QStringList{"400x200 " + strRed + " " + strWhite, "400x200 " + strRed + " " + strWhite}
            << QStringList{strOpen};
    }

    void pdfPagesBecomeImages()
    {
        QFETCH(QString, strName);
        QFETCH(QStringList, passwords);
        QFETCH(double, dblDpiY);
        QFETCH(QStringList, pages);
        QFETCH(QStringList, asked);
        CSetting::Set("GENERAL_PDF_RESOLUTION_Y", dblDpiY);
        Answers().files.push_back(Path(strName));
        for (const QString& strPassword : passwords)
            Answers().texts.push_back(strPassword);

        F().controller->slot_LoadPdf();

        QStringList rendered;
        for (int nPage = 0; nPage < F().images.GetImageCount(); ++nPage)
        {
            const std::shared_ptr<COvrelImage> pPage = F().images.GetImage(nPage);
            const int w = pPage->GetWidth();
            const int h = pPage->GetHeight();
            rendered << QString("%1x%2 %3 %4")
                            .arg(w)
                            .arg(h)
                            .arg(ImageText::Pixel(pPage->GetPixel(w / 4, h / 2), 4))
                            .arg(ImageText::Pixel(pPage->GetPixel(3 * w / 4, h / 2), 4));
            QVERIFY(pPage->GetName() == strName.toStdWString());
            QVERIFY(pPage->GetFolder() == QFileInfo(Path(strName)).path().toStdWString());
        }
        QCOMPARE(rendered, pages);
        QCOMPARE(F().images.GetCurrentIndex(), 0);
        QCOMPARE(Asked(Answers()), asked);
        QCOMPARE(Answers().asked.front().strFilter, QString(CCanvasImageCommands::kPdfFilter));
        if (!passwords.isEmpty())
            QCOMPARE(Answers().asked.back().eEchoMode, QLineEdit::Password);
    }

    void badInputIsToldAndKeepsTheImages_data()
    {
        QTest::addColumn<QString>("strName");
        QTest::addColumn<QStringList>("passwords");
        QTest::addColumn<QString>("strMessage");
        const QString strImage = "Cannot load image %1";
        const QString strPdf = "Cannot load pdf file %1";
        QTest::newRow("empty file") << "empty.png" << QStringList() << strImage;
        QTest::newRow("truncated png") << "truncated.png" << QStringList() << strImage;
        QTest::newRow("words named jpg") << "words.jpg" << QStringList() << strImage;
        QTest::newRow("header claiming 60000 x 60000") << "huge.png" << QStringList() << strImage;
        QTest::newRow("a folder") << "folder.png" << QStringList() << strImage;
        QTest::newRow("missing file") << "missing.png" << QStringList() << strImage;
        QTest::newRow("words named pdf") << "words.pdf" << QStringList() << strPdf;
        QTest::newRow("pdf, wrong password") << "locked.pdf" << QStringList{"guess"} << strPdf;
        QTest::newRow("pdf, password prompt cancelled") << "locked.pdf" << QStringList() << strPdf;
    }

    void badInputIsToldAndKeepsTheImages()
    {
        QFETCH(QString, strName);
        QFETCH(QStringList, passwords);
        QFETCH(QString, strMessage);
        const QString strExpected = strMessage.arg(Path(strName));
        for (const QString& strPassword : passwords)
            Answers().texts.push_back(strPassword);
        const std::shared_ptr<COvrelImage> pKept = F().PushImage();

        Drop({strName});

        QCOMPARE(F().images.GetImageCount(), 1);
        QCOMPARE(F().images.GetCurrentImage(), pKept);
        QCOMPARE(Asked(Answers()).filter("message"), QStringList{"message " + strExpected});
        QCOMPARE(Answers().asked.back().eIcon, QMessageBox::Critical);

        // The dialog commands keep the images too; only the workspace's open leaves the viewer empty.
        Answers().files.push_back(Path(strName));
        for (const QString& strPassword : passwords)
            Answers().texts.push_back(strPassword);
        if (strMessage.startsWith("Cannot load pdf"))
            F().controller->slot_LoadPdf();
        else
            F().controller->slot_LoadImage();
        QCOMPARE(F().images.GetCurrentImage(), pKept);
        for (const QString& strPassword : passwords)
            Answers().texts.push_back(strPassword);
        F().controller->OpenFile(Path(strName));
        QCOMPARE(F().images.GetImageCount(), 0);
        QCOMPARE(Asked(Answers()).filter("message").size(), 3);
    }

    void droppedFilesAreAppendedAndTheLastIsCurrent()
    {
        F().PushImage();
        F().AddRectangle(1, 1, 5, 5);

        Drop({"photo.png", "two pages.pdf", "second.png"});

        QCOMPARE(F().images.GetImageCount(), 5);
        QCOMPARE(F().images.GetCurrentIndex(), 4);
        QCOMPARE(Shown(F().images), QString("20x10 31,20,200"));
        QCOMPARE(F().objects.GetObjectCount(), 1);
        QCOMPARE(Asked(Answers()), QStringList());
    }

    void fileDialogsLoadOrAdd_data()
    {
        QTest::addColumn<QString>("strCommand");
        QTest::addColumn<QString>("strAsked");
        QTest::addColumn<QString>("strFilter");
        QTest::addColumn<int>("nImages");
        // One image is open before; the answer is photo.png (and second.png where several files are asked for).
        QTest::newRow("load image replaces") << "load image"
                                             << "open Load Image" << CCanvasImageCommands::kImageFilter << 1;
        QTest::newRow("load file appends") << "load file"
                                           << "opens Load File" << CCanvasImageCommands::kFileFilter << 3;
        QTest::newRow("add images appends") << "add images"
                                            << "opens Add Images" << CCanvasImageCommands::kFileFilter << 3;
    }

    void fileDialogsLoadOrAdd()
    {
        QFETCH(QString, strCommand);
        QFETCH(QString, strAsked);
        QFETCH(QString, strFilter);
        QFETCH(int, nImages);
        F().PushImage();
        F().AddRectangle(1, 1, 5, 5);
        Answers().files.push_back(Path("photo.png"));
        Answers().fileLists.push_back({Path("photo.png"), Path("second.png")});

        if (strCommand == "load image")
            F().controller->slot_LoadImage();
        else if (strCommand == "load file")
            F().controller->slot_LoadFile();
        else
            F().controller->slot_AddImage();

        QCOMPARE(Asked(Answers()), QStringList{strAsked});
        QCOMPARE(Answers().asked.front().strFilter, strFilter);
        QCOMPARE(F().images.GetImageCount(), nImages);
        QCOMPARE(Shown(F().images), QString(nImages == 1 ? "20x10 30,20,200" : "20x10 31,20,200"));
        QCOMPARE(F().canvas->GetCurrentImage(), F().images.GetCurrentImage());
        QCOMPARE(F().objects.GetObjectCount(), 1);
    }

    void openFileClearsTheObjects()
    {
        F().PushImage();
        F().AddRectangle(1, 1, 5, 5);

        F().controller->OpenFile(Path("photo.bmp"));

        QCOMPARE(F().images.GetImageCount(), 1);
        QCOMPARE(Shown(F().images), QString("20x10 34,20,200"));
        QCOMPARE(F().objects.GetObjectCount(), 0);
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

    void appliedImageIsUndoable()
    {
        F().controller->PushImage(ImageText::Make("1 2|3 4"));
        F().AddRectangle(0, 0, 1, 1);

        F().controller->ApplyImage(ImageText::Make("9 8|7 6"));

        QCOMPARE(ImageText::Dump(*F().images.GetCurrentImage()), QString("9 8|7 6"));
        QCOMPARE(F().objects.GetObjectCount(), 0);
        F().controller->GetUndoStack()->Undo();
        QCOMPARE(ImageText::Dump(*F().images.GetCurrentImage()), QString("1 2|3 4"));
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

    void commandsWithoutAnImageListDoNothing()
    {
        CDrawableObjectModel objects;
        CImageViewModeModel modes;
        CImageView2D canvas(nullptr, &objects, &modes, 1);
        CImageView2DController controller(nullptr, &objects, &modes, &canvas, nullptr, nullptr, nullptr);
        Answers().files.push_back(Path("photo.png"));

        controller.slot_LoadImage();
        controller.slot_SaveImage();
        controller.slot_Paste();
        controller.slot_RotateRight();
        controller.OpenFile(Path("photo.png"));
        controller.PushImage(ImageText::Make("1 2"));

        QCOMPARE(Asked(Answers()), QStringList());
        QVERIFY(!controller.GetCurrentImage());
    }
};

QTEST_MAIN(CanvasImageCommandsTest)
#include "CanvasImageCommandsTest.moc"
