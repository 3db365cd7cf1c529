#include "ImageText.h"

#include "Ovrel.h"

#include <QtTest>

#include <algorithm>
#include <cmath>
#include <functional>
#include <random>
#include <utility>

using namespace Ovrel::Geometry;
using namespace Ovrel::Utils;
using ImageText::Dump;
using ImageText::Make;

using GeometryPtr = std::shared_ptr<COvrelGeometry>;
Q_DECLARE_METATYPE(GeometryPtr)
Q_DECLARE_METATYPE(std::function<void(Ovrel::Utils::COvrelImage&)>)

namespace
{

QString Repeat(const QString& strPart, int nCount, QChar separator)
{
    return QVector<QString>(nCount, strPart).toList().join(separator);
}

QString Uniform(int nWidth, int nHeight, int nValue)
{
    return Repeat(Repeat(QString::number(nValue), nWidth, ' '), nHeight, '|');
}

GeometryPtr Box(double x, double y, double dblWidth, double dblHeight)
{
    return std::make_shared<COvrelRectangle>(x, y, dblWidth, dblHeight);
}

} // namespace

class OvrelImageTest : public QObject
{
    Q_OBJECT

private slots:
    void turningACopyMovesPixelsExactly_data()
    {
        QTest::addColumn<QString>("strPicture");
        QTest::addColumn<double>("dblAngle");
        QTest::addColumn<QString>("strExpected");
        QTest::newRow("+pi/2 clockwise") << "1 2 3|4 5 6" << M_PI / 2 << "4 1|5 2|6 3";
        QTest::newRow("-pi/2 anticlockwise") << "1 2 3|4 5 6" << -M_PI / 2 << "3 6|2 5|1 4";
        QTest::newRow("-3pi/2 is clockwise") << "1 2 3|4 5 6" << -3 * M_PI / 2 << "4 1|5 2|6 3";
        QTest::newRow("channels move together") << "1,2,3 4,5,6" << M_PI / 2 << "1,2,3|4,5,6";
        // A float is 4.4e-8 off pi/2: a resampled turn of a 60-pixel row would need 2 columns.
        QStringList counting;
        for (int i = 1; i <= 60; ++i)
            counting << QString::number(i);
        QTest::newRow("+pi/2 as a float") << counting.join(' ') << double(float(M_PI / 2)) << counting.join('|');
        QTest::newRow("-pi as a float") << "1 2 3|4 5 6" << double(float(-M_PI)) << "6 5 4|3 2 1";
    }

    void turningACopyMovesPixelsExactly()
    {
        QFETCH(QString, strPicture);
        QFETCH(double, dblAngle);
        QFETCH(QString, strExpected);
        const auto pOriginal = Make(strPicture);
        pOriginal->SetName(L"a.png");
        COvrelImage turned;

        QCOMPARE(turned.CopyFrom(pOriginal.get()), EOvrelResult_OK);
        QCOMPARE(turned.Rotate(dblAngle, 0.0, 1, COvrelPoint(turned.GetWidth() / 2.0, turned.GetHeight() / 2.0)),
                 EOvrelResult_OK);

        QCOMPARE(Dump(turned), strExpected);
        QCOMPARE(Dump(*pOriginal), strPicture);
        QVERIFY(turned.GetName() == L"a.png" && turned.GetUID() != pOriginal->GetUID());
        QCOMPARE(turned.GetBytesPerLine(), (turned.GetWidth() * turned.GetChannels() + 3) / 4 * 4);
        QVERIFY(!turned.GetPixel(turned.GetWidth(), 0) && !turned.GetPixel(0, turned.GetHeight()));
        QVERIFY(!turned.GetPixel(-1, 0) && !turned.GetPixel(0, -1));
    }

