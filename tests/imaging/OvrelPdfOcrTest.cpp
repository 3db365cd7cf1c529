#include "CTestOcrImage.h"
#include "CTestPdf.h"
#include "ImageText.h"

#include "Ovrel.h"

#include "CTestSandbox.h"

#include <QPainter>
#include <QPdfWriter>
#include <QtTest>

using namespace Ovrel::Algorithms;
using namespace Ovrel::Geometry;
using namespace Ovrel::Utils;

using GeometryPtr = std::shared_ptr<COvrelGeometry>;
Q_DECLARE_METATYPE(GeometryPtr)

namespace
{

const QString kRed = "255,0,0,255";
const QString kWhite = "255,255,255,255";
const QString kBlue = "0,0,255,255";

QByteArray Stream(const QByteArray& dictionary, const QByteArray& data)
{
    return "<< " + dictionary + " /Length " + QByteArray::number(data.size()) + " >>\nstream\n" + data + "\nendstream";
}

QByteArray LanguageFolder()
{
    return qEnvironmentVariable("TESSDATA_PREFIX", "/usr/share/tesseract-ocr/5/tessdata").toLocal8Bit();
}

} // namespace

class OvrelPdfOcrTest : public QObject
{
    Q_OBJECT

private:
    // Rendering text may write font caches under HOME; they go to the sandbox.
    CTestSandbox m_sandbox;
    QTemporaryDir m_dir;

