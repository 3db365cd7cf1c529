#include "ImageText.h"

#include <QtTest>

#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>

#include <cstdlib>
#include <sys/resource.h>
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

// EXIF data holding only the orientation tag: a little-endian TIFF directory with one entry.
QByteArray ExifOrientation(int nOrientation)
{
    return QByteArray("II*\0\x08\0\0\0\x01\0\x12\x01\x03\0\x01\0\0\0", 18) + char(nOrientation) + QByteArray(7, '\0');
}

QByteArray Big32(quint32 nValue)
{
    QByteArray bytes(4, '\0');
    qToBigEndian(nValue, bytes.data());
    return bytes;
}

QByteArray Little32(quint32 nValue)
{
    QByteArray bytes(4, '\0');
    qToLittleEndian(nValue, bytes.data());
    return bytes;
}

// The JPEG with the EXIF data in an APP1 segment at its start (after an XMP one if asked).
QByteArray JpegWithExif(const QByteArray& jpeg, int nOrientation, bool bXmpFirst = false)
{
    const QByteArray exif = QByteArray("Exif\0\0", 6) + ExifOrientation(nOrientation);
    const QByteArray xmp("\xFF\xE1\0\x0Ahttp://n", 12);
    return jpeg.left(2) + (bXmpFirst ? xmp : QByteArray()) + "\xFF\xE1" + Big32(quint32(exif.size() + 2)).mid(2) +
           exif + jpeg.mid(2);
}

quint32 Crc32(const QByteArray& data)
{
    quint32 nCrc = 0xFFFFFFFFu;
    for (const char byte : data)
    {
        nCrc ^= quint8(byte);
        for (int i = 0; i < 8; ++i)
            nCrc = (nCrc >> 1) ^ (0xEDB88320u & (0u - (nCrc & 1u)));
    }
    return ~nCrc;
}

QByteArray PngChunk(const char* szType, const QByteArray& data)
{
    const QByteArray body = QByteArray(szType, 4) + data;
    return Big32(quint32(data.size())) + body + Big32(Crc32(body));
}

// The PNG with an eXIf chunk right after IHDR or right before IEND.
QByteArray PngWithExif(const QByteArray& png, int nOrientation, bool bAfterImageData)
{
    const QByteArray chunk = PngChunk("eXIf", ExifOrientation(nOrientation));
    return bAfterImageData ? png.left(png.size() - 12) + chunk + png.right(12) : png.left(33) + chunk + png.mid(33);
}

// The PNG with the IHDR size replaced; the image data stays that of the small picture.
QByteArray PngClaiming(const QByteArray& png, int nWidth, int nHeight)
{
    return png.left(8) + PngChunk("IHDR", Big32(quint32(nWidth)) + Big32(quint32(nHeight)) + png.mid(24, 5)) +
           png.mid(33);
}

// The JPEG with the size in its (baseline, colour) frame header replaced.
QByteArray JpegClaiming(QByteArray jpeg, int nWidth, int nHeight)
{
    const int nFrame = jpeg.indexOf(QByteArray("\xFF\xC0\0\x11\x08", 5));
    jpeg.replace(nFrame + 5, 4, Big32(quint32(nHeight) << 16 | quint32(nWidth)));
    return jpeg;
}

// An uncompressed little-endian grey TIFF, optionally with an orientation tag; the size in its
// directory may claim more than the pixels stored.
QByteArray Tiff(const cv::Mat& grey, int nOrientation, QSize claimed = {})
{
    const QSize size = claimed.isEmpty() ? QSize(grey.cols, grey.rows) : claimed;
    QByteArray tiff = QByteArray("II*\0", 4) + Little32(quint32(8 + grey.total()));
    tiff.append(reinterpret_cast<const char*>(grey.data), int(grey.total()));
    const QVector<QVector<quint32>> entries{{256, 4, quint32(size.width())},
                                            {257, 4, quint32(size.height())},
                                            {258, 3, 8},
                                            {259, 3, 1},
                                            {262, 3, 1},
                                            {273, 4, 8},
                                            {274, 3, quint32(nOrientation)},
                                            {277, 3, 1},
                                            {278, 4, quint32(size.height())},
                                            {279, 4, quint32(grey.total())}};
    tiff.append(char(entries.size())).append('\0');
    for (const auto& entry : entries)
        tiff.append(Little32(entry[0] | entry[1] << 16)).append(Little32(1)).append(Little32(entry[2]));
    return tiff.append(Little32(0));
}

