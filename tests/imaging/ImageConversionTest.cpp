#include "ImageText.h"

#include "imaging/ImageConversion.h"

#include <QImage>
#include <QtTest>

#include <cstring>

using Ovrel::Utils::COvrelImage;

class ImageConversionTest : public QObject
{
    Q_OBJECT

private slots:
    void libraryImageBecomesASharingQImage_data()
    {
        QTest::addColumn<QString>("strPicture");
        QTest::addColumn<int>("nFormat");
        QTest::addColumn<QRgb>("pixel");
        QTest::newRow("grey") << "0 10 0|0 0 0" << int(QImage::Format_Grayscale8) << qRgb(10, 10, 10);
        QTest::newRow("rgb") << "0,0,0 10,20,30 0,0,0|0,0,0 0,0,0 0,0,0" << int(QImage::Format_RGB888)
                             << qRgb(10, 20, 30);
        QTest::newRow("rgba") << "0,0,0,0 10,20,30,40 0,0,0,0|0,0,0,0 0,0,0,0 0,0,0,0" << int(QImage::Format_RGBA8888)
                              << qRgba(10, 20, 30, 40);
    }

    void libraryImageBecomesASharingQImage()
    {
        QFETCH(QString, strPicture);
        QFETCH(int, nFormat);
        QFETCH(QRgb, pixel);
        const auto pImage = ImageText::Make(strPicture);
        QImage target;
        QImage copy;

        QVERIFY(ImageToQImage(pImage.get(), target, false));
        QVERIFY(ImageToQImage(pImage.get(), copy, true));

        QCOMPARE(int(target.format()), nFormat);
        QCOMPARE(target.bytesPerLine(), pImage->GetBytesPerLine());
        QCOMPARE(target.constBits(), pImage->GetData());
        QCOMPARE(target.pixel(1, 0), pixel);
        // Changes show through, but not in the deep copy; painting on the QImage never writes through.
        pImage->GetPixel(2, 1)[0] = 200;
        QCOMPARE(qRed(target.pixel(2, 1)), 200);
        QCOMPARE(qRed(copy.pixel(2, 1)), 0);
        target.fill(Qt::white);
        QCOMPARE(int(pImage->GetPixel(0, 0)[0]), 0);
        QVERIFY(!ImageToQImage(nullptr, copy, false));
        QCOMPARE(copy.size(), QSize(3, 2));
        QVERIFY(!ImageToQImage(std::make_unique<COvrelImage>().get(), copy, false));
        QVERIFY(copy.isNull());
    }

    void keptQImageOutlivesTheLibraryImage_data()
    {
        QTest::addColumn<bool>("bDestroy"); // else the image moves to a new buffer
        QTest::newRow("library image destroyed") << true;
        QTest::newRow("library image given a new buffer") << false;
    }

    void keptQImageOutlivesTheLibraryImage()
    {
        QFETCH(bool, bDestroy);
        std::shared_ptr<COvrelImage> pImage = ImageText::Make("0,0,0 10,20,30 0,0,0|0,0,0 0,0,0 0,0,0");
        QImage kept;
        {
            QImage target;
            QVERIFY(ImageToQImage(pImage, target));
            QCOMPARE(target.constBits(), pImage->GetData());
            kept = target;
        }
        pImage->GetPixel(2, 1)[1] = 200; // in place: shows through

        if (bDestroy)
            pImage.reset();
        else
            pImage->Create(3, 2, 3);
        // Freed pixels would most likely be taken over and overwritten by a new image of their size.
        COvrelImage other;
        other.Create(3, 2, 3);
        std::memset(other.GetData(), 0xAB, size_t(other.GetBytesPerLine()) * 2);

        // The bytes are read here rather than inside Qt, so that AddressSanitizer sees every read.
        const auto bytes = [&kept](int y) { return ImageText::Pixel(kept.constScanLine(y), 9); };
        QCOMPARE(int(kept.format()), int(QImage::Format_RGB888));
        QCOMPARE(bytes(0), QString("0,0,0,10,20,30,0,0,0"));
        QCOMPARE(bytes(1), QString("0,0,0,0,0,0,0,200,0"));
        QVERIFY(!ImageToQImage(std::shared_ptr<const COvrelImage>(), kept));
        QCOMPARE(kept.size(), QSize(3, 2));
    }

    void qImageConvertsAsQtConverts_data()
    {
        QTest::addColumn<int>("nFormat");
        QTest::newRow("rgb888") << int(QImage::Format_RGB888);
        QTest::newRow("rgb32") << int(QImage::Format_RGB32);
        QTest::newRow("argb32") << int(QImage::Format_ARGB32);
        QTest::newRow("rgba8888") << int(QImage::Format_RGBA8888);
        QTest::newRow("argb32 premultiplied") << int(QImage::Format_ARGB32_Premultiplied);
        // Grey rows of 7 bytes are stored 8 apart; each converted row must land whole in the target.
        QTest::newRow("grey") << int(QImage::Format_Grayscale8);
    }

    void qImageConvertsAsQtConverts()
    {
        QFETCH(int, nFormat);
        // 7 pixels a row: whole groups of four and a rest; every sample differs.
        QImage source(7, 3, QImage::Format(nFormat));
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 7; ++x)
                source.setPixel(x, y, qRgba(10 * x + y, 100 + 10 * x + y, 200 + y, 40 + 30 * x + y));
        const QImage expected = source.convertToFormat(QImage::Format_RGBA8888);
        const auto pTarget = ImageText::Make("1 2 3|4 5 6");
        COvrelImage& target = *pTarget;

        QVERIFY(ImageFromQImage(source, &target));
        QVERIFY(!ImageFromQImage(QImage(), &target));
        QVERIFY(!ImageFromQImage(source, nullptr));

        QCOMPARE(QSize(target.GetWidth(), target.GetHeight()), QSize(7, 3));
        QCOMPARE(target.GetChannels(), 4);
        QCOMPARE(target.GetBytesPerLine(), 28);
        for (int y = 0; y < 3; ++y)
            QCOMPARE(QByteArray(reinterpret_cast<const char*>(target.GetRows()[y]), 28),
                     QByteArray(reinterpret_cast<const char*>(expected.constScanLine(y)), 28));
    }
};

QTEST_MAIN(ImageConversionTest)
#include "ImageConversionTest.moc"
