#include "ImageText.h"

#include <QtTest>

#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>

#include <cstdlib>
#include <unistd.h>

using namespace Ovrel::Utils;

namespace
{

const cv::Vec3b kRed(200, 30, 40);
const cv::Vec3b kBlue(20, 60, 220);
const QString kRedText = "200,30,40";
const QString kBlueText = "20,60,220";

// A picture in R, G, B(, A) order: the left half red, the right half blue.
cv::Mat Halves(int nWidth, int nHeight)
{
    cv::Mat picture(nHeight, nWidth, CV_8UC3, cv::Scalar(kBlue));
    picture(cv::Rect(0, 0, nWidth / 2, nHeight)).setTo(cv::Scalar(kRed));
    return picture;
}

// OpenCV's file bytes for a picture given in R, G, B(, A) order.
QByteArray Encode(const cv::Mat& picture, const QString& strExtension, const std::vector<int>& params = {})
{
    cv::Mat stored = picture;
    if (picture.channels() >= 3)
        cv::cvtColor(picture, stored, picture.channels() == 3 ? cv::COLOR_RGB2BGR : cv::COLOR_RGBA2BGRA);
    std::vector<uchar> buffer;
    cv::imencode(strExtension.toStdString(), stored, buffer, params);
    return QByteArray(reinterpret_cast<const char*>(buffer.data()), int(buffer.size()));
}

// The halves as a GIF of palette indices 0 (red) and 1 (blue). A clear code before every pixel
// keeps the LZW codes 3 bits wide: valid, if uncompressed.
QByteArray Gif(int nWidth, int nHeight)
{
    QByteArray gif("GIF89a");
    const auto put16 = [&gif](int nValue) { gif.append(char(nValue & 0xFF)).append(char(nValue >> 8)); };
    put16(nWidth);
    put16(nHeight);
    gif.append("\x91\0\0", 3); // a global palette of 4 colours
    for (const cv::Vec3b& colour : {kRed, kBlue, cv::Vec3b(), cv::Vec3b()})
        gif.append(reinterpret_cast<const char*>(colour.val), 3);
    gif.append(',');
    for (int nValue : {0, 0, nWidth, nHeight})
        put16(nValue);
    gif.append("\0\x02", 2); // no local palette, minimum code size 2
    QVector<int> codes;
    for (int i = 0; i < nWidth * nHeight; ++i)
        codes << 4 << (i % nWidth < nWidth / 2 ? 0 : 1); // clear, then the pixel
    codes << 5;                                          // end of the picture
    QByteArray stream;
    unsigned int bits = 0;
    int nBitCount = 0;
    for (int nCode : codes)
    {
        bits |= unsigned(nCode) << nBitCount;
        for (nBitCount += 3; nBitCount >= 8; nBitCount -= 8, bits >>= 8)
            stream.append(char(bits & 0xFF));
    }
    if (nBitCount > 0)
        stream.append(char(bits));
    for (int nOffset = 0; nOffset < stream.size(); nOffset += 255)
        gif.append(char(stream.mid(nOffset, 255).size())).append(stream.mid(nOffset, 255));
    return gif.append("\0;", 2);
}

// The JPEG with an EXIF segment holding only the orientation tag (little-endian TIFF, one entry).
QByteArray WithExifOrientation(const QByteArray& jpeg, int nOrientation)
{
    QByteArray exif("\xFF\xE1\0\x22"
                    "Exif\0\0II*\0\x08\0\0\0\x01\0\x12\x01\x03\0\x01\0\0\0",
                    28);
    exif.append(char(nOrientation)).append(QByteArray(7, '\0'));
    return jpeg.left(2) + exif + jpeg.mid(2);
}

} // namespace

class OvrelImageFileTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    QString Path(const QString& strName) const { return strName.isEmpty() ? QString() : m_dir.filePath(strName); }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY(QDir(m_dir.path()).mkdir(QString::fromUtf8("Bilder_äöü")));
    }

    void loadsAs8BitsInRgbOrderAndSavesBack_data()
    {
        QTest::addColumn<QString>("strName");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("strProbes"); // "x,y=channels ..."
        QTest::addColumn<int>("nTolerance");
        QTest::addColumn<QSize>("size");
        const auto row = [](const char* szRow, const QString& strName, const QByteArray& data, const QString& strProbes,
                            int nTolerance = 0, QSize size = {32, 16})
        { QTest::newRow(szRow) << strName << data << strProbes << nTolerance << size; };
        const auto probes = [](const char* szRedAt, const char* szBlueAt)
        { return QString("%1=%2 %3=%4").arg(szRedAt, kRedText, szBlueAt, kBlueText); };
        const QByteArray png = Encode(Halves(32, 16), ".png");
        const QByteArray jpeg = Encode(Halves(32, 16), ".jpg");
        const QString strHalves = probes("3,5", "28,12");
        for (const char* szName : {"a.bmp", "a.tif", "a.tiff"})
            row(szName, szName, Encode(Halves(32, 16), "." + QFileInfo(szName).suffix()), strHalves);
        row("png", "a.png", png, strHalves);
        row("upper-case extension", "UPPER.PNG", png, strHalves);
        row("jpg", "a.jpg", jpeg, strHalves, 12);
        row("jpeg", "a.jpeg", jpeg, strHalves, 12);
        row("gif", "a.gif", Gif(32, 16), strHalves);
        // The file sits on disk under its UTF-8 name, which is what the library opens.
        row("non-ASCII png path", QString::fromUtf8("Bilder_äöü/Straße_图像.png"), png, strHalves);
        row("non-ASCII gif path", QString::fromUtf8("Bilder_äöü/Straße_图像.gif"), Gif(32, 16), strHalves);
        row("grey png keeps one channel", "grey.png", Encode(cv::Mat(6, 5, CV_8UC1, cv::Scalar(77)), ".png"), "4,5=77",
            0, {5, 6});
        row("rgba png keeps alpha", "rgba.png", Encode(cv::Mat(6, 5, CV_8UC4, cv::Scalar(10, 20, 30, 128)), ".png"),
            "4,5=10,20,30,128", 0, {5, 6});
        row("16-bit png scales to 8 bits", "deep.png",
            Encode(cv::Mat(6, 5, CV_16UC3, cv::Scalar(10, 200, 255) * 257), ".png"), "4,5=10,200,255", 0, {5, 6});
        // Uncompressed, because OpenCV's default for float TIFF (SGI LogLuv) is lossy.
        row("float tiff maps 0..1 to 0..255", "float.tif",
            Encode(cv::Mat(6, 5, CV_32FC3, cv::Scalar(0.0, 0.5, 1.0)), ".tif", {cv::IMWRITE_TIFF_COMPRESSION, 1}),
            "4,5=0,128,255", 0, {5, 6});
        // The stored JPEG is 64 x 32, red on the left; the viewer turns it by the EXIF orientation.
        const QByteArray wide = Encode(Halves(64, 32), ".jpg");
        row("exif 3 half turn", "exif3.jpg", WithExifOrientation(wide, 3), probes("56,16", "8,16"), 12, {64, 32});
        row("exif 6 quarter turn clockwise", "exif6.jpg", WithExifOrientation(wide, 6), probes("16,8", "16,56"), 12,
            {32, 64});
        row("exif 8 quarter turn anticlockwise", "exif8.jpg", WithExifOrientation(wide, 8), probes("16,56", "16,8"), 12,
            {32, 64});
    }

    void loadsAs8BitsInRgbOrderAndSavesBack()
    {
        QFETCH(QString, strName);
        QFETCH(QByteArray, data);
        QFETCH(QString, strProbes);
        QFETCH(int, nTolerance);
        QFETCH(QSize, size);
        const QFileInfo file(Path(strName));
        QFile written(file.filePath());
        QVERIFY(written.open(QIODevice::WriteOnly) && written.write(data) == data.size() && written.flush());
        QCOMPARE(::access(file.filePath().toUtf8().constData(), F_OK), 0);
        const std::wstring strSaved = (file.path() + "/saved " + file.fileName()).toStdWString();
        const bool bWritable = file.suffix().toLower() != "gif";
        COvrelImage image;
        COvrelImage again;

        QCOMPARE(image.LoadFromFile(file.filePath().toStdWString()), EOvrelResult_OK);
        QCOMPARE(image.SaveToFile(strSaved) == EOvrelResult_OK, bWritable);
        QCOMPARE(again.LoadFromFile(strSaved) == EOvrelResult_OK, bWritable);

        const int nChannels = strProbes.section(' ', 0, 0).count(','); // one for x,y, the rest between channels
        QCOMPARE(QSize(image.GetWidth(), image.GetHeight()), size);
        QCOMPARE(image.GetChannels(), nChannels);
        QCOMPARE(image.GetBytesPerLine(), (size.width() * nChannels + 3) / 4 * 4);
        QVERIFY(image.GetName() == file.fileName().toStdWString() && image.GetFolder() == file.path().toStdWString());
        if (bWritable && nTolerance == 0)
            QCOMPARE(ImageText::Dump(again), ImageText::Dump(image));
        for (const COvrelImage* pImage : {&image, bWritable ? &again : &image})
            for (const QString& strProbe : strProbes.split(' '))
            {
                const QStringList at = strProbe.section('=', 0, 0).split(',');
                const QString strPixel = ImageText::Pixel(pImage->GetPixel(at[0].toInt(), at[1].toInt()), nChannels);
                for (int c = 0; c < nChannels; ++c)
                    QVERIFY2(std::abs(strPixel.section(',', c, c).toInt() -
                                      strProbe.section('=', 1).section(',', c, c).toInt()) <= nTolerance,
                             qPrintable(strProbe + " got " + strPixel));
            }
    }

    void badInputFailsAndKeepsTheImage_data()
    {
        QTest::addColumn<QString>("strName");
        QTest::addColumn<QByteArray>("content");
        const QByteArray png = Encode(Halves(40, 40), ".png");
        const QByteArray gif = Gif(40, 40);
        QTest::newRow("missing file") << "missing.png" << QByteArray();
        QTest::newRow("empty file") << "empty.png" << QByteArray("");
        QTest::newRow("truncated png") << "truncated.png" << png.left(png.size() / 2);
        QTest::newRow("text named jpg") << "text.jpg" << QByteArray("this is not a picture\n");
        QTest::newRow("truncated gif") << "truncated.gif" << gif.left(gif.size() / 3);
        QTest::newRow("gif header only") << "header.gif" << gif.left(13);
        QTest::newRow("empty path") << "" << QByteArray();
    }

    void badInputFailsAndKeepsTheImage()
    {
        QFETCH(QString, strName);
        QFETCH(QByteArray, content);
        QFile file(Path(strName));
        QVERIFY(content.isNull() || (file.open(QIODevice::WriteOnly) && file.write(content) == content.size()));
        file.close();
        const auto pImage = ImageText::Make("7 9");
        pImage->SetName(L"before");

        QVERIFY(pImage->LoadFromFile(Path(strName).toStdWString()) != EOvrelResult_OK);

        QCOMPARE(ImageText::Dump(*pImage), QString("7 9"));
        QVERIFY(pImage->GetName() == L"before");
    }

    void saveWritesWhatTheFormatHolds()
    {
        const auto pImage = ImageText::Make("1,2,3,4 5,6,7,8");
        COvrelImage jpeg;

        QVERIFY(pImage->SaveToFile(Path("no/such/folder/out.png").toStdWString()) != EOvrelResult_OK);
        QVERIFY(COvrelImage().SaveToFile(Path("nothing.png").toStdWString()) != EOvrelResult_OK);
        QVERIFY(pImage->SaveToFile(Path("out.xyz").toStdWString()) != EOvrelResult_OK);
        QCOMPARE(pImage->SaveToFile(Path("alpha.JPEG").toStdWString()), EOvrelResult_OK);

        QVERIFY(!QFile::exists(Path("nothing.png")) && !QFile::exists(Path("out.xyz")));
        QCOMPARE(jpeg.LoadFromFile(Path("alpha.JPEG").toStdWString()), EOvrelResult_OK);
        QCOMPARE(jpeg.GetChannels(), 3);
    }
};

QTEST_MAIN(OvrelImageFileTest)
#include "OvrelImageFileTest.moc"
