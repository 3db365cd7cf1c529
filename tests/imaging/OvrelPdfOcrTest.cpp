#include "Algorithms/COvrelOCR.h"
#include "Algorithms/CPDFReader.h"
#include "Geometry/COvrelEllipse.h"
#include "Geometry/COvrelRectangle.h"
#include "Utils/COvrelImage.h"

#include "CTestSandbox.h"

#include <QDir>
#include <QFile>
#include <QFont>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <cstring>

using namespace Ovrel::Algorithms;
using namespace Ovrel::Geometry;
using namespace Ovrel::Utils;

Q_DECLARE_METATYPE(std::shared_ptr<COvrelGeometry>)

namespace
{

QString Channels(const unsigned char* pPixel, int nChannels)
{
    QStringList values;
    for (int c = 0; c < nChannels; ++c)
        values << QString::number(pPixel[c]);
    return values.join(',');
}

// Two pages of 200 x 100 points: page 1 red on its left half, page 2 blue on its right half.
bool WriteTwoPagePdf(const QString& strPath)
{
    QPdfWriter writer(strPath);
    writer.setResolution(72);
    writer.setPageSize(QPageSize(QSizeF(200, 100), QPageSize::Point, QString(), QPageSize::ExactMatch));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Point);
    QPainter painter;
    if (!painter.begin(&writer))
        return false;
    painter.fillRect(QRectF(0, 0, 100, 100), QColor(255, 0, 0));
    writer.newPage();
    painter.fillRect(QRectF(100, 0, 100, 100), QColor(0, 0, 255));
    return painter.end();
}

// The picture as a library image with 1, 3 or 4 channels.
bool ToLibraryImage(const QImage& picture, int nChannels, COvrelImage& image)
{
    const QImage converted = picture.convertToFormat(nChannels == 1   ? QImage::Format_Grayscale8
                                                     : nChannels == 3 ? QImage::Format_RGB888
                                                                      : QImage::Format_RGBA8888);
    if (image.Create(converted.width(), converted.height(), nChannels) != EOvrelResult_OK)
        return false;
    for (int y = 0; y < converted.height(); ++y)
        std::memcpy(image.GetRows()[y], converted.constScanLine(y), size_t(converted.width() * nChannels));
    return true;
}