// A lossless WebP of the picture in an extended container that carries the EXIF data.
QByteArray WebpWithExif(const cv::Mat& picture, int nOrientation)
{
    const QByteArray simple = Encode(picture, ".webp", {cv::IMWRITE_WEBP_QUALITY, 101});
    const QByteArray exif = ExifOrientation(nOrientation);
    QByteArray body = "WEBPVP8X" + Little32(10) + Little32(0x08) + Little32(quint32(picture.cols - 1)).left(3) +
                      Little32(quint32(picture.rows - 1)).left(3) + simple.mid(12) + "EXIF" +
                      Little32(quint32(exif.size())) + exif;
    return "RIFF" + Little32(quint32(body.size())) + body;
}

// A picture in which every pixel differs from its mirror images: R grows to the right, G
// downwards; with 4 channels alpha repeats R.
cv::Mat Gradient(int nChannels)
{
    cv::Mat picture(32, 48, CV_8UC(nChannels));
    for (int y = 0; y < picture.rows; ++y)
        for (int x = 0; x < picture.cols; ++x)
        {
            uchar* pPixel = picture.ptr<uchar>(y) + x * nChannels;
            pPixel[0] = uchar(nChannels == 1 ? 3 * x + 2 * y : 5 * x);
            for (int c = 1; c < nChannels; ++c)
                pPixel[c] = uchar(c == 1 ? 7 * y : c == 2 ? 100 : 5 * x);
        }
    return picture;
}