    void filtersGiveExactPixels_data()
    {
        QTest::addColumn<QString>("strFilter");
        QTest::addColumn<QString>("strPicture");
        QTest::addColumn<QString>("strExpected");
        QTest::addColumn<GeometryPtr>("pRegion");
        QTest::addColumn<int>("nMode");
        QTest::addColumn<double>("dblValue");
        const auto row = [](const char* szRow, const char* szFilter, const QString& strPicture,
                            const QString& strExpected, const GeometryPtr& pRegion = {},
                            int nMode = EOvrelBorderMode_Replicate, double dblValue = 0.0)
        { QTest::newRow(szRow) << QString(szFilter) << strPicture << strExpected << pRegion << nMode << dblValue; };
        const int nConstant = EOvrelBorderMode_Constant;
        // Grey rows of width 5 and 6 carry padding, which the test makes bright: it must never leak in.
        const QString strTen = Uniform(5, 4, 10);
        row("median, whole image, padding", "median", strTen, strTen);
        row("median, region at the right edge, padding", "median", strTen, strTen, Box(3, 0, 2, 4));
        row("sobel xy, whole image, padding", "sobelxy", strTen, Uniform(5, 4, 0));
        row("sobel xy, region at the right edge, padding", "sobelxy", strTen, Repeat("10 10 10 0 0", 4, '|'),
            Box(3, 0, 2, 4));
        row("rotation by a small angle, padding", "rotate", strTen, Uniform(6, 6, 10), {}, nConstant, 10.0);
        row("median of each channel", "median", "10,20,30,40 10,250,30,0 10,20,30,40",
            "10,20,30,40 10,20,30,40 10,20,30,40");
        // A corner pixel sees 5 outside pixels of 9, an edge pixel 3.
        const QString strZeroCorners = "0 200 200 200 0|200 200 200 200 200|0 200 200 200 0";
        row("median, constant 0", "median", Uniform(5, 3, 200), strZeroCorners, {}, nConstant);
        row("median, constant 0 in a region", "median", Uniform(5, 3, 200), strZeroCorners, Box(0, 0, 5, 3), nConstant);
        // A step from 0 to 20: the derivative across it is 20 * (1 + 2 + 1) = 80.
        const QString strColumnStep = Repeat("0 0 0 20 20 20", 4, '|');
        row("sobel x across a column edge", "sobelx", strColumnStep, Repeat("0 0 80 80 0 0", 4, '|'));
        row("sobel y across a row edge", "sobely", "0 0 0 0 0 0|0 0 0 0 0 0|20 20 20 20 20 20|20 20 20 20 20 20",
            "0 0 0 0 0 0|80 80 80 80 80 80|80 80 80 80 80 80|0 0 0 0 0 0");
        row("sobel x saturates", "sobelx", "0 0 200 200", "0 255 255 0");
        row("sobel xy adds magnitudes", "sobelxy", "0 0 0 0|0 0 0 0|0 0 10 10|0 0 10 10",
            "0 0 0 0|0 20 40 40|0 40 60 40|0 40 40 0");
        row("sobel keeps alpha", "sobelx", "0,0,0,77 0,0,0,77 10,10,10,77 10,10,10,77",
            "0,0,0,77 40,40,40,77 40,40,40,77 0,0,0,77");
        // A uniform 50 against an outside of 0: the side columns see 50 * 4.
        row("sobel, constant 0 in a region", "sobelx", Uniform(6, 4, 50),
            "50 50 50 50 50 50|200 0 0 0 0 200|200 0 0 0 0 200|50 50 50 50 50 50", Box(0, 1, 6, 2), nConstant);
        // Wrapping continues with the far side of the whole image, not of the region's surroundings.
        const int nWrap = EOvrelBorderMode_Wrap;
        row("sobel x, wrap, region at the left edge", "sobelx", "10 20 30 40 50 60 70 80", "240 20 30 40 50 60 70 80",
            Box(0, 0, 1, 1), nWrap);
        row("median, wrap, region at the left edge", "median", "200 0 0 0 100", "100 0 0 0 100", Box(0, 0, 1, 1),
            nWrap);
    }