    QString Path(const QString& strName) const { return strName.isEmpty() ? QString() : m_dir.filePath(strName); }

private slots:
    void initTestCase()
    {
        // Two pages of 200 x 100 points: page 1 red on its left half, page 2 blue on its right half.
        QPdfWriter writer(Path("two pages.pdf"));
        writer.setResolution(72);
        writer.setPageSize(QPageSize(QSizeF(200, 100), QPageSize::Point, QString(), QPageSize::ExactMatch));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Point);
        QPainter painter(&writer);
        painter.fillRect(QRectF(0, 0, 100, 100), Qt::red);
        writer.newPage();
        painter.fillRect(QRectF(100, 0, 100, 100), Qt::blue);
        QVERIFY(painter.end());
        const QString strQpdf = QStandardPaths::findExecutable("qpdf");
        QVERIFY2(!strQpdf.isEmpty(), "qpdf encrypts the test document; scripts/install-deps.sh installs it");
        const QStringList encrypt{"--encrypt", "user secret", "owner-pw", "256", "--"};
        QCOMPARE(QProcess::execute(strQpdf, encrypt + QStringList{Path("two pages.pdf"), Path("locked.pdf")}), 0);
        QFile text(Path("text.pdf"));
        QVERIFY(text.open(QIODevice::WriteOnly) && text.write("just some words\n") > 0);
    }

    void readRendersPagesAtTheResolution_data()
    {
        QTest::addColumn<QString>("strName");
        QTest::addColumn<QString>("strPassword");
        QTest::addColumn<int>("nResult"); // -1: any failure other than a missing password
        QTest::addColumn<double>("dblDpiX");
        QTest::addColumn<QSize>("size"); // empty: no pages
        const auto row =
            [](const char* szRow, const char* szName, const char* szPassword, int nResult, double dblDpiX, QSize size)
        { QTest::newRow(szRow) << QString(szName) << QString(szPassword) << nResult << dblDpiX << size; };
        row("144 dpi across", "two pages.pdf", "", EOvrelResult_OK, 144, {400, 100});
        row("right password, 72 dpi: a pixel per point", "locked.pdf", "user secret", EOvrelResult_OK, 72, {200, 100});
        row("no password", "locked.pdf", "", EOvrelResult_PasswordRequired, 72, {});
        row("wrong password", "locked.pdf", "guess", EOvrelResult_PasswordRequired, 72, {});
        row("missing file", "missing.pdf", "", -1, 72, {});
        row("text named pdf", "text.pdf", "", -1, 72, {});
        row("empty path", "", "", -1, 72, {});
    }

    void readRendersPagesAtTheResolution()
    {
        QFETCH(QString, strName);
        QFETCH(QString, strPassword);
        QFETCH(int, nResult);
        QFETCH(double, dblDpiX);
        QFETCH(QSize, size);
        CPDFReader reader;
        QCOMPARE(reader.SetResolutionX(dblDpiX), EOvrelResult_OK);
        // A failed read must not leave the document read before open.
        QCOMPARE(reader.Read(Path("two pages.pdf").toStdWString(), L""), EOvrelResult_OK);
        COvrelImage first;
        COvrelImage second;

        const int nRead = reader.Read(Path(strName).toStdWString(), strPassword.toStdWString());

        if (nResult >= 0)
            QCOMPARE(nRead, nResult);
        else
            QVERIFY(nRead != EOvrelResult_OK && nRead != EOvrelResult_PasswordRequired);
        QCOMPARE(reader.GetPageNumber(), size.isEmpty() ? 0 : 2);
        QCOMPARE(reader.RenderPage(0, &first) == EOvrelResult_OK, !size.isEmpty());
        QCOMPARE(reader.RenderPage(1, &second) == EOvrelResult_OK, !size.isEmpty());
        QVERIFY(reader.RenderPage(2, &second) != EOvrelResult_OK && reader.RenderPage(0, nullptr) != EOvrelResult_OK);
        QCOMPARE(QSize(first.GetWidth(), first.GetHeight()), size.isEmpty() ? QSize(0, 0) : size);
        QCOMPARE(QSize(second.GetWidth(), second.GetHeight()), size.isEmpty() ? QSize(0, 0) : size);
        const auto halves = [&size](const COvrelImage& page)
        {
            return ImageText::Pixel(page.GetPixel(size.width() / 4, 50), 4) + " " +
                   ImageText::Pixel(page.GetPixel(size.width() * 3 / 4, 50), 4);
        };
        QCOMPARE(halves(first), size.isEmpty() ? " " : kRed + " " + kWhite);
        QCOMPARE(halves(second), size.isEmpty() ? " " : kWhite + " " + kBlue);
    }

    void pageOverTheRenderLimitTimesOut()
    {
        // Page 1 draws an image claiming a million rows 2000 times; Poppler steps through every
        // claimed row each time, half a minute in all. Page 2 is a red square in its lower left.
        const QByteArray page = "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 200 200] ";
        const QByteArray slow =
            CTestPdf::Build({"<< /Type /Catalog /Pages 2 0 R >>", "<< /Type /Pages /Kids [3 0 R 6 0 R] /Count 2 >>",
                             page + "/Resources << /XObject << /Im1 5 0 R >> >> /Contents 4 0 R >>",
                             Stream("", QByteArray("q 200 0 0 200 0 0 cm /Im1 Do Q\n").repeated(2000)),
                             Stream("/Type /XObject /Subtype /Image /Width 1 /Height 1000000 /ColorSpace "
                                    "/DeviceGray /BitsPerComponent 8",
                                    QByteArray(64, '\x80')),
                             page + "/Contents 7 0 R >>", Stream("", "1 0 0 rg 0 0 100 100 re f")});
        QFile file(Path("slow.pdf"));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(slow) == slow.size());
        file.close();
        CPDFReader reader(300);
        QCOMPARE(reader.Read(Path("slow.pdf").toStdWString(), L""), EOvrelResult_OK);
        const auto pImage = ImageText::Make("7 9");

        QCOMPARE(reader.RenderPage(0, pImage.get()), EOvrelResult_TimedOut);
        QCOMPARE(ImageText::Dump(*pImage), QString("7 9"));

        // The reader goes on with the other pages while the abandoned one winds down.
        QCOMPARE(reader.GetPageNumber(), 2);
        QCOMPARE(reader.RenderPage(1, pImage.get()), EOvrelResult_OK);
        QCOMPARE(ImageText::Pixel(pImage->GetPixel(50, 150), 4) + " " + ImageText::Pixel(pImage->GetPixel(150, 50), 4),
                 kRed + " " + kWhite);
    }

    void ocrReadsTheRenderedWordsInTheRegionBox_data()
    {
        QTest::addColumn<int>("nChannels");
        QTest::addColumn<bool>("bTransparent");
        QTest::addColumn<GeometryPtr>("pRegion");
        QTest::addColumn<QString>("strText");
        QTest::newRow("grey") << 1 << false << GeometryPtr() << "SUNSHINE GARDEN";
        QTest::newRow("rgb") << 3 << false << GeometryPtr() << "SUNSHINE GARDEN";
        QTest::newRow("rgba") << 4 << false << GeometryPtr() << "SUNSHINE GARDEN";
        QTest::newRow("rgba on a transparent background") << 4 << true << GeometryPtr() << "SUNSHINE GARDEN";
        // A rectangle around one word is the OCR tool's case (tests/process).
        QTest::newRow("ellipse around the right word")
            << 3 << false << GeometryPtr(std::make_shared<COvrelEllipse>(400, 0, 400, 160)) << "GARDEN";
    }

    void ocrReadsTheRenderedWordsInTheRegionBox()
    {
        QFETCH(int, nChannels);
        QFETCH(bool, bTransparent);
        QFETCH(GeometryPtr, pRegion);
        QFETCH(QString, strText);
        COvrelImage image;
        CTestOcrImage::TwoWords(image, nChannels, bTransparent);
        COvrelOCR ocr;
        QCOMPARE(ocr.SetLanguageData(LanguageFolder().constData(), "eng"), EOvrelResult_OK);
        QCOMPARE(ocr.SetUserDefinedDpi(144), EOvrelResult_OK);

        QCOMPARE(ocr.Decode(&image, pRegion.get()), EOvrelResult_OK);

        QCOMPARE(QString::fromUtf8(ocr.GetText()).simplified(), strText);
    }

    void ocrNeedsItsLanguageData_data()
    {
        QTest::addColumn<QByteArray>("folder");
        QTest::addColumn<QByteArray>("code");
        QTest::newRow("missing folder") << QByteArray("/no/such/tessdata") << QByteArray("eng");
        QTest::newRow("missing language") << LanguageFolder() << QByteArray("xyz");
        QTest::newRow("one of two languages missing") << LanguageFolder() << QByteArray("eng+xyz");
        QTest::newRow("empty code") << LanguageFolder() << QByteArray("");
    }

    void ocrNeedsItsLanguageData()
    {
        QFETCH(QByteArray, folder);
        QFETCH(QByteArray, code);
        COvrelImage image;
        CTestOcrImage::TwoWords(image, 1);
        COvrelOCR ocr;
        const COvrelRectangle beside(900, 0, 50, 50);
        QCOMPARE(ocr.Decode(&image, nullptr), EOvrelResult_NotInitialised);
        QCOMPARE(ocr.SetLanguageData(LanguageFolder().constData(), "eng"), EOvrelResult_OK);
        QCOMPARE(ocr.Decode(&image, &beside), EOvrelResult_OutOfRange);

        // A rejected language leaves none in force, so nothing is read with the old one.
        QVERIFY(ocr.SetLanguageData(folder.constData(), code.constData()) != EOvrelResult_OK);

        QCOMPARE(ocr.Decode(&image, nullptr), EOvrelResult_NotInitialised);
        QCOMPARE(QString(ocr.GetText()), QString());
    }
};

QTEST_MAIN(OvrelPdfOcrTest)
#include "OvrelPdfOcrTest.moc"
