#include "CCanvasFixture.h"
#include "CCanvasTestFiles.h"
#include "CPromptAnswers.h"
#include "CTestSandbox.h"
#include "CanvasTestText.h"
#include "ImageText.h"

#include "canvas/CCanvasImageCommands.h"
#include "frame/CSetting.h"

#include "Utils/COvrelImage.h"

#include <QMimeData>
#include <QtTest>

using Ovrel::Utils::COvrelImage;

using CanvasTestText::Asked;
using CanvasTestText::Shown;

class CanvasImageLoadingTest : public QObject
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
};

QTEST_MAIN(CanvasImageLoadingTest)
#include "CanvasImageLoadingTest.moc"