    void filtersGiveExactPixels()
    {
        QFETCH(QString, strFilter);
        QFETCH(QString, strPicture);
        QFETCH(QString, strExpected);
        QFETCH(GeometryPtr, pRegion);
        QFETCH(int, nMode);
        QFETCH(double, dblValue);
        auto pImage = Make(strPicture);
        const int nPacked = pImage->GetWidth() * pImage->GetChannels();
        for (int y = 0; y < pImage->GetHeight(); ++y)
            std::fill(pImage->GetRows()[y] + nPacked, pImage->GetRows()[y] + pImage->GetBytesPerLine(), 255);
        const COvrelGeometry* pArea = pRegion.get();

        const EOvrelResult result = strFilter == "median"    ? pImage->Median(1, 1, pArea, nMode, dblValue)
                                    : strFilter == "sobelx"  ? pImage->SobelX(pArea, nMode, dblValue)
                                    : strFilter == "sobely"  ? pImage->SobelY(pArea, nMode, dblValue)
                                    : strFilter == "sobelxy" ? pImage->SobelXY(pArea, nMode, dblValue)
                                                             : pImage->Rotate(0.3, dblValue, 1, COvrelPoint(2.5, 2.0));

        QCOMPARE(result, EOvrelResult_OK);
        QCOMPARE(Dump(*pImage), strExpected);
    }

    void regionAtAnEdgeFiltersAsTheWholeImage_data()
    {
        QTest::addColumn<QString>("strFilter");
        QTest::addColumn<int>("nMode");
        QTest::addColumn<GeometryPtr>("pRegion");
        const QVector<QPair<const char*, GeometryPtr>> regions{
            {"left column", Box(0, 0, 1, 7)},    {"right column", Box(8, 0, 1, 7)},
            {"top row", Box(0, 0, 9, 1)},        {"bottom row", Box(0, 6, 9, 1)},
            {"top-left pixel", Box(0, 0, 1, 1)}, {"bottom-right corner", Box(7, 5, 2, 2)}};
        for (const char* szFilter : {"median", "sobelx", "sobely", "sobelxy"})
            for (int nMode = EOvrelBorderMode_Constant; nMode <= EOvrelBorderMode_Reflect101; ++nMode)
                for (const auto& region : regions)
                    QTest::addRow("%s, mode %d, %s", szFilter, nMode, region.first)
                        << QString(szFilter) << nMode << region.second;
    }

    void regionAtAnEdgeFiltersAsTheWholeImage()
    {
        QFETCH(QString, strFilter);
        QFETCH(int, nMode);
        QFETCH(GeometryPtr, pRegion);
        auto pImage = Make(Uniform(9, 7, 0));
        std::mt19937 random(11);
        for (int y = 0; y < 7; ++y)
            std::generate_n(pImage->GetRows()[y], 9, [&random] { return random() % 256; });
        COvrelImage whole;
        whole.CopyFrom(*pImage);
        const auto filter = [&](COvrelImage& image, const COvrelGeometry* pArea)
        {
            return strFilter == "median"   ? image.Median(1, 1, pArea, nMode, 30.0)
                   : strFilter == "sobelx" ? image.SobelX(pArea, nMode, 30.0)
                   : strFilter == "sobely" ? image.SobelY(pArea, nMode, 30.0)
                                           : image.SobelXY(pArea, nMode, 30.0);
        };
        COvrelImage original;
        original.CopyFrom(*pImage);

        QCOMPARE(filter(whole, nullptr), EOvrelResult_OK);
        QCOMPARE(filter(*pImage, pRegion.get()), EOvrelResult_OK);

        const COvrelRectangle box = pRegion->GetBoundary();
        for (int y = 0; y < 7; ++y)
            for (int x = 0; x < 9; ++x)
            {
                const bool bInside = x >= box.left() && x < box.right() && y >= box.top() && y < box.bottom();
                QVERIFY2(pImage->GetPixel(x, y)[0] == (bInside ? whole : original).GetPixel(x, y)[0],
                         qPrintable(QString("%1,%2").arg(x).arg(y)));
            }
    }

