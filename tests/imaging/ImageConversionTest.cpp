#include "imaging/ImageConversion.h"

#include "Utils/COvrelImage.h"

#include <QImage>
#include <QtTest>

using Ovrel::Utils::COvrelImage;
using Ovrel::Utils::EOvrelResult_OK;

class ImageConversionTest : public QObject
{
    Q_OBJECT

private slots:
    void libraryImageBecomesASharingQImage_data()
    {
        QTest::addColumn<int>("nChannels");
        QTest::addColumn<int>("nFormat");
        QTest::newRow("grey") << 1 << int(QImage::Format_Grayscale8);
        QTest::newRow("rgb") << 3 << int(QImage::Format_RGB888);
        QTest::newRow("rgba") << 4 << int(QImage::Format_RGBA8888);
    }

    void libraryImageBecomesASharingQImage()
    {
        QFETCH(int, nChannels);
        QFETCH(int, nFormat);
        COvrelImage image;
        QCOMPARE(image.Create(3, 2, nChannels), EOvrelResult_OK);
        QImage target;

        QVERIFY(ImageToQImage(&image, target, false));

        QCOMPARE(int(target.format()), nFormat);
        QCOMPARE(target.size(), QSize(3, 2));
        QCOMPARE(target.bytesPerLine(), image.GetBytesPerLine());
        QCOMPARE(target.constBits(), image.GetData());
        // A pixel changed in the library image shows through the shared buffer.
        image.GetPixel(2, 1)[0] = 200;
        QCOMPARE(target.constScanLine(1)[2 * nChannels], uchar(200));
    }

    void rgbPixelsKeepTheirColour()
    {
        COvrelImage image;
        QCOMPARE(image.Create(3, 1, 3), EOvrelResult_OK);
        unsigned char* pPixel = image.GetPixel(1, 0);
        pPixel[0] = 10;
        pPixel[1] = 20;
        pPixel[2] = 30;
        QImage target;

        QVERIFY(ImageToQImage(&image, target, false));

        QCOMPARE(target.pixel(1, 0), qRgb(10, 20, 30));
    }

    void deepCopyOwnsItsPixels()
    {
        COvrelImage image;
        QCOMPARE(image.Create(2, 2, 4), EOvrelResult_OK);
        image.GetPixel(0, 0)[0] = 7;
        QImage target;

        QVERIFY(ImageToQImage(&image, target, true));
        image.GetPixel(0, 0)[0] = 99;

        QVERIFY(target.constBits() != image.GetData());
        QCOMPARE(target.constScanLine(0)[0], uchar(7));
    }

    void paintingOnTheSharedQImageLeavesTheLibraryImage()
    {
        COvrelImage image;
        QCOMPARE(image.Create(2, 2, 3), EOvrelResult_OK);
        QImage target;
        QVERIFY(ImageToQImage(&image, target, false));

        target.setPixel(0, 0, qRgb(255, 255, 255));

        QCOMPARE(int(image.GetPixel(0, 0)[0]), 0);
    }

    void missingOrEmptySourceGivesFalse()
    {
        QImage target(4, 4, QImage::Format_RGB32);
        target.fill(Qt::red);
        const COvrelImage empty;

        QVERIFY(!ImageToQImage(nullptr, target, false));
        QCOMPARE(target.size(), QSize(4, 4));
        QCOMPARE(target.pixel(0, 0), qRgb(255, 0, 0));
        QVERIFY(!ImageToQImage(&empty, target, false));
        QVERIFY(target.isNull());
    }

    void greyQImageBecomesFullRgbaRows()
    {
        QImage source(10, 10, QImage::Format_Grayscale8);
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 10; ++x)
                source.scanLine(y)[x] = uchar(y * 10 + x);
        COvrelImage target;

        QVERIFY(ImageFromQImage(source, &target));

        QCOMPARE(target.GetWidth(), 10);
        QCOMPARE(target.GetHeight(), 10);
        QCOMPARE(target.GetChannels(), 4);
        QCOMPARE(target.GetBytesPerLine(), 40);
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 10; ++x)
            {
                const unsigned char* pPixel = target.GetPixel(x, y);
                const int nGrey = y * 10 + x;
                QCOMPARE(int(pPixel[0]), nGrey);
                QCOMPARE(int(pPixel[1]), nGrey);
                QCOMPARE(int(pPixel[2]), nGrey);
                QCOMPARE(int(pPixel[3]), 255);
            }
    }

    void argbQImageKeepsColourAndAlpha()
    {
        QImage source(2, 1, QImage::Format_ARGB32);
        source.setPixel(0, 0, qRgba(10, 20, 30, 255));
        source.setPixel(1, 0, qRgba(200, 100, 50, 255));
        COvrelImage target;

        QVERIFY(ImageFromQImage(source, &target));

        const unsigned char* pFirst = target.GetPixel(0, 0);
        const unsigned char* pSecond = target.GetPixel(1, 0);
        QCOMPARE(QVector<int>({pFirst[0], pFirst[1], pFirst[2], pFirst[3]}), QVector<int>({10, 20, 30, 255}));
        QCOMPARE(QVector<int>({pSecond[0], pSecond[1], pSecond[2], pSecond[3]}), QVector<int>({200, 100, 50, 255}));
    }

    void nullQImageLeavesTheTargetUntouched()
    {
        COvrelImage target;
        QCOMPARE(target.Create(3, 3, 1), EOvrelResult_OK);
        target.GetPixel(1, 1)[0] = 5;
        QImage grey(2, 2, QImage::Format_Grayscale8);

        QVERIFY(!ImageFromQImage(QImage(), &target));
        QVERIFY(!ImageFromQImage(grey, nullptr));

        QCOMPARE(target.GetWidth(), 3);
        QCOMPARE(target.GetChannels(), 1);
        QCOMPARE(int(target.GetPixel(1, 1)[0]), 5);
    }
};

QTEST_MAIN(ImageConversionTest)
#include "ImageConversionTest.moc"
