#include "Geometry/COvrelEllipse.h"
#include "Geometry/COvrelGeometryArray.h"
#include "Geometry/COvrelLine.h"
#include "Geometry/COvrelPoint.h"
#include "Geometry/COvrelPolygon.h"
#include "Geometry/COvrelRectangle.h"
#include "Utils/COvrelImage.h"
#include "Utils/EOvrelBorderMode.h"

#include <QtTest>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <mutex>
#include <random>
#include <set>
#include <thread>
#include <vector>

using namespace Ovrel::Geometry;
using namespace Ovrel::Utils;

Q_DECLARE_METATYPE(std::shared_ptr<COvrelGeometry>)

namespace
{

// "a b c|d e f" for grey, "r,g,b ..." for colour: the whole picture row by row.
QString Dump(const COvrelImage& image)
{
    QStringList rows;
    for (int y = 0; y < image.GetHeight(); ++y)
    {
        QStringList pixels;
        for (int x = 0; x < image.GetWidth(); ++x)
        {
            QStringList channels;
            for (int c = 0; c < image.GetChannels(); ++c)
                channels << QString::number(image.GetPixel(x, y)[c]);
            pixels << channels.join(',');
        }
        rows << pixels.join(' ');
    }
    return rows.join('|');
}

// A grey image whose pixels are taken row by row from the values.
std::unique_ptr<COvrelImage> Grey(int nWidth, int nHeight, const std::vector<int>& values)
{
    auto pImage = std::make_unique<COvrelImage>();
    pImage->Create(nWidth, nHeight, 1);
    for (int y = 0; y < nHeight; ++y)
        for (int x = 0; x < nWidth; ++x)
            pImage->GetPixel(x, y)[0] = static_cast<unsigned char>(values[static_cast<size_t>(y * nWidth + x)]);
    return pImage;
}

std::unique_ptr<COvrelImage> Uniform(int nWidth, int nHeight, int nValue)
{
    return Grey(nWidth, nHeight, std::vector<int>(static_cast<size_t>(nWidth * nHeight), nValue));
}

// A grey step: the left columns (x < nEdge) hold 0, the others nHigh; transposed for a row edge.
std::unique_ptr<COvrelImage> Step(int nWidth, int nHeight, int nEdge, int nHigh, bool bRowEdge)
{
    std::vector<int> values;
    for (int y = 0; y < nHeight; ++y)
        for (int x = 0; x < nWidth; ++x)
            values.push_back((bRowEdge ? y : x) < nEdge ? 0 : nHigh);
    return Grey(nWidth, nHeight, values);
}

// Median of the 3 x 3 neighbourhood with the edge pixels repeated beyond the image.
int ReferenceMedian3(const COvrelImage& image, int x, int y)
{
    std::vector<int> window;
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
        {
            const int sx = std::clamp(x + dx, 0, image.GetWidth() - 1);
            const int sy = std::clamp(y + dy, 0, image.GetHeight() - 1);
            window.push_back(image.GetPixel(sx, sy)[0]);
        }
    std::nth_element(window.begin(), window.begin() + 4, window.end());
    return window[4];
}

} // namespace

class OvrelImageTest : public QObject
{
    Q_OBJECT

private slots:
    void rowsAreLaidOutForQImage_data()
    {
        QTest::addColumn<int>("nWidth");
        QTest::addColumn<int>("nChannels");
        QTest::addColumn<int>("nAlignment");
        QTest::addColumn<int>("nBytesPerLine");
        QTest::newRow("rgb padded to 4") << 3 << 3 << 4 << 12;
        QTest::newRow("grey padded to 4") << 3 << 1 << 4 << 4;
        QTest::newRow("rgba needs no padding") << 5 << 4 << 4 << 20;
        QTest::newRow("alignment 1 packs rows") << 3 << 3 << 1 << 9;
        QTest::newRow("alignment 8") << 3 << 3 << 8 << 16;
        QTest::newRow("alignment 64") << 1 << 1 << 64 << 64;
    }