    void filterChangesExactlyThePixelsTheRegionContains_data()
    {
        QTest::addColumn<GeometryPtr>("pRegion");
        const auto polygon = [](const std::vector<COvrelPoint>& vctVertices)
        { return std::make_shared<COvrelPolygon>(vctVertices); };
        auto pArray = std::make_shared<COvrelGeometryArray>();
        pArray->AddGeometry(Box(0.3, 0.3, 6.1, 4.4));
        pArray->AddGeometry(std::make_shared<COvrelEllipse>(20.2, 12.6, 9.9, 7.3));
        QTest::newRow("triangle") << GeometryPtr(polygon({{3.3, 2.1}, {36.8, 7.4}, {9.6, 27.2}}));
        QTest::newRow("concave polygon") << GeometryPtr(
            polygon({{2, 2}, {30.5, 3.2}, {12.4, 12.5}, {33.1, 26.9}, {1.7, 24}}));
        QTest::newRow("self-crossing star")
            << GeometryPtr(polygon({{20, 1.3}, {27.9, 26.4}, {6.1, 10.8}, {33.6, 10.2}, {11.7, 27.1}}));
        QTest::newRow("polygon with vertices on centres")
            << GeometryPtr(polygon({{2.5, 2.5}, {20.5, 2.5}, {2.5, 20.5}}));
        QTest::newRow("two-vertex polygon") << GeometryPtr(polygon({{2.5, 2.5}, {20.5, 2.5}}));
        QTest::newRow("ellipse") << GeometryPtr(std::make_shared<COvrelEllipse>(3.7, 2.2, 25.1, 17.9));
        QTest::newRow("circle on whole numbers") << GeometryPtr(std::make_shared<COvrelEllipse>(10, 5, 20, 20));
        QTest::newRow("ellipse beyond the image") << GeometryPtr(std::make_shared<COvrelEllipse>(-10.4, 14.2, 30, 30));
        QTest::newRow("ellipse centred left of the image")
            << GeometryPtr(std::make_shared<COvrelEllipse>(-30.3, 5.2, 40, 20));
        QTest::newRow("thin ellipse") << GeometryPtr(std::make_shared<COvrelEllipse>(10.2, 3.1, 0.9, 20.3));
        QTest::newRow("rectangle, fractional edges") << Box(1.2, 0.7, 10.6, 5.3);
        QTest::newRow("rectangle, edges on centres") << Box(2.5, 3.5, 4, 2);
        QTest::newRow("rectangle dragged leftwards") << Box(30.8, 20.1, -6.6, -9.9);
        QTest::newRow("rectangle beyond the image") << Box(-5, 25.2, 60, 10);
        QTest::newRow("line along centres") << GeometryPtr(std::make_shared<COvrelLine>(0.5, 8.5, 15.5, 8.5));
        QTest::newRow("diagonal line through centres")
            << GeometryPtr(std::make_shared<COvrelLine>(2.5, 3.5, 12.5, 13.5));
        QTest::newRow("steep line through centres") << GeometryPtr(std::make_shared<COvrelLine>(3.5, 0.5, 5.5, 28.5));
        QTest::newRow("vertical line along centres") << GeometryPtr(std::make_shared<COvrelLine>(7.5, 20.5, 7.5, 2.5));
        QTest::newRow("line between centres") << GeometryPtr(std::make_shared<COvrelLine>(0.5, 8.2, 15.5, 8.9));
        QTest::newRow("point on a centre") << GeometryPtr(std::make_shared<COvrelPoint>(4.5, 4.5));
        QTest::newRow("point off the centres") << GeometryPtr(std::make_shared<COvrelPoint>(4.5, 4.7));
        QTest::newRow("array") << GeometryPtr(pArray);
    }