// Two words in black on white: the first on the left half, the second on the right half.
QImage TwoWords(const QString& strLeft, const QString& strRight)
{
    QImage picture(800, 160, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    QFont font("DejaVu Sans");
    font.setPixelSize(56);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(QRect(20, 0, 360, 160), Qt::AlignVCenter | Qt::AlignLeft, strLeft);
    painter.drawText(QRect(420, 0, 360, 160), Qt::AlignVCenter | Qt::AlignLeft, strRight);
    return picture;
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
    QString m_strPdf;
    QString m_strLockedPdf;

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_strPdf = m_dir.filePath("two pages.pdf");
        QVERIFY(WriteTwoPagePdf(m_strPdf));
        const QString strQpdf = QStandardPaths::findExecutable("qpdf");
        QVERIFY2(!strQpdf.isEmpty(), "qpdf encrypts the test document; scripts/install-deps.sh installs it");
        m_strLockedPdf = m_dir.filePath("locked.pdf");
        QProcess qpdf;
        qpdf.start(strQpdf, {"--encrypt", "user secret", "owner-pw", "256", "--", m_strPdf, m_strLockedPdf});
        QVERIFY(qpdf.waitForFinished(30000));
        QCOMPARE(qpdf.exitCode(), 0);
    }

    void pagesComeOutAtTheResolution_data()
    {
        QTest::addColumn<double>("dblDpiX");
        QTest::addColumn<double>("dblDpiY");
        QTest::addColumn<int>("nWidth");
        QTest::addColumn<int>("nHeight");
        QTest::newRow("72 dpi, one pixel per point") << 72.0 << 72.0 << 200 << 100;
        QTest::newRow("144 dpi") << 144.0 << 144.0 << 400 << 200;
        QTest::newRow("144 by 72 dpi") << 144.0 << 72.0 << 400 << 100;
    }

    void pagesComeOutAtTheResolution()
    {
        QFETCH(double, dblDpiX);
        QFETCH(double, dblDpiY);
        QFETCH(int, nWidth);
        QFETCH(int, nHeight);
        CPDFReader reader;
        QCOMPARE(reader.SetResolutionX(dblDpiX), EOvrelResult_OK);
        QCOMPARE(reader.SetResolutionY(dblDpiY), EOvrelResult_OK);
        QCOMPARE(reader.Read(m_strPdf.toStdWString(), L""), EOvrelResult_OK);
        QCOMPARE(reader.GetPageNumber(), 2);
        COvrelImage first;
        COvrelImage second;
        first.SetName(L"two pages.pdf");

        QCOMPARE(reader.RenderPage(0, &first), EOvrelResult_OK);
        QCOMPARE(reader.RenderPage(1, &second), EOvrelResult_OK);

        for (const COvrelImage* pPage : {&first, &second})
        {
            QCOMPARE(pPage->GetWidth(), nWidth);
            QCOMPARE(pPage->GetHeight(), nHeight);
            QCOMPARE(pPage->GetChannels(), 4);
            QCOMPARE(pPage->GetBytesPerLine(), nWidth * 4);
        }
        const int nLeft = nWidth / 4;
        const int nRight = nWidth * 3 / 4;
        const int nMiddle = nHeight / 2;
        QCOMPARE(Channels(first.GetPixel(nLeft, nMiddle), 4), QString("255,0,0,255"));
        QCOMPARE(Channels(first.GetPixel(nRight, nMiddle), 4), QString("255,255,255,255"));
        QCOMPARE(Channels(second.GetPixel(nLeft, nMiddle), 4), QString("255,255,255,255"));
        QCOMPARE(Channels(second.GetPixel(nRight, nMiddle), 4), QString("0,0,255,255"));
        QVERIFY(first.GetName() == L"two pages.pdf");
    }

    void encryptedDocumentNeedsItsPassword_data()
    {
        QTest::addColumn<QString>("strPassword");
        QTest::addColumn<int>("nResult");
        QTest::addColumn<int>("nPages");
        QTest::newRow("no password") << "" << 4 << 0;
        QTest::newRow("wrong password") << "guess" << 4 << 0;
        QTest::newRow("user password") << "user secret" << 0 << 2;
        QTest::newRow("owner password") << "owner-pw" << 0 << 2;
    }

    void encryptedDocumentNeedsItsPassword()
    {
        QFETCH(QString, strPassword);
        QFETCH(int, nResult);
        QFETCH(int, nPages);
        CPDFReader reader;

        QCOMPARE(int(reader.Read(m_strLockedPdf.toStdWString(), strPassword.toStdWString())), nResult);

        QCOMPARE(reader.GetPageNumber(), nPages);
        COvrelImage page;
        QCOMPARE(reader.RenderPage(0, &page) == EOvrelResult_OK, nPages > 0);
        if (nPages > 0)
            QCOMPARE(Channels(page.GetPixel(50, 50), 4), QString("255,0,0,255"));
    }

    void unreadableDocumentsFail_data()
    {
        QTest::addColumn<QString>("strName");
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("missing file") << "missing.pdf" << QByteArray();
        QTest::newRow("text named pdf") << "text.pdf" << QByteArray("just some words\n");
        QTest::newRow("empty file") << "empty.pdf" << QByteArray("");
        QTest::newRow("empty path") << "" << QByteArray();
    }

    void unreadableDocumentsFail()
    {
        QFETCH(QString, strName);
        QFETCH(QByteArray, content);
        const QString strPath = strName.isEmpty() ? QString() : m_dir.filePath(strName);
        if (!content.isNull())
        {
            QFile file(strPath);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content);
        }
        CPDFReader reader;
        QCOMPARE(reader.Read(m_strPdf.toStdWString(), L""), EOvrelResult_OK);

        const EOvrelResult result = reader.Read(strPath.toStdWString(), L"");

        QVERIFY(result != EOvrelResult_OK);
        QVERIFY(result != EOvrelResult_PasswordRequired);
        QCOMPARE(reader.GetPageNumber(), 0);
        COvrelImage page;
        QVERIFY(reader.RenderPage(0, &page) != EOvrelResult_OK);
        QVERIFY(page.IsEmpty());
    }

    void renderRefusesBadPagesAndTargets()
    {
        CPDFReader reader;
        COvrelImage page;
        QVERIFY(reader.RenderPage(0, &page) != EOvrelResult_OK);
        QCOMPARE(reader.Read(m_strPdf.toStdWString(), L""), EOvrelResult_OK);

        QVERIFY(reader.RenderPage(-1, &page) != EOvrelResult_OK);
        QVERIFY(reader.RenderPage(2, &page) != EOvrelResult_OK);
        QVERIFY(reader.RenderPage(0, nullptr) != EOvrelResult_OK);

        QVERIFY(page.IsEmpty());
    }

    void resolutionRefusesNonsense()
    {
        CPDFReader reader;
        QCOMPARE(reader.SetResolutionX(144.0), EOvrelResult_OK);

        for (double dblDpi : {0.0, -5.0, 2401.0, std::nan(""), HUGE_VAL})
        {
            QVERIFY(reader.SetResolutionX(dblDpi) != EOvrelResult_OK);
            QVERIFY(reader.SetResolutionY(dblDpi) != EOvrelResult_OK);
        }

        QCOMPARE(reader.GetResolutionX(), 144.0);
        QCOMPARE(reader.GetResolutionY(), 72.0);
    }

    void ocrReadsBackARenderedWord_data()
    {
        QTest::addColumn<int>("nChannels");
        QTest::newRow("grey") << 1;
        QTest::newRow("rgb") << 3;
        QTest::newRow("rgba") << 4;
    }

    void ocrReadsBackARenderedWord()
    {
        QFETCH(int, nChannels);
        COvrelImage image;
        QVERIFY(ToLibraryImage(TwoWords("SUNSHINE", "GARDEN"), nChannels, image));
        COvrelOCR ocr;
        QCOMPARE(ocr.SetLanguageData(LanguageFolder().constData(), "eng"), EOvrelResult_OK);
        QCOMPARE(ocr.SetUserDefinedDpi(144), EOvrelResult_OK);

        QCOMPARE(ocr.Decode(&image, nullptr), EOvrelResult_OK);

        const QString strText = QString::fromUtf8(ocr.GetText());
        QVERIFY2(strText.contains("SUNSHINE") && strText.contains("GARDEN"), qPrintable(strText));
    }

    void ocrReadsOnlyInsideTheRegionBox_data()
    {
        QTest::addColumn<std::shared_ptr<COvrelGeometry>>("pRegion");
        QTest::addColumn<QString>("strSeen");
        QTest::addColumn<QString>("strUnseen");
        QTest::newRow("left rectangle") << std::shared_ptr<COvrelGeometry>(
                                               std::make_shared<COvrelRectangle>(0, 0, 400, 160))
                                        << "SUNSHINE"
                                        << "GARDEN";
        QTest::newRow("ellipse around the right word")
            << std::shared_ptr<COvrelGeometry>(std::make_shared<COvrelEllipse>(400, 0, 400, 160)) << "GARDEN"
            << "SUNSHINE";
    }

    void ocrReadsOnlyInsideTheRegionBox()
    {
        QFETCH(std::shared_ptr<COvrelGeometry>, pRegion);
        QFETCH(QString, strSeen);
        QFETCH(QString, strUnseen);
        COvrelImage image;
        QVERIFY(ToLibraryImage(TwoWords("SUNSHINE", "GARDEN"), 3, image));
        COvrelOCR ocr;
        QCOMPARE(ocr.SetLanguageData(LanguageFolder().constData(), "eng"), EOvrelResult_OK);

        QCOMPARE(ocr.Decode(&image, pRegion.get()), EOvrelResult_OK);

        const QString strText = QString::fromUtf8(ocr.GetText());
        QVERIFY2(strText.contains(strSeen) && !strText.contains(strUnseen), qPrintable(strText));
    }

    void ocrNeedsItsLanguageData_data()
    {
        QTest::addColumn<QByteArray>("folder");
        QTest::addColumn<QByteArray>("code");
        QTest::newRow("missing folder") << QByteArray("/no/such/tessdata") << QByteArray("eng");
        QTest::newRow("missing language") << LanguageFolder() << QByteArray("xyz");
        QTest::newRow("empty code") << LanguageFolder() << QByteArray("");
    }

    void ocrNeedsItsLanguageData()
    {
        QFETCH(QByteArray, folder);
        QFETCH(QByteArray, code);
        COvrelImage image;
        QVERIFY(ToLibraryImage(TwoWords("SUNSHINE", "GARDEN"), 1, image));
        COvrelOCR ocr;
        QCOMPARE(ocr.Decode(&image, nullptr), EOvrelResult_NotInitialised);
        QCOMPARE(ocr.SetLanguageData(LanguageFolder().constData(), "eng"), EOvrelResult_OK);

        QVERIFY(ocr.SetLanguageData(folder.constData(), code.constData()) != EOvrelResult_OK);

        QCOMPARE(ocr.Decode(&image, nullptr), EOvrelResult_NotInitialised);
        QCOMPARE(QString(ocr.GetText()), QString());
        QVERIFY(ocr.SetLanguageData(nullptr, "eng") != EOvrelResult_OK);
    }

    void ocrRefusesBadInput()
    {
        COvrelOCR ocr;
        QCOMPARE(ocr.SetLanguageData(LanguageFolder().constData(), "eng"), EOvrelResult_OK);
        COvrelImage image;
        QVERIFY(ToLibraryImage(TwoWords("A", "B"), 1, image));
        const COvrelRectangle beside(900, 0, 50, 50);
        const COvrelImage empty;

        QCOMPARE(ocr.Decode(&image, &beside), EOvrelResult_OutOfRange);
        QVERIFY(ocr.Decode(&empty, nullptr) != EOvrelResult_OK);
        QVERIFY(ocr.Decode(nullptr, nullptr) != EOvrelResult_OK);
        QVERIFY(ocr.SetUserDefinedDpi(0) != EOvrelResult_OK);
        QVERIFY(ocr.SetUserDefinedDpi(2401) != EOvrelResult_OK);
        QCOMPARE(ocr.SetUserDefinedDpi(300), EOvrelResult_OK);
    }
};

QTEST_MAIN(OvrelPdfOcrTest)
#include "OvrelPdfOcrTest.moc"