    void rowsAreLaidOutForQImage()
    {
        QFETCH(int, nWidth);
        QFETCH(int, nChannels);
        QFETCH(int, nAlignment);
        QFETCH(int, nBytesPerLine);
        COvrelImage image;

        QCOMPARE(image.Create(nWidth, 3, nChannels, 8, 0, nAlignment), EOvrelResult_OK);

        QCOMPARE(image.GetBytesPerLine(), nBytesPerLine);
        QCOMPARE(image.GetRowAlignment(), nAlignment);
        QCOMPARE(reinterpret_cast<std::uintptr_t>(image.GetData()) % std::uintptr_t(nAlignment), std::uintptr_t(0));
        for (int y = 0; y < 3; ++y)
            QCOMPARE(image.GetRows()[y], image.GetData() + y * nBytesPerLine);
        for (int x = 0; x < nWidth; ++x)
        {
            QCOMPARE(image.GetColumnOffsets()[x], x * nChannels);
            QCOMPARE(image.GetPixel(x, 2), image.GetData() + 2 * nBytesPerLine + x * nChannels);
        }
        QVERIFY(!image.GetPixel(-1, 0));
        QVERIFY(!image.GetPixel(0, -1));
        QVERIFY(!image.GetPixel(nWidth, 0));
        QVERIFY(!image.GetPixel(0, 3));
    }

    void newImageIsEmpty()
    {
        const COvrelImage image;

        QVERIFY(image.IsEmpty());
        QCOMPARE(image.GetWidth(), 0);
        QCOMPARE(image.GetChannels(), 0);
        QVERIFY(!image.GetData());
        QVERIFY(!image.GetRows());
        QVERIFY(!image.GetPixel(0, 0));
    }

    void createMakesBlackPixelsAndKeepsTheName()
    {
        COvrelImage image;
        image.SetName(L"name");
        image.SetFolder(L"/folder");

        QCOMPARE(image.Create(2, 2, 3), EOvrelResult_OK);

        QCOMPARE(Dump(image), QString("0,0,0 0,0,0|0,0,0 0,0,0"));
        QVERIFY(image.GetName() == L"name");
        QVERIFY(image.GetFolder() == L"/folder");
    }

    void createRefusesBadArguments_data()
    {
        QTest::addColumn<QVector<int>>("arguments");
        QTest::addColumn<int>("nResult");
        QTest::newRow("zero width") << QVector<int>{0, 2, 3, 8, 0, 4} << int(EOvrelResult_InvalidArgument);
        QTest::newRow("negative height") << QVector<int>{2, -1, 3, 8, 0, 4} << int(EOvrelResult_InvalidArgument);
        QTest::newRow("two channels") << QVector<int>{2, 2, 2, 8, 0, 4} << int(EOvrelResult_InvalidArgument);
        QTest::newRow("five channels") << QVector<int>{2, 2, 5, 8, 0, 4} << int(EOvrelResult_InvalidArgument);
        QTest::newRow("16 bits") << QVector<int>{2, 2, 3, 16, 0, 4} << int(EOvrelResult_InvalidArgument);
        QTest::newRow("image type 1") << QVector<int>{2, 2, 3, 8, 1, 4} << int(EOvrelResult_InvalidArgument);
        QTest::newRow("alignment 3") << QVector<int>{2, 2, 3, 8, 0, 3} << int(EOvrelResult_InvalidArgument);
        QTest::newRow("alignment 0") << QVector<int>{2, 2, 3, 8, 0, 0} << int(EOvrelResult_InvalidArgument);
        QTest::newRow("alignment 128") << QVector<int>{2, 2, 3, 8, 0, 128} << int(EOvrelResult_InvalidArgument);
        QTest::newRow("over 2 GiB") << QVector<int>{100000, 100000, 4, 8, 0, 4} << int(EOvrelResult_TooLarge);
    }

    void createRefusesBadArguments()
    {
        QFETCH(QVector<int>, arguments);
        QFETCH(int, nResult);
        const auto pImage = Grey(2, 1, {7, 9});

        QCOMPARE(
            int(pImage->Create(arguments[0], arguments[1], arguments[2], arguments[3], arguments[4], arguments[5])),
            nResult);

        QCOMPARE(Dump(*pImage), QString("7 9"));
    }

    void copyFromIsDeep()
    {
        const auto pSource = Grey(3, 2, {1, 2, 3, 4, 5, 6});
        pSource->SetName(L"a.png");
        pSource->SetFolder(L"/pictures");
        COvrelImage copy;

        QCOMPARE(copy.CopyFrom(pSource.get()), EOvrelResult_OK);
        pSource->GetPixel(0, 0)[0] = 99;

        QCOMPARE(Dump(copy), QString("1 2 3|4 5 6"));
        QVERIFY(copy.GetData() != pSource->GetData());
        QCOMPARE(copy.GetBytesPerLine(), pSource->GetBytesPerLine());
        QVERIFY(copy.GetName() == L"a.png");
        QVERIFY(copy.GetFolder() == L"/pictures");
        QVERIFY(copy.GetUID() != pSource->GetUID());
    }