    void filterChangesExactlyThePixelsTheRegionContains()
    {
        QFETCH(GeometryPtr, pRegion);
        // On a uniform picture the derivative is 0 everywhere, so every pixel of the region turns 0.
        auto pImage = Make(Uniform(40, 30, 100));
        // Row by row, '#' where the pixel centre lies in the region, '.' elsewhere.
        QVector<QString> expected(30);
        QVector<QString> changed(30);
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 40; ++x)
                expected[y] += pRegion->Contained(COvrelPoint(x + 0.5, y + 0.5)) ? '#' : '.';

        const EOvrelResult result = pImage->SobelX(pRegion.get(), EOvrelBorderMode_Replicate, 0.0);

        QCOMPARE(result, expected.toList().join("").contains('#') ? EOvrelResult_OK : EOvrelResult_OutOfRange);
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 40; ++x)
                changed[y] += pImage->GetPixel(x, y)[0] == 0 ? '#' : pImage->GetPixel(x, y)[0] == 100 ? '.' : '?';
        QCOMPARE(changed, expected);
    }

    void freeAngleTurnsClockwiseAboutThePictureCentre()
    {
        // cos 0.8, sin 0.6: offsets of 5 from the centre land on whole pixels, (5, 0) on (4, 3) and
        // (0, 5) on (-3, 4), so linear interpolation must give back the marker values unmixed.
        auto pImage = Make(Uniform(25, 25, 0));
        pImage->GetPixel(17, 12)[0] = 200;
        pImage->GetPixel(12, 17)[0] = 100;

        QCOMPARE(pImage->Rotate(std::atan2(3.0, 4.0), 0.0, 1, COvrelPoint(12.5, 12.5)), EOvrelResult_OK);

        // The 25 x 25 picture needs 25 * (0.8 + 0.6) = 35 pixels each way; its centre moves to (17, 17).
        QCOMPARE(QSize(pImage->GetWidth(), pImage->GetHeight()), QSize(35, 35));
        QCOMPARE(int(pImage->GetPixel(21, 20)[0]), 200);
        QCOMPARE(int(pImage->GetPixel(14, 21)[0]), 100);
        QCOMPARE(int(pImage->GetPixel(21, 14)[0]), 0);
        QCOMPARE(int(pImage->GetPixel(0, 0)[0]), 0);
    }

    void aCopyAndItsSourceChangeApart_data()
    {
        using Write = std::function<void(COvrelImage&)>;
        QTest::addColumn<bool>("bWriteCopy");
        QTest::addColumn<Write>("write");
        QTest::addColumn<QString>("strWritten");
        const COvrelRectangle corner(0, 0, 1, 1);
        const Write pixel = [](COvrelImage& image) { image.GetPixel(2, 1)[0] = 99; };
        const Write rows = [](COvrelImage& image) { image.GetRows()[0][1] = 99; };
        const Write data = [](COvrelImage& image) { image.GetData()[0] = 99; };
        const Write median = [corner](COvrelImage& image)
        { QCOMPARE(image.Median(1, 1, &corner, EOvrelBorderMode_Replicate, 0.0), EOvrelResult_OK); };
        const Write turn = [](COvrelImage& image)
        {
            QCOMPARE(image.Rotate(0.0, 0.0, 1, COvrelPoint(1.5, 1.0)), EOvrelResult_OK);
            image.GetPixel(2, 1)[0] = 99;
        };
        const Write wholeMedian = [](COvrelImage& image)
        { QCOMPARE(image.Median(1, 1, nullptr, EOvrelBorderMode_Replicate, 0.0), EOvrelResult_OK); };
        const Write sobel = [](COvrelImage& image)
        { QCOMPARE(image.SobelX(nullptr, EOvrelBorderMode_Constant, 7.0), EOvrelResult_OK); };
        for (const bool bCopy : {false, true})
        {
            const char* szSide = bCopy ? "copy" : "source";
            QTest::addRow("%s through GetPixel", szSide) << bCopy << pixel << "1 2 3|4 5 99";
            QTest::addRow("%s through GetRows", szSide) << bCopy << rows << "1 99 3|4 5 6";
            QTest::addRow("%s through GetData", szSide) << bCopy << data << "99 2 3|4 5 6";
            QTest::addRow("%s turned by nothing, then written", szSide) << bCopy << turn << "1 2 3|4 5 99";
            QTest::addRow("%s by a filter in a region", szSide) << bCopy << median << "2 2 3|4 5 6";
            QTest::addRow("%s by a filter into a new buffer", szSide) << bCopy << wholeMedian << "2 3 3|4 4 5";
            QTest::addRow("%s by a filter over the whole image", szSide) << bCopy << sobel << "12 6 12|9 6 9";
        }
    }

    void aCopyAndItsSourceChangeApart()
    {
        using Write = std::function<void(COvrelImage&)>;
        QFETCH(bool, bWriteCopy);
        QFETCH(Write, write);
        QFETCH(QString, strWritten);
        auto pSource = Make("1 2 3|4 5 6");
        auto pCopy = std::make_unique<COvrelImage>();
        QCOMPARE(pCopy->CopyFrom(*pSource), EOvrelResult_OK);
        // Until one side is written, the copy costs no pixel buffer of its own.
        QCOMPARE(std::as_const(*pCopy).GetData(), std::as_const(*pSource).GetData());

        write(bWriteCopy ? *pCopy : *pSource);

        QCOMPARE(Dump(bWriteCopy ? *pCopy : *pSource), strWritten);
        QCOMPARE(Dump(bWriteCopy ? *pSource : *pCopy), QString("1 2 3|4 5 6"));
        // Each side now owns its pixels: the other may go, and later writes stay on their own side.
        (bWriteCopy ? pSource : pCopy).reset();
        COvrelImage& left = bWriteCopy ? *pCopy : *pSource;
        left.GetPixel(0, 1)[0] = 42;
        QCOMPARE(left.GetPixel(0, 1)[0], 42);
    }

    void refusedCallsLeaveTheImage()
    {
        const auto pImage = Make("1 2 3|4 5 6");
        const COvrelRectangle beside(10, 10, 5, 5);
        const COvrelPoint centre(1.5, 1.0);

        QCOMPARE(pImage->CopyFrom(nullptr), EOvrelResult_InvalidArgument);
        QCOMPARE(pImage->Create(0, 2, 3), EOvrelResult_InvalidArgument);
        QCOMPARE(pImage->Create(100000, 100000, 4), EOvrelResult_TooLarge);
        QCOMPARE(pImage->Rotate(HUGE_VAL, 0.0, 1, centre), EOvrelResult_InvalidArgument);
        QCOMPARE(pImage->Rotate(M_PI / 2, 0.0, 3, centre), EOvrelResult_InvalidArgument);
        QCOMPARE(pImage->Median(1, 2, nullptr, EOvrelBorderMode_Replicate, 0.0), EOvrelResult_InvalidArgument);
        QCOMPARE(pImage->Median(1, 1, nullptr, EOvrelBorderMode_Constant, std::nan("")), EOvrelResult_InvalidArgument);
        QCOMPARE(pImage->Median(1, 1, &beside, EOvrelBorderMode_Replicate, 0.0), EOvrelResult_OutOfRange);
        QCOMPARE(pImage->SobelXY(&beside, EOvrelBorderMode_Replicate, 0.0), EOvrelResult_OutOfRange);
        QCOMPARE(COvrelImage().SobelX(nullptr, EOvrelBorderMode_Replicate, 0.0), EOvrelResult_Empty);

        QCOMPARE(Dump(*pImage), QString("1 2 3|4 5 6"));
    }
};

QTEST_MAIN(OvrelImageTest)
#include "OvrelImageTest.moc"
