#include "TestImageFiles.h"

#include "Utils/COvrelImage.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <opencv2/imgcodecs.hpp>

#include <cstdlib>
#include <unistd.h>

using Ovrel::Utils::COvrelImage;
using Ovrel::Utils::EOvrelResult_OK;

namespace
{

const cv::Vec3b kRed(200, 30, 40);
const cv::Vec3b kBlue(20, 60, 220);

std::wstring Wide(const QString& strPath)
{
    return strPath.toStdWString();
}

bool Near(const unsigned char* pPixel, cv::Vec3b expected, int nTolerance)
{
    for (int c = 0; c < 3; ++c)
    {
        if (std::abs(int(pPixel[c]) - int(expected[c])) > nTolerance)
            return false;
    }
    return true;
}

QString Describe(const unsigned char* pPixel, int nChannels)
{
    QStringList values;
    for (int c = 0; c < nChannels; ++c)
        values << QString::number(pPixel[c]);
    return values.join(',');
}

} // namespace

class OvrelImageFileTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    QString Path(const QString& strName) const { return m_dir.filePath(strName); }

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void loadsEveryFormatWithRgbOrder_data()
    {
        QTest::addColumn<QString>("strName");
        QTest::addColumn<int>("nTolerance");
        QTest::newRow("bmp") << "halves.bmp" << 0;
        QTest::newRow("jpg") << "halves.jpg" << 12;
        QTest::newRow("jpeg") << "halves.jpeg" << 12;
        QTest::newRow("png") << "halves.png" << 0;
        QTest::newRow("tif") << "halves.tif" << 0;
        QTest::newRow("tiff") << "halves.tiff" << 0;
        QTest::newRow("upper-case extension") << "HALVES.PNG" << 0;
        QTest::newRow("gif") << "halves.gif" << 0;
    }

    void loadsEveryFormatWithRgbOrder()
    {
        QFETCH(QString, strName);
        QFETCH(int, nTolerance);
        const int nWidth = 32;
        const int nHeight = 16;
        QByteArray data;
        if (strName.endsWith(".gif"))
        {
            QVector<int> indices;
            for (int y = 0; y < nHeight; ++y)
                for (int x = 0; x < nWidth; ++x)
                    indices << (x < nWidth / 2 ? 0 : 1);
            data = TestImageFiles::Gif(nWidth, nHeight,
                                       {qRgb(kRed[0], kRed[1], kRed[2]), qRgb(kBlue[0], kBlue[1], kBlue[2])}, indices);
        }
        else
        {
            data = TestImageFiles::Encode(TestImageFiles::TwoHalves(nWidth, nHeight, kRed, kBlue),
                                          "." + QFileInfo(strName).suffix().toLower());
        }
        QVERIFY(TestImageFiles::WriteFile(Path(strName), data));

        COvrelImage image;
        QCOMPARE(image.LoadFromFile(Wide(Path(strName))), EOvrelResult_OK);

        QCOMPARE(image.GetWidth(), nWidth);
        QCOMPARE(image.GetHeight(), nHeight);
        QCOMPARE(image.GetChannels(), 3);
        QCOMPARE(image.GetBitDepth(), 8);
        QCOMPARE(image.GetImageType(), 0);
        QCOMPARE(image.GetBytesPerLine(), 96);
        QVERIFY2(Near(image.GetPixel(3, 5), kRed, nTolerance), qPrintable(Describe(image.GetPixel(3, 5), 3)));
        QVERIFY2(Near(image.GetPixel(28, 12), kBlue, nTolerance), qPrintable(Describe(image.GetPixel(28, 12), 3)));
        QVERIFY(image.GetName() == Wide(strName));
        QVERIFY(image.GetFolder() == Wide(m_dir.path()));
    }

    void loadsGreyAlphaAndDeepSamples_data()
    {
        QTest::addColumn<QString>("strName");
        QTest::addColumn<int>("nDepth");
        QTest::addColumn<int>("nChannels");
        QTest::addColumn<QVector<int>>("expected");
        QTest::newRow("grey png keeps one channel") << "grey.png" << CV_8U << 1 << QVector<int>{77};
        QTest::newRow("rgba png keeps alpha") << "rgba.png" << CV_8U << 4 << QVector<int>{10, 20, 30, 128};
        QTest::newRow("rgba tiff keeps alpha") << "rgba.tif" << CV_8U << 4 << QVector<int>{10, 20, 30, 128};
        QTest::newRow("16-bit png scales to 8 bits") << "deep.png" << CV_16U << 3 << QVector<int>{10, 20, 255};
        QTest::newRow("16-bit tiff scales to 8 bits") << "deep.tif" << CV_16U << 3 << QVector<int>{10, 20, 255};
        QTest::newRow("float tiff maps 0..1 to 0..255") << "float.tif" << CV_32F << 3 << QVector<int>{0, 128, 255};
    }

    void loadsGreyAlphaAndDeepSamples()
    {
        QFETCH(QString, strName);
        QFETCH(int, nDepth);
        QFETCH(int, nChannels);
        QFETCH(QVector<int>, expected);
        // Samples are given in R, G, B(, A) order and stored as OpenCV does (B, G, R).
        cv::Scalar stored;
        if (nDepth == CV_8U && nChannels == 1)
            stored = cv::Scalar(77);
        else if (nDepth == CV_8U)
            stored = cv::Scalar(30, 20, 10, 128);
        else if (nDepth == CV_16U)
            stored = cv::Scalar(255 * 257, 20 * 257, 10 * 257);
        else
            stored = cv::Scalar(1.0, 0.5, 0.0);
        const cv::Mat picture(6, 5, CV_MAKETYPE(nDepth, nChannels), stored);
        // Uncompressed, because OpenCV's default for float TIFF (SGI LogLuv) is lossy.
        QVERIFY(cv::imwrite(Path(strName).toStdString(), picture, {cv::IMWRITE_TIFF_COMPRESSION, 1}));

        COvrelImage image;
        QCOMPARE(image.LoadFromFile(Wide(Path(strName))), EOvrelResult_OK);

        QCOMPARE(image.GetWidth(), 5);
        QCOMPARE(image.GetHeight(), 6);
        QCOMPARE(image.GetChannels(), nChannels);
        QCOMPARE(image.GetBytesPerLine(), (5 * nChannels + 3) / 4 * 4);
        const unsigned char* pPixel = image.GetPixel(4, 5);
        QVERIFY(pPixel);
        QStringList expectedText;
        for (int value : expected)
            expectedText << QString::number(value);
        QCOMPARE(Describe(pPixel, nChannels), expectedText.join(','));
    }

    void transparentGifGetsAlpha()
    {
        const QByteArray gif =
            TestImageFiles::Gif(2, 1, {qRgb(0, 0, 0), qRgb(250, 100, 50)}, {0, 1}, /*transparent*/ 0);
        QVERIFY(TestImageFiles::WriteFile(Path("clear.gif"), gif));

        COvrelImage image;
        QCOMPARE(image.LoadFromFile(Wide(Path("clear.gif"))), EOvrelResult_OK);

        QCOMPARE(image.GetChannels(), 4);
        QCOMPARE(int(image.GetPixel(0, 0)[3]), 0);
        QCOMPARE(Describe(image.GetPixel(1, 0), 4), QString("250,100,50,255"));
    }

    void exifOrientationTurnsJpeg_data()
    {
        QTest::addColumn<int>("nOrientation");
        QTest::addColumn<int>("nWidth");
        QTest::addColumn<int>("nHeight");
        QTest::addColumn<QPoint>("redAt");
        QTest::addColumn<QPoint>("blueAt");
        // The stored picture is 64 x 32, red on the left, blue on the right.
        QTest::newRow("1 as stored") << 1 << 64 << 32 << QPoint(8, 16) << QPoint(56, 16);
        QTest::newRow("3 half turn") << 3 << 64 << 32 << QPoint(56, 16) << QPoint(8, 16);
        QTest::newRow("6 quarter turn clockwise") << 6 << 32 << 64 << QPoint(16, 8) << QPoint(16, 56);
        QTest::newRow("8 quarter turn anticlockwise") << 8 << 32 << 64 << QPoint(16, 56) << QPoint(16, 8);
    }

    void exifOrientationTurnsJpeg()
    {
        QFETCH(int, nOrientation);
        QFETCH(int, nWidth);
        QFETCH(int, nHeight);
        QFETCH(QPoint, redAt);
        QFETCH(QPoint, blueAt);
        const QByteArray jpeg = TestImageFiles::Encode(TestImageFiles::TwoHalves(64, 32, kRed, kBlue), ".jpg");
        const QString strPath = Path(QString("exif%1.jpg").arg(nOrientation));
        QVERIFY(TestImageFiles::WriteFile(strPath, TestImageFiles::WithExifOrientation(jpeg, nOrientation)));

        COvrelImage image;
        QCOMPARE(image.LoadFromFile(Wide(strPath)), EOvrelResult_OK);

        QCOMPARE(image.GetWidth(), nWidth);
        QCOMPARE(image.GetHeight(), nHeight);
        QVERIFY2(Near(image.GetPixel(redAt.x(), redAt.y()), kRed, 12),
                 qPrintable(Describe(image.GetPixel(redAt.x(), redAt.y()), 3)));
        QVERIFY2(Near(image.GetPixel(blueAt.x(), blueAt.y()), kBlue, 12),
                 qPrintable(Describe(image.GetPixel(blueAt.x(), blueAt.y()), 3)));
    }

    void badInputFailsAndKeepsTheImage_data()
    {
        QTest::addColumn<QString>("strName");
        QTest::addColumn<QByteArray>("content");
        const QByteArray png = TestImageFiles::Encode(TestImageFiles::TwoHalves(40, 40, kRed, kBlue), ".png");
        const QByteArray gif = TestImageFiles::Gif(40, 40, {qRgb(1, 2, 3)}, QVector<int>(1600, 0));
        QTest::newRow("missing file") << "missing.png" << QByteArray();
        QTest::newRow("empty file") << "empty.png" << QByteArray("");
        QTest::newRow("truncated png") << "truncated.png" << png.left(png.size() / 2);
        QTest::newRow("png signature only") << "signature.png" << png.left(8);
        QTest::newRow("text named jpg") << "text.jpg" << QByteArray("this is not a picture\n");
        QTest::newRow("jpeg marker then text") << "marker.jpg" << QByteArray("\xFF\xD8\xFF garbage");
        QTest::newRow("truncated gif") << "truncated.gif" << gif.left(gif.size() / 3);
        QTest::newRow("gif header only") << "header.gif" << gif.left(13);
        QTest::newRow("folder") << "folder.png" << QByteArray();
        QTest::newRow("empty path") << "" << QByteArray();
    }

    void badInputFailsAndKeepsTheImage()
    {
        QFETCH(QString, strName);
        QFETCH(QByteArray, content);
        QString strPath;
        if (!strName.isEmpty())
            strPath = Path(strName);
        if (strName == "folder.png")
            QVERIFY(QDir().mkpath(strPath));
        else if (!content.isNull())
            QVERIFY(TestImageFiles::WriteFile(strPath, content));
        COvrelImage image;
        QCOMPARE(image.Create(3, 2, 1), EOvrelResult_OK);
        image.GetPixel(1, 1)[0] = 42;
        image.SetName(L"before");

        QVERIFY(image.LoadFromFile(Wide(strPath)) != EOvrelResult_OK);

        QCOMPARE(image.GetWidth(), 3);
        QCOMPARE(image.GetHeight(), 2);
        QCOMPARE(int(image.GetPixel(1, 1)[0]), 42);
        QVERIFY(image.GetName() == L"before");
    }

    void nonAsciiPathsWork_data()
    {
        QTest::addColumn<QString>("strName");
        QTest::newRow("png through OpenCV") << QString::fromUtf8("Straße_图像.png");
        QTest::newRow("gif through Qt") << QString::fromUtf8("Straße_图像.gif");
    }

    void nonAsciiPathsWork()
    {
        QFETCH(QString, strName);
        const QString strFolder = Path(QString::fromUtf8("Bilder_äöü"));
        QVERIFY(QDir().mkpath(strFolder));
        const QString strPath = strFolder + "/" + strName;
        const QByteArray data =
            strName.endsWith(".gif")
                ? TestImageFiles::Gif(2, 2, {qRgb(9, 8, 7), qRgb(1, 2, 3)}, {0, 1, 1, 0})
                : TestImageFiles::Encode(TestImageFiles::TwoHalves(2, 2, {9, 8, 7}, {1, 2, 3}), ".png");
        QVERIFY(TestImageFiles::WriteFile(strPath, data));
        // The file must sit on disk under its UTF-8 name, which is what the library opens.
        QCOMPARE(::access(strPath.toUtf8().constData(), F_OK), 0);

        COvrelImage image;
        QCOMPARE(image.LoadFromFile(Wide(strPath)), EOvrelResult_OK);

        QCOMPARE(Describe(image.GetPixel(0, 0), 3), QString("9,8,7"));
        QCOMPARE(Describe(image.GetPixel(1, 0), 3), QString("1,2,3"));
        QVERIFY(image.GetName() == Wide(strName));
        QVERIFY(image.GetFolder() == Wide(strFolder));
    }

    void savesAndReadsBack_data()
    {
        QTest::addColumn<QString>("strName");
        QTest::addColumn<int>("nChannels");
        QTest::addColumn<int>("nLoadedChannels");
        QTest::addColumn<int>("nTolerance");
        QTest::newRow("bmp rgb") << "saved.bmp" << 3 << 3 << 0;
        QTest::newRow("png rgb") << "saved.png" << 3 << 3 << 0;
        QTest::newRow("png rgba") << "saved_rgba.png" << 4 << 4 << 0;
        QTest::newRow("png grey") << "saved_grey.png" << 1 << 1 << 0;
        QTest::newRow("tif rgba") << "saved.tif" << 4 << 4 << 0;
        QTest::newRow("tiff rgb") << "saved.tiff" << 3 << 3 << 0;
        QTest::newRow("jpg rgb") << "saved.jpg" << 3 << 3 << 12;
        QTest::newRow("JPEG rgba drops alpha") << "saved.JPEG" << 4 << 3 << 12;
    }

    void savesAndReadsBack()
    {
        QFETCH(QString, strName);
        QFETCH(int, nChannels);
        QFETCH(int, nLoadedChannels);
        QFETCH(int, nTolerance);
        COvrelImage image;
        QCOMPARE(image.Create(32, 16, nChannels), EOvrelResult_OK);
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 32; ++x)
            {
                const cv::Vec3b colour = x < 16 ? kRed : kBlue;
                unsigned char* pPixel = image.GetPixel(x, y);
                for (int c = 0; c < nChannels; ++c)
                    pPixel[c] = c < 3 ? colour[nChannels == 1 ? 1 : c] : 99;
            }

        QCOMPARE(image.SaveToFile(Wide(Path(strName))), EOvrelResult_OK);

        COvrelImage loaded;
        QCOMPARE(loaded.LoadFromFile(Wide(Path(strName))), EOvrelResult_OK);
        QCOMPARE(loaded.GetWidth(), 32);
        QCOMPARE(loaded.GetHeight(), 16);
        QCOMPARE(loaded.GetChannels(), nLoadedChannels);
        for (const QPoint& at : {QPoint(4, 4), QPoint(27, 11)})
        {
            const unsigned char* pExpected = image.GetPixel(at.x(), at.y());
            const unsigned char* pActual = loaded.GetPixel(at.x(), at.y());
            for (int c = 0; c < nLoadedChannels; ++c)
                QVERIFY2(std::abs(int(pExpected[c]) - int(pActual[c])) <= nTolerance,
                         qPrintable(Describe(pActual, nLoadedChannels)));
        }
    }

    void saveRefusesWhatItCannotWrite_data()
    {
        QTest::addColumn<QString>("strName");
        QTest::addColumn<bool>("bEmptyImage");
        QTest::newRow("gif") << "out.gif" << false;
        QTest::newRow("unknown extension") << "out.xyz" << false;
        QTest::newRow("no extension") << "out" << false;
        QTest::newRow("missing folder") << "no/such/folder/out.png" << false;
        QTest::newRow("empty image") << "nothing.png" << true;
        QTest::newRow("empty path") << "" << false;
    }

    void saveRefusesWhatItCannotWrite()
    {
        QFETCH(QString, strName);
        QFETCH(bool, bEmptyImage);
        COvrelImage image;
        if (!bEmptyImage)
            QCOMPARE(image.Create(4, 4, 3), EOvrelResult_OK);
        const QString strPath = strName.isEmpty() ? QString() : Path(strName);

        QVERIFY(image.SaveToFile(Wide(strPath)) != EOvrelResult_OK);

        if (!strPath.isEmpty())
            QVERIFY(!QFile::exists(strPath));
    }
};

QTEST_MAIN(OvrelImageFileTest)
#include "OvrelImageFileTest.moc"