    void copyFromEdgeCases()
    {
        auto pImage = Grey(2, 1, {7, 9});
        const COvrelImage empty;

        QVERIFY(pImage->CopyFrom(nullptr) != EOvrelResult_OK);
        QCOMPARE(Dump(*pImage), QString("7 9"));
        QCOMPARE(pImage->CopyFrom(*pImage), EOvrelResult_OK);
        QCOMPARE(Dump(*pImage), QString("7 9"));
        QCOMPARE(pImage->CopyFrom(empty), EOvrelResult_OK);
        QVERIFY(pImage->IsEmpty());
    }

    void uidsAreUniqueAcrossThreads()
    {
        std::mutex lock;
        std::set<unsigned int> uids;
        std::vector<std::thread> threads;
        for (int t = 0; t < 4; ++t)
            threads.emplace_back(
                [&]
                {
                    std::vector<unsigned int> mine;
                    for (int i = 0; i < 5000; ++i)
                        mine.push_back(COvrelPoint().GetUID());
                    std::lock_guard<std::mutex> guard(lock);
                    uids.insert(mine.begin(), mine.end());
                });
        for (auto& thread : threads)
            thread.join();

        QCOMPARE(uids.size(), size_t(20000));
        QVERIFY(!uids.count(0));
    }

    void compareEqualIsTolerant_data()
    {
        QTest::addColumn<double>("a");
        QTest::addColumn<double>("b");
        QTest::addColumn<bool>("bDoubleEqual");
        QTest::addColumn<bool>("bFloatEqual");
        QTest::newRow("identical") << 1.5 << 1.5 << true << true;
        QTest::newRow("rounding noise") << 0.1 + 0.2 << 0.3 << true << true;
        QTest::newRow("near zero is absolute") << 0.0 << 1e-10 << true << true;
        QTest::newRow("large values are relative") << 1e6 << 1e6 + 1e-4 << true << true;
        QTest::newRow("visible difference") << 1.0 << 1.001 << false << false;
        QTest::newRow("float-sized difference") << 1.0 << 1.0 + 1e-7 << false << true;
        QTest::newRow("not a number") << std::nan("") << std::nan("") << false << false;
        QTest::newRow("equal infinities") << HUGE_VAL << HUGE_VAL << true << true;
    }

    void compareEqualIsTolerant()
    {
        QFETCH(double, a);
        QFETCH(double, b);
        QFETCH(bool, bDoubleEqual);
        QFETCH(bool, bFloatEqual);

        QCOMPARE(COvrelObject::CompareEqual(a, b), bDoubleEqual);
        QCOMPARE(COvrelObject::CompareEqual(b, a), bDoubleEqual);
        QCOMPARE(COvrelObject::CompareEqual(float(a), float(b)), bFloatEqual);
    }

    void quarterTurnsMovePixelsExactly_data()
    {
        QTest::addColumn<double>("dblAngle");
        QTest::addColumn<QString>("strExpected");
        // The picture is 1 2 3 over 4 5 6.
        QTest::newRow("+pi/2 clockwise") << 1.5707963267948966 << "4 1|5 2|6 3";
        QTest::newRow("-pi/2 anticlockwise") << -1.5707963267948966 << "3 6|2 5|1 4";
        QTest::newRow("pi") << M_PI << "6 5 4|3 2 1";
        QTest::newRow("-3pi/2 is clockwise") << -3 * M_PI / 2 << "4 1|5 2|6 3";
        QTest::newRow("2pi unchanged") << 2 * M_PI << "1 2 3|4 5 6";
        QTest::newRow("0 unchanged") << 0.0 << "1 2 3|4 5 6";
    }

    void quarterTurnsMovePixelsExactly()
    {
        QFETCH(double, dblAngle);
        QFETCH(QString, strExpected);
        auto pImage = Grey(3, 2, {1, 2, 3, 4, 5, 6});

        QCOMPARE(pImage->Rotate(dblAngle, 0.0, 1, COvrelPoint(1.5, 1.0)), EOvrelResult_OK);

        QCOMPARE(Dump(*pImage), strExpected);
        QCOMPARE(pImage->GetBytesPerLine(), 4);
    }

    void quarterTurnMovesAllChannelsTogether()
    {
        COvrelImage image;
        image.Create(2, 1, 3);
        std::copy_n(std::vector<unsigned char>{1, 2, 3}.data(), 3, image.GetPixel(0, 0));
        std::copy_n(std::vector<unsigned char>{4, 5, 6}.data(), 3, image.GetPixel(1, 0));

        QCOMPARE(image.Rotate(M_PI / 2, 0.0, 1, COvrelPoint(1.0, 0.5)), EOvrelResult_OK);

        QCOMPARE(image.GetWidth(), 1);
        QCOMPARE(image.GetHeight(), 2);
        QCOMPARE(image.GetBytesPerLine(), 4);
        QCOMPARE(Dump(image), QString("1,2,3|4,5,6"));
    }