long PeakMemoryKilobytes()
{
    rusage usage = {};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
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
        row("exif 3 half turn", "exif3.jpg", JpegWithExif(wide, 3), probes("56,16", "8,16"), 12, {64, 32});
        row("exif 6 quarter turn clockwise", "exif6.jpg", JpegWithExif(wide, 6), probes("16,8", "16,56"), 12, {32, 64});
        row("exif 8 quarter turn anticlockwise", "exif8.jpg", JpegWithExif(wide, 8), probes("16,56", "16,8"), 12,
            {32, 64});
        // Complete files that walk differently to their end-of-image marker.
        row("jpeg with bytes after its end", "tail.jpg", jpeg + QByteArray(300, '\xFF'), strHalves, 12);
        row("progressive jpeg", "progressive.jpg", Encode(Halves(32, 16), ".jpg", {cv::IMWRITE_JPEG_PROGRESSIVE, 1}),
            strHalves, 12);
        row("jpeg with restart markers", "restart.jpg",
            Encode(Halves(32, 16), ".jpg", {cv::IMWRITE_JPEG_RST_INTERVAL, 1}), strHalves, 12);
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
        QTest::addColumn<int>("nResult");
        const auto row = [](const char* szRow, const char* szName, const QByteArray& content, int nResult)
        { QTest::newRow(szRow) << QString(szName) << content << nResult; };
        const QByteArray png = Encode(Halves(40, 40), ".png");
        // Noise, so that most of the file is scan data rather than tables.
        cv::Mat noise(120, 160, CV_8UC3);
        cv::randu(noise, 0, 256);
        const QByteArray jpeg = Encode(noise, ".jpg");
        const QByteArray gif = Gif(40, 40);
        const int nDecode = EOvrelResult_DecodeFailed;
        row("missing file", "missing.png", QByteArray(), EOvrelResult_FileNotFound);
        row("empty file", "empty.png", QByteArray(""), nDecode);
        row("truncated png", "truncated.png", png.left(png.size() / 2), nDecode);
        row("jpeg cut at 60%", "cut60.jpg", jpeg.left(jpeg.size() * 6 / 10), nDecode);
        row("jpeg cut at 90%", "cut90.jpg", jpeg.left(jpeg.size() * 9 / 10), nDecode);
        row("jpeg without its end marker", "noend.jpg", jpeg.left(jpeg.size() - 2), nDecode);
        row("text named jpg", "text.jpg", QByteArray("this is not a picture\n"), nDecode);
        row("truncated gif", "truncated.gif", gif.left(gif.size() / 3), nDecode);
        row("gif header only", "header.gif", gif.left(13), nDecode);
        row("empty path", "", QByteArray(), EOvrelResult_InvalidArgument);
        // Small files whose headers claim more than an image may hold (2^31 - 1 bytes), or a
        // picture the data stops far short of: both must fail before any decoding.
        const QByteArray small = Encode(Halves(16, 16), ".jpg");
        const int nTooLarge = EOvrelResult_TooLarge;
        row("jpeg claiming 26000 x 26000, cut short", "bomb.jpg",
            JpegClaiming(small, 26000, 26000).left(small.size() - 2), nDecode);
        row("jpeg claiming 30000 x 30000", "bomb30.jpg", JpegClaiming(small, 30000, 30000), nTooLarge);
        row("png claiming 30000 x 30000", "bomb.png", PngClaiming(Encode(Halves(16, 16), ".png"), 30000, 30000),
            nTooLarge);
        row("grey tiff claiming 50000 x 50000", "bomb.tif", Tiff(Gradient(1), 1, {50000, 50000}), nTooLarge);
        QByteArray bmp = Encode(Halves(16, 16), ".bmp");
        bmp.replace(18, 8, Little32(30000) + Little32(30000));
        row("bmp claiming 30000 x 30000", "bomb.bmp", bmp, nTooLarge);
    }

    void badInputFailsAndKeepsTheImage()
    {
        QFETCH(QString, strName);
        QFETCH(QByteArray, content);
        QFETCH(int, nResult);
        QFile file(Path(strName));
        QVERIFY(content.isNull() || (file.open(QIODevice::WriteOnly) && file.write(content) == content.size()));
        file.close();
        const auto pImage = ImageText::Make("7 9");
        pImage->SetName(L"before");
        const long nPeakBefore = PeakMemoryKilobytes();

        QCOMPARE(int(pImage->LoadFromFile(Path(strName).toStdWString())), nResult);

        QCOMPARE(ImageText::Dump(*pImage), QString("7 9"));
        QVERIFY(pImage->GetName() == L"before");
        QVERIFY2(PeakMemoryKilobytes() - nPeakBefore < 256 * 1024,
                 qPrintable(QString("peak memory grew by %1 MB").arg((PeakMemoryKilobytes() - nPeakBefore) / 1024)));
    }

    void orientationFollowsOpenCVsColourRead_data()
    {
        QTest::addColumn<QString>("strName");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<int>("nChannels");
        QTest::addColumn<QSize>("size");
        const auto row = [](const char* szRow, const char* szName, const QByteArray& data, int nChannels, QSize size)
        { QTest::newRow(szRow) << QString(szName) << data << nChannels << size; };
        const QByteArray rgb = Encode(Gradient(3), ".png");
        const QSize upright(32, 48);
        row("png, exif 6 before the image data", "o6.png", PngWithExif(rgb, 6, false), 3, upright);
        row("png, exif 8 after the image data", "o8.png", PngWithExif(rgb, 8, true), 3, upright);
        row("png, exif 5 transposes", "o5.png", PngWithExif(rgb, 5, false), 3, upright);
        row("png, exif 3 half turn", "o3.png", PngWithExif(rgb, 3, true), 3, {48, 32});
        row("rgba png, exif 6", "o6rgba.png", PngWithExif(Encode(Gradient(4), ".png"), 6, false), 4, upright);
        row("grey png, exif 7", "o7grey.png", PngWithExif(Encode(Gradient(1), ".png"), 7, false), 1, upright);
        row("tiff, orientation 6", "o6.tif", Tiff(Gradient(1), 6), 1, upright);
        // OpenCV reads no EXIF of WebP, nor an EXIF segment after another APP1 segment of a JPEG.
        row("webp, exif 6 stays", "o6.webp", WebpWithExif(Gradient(3), 6), 3, {48, 32});
        row("jpeg, exif 6 behind xmp stays", "o6xmp.jpg",
            JpegWithExif(Encode(Gradient(3), ".jpg", {cv::IMWRITE_JPEG_QUALITY, 100}), 6, true), 3, {48, 32});
    }

    void orientationFollowsOpenCVsColourRead()
    {
        QFETCH(QString, strName);
        QFETCH(QByteArray, data);
        QFETCH(int, nChannels);
        QFETCH(QSize, size);
        QFile file(Path(strName));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(data) == data.size());
        file.close();
        COvrelImage image;

        QCOMPARE(image.LoadFromFile(Path(strName).toStdWString()), EOvrelResult_OK);

        const cv::Mat trainer = cv::imread(Path(strName).toStdString(), cv::IMREAD_COLOR);
        QCOMPARE(QSize(trainer.cols, trainer.rows), size);
        QCOMPARE(QSize(image.GetWidth(), image.GetHeight()), size);
        QCOMPARE(image.GetChannels(), nChannels);
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x)
            {
                const cv::Vec3b bgr = trainer.at<cv::Vec3b>(y, x);
                const QString strTrainer = nChannels == 1 ? QString::number(bgr[0])
                                           : nChannels == 3
                                               ? QString("%1,%2,%3").arg(bgr[2]).arg(bgr[1]).arg(bgr[0])
                                               : QString("%1,%2,%3,%1").arg(bgr[2]).arg(bgr[1]).arg(bgr[0]);
                QCOMPARE(ImageText::Pixel(image.GetPixel(x, y), nChannels), strTrainer);
            }
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