    void otherAnglesKeepTheWholePicture()
    {
        auto pImage = Uniform(40, 20, 255);

        QCOMPARE(pImage->Rotate(M_PI / 4, 0.0, 1, COvrelPoint(20.0, 10.0)), EOvrelResult_OK);

        // 40 cos 45 + 20 sin 45 = 42.43
        QCOMPARE(pImage->GetWidth(), 43);
        QCOMPARE(pImage->GetHeight(), 43);
        QCOMPARE(int(pImage->GetPixel(0, 0)[0]), 0);
        QCOMPARE(int(pImage->GetPixel(42, 42)[0]), 0);
        QCOMPARE(int(pImage->GetPixel(21, 21)[0]), 255);
        double dblArea = 0.0;
        for (int y = 0; y < pImage->GetHeight(); ++y)
            for (int x = 0; x < pImage->GetWidth(); ++x)
                dblArea += pImage->GetPixel(x, y)[0] / 255.0;
        QVERIFY2(std::fabs(dblArea - 800.0) < 20.0, qPrintable(QString::number(dblArea)));
    }

    void smallTurnsFollowTheQuarterTurnDirection_data()
    {
        QTest::addColumn<double>("dblAngle");
        QTest::addColumn<bool>("bRight");
        QTest::addColumn<bool>("bBottom");
        // A mark in the top-left corner of a wide picture.
        QTest::newRow("clockwise goes to the top right") << M_PI / 2 - 0.05 << true << false;
        QTest::newRow("anticlockwise goes to the bottom left") << -(M_PI / 2 - 0.05) << false << true;
    }

    void smallTurnsFollowTheQuarterTurnDirection()
    {
        QFETCH(double, dblAngle);
        QFETCH(bool, bRight);
        QFETCH(bool, bBottom);
        auto pImage = Uniform(41, 21, 0);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 5; ++x)
                pImage->GetPixel(x, y)[0] = 255;

        QCOMPARE(pImage->Rotate(dblAngle, 0.0, 0, COvrelPoint(20.5, 10.5)), EOvrelResult_OK);

        double sumX = 0.0, sumY = 0.0, count = 0.0;
        for (int y = 0; y < pImage->GetHeight(); ++y)
            for (int x = 0; x < pImage->GetWidth(); ++x)
                if (pImage->GetPixel(x, y)[0] > 128)
                {
                    sumX += x;
                    sumY += y;
                    count += 1.0;
                }
        QVERIFY(count > 0.0);
        QCOMPARE(sumX / count > pImage->GetWidth() / 2.0, bRight);
        QCOMPARE(sumY / count > pImage->GetHeight() / 2.0, bBottom);
    }

    void rotateRefusesBadArguments_data()
    {
        QTest::addColumn<double>("dblAngle");
        QTest::addColumn<double>("dblBackground");
        QTest::addColumn<int>("nInterpolation");
        QTest::addColumn<double>("dblCenterX");
        QTest::newRow("infinite angle") << HUGE_VAL << 0.0 << 1 << 1.0;
        QTest::newRow("nan background") << 0.3 << std::nan("") << 1 << 1.0;
        QTest::newRow("interpolation 3") << M_PI / 2 << 0.0 << 3 << 1.0;
        QTest::newRow("interpolation -1") << 0.3 << 0.0 << -1 << 1.0;
        QTest::newRow("nan centre") << M_PI / 2 << 0.0 << 1 << std::nan("");
    }

    void rotateRefusesBadArguments()
    {
        QFETCH(double, dblAngle);
        QFETCH(double, dblBackground);
        QFETCH(int, nInterpolation);
        QFETCH(double, dblCenterX);
        auto pImage = Grey(3, 2, {1, 2, 3, 4, 5, 6});

        QVERIFY(pImage->Rotate(dblAngle, dblBackground, nInterpolation, COvrelPoint(dblCenterX, 1.0)) !=
                EOvrelResult_OK);

        QCOMPARE(Dump(*pImage), QString("1 2 3|4 5 6"));
        COvrelImage empty;
        QVERIFY(empty.Rotate(M_PI / 2, 0.0, 1, COvrelPoint()) != EOvrelResult_OK);
    }

    void medianInsideRectangleLeavesOutsideUntouched()
    {
        std::mt19937 random(7);
        std::vector<int> values(12 * 10);
        for (int& value : values)
            value = int(random() % 256);
        auto pImage = Grey(12, 10, values);
        const auto pOriginal = Grey(12, 10, values);
        const unsigned char* pBuffer = pImage->GetData();
        const COvrelRectangle region(2.0, 3.0, 4.0, 5.0);

        QCOMPARE(pImage->Median(1, 1, &region, EOvrelBorderMode_Replicate, 0.0), EOvrelResult_OK);

        // A region filter works in place; inside, pixels see their real neighbours outside the region.
        QCOMPARE(pImage->GetData(), pBuffer);
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 12; ++x)
            {
                const bool bInside = x >= 2 && x < 6 && y >= 3 && y < 8;
                const int nExpected = bInside ? ReferenceMedian3(*pOriginal, x, y) : pOriginal->GetPixel(x, y)[0];
                QVERIFY2(pImage->GetPixel(x, y)[0] == nExpected, qPrintable(QString("%1,%2").arg(x).arg(y)));
            }
    }

    void medianWholeImageMatchesTheReference()
    {
        std::mt19937 random(11);
        std::vector<int> values(9 * 7);
        for (int& value : values)
            value = int(random() % 256);
        auto pImage = Grey(9, 7, values);
        const auto pOriginal = Grey(9, 7, values);

        QCOMPARE(pImage->Median(1, 1, nullptr, EOvrelBorderMode_Replicate, 0.0), EOvrelResult_OK);

        QCOMPARE(pImage->GetBytesPerLine(), 12);
        for (int y = 0; y < 7; ++y)
            for (int x = 0; x < 9; ++x)
                QCOMPARE(int(pImage->GetPixel(x, y)[0]), ReferenceMedian3(*pOriginal, x, y));
    }

    void filtersNeverReadTheRowPadding_data()
    {
        QTest::addColumn<int>("nFilter");
        QTest::addColumn<bool>("bRegion");
        QTest::newRow("median whole image") << 0 << false;
        QTest::newRow("median region at the right edge") << 0 << true;
        QTest::newRow("sobel whole image") << 1 << false;
        QTest::newRow("sobel region at the right edge") << 1 << true;
        QTest::newRow("rotation by a small angle") << 2 << false;
    }

    void filtersNeverReadTheRowPadding()
    {
        QFETCH(int, nFilter);
        QFETCH(bool, bRegion);
        // Width 5 in grey leaves 3 bytes of padding per row; bright padding must not leak in.
        auto pImage = Uniform(5, 4, 10);
        for (int y = 0; y < 4; ++y)
            std::fill_n(pImage->GetRows()[y] + 5, 3, 255);
        const COvrelRectangle rightColumns(3.0, 0.0, 2.0, 4.0);
        const COvrelGeometry* pRegion = bRegion ? &rightColumns : nullptr;

        const EOvrelResult result = nFilter == 0   ? pImage->Median(1, 1, pRegion, EOvrelBorderMode_Replicate, 0.0)
                                    : nFilter == 1 ? pImage->SobelXY(pRegion, EOvrelBorderMode_Replicate, 0.0)
                                                   : pImage->Rotate(0.3, 10.0, 1, COvrelPoint(2.5, 2.0));

        QCOMPARE(result, EOvrelResult_OK);
        if (nFilter == 2)
        {
            // Picture and background are both 10, so every turned pixel is 10.
            for (int y = 0; y < pImage->GetHeight(); ++y)
                for (int x = 0; x < pImage->GetWidth(); ++x)
                    QCOMPARE(int(pImage->GetPixel(x, y)[0]), 10);
            return;
        }
        // Median keeps the uniform level; Sobel gives 0 where it ran and leaves 10 elsewhere.
        const QString strRow = nFilter == 0 ? "10 10 10 10 10" : bRegion ? "10 10 10 0 0" : "0 0 0 0 0";
        QCOMPARE(Dump(*pImage), QVector<QString>(4, strRow).toList().join('|'));
    }

    void medianFollowsTheRegionShape_data()
    {
        QTest::addColumn<std::shared_ptr<COvrelGeometry>>("pRegion");
        QTest::addColumn<QPoint>("inside");
        QTest::addColumn<QPoint>("outside");
        QTest::newRow("ellipse: centre in, box corner out")
            << std::shared_ptr<COvrelGeometry>(std::make_shared<COvrelEllipse>(2.0, 2.0, 12.0, 12.0)) << QPoint(8, 8)
            << QPoint(2, 2);
        QTest::newRow("triangle: near the right angle in, across the slant out")
            << std::shared_ptr<COvrelGeometry>(std::make_shared<COvrelPolygon>(
                   std::vector<COvrelPoint>{COvrelPoint(1, 1), COvrelPoint(15, 1), COvrelPoint(1, 15)}))
            << QPoint(4, 4) << QPoint(11, 11);
        QTest::newRow("rectangle reaching beyond the image")
            << std::shared_ptr<COvrelGeometry>(std::make_shared<COvrelRectangle>(-5.0, -5.0, 8.0, 8.0)) << QPoint(1, 1)
            << QPoint(4, 4);
        QTest::newRow("line: crossed pixel in, neighbour out")
            << std::shared_ptr<COvrelGeometry>(std::make_shared<COvrelLine>(0.5, 8.5, 15.5, 8.5)) << QPoint(5, 8)
            << QPoint(5, 10);
        QTest::newRow("point: its pixel in, the next out")
            << std::shared_ptr<COvrelGeometry>(std::make_shared<COvrelPoint>(4.5, 4.7)) << QPoint(4, 4) << QPoint(5, 4);
        auto pArray = std::make_shared<COvrelGeometryArray>();
        pArray->AddGeometry(std::make_shared<COvrelRectangle>(0.0, 0.0, 3.0, 3.0));
        pArray->AddGeometry(std::make_shared<COvrelRectangle>(10.0, 10.0, 3.0, 3.0));
        QTest::newRow("array: a member in, the gap out")
            << std::shared_ptr<COvrelGeometry>(pArray) << QPoint(11, 11) << QPoint(6, 6);
        QTest::newRow("rectangle dragged leftwards")
            << std::shared_ptr<COvrelGeometry>(std::make_shared<COvrelRectangle>(10.0, 10.0, -6.0, -6.0))
            << QPoint(5, 5) << QPoint(11, 11);
    }

    void medianFollowsTheRegionShape()
    {
        QFETCH(std::shared_ptr<COvrelGeometry>, pRegion);
        QFETCH(QPoint, inside);
        QFETCH(QPoint, outside);
        auto pImage = Uniform(16, 16, 100);
        pImage->GetPixel(inside.x(), inside.y())[0] = 255;
        pImage->GetPixel(outside.x(), outside.y())[0] = 255;

        QCOMPARE(pImage->Median(1, 1, pRegion.get(), EOvrelBorderMode_Replicate, 0.0), EOvrelResult_OK);

        QCOMPARE(int(pImage->GetPixel(inside.x(), inside.y())[0]), 100);
        QCOMPARE(int(pImage->GetPixel(outside.x(), outside.y())[0]), 255);
    }

    void medianFiltersEachChannel()
    {
        COvrelImage image;
        image.Create(3, 3, 4);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 3; ++x)
                std::copy_n(std::vector<unsigned char>{10, 20, 30, 40}.data(), 4, image.GetPixel(x, y));
        image.GetPixel(1, 1)[1] = 250;
        image.GetPixel(1, 1)[3] = 0;

        QCOMPARE(image.Median(1, 1, nullptr, EOvrelBorderMode_Replicate, 0.0), EOvrelResult_OK);

        QCOMPARE(Dump(image), QString("10,20,30,40 10,20,30,40 10,20,30,40|10,20,30,40 10,20,30,40 "
                                      "10,20,30,40|10,20,30,40 10,20,30,40 10,20,30,40"));
    }

    void borderModeDecidesWhatLiesBeyondTheEdge_data()
    {
        QTest::addColumn<int>("nBorderMode");
        QTest::addColumn<double>("dblValue");
        QTest::addColumn<bool>("bRegion");
        QTest::addColumn<QString>("strExpected");
        // 4 x 3 picture of 200: a corner sees 5 outside pixels of 9, an edge pixel 3.
        const QString strZeroCorners = "0 200 200 0|200 200 200 200|0 200 200 0";
        const QString strUnchanged = "200 200 200 200|200 200 200 200|200 200 200 200";
        QTest::newRow("constant 0") << int(EOvrelBorderMode_Constant) << 0.0 << false << strZeroCorners;
        QTest::newRow("constant 0 in a region") << int(EOvrelBorderMode_Constant) << 0.0 << true << strZeroCorners;
        QTest::newRow("constant 200") << int(EOvrelBorderMode_Constant) << 200.0 << false << strUnchanged;
        QTest::newRow("replicate") << int(EOvrelBorderMode_Replicate) << 0.0 << false << strUnchanged;
        QTest::newRow("replicate in a region") << int(EOvrelBorderMode_Replicate) << 0.0 << true << strUnchanged;
        QTest::newRow("reflect") << int(EOvrelBorderMode_Reflect) << 0.0 << false << strUnchanged;
        QTest::newRow("wrap") << int(EOvrelBorderMode_Wrap) << 0.0 << false << strUnchanged;
        QTest::newRow("reflect 101") << int(EOvrelBorderMode_Reflect101) << 0.0 << false << strUnchanged;
    }

    void borderModeDecidesWhatLiesBeyondTheEdge()
    {
        QFETCH(int, nBorderMode);
        QFETCH(double, dblValue);
        QFETCH(bool, bRegion);
        QFETCH(QString, strExpected);
        auto pImage = Uniform(4, 3, 200);
        const COvrelRectangle whole(0.0, 0.0, 4.0, 3.0);

        QCOMPARE(pImage->Median(1, 1, bRegion ? &whole : nullptr, nBorderMode, dblValue), EOvrelResult_OK);

        QCOMPARE(Dump(*pImage), strExpected);
    }

    void filtersRefuseBadArguments_data()
    {
        QTest::addColumn<int>("nRadiusX");
        QTest::addColumn<int>("nRadiusY");
        QTest::addColumn<int>("nBorderMode");
        QTest::addColumn<double>("dblValue");
        QTest::addColumn<bool>("bRegionOutside");
        QTest::addColumn<int>("nResult");
        QTest::newRow("unequal radii") << 1 << 2 << 1 << 0.0 << false << int(EOvrelResult_InvalidArgument);
        QTest::newRow("radius 0") << 0 << 0 << 1 << 0.0 << false << int(EOvrelResult_InvalidArgument);
        QTest::newRow("radius 128") << 128 << 128 << 1 << 0.0 << false << int(EOvrelResult_InvalidArgument);
        QTest::newRow("border mode 5") << 1 << 1 << 5 << 0.0 << false << int(EOvrelResult_InvalidArgument);
        QTest::newRow("border mode -1") << 1 << 1 << -1 << 0.0 << false << int(EOvrelResult_InvalidArgument);
        QTest::newRow("nan border value") << 1 << 1 << 0 << std::nan("") << false << int(EOvrelResult_InvalidArgument);
        QTest::newRow("region beside the image") << 1 << 1 << 1 << 0.0 << true << int(EOvrelResult_OutOfRange);
    }

    void filtersRefuseBadArguments()
    {
        QFETCH(int, nRadiusX);
        QFETCH(int, nRadiusY);
        QFETCH(int, nBorderMode);
        QFETCH(double, dblValue);
        QFETCH(bool, bRegionOutside);
        QFETCH(int, nResult);
        auto pImage = Grey(3, 2, {1, 2, 3, 4, 5, 6});
        const COvrelRectangle outside(10.0, 10.0, 5.0, 5.0);
        const COvrelGeometry* pRegion = bRegionOutside ? &outside : nullptr;

        QCOMPARE(int(pImage->Median(nRadiusX, nRadiusY, pRegion, nBorderMode, dblValue)), nResult);
        if (nRadiusX == 1 && nRadiusY == 1)
            QCOMPARE(int(pImage->SobelXY(pRegion, nBorderMode, dblValue)), nResult);

        QCOMPARE(Dump(*pImage), QString("1 2 3|4 5 6"));
        COvrelImage empty;
        QVERIFY(empty.Median(1, 1, nullptr, 1, 0.0) != EOvrelResult_OK);
        QVERIFY(empty.SobelX(nullptr, 1, 0.0) != EOvrelResult_OK);
    }

    void sobelRespondsOnTheEdgeOnly_data()
    {
        QTest::addColumn<int>("nDirection");
        QTest::addColumn<bool>("bRowEdge");
        QTest::addColumn<QString>("strExpected");
        // A step from 0 to 20 between index 2 and 3: the derivative is 20 * (1 + 2 + 1) = 80.
        const QString strColumnResponse = "0 0 80 80 0 0|0 0 80 80 0 0|0 0 80 80 0 0|0 0 80 80 0 0";
        const QString strRowResponse = "0 0 0 0 0 0|0 0 0 0 0 0|80 80 80 80 80 80|80 80 80 80 80 80";
        const QString strNone = "0 0 0 0 0 0|0 0 0 0 0 0|0 0 0 0 0 0|0 0 0 0 0 0";
        QTest::newRow("x across a column edge") << 0 << false << strColumnResponse;
        QTest::newRow("y across a column edge") << 1 << false << strNone;
        QTest::newRow("xy across a column edge") << 2 << false << strColumnResponse;
        QTest::newRow("y across a row edge")
            << 1 << true << "0 0 0 0 0 0|80 80 80 80 80 80|80 80 80 80 80 80|0 0 0 0 0 0";
        QTest::newRow("x across a row edge") << 0 << true << strNone;
        Q_UNUSED(strRowResponse);
    }

    void sobelRespondsOnTheEdgeOnly()
    {
        QFETCH(int, nDirection);
        QFETCH(bool, bRowEdge);
        QFETCH(QString, strExpected);
        auto pImage = Step(6, 4, bRowEdge ? 2 : 3, 20, bRowEdge);

        const EOvrelResult result = nDirection == 0   ? pImage->SobelX(nullptr, EOvrelBorderMode_Replicate, 0.0)
                                    : nDirection == 1 ? pImage->SobelY(nullptr, EOvrelBorderMode_Replicate, 0.0)
                                                      : pImage->SobelXY(nullptr, EOvrelBorderMode_Replicate, 0.0);

        QCOMPARE(result, EOvrelResult_OK);
        QCOMPARE(Dump(*pImage), strExpected);
    }

    void sobelSaturatesAndAddsMagnitudes()
    {
        // A diagonal corner: |dx| and |dy| are both 200 * 3 = 600 at the corner, clamped to 255.
        auto pImage = Grey(4, 4, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 10, 10, 0, 0, 10, 10});

        QCOMPARE(pImage->SobelXY(nullptr, EOvrelBorderMode_Replicate, 0.0), EOvrelResult_OK);

        // At (1, 1) only the diagonal neighbour is 10: |dx| = |dy| = 10, sum 20.
        QCOMPARE(int(pImage->GetPixel(1, 1)[0]), 20);
        // At (2, 2): dx = 10 * (0 + 2 + 1) = 30 and dy = 30, sum 60.
        QCOMPARE(int(pImage->GetPixel(2, 2)[0]), 60);
        auto pBright = Step(4, 3, 2, 200, false);
        QCOMPARE(pBright->SobelX(nullptr, EOvrelBorderMode_Replicate, 0.0), EOvrelResult_OK);
        QCOMPARE(Dump(*pBright), QString("0 255 255 0|0 255 255 0|0 255 255 0"));
    }

    void sobelInsideRegionLeavesOutsideUntouched()
    {
        auto pImage = Step(6, 6, 3, 20, false);
        const COvrelRectangle topRows(0.0, 0.0, 6.0, 2.0);

        QCOMPARE(pImage->SobelX(&topRows, EOvrelBorderMode_Replicate, 0.0), EOvrelResult_OK);

        QCOMPARE(Dump(*pImage), QString("0 0 80 80 0 0|0 0 80 80 0 0|0 0 0 20 20 20|0 0 0 20 20 20|"
                                        "0 0 0 20 20 20|0 0 0 20 20 20"));
    }

    void sobelBorderValueIsTheOutsideLevel_data()
    {
        QTest::addColumn<int>("nBorderMode");
        QTest::addColumn<double>("dblValue");
        QTest::addColumn<bool>("bRegion");
        QTest::addColumn<QString>("strMiddleRow");
        // A uniform 50: against an outside of 0 the first and last columns see 50 * 4 = 200.
        QTest::newRow("constant 0") << 0 << 0.0 << false << "200 0 0 0 0 200";
        QTest::newRow("constant 0 in a region") << 0 << 0.0 << true << "200 0 0 0 0 200";
        QTest::newRow("constant 50") << 0 << 50.0 << false << "0 0 0 0 0 0";
        QTest::newRow("constant 30") << 0 << 30.0 << false << "80 0 0 0 0 80";
        QTest::newRow("replicate") << 1 << 0.0 << false << "0 0 0 0 0 0";
        QTest::newRow("wrap") << 3 << 0.0 << false << "0 0 0 0 0 0";
    }

    void sobelBorderValueIsTheOutsideLevel()
    {
        QFETCH(int, nBorderMode);
        QFETCH(double, dblValue);
        QFETCH(bool, bRegion);
        QFETCH(QString, strMiddleRow);
        auto pImage = Uniform(6, 4, 50);
        const COvrelRectangle middle(0.0, 1.0, 6.0, 2.0);

        QCOMPARE(pImage->SobelX(bRegion ? &middle : nullptr, nBorderMode, dblValue), EOvrelResult_OK);

        QCOMPARE(Dump(*pImage).split('|').at(1), strMiddleRow);
    }

    void sobelKeepsAlpha()
    {
        COvrelImage image;
        image.Create(4, 1, 4);
        for (int x = 0; x < 4; ++x)
        {
            const unsigned char level = x < 2 ? 0 : 10;
            std::copy_n(std::vector<unsigned char>{level, level, level, 77}.data(), 4, image.GetPixel(x, 0));
        }

        QCOMPARE(image.SobelX(nullptr, EOvrelBorderMode_Replicate, 0.0), EOvrelResult_OK);

        QCOMPARE(Dump(image), QString("0,0,0,77 40,40,40,77 40,40,40,77 0,0,0,77"));
    }
};

QTEST_MAIN(OvrelImageTest)
#include "OvrelImageTest.moc"
