#include "view3d/CImageView3DModel.h"

#include "Utils/COvrelImage.h"

#include <QSignalSpy>
#include <QtTest>

#include <cstring>
#include <memory>

using Ovrel::Utils::COvrelImage;
using M = CImageView3DModel;
using Floats = QVector<float>;
using Indices = QVector<unsigned int>;

namespace
{
// An image of the given size whose samples are the bytes given, row by row (without padding).
std::shared_ptr<COvrelImage> MakeImage(int nWidth, int nHeight, int nChannels, const QVector<int>& vctSamples)
{
    auto pImage = std::make_shared<COvrelImage>();
    pImage->Create(nWidth, nHeight, nChannels);
    for (int y = 0; y < nHeight; ++y)
        for (int x = 0; x < nWidth; ++x)
            for (int c = 0; c < nChannels; ++c)
                pImage->GetPixel(x, y)[c] = static_cast<unsigned char>(vctSamples[(y * nWidth + x) * nChannels + c]);
    return pImage;
}

// An image whose samples vary with place and channel, so that any vertex or index left from another build shows.
std::shared_ptr<COvrelImage> Pattern(int nWidth, int nHeight, int nChannels)
{
    QVector<int> vctSamples;
    for (int i = 0; i < nWidth * nHeight * nChannels; ++i)
        vctSamples.push_back((i * 37 + i / nWidth * 11) % 256);
    return MakeImage(nWidth, nHeight, nChannels, vctSamples);
}

bool Near(float a, float b)
{
    return std::abs(a - b) < 1e-5f;
}
} // namespace

// The mesh of an image: one vertex per pixel (position, height from luminance, colour) and two triangles per cell,
// sampled on a grid for images beyond 4 million pixels.
class MeshBuildTest : public QObject
{
    Q_OBJECT
private slots:
    void smallImagesGiveOneVertexPerPixel_data();
    void smallImagesGiveOneVertexPerPixel();
    void buildReportsProgressThenFinishes();
    void imagelessBuildLeavesMeshAndProgress();
    void gridNeverExceedsFourMillionVertices_data();
    void gridNeverExceedsFourMillionVertices();
    void sampledMeshKeepsExtentAndOrientation();
    void meshBuiltIntoKeptStorageEqualsAFreshOne_data();
    void meshBuiltIntoKeptStorageEqualsAFreshOne();
};

void MeshBuildTest::smallImagesGiveOneVertexPerPixel_data()
{
    QTest::addColumn<int>("nWidth");
    QTest::addColumn<int>("nHeight");
    QTest::addColumn<int>("nChannels");
    QTest::addColumn<QVector<int>>("samples");
    QTest::addColumn<Floats>("vertices");
    QTest::addColumn<Indices>("indices");

    // Top row at the top: pixel (0, 0) at y 0.5, pixel (0, 1) at y 0; white rises to 0.1.
    QTest::newRow("2x2 grey") << 2 << 2 << 1 << QVector<int>{0, 255, 51, 102}
                              << Floats{0, 0.5f, 0,     0,    0,    0,    0.5f, 0.5f, 0.1f,  1,    1,    1,
                                        0, 0,    0.02f, 0.2f, 0.2f, 0.2f, 0.5f, 0,    0.04f, 0.4f, 0.4f, 0.4f}
                              << Indices{2, 1, 0, 2, 3, 1};
    // A single row has no cells: vertices but nothing to draw.
    QTest::newRow("1 pixel high") << 3 << 1 << 1 << QVector<int>{255, 0, 255}
                                  << Floats{0, 0, 0.1f, 1, 1, 1, 1.0f / 3, 0, 0, 0, 0, 0, 2.0f / 3, 0, 0.1f, 1, 1, 1}
                                  << Indices{};
    // Height from the Rec. 709 luminance; alpha plays no part.
    QTest::newRow("colour with alpha") << 1 << 2 << 4 << QVector<int>{255, 0, 0, 9, 0, 0, 255, 200}
                                       << Floats{0, 0.5f, 0.02126f, 1, 0, 0, 0, 0, 0.00722f, 0, 0, 1} << Indices{};
    QTest::newRow("colour 2x2") << 2 << 2 << 3 << QVector<int>{0, 255, 0, 0, 0, 0, 0, 0, 0, 255, 255, 255}
                                << Floats{0, 0.5f, 0.07152f, 0, 1, 0, 0.5f, 0.5f, 0,    0, 0, 0,
                                          0, 0,    0,        0, 0, 0, 0.5f, 0,    0.1f, 1, 1, 1}
                                << Indices{2, 1, 0, 2, 3, 1};
}

void MeshBuildTest::smallImagesGiveOneVertexPerPixel()
{
    QFETCH(int, nWidth);
    QFETCH(int, nHeight);
    QFETCH(int, nChannels);
    QFETCH(QVector<int>, samples);
    QFETCH(Floats, vertices);
    QFETCH(Indices, indices);
    M model;

    model.BuildMesh(MakeImage(nWidth, nHeight, nChannels, samples));

    QMutexLocker lock(model.GetMutex());
    const M::VertexArray& built = model.GetVertexArray();
    QCOMPARE(static_cast<int>(built.size()), vertices.size());
    for (int i = 0; i < vertices.size(); ++i)
    {
        if (!Near(built[i], vertices[i]))
            QFAIL(qPrintable(QString("float %1 is %2, not %3").arg(i).arg(built[i]).arg(vertices[i])));
    }
    QCOMPARE(Indices(model.GetIndexArray().begin(), model.GetIndexArray().end()), indices);
}

void MeshBuildTest::buildReportsProgressThenFinishes()
{
    M model;
    QVector<int> values;
    QStringList order;
    connect(&model, &M::signal_ChangeProgressValue, [&](int n) { order << QString::number(n); });
    connect(&model, &M::signal_LoadFinished, [&] { order << "finished"; });
    QSignalSpy range(&model, &M::signal_ChangeProgressMaxRange);

    model.BuildMesh(MakeImage(2, 2, 1, {1, 2, 3, 4}));

    QCOMPARE(order, QStringList({"0", "10", "30", "100", "0", "finished"}));
    QCOMPARE(range.count(), 0);
}

void MeshBuildTest::imagelessBuildLeavesMeshAndProgress()
{
    M model;
    model.BuildMesh(MakeImage(2, 2, 1, {1, 2, 3, 4}));
    QSignalSpy progress(&model, &M::signal_ChangeProgressValue);
    QSignalSpy finished(&model, &M::signal_LoadFinished);

    model.BuildMesh(nullptr);
    model.BuildMesh(std::make_shared<COvrelImage>());

    // The empty image sets the bar to 0 (hidden) and stops; nothing else happens.
    QCOMPARE(progress.count(), 1);
    QCOMPARE(progress.at(0).at(0).toInt(), 0);
    QCOMPARE(finished.count(), 0);
    QMutexLocker lock(model.GetMutex());
    QCOMPARE(model.GetVertexArray().size(), size_t(24));
    QCOMPARE(model.GetIndexArray().size(), size_t(6));
}

void MeshBuildTest::gridNeverExceedsFourMillionVertices_data()
{
    QTest::addColumn<int>("nWidth");
    QTest::addColumn<int>("nHeight");
    QTest::addColumn<int>("nColumns");
    QTest::addColumn<int>("nRows");

    QTest::newRow("2000x2000 drawn whole") << 2000 << 2000 << 2000 << 2000;
    QTest::newRow("4000x1000 drawn whole") << 4000 << 1000 << 4000 << 1000;
    QTest::newRow("3000x2000") << 3000 << 2000 << 2449 << 1632;
    // A 50-megapixel photograph: its own 2.4 GB mesh would not fit; the grid holds 8% of its pixels.
    QTest::newRow("8660x5774") << 8660 << 5774 << 2449 << 1633;
    QTest::newRow("portrait 5774x8660") << 5774 << 8660 << 1633 << 2449;
    QTest::newRow("one long row") << 9000000 << 1 << 4000000 << 1;
    QTest::newRow("one long column") << 1 << 9000000 << 1 << 4000000;
    QTest::newRow("thin strip") << 100000 << 50 << 89442 << 44;
}

void MeshBuildTest::gridNeverExceedsFourMillionVertices()
{
    QFETCH(int, nWidth);
    QFETCH(int, nHeight);
    QFETCH(int, nColumns);
    QFETCH(int, nRows);
    int nGotColumns = 0;
    int nGotRows = 0;

    M::MeshGridSize(nWidth, nHeight, nGotColumns, nGotRows);

    QCOMPARE(nGotColumns, nColumns);
    QCOMPARE(nGotRows, nRows);
    QVERIFY(static_cast<long long>(nGotColumns) * nGotRows <= M::kMaxVertices);
}

void MeshBuildTest::sampledMeshKeepsExtentAndOrientation()
{
    // 3000 x 2000: red top-left corner, blue bottom-right corner, grey elsewhere.
    const int nWidth = 3000;
    const int nHeight = 2000;
    auto pImage = std::make_shared<COvrelImage>();
    pImage->Create(nWidth, nHeight, 3);
    std::memset(pImage->GetData(), 100, static_cast<size_t>(pImage->GetBytesPerLine()) * nHeight);
    const auto paint = [&](int x, int y, int r, int g, int b)
    {
        unsigned char* p = pImage->GetPixel(x, y);
        p[0] = static_cast<unsigned char>(r);
        p[1] = static_cast<unsigned char>(g);
        p[2] = static_cast<unsigned char>(b);
    };
    paint(0, 0, 255, 0, 0);
    paint(nWidth - 1, nHeight - 1, 0, 0, 255);
    M model;

    model.BuildMesh(pImage);

    QMutexLocker lock(model.GetMutex());
    const M::VertexArray& v = model.GetVertexArray();
    const size_t nVertices = v.size() / 6;
    QCOMPARE(nVertices, size_t(2449 * 1632));
    QCOMPARE(model.GetIndexArray().size(), size_t(2448) * 1631 * 6);
    // The first vertex is the top-left pixel, the last the bottom-right one: the field spans what the whole image
    // would, with the top row at the top.
    const Floats first(v.begin(), v.begin() + 6);
    const Floats last(v.end() - 6, v.end());
    QVERIFY(Near(first[0], 0) && Near(first[1], 1999.0f / 2000) && Near(first[3], 1) && Near(first[5], 0));
    QVERIFY(Near(last[0], 2999.0f / 3000) && Near(last[1], 0) && Near(last[3], 0) && Near(last[5], 1));
    // The last index addresses the last vertex; none goes beyond.
    QCOMPARE(*std::max_element(model.GetIndexArray().begin(), model.GetIndexArray().end()),
             static_cast<unsigned int>(nVertices - 1));
}

void MeshBuildTest::meshBuiltIntoKeptStorageEqualsAFreshOne_data()
{
    QTest::addColumn<QSize>("first");
    QTest::addColumn<int>("nFirstChannels");
    QTest::addColumn<QSize>("second");
    QTest::addColumn<int>("nSecondChannels");
    QTest::addColumn<bool>("bUploaded");

    // 130 rows and more are built on several threads.
    QTest::newRow("the same image again") << QSize(150, 130) << 3 << QSize(150, 130) << 3 << true;
    QTest::newRow("smaller after larger") << QSize(150, 130) << 3 << QSize(40, 30) << 3 << true;
    QTest::newRow("larger after smaller") << QSize(40, 30) << 3 << QSize(150, 130) << 3 << true;
    QTest::newRow("grey after colour") << QSize(150, 130) << 4 << QSize(120, 140) << 1 << true;
    QTest::newRow("built again before the upload") << QSize(150, 130) << 3 << QSize(60, 140) << 3 << false;
}

void MeshBuildTest::meshBuiltIntoKeptStorageEqualsAFreshOne()
{
    QFETCH(QSize, first);
    QFETCH(int, nFirstChannels);
    QFETCH(QSize, second);
    QFETCH(int, nSecondChannels);
    QFETCH(bool, bUploaded);
    const std::shared_ptr<COvrelImage> pSecond = Pattern(second.width(), second.height(), nSecondChannels);
    M fresh;
    fresh.BuildMesh(pSecond);
    M reused;
    reused.BuildMesh(Pattern(first.width(), first.height(), nFirstChannels));
    const float* pfltKept = reused.GetVertexArray().data();
    const size_t nKept = reused.GetVertexArray().capacity();
    if (bUploaded)
    {
        QMutexLocker lock(reused.GetMutex());
        reused.EmptyMesh();
    }

    reused.BuildMesh(pSecond);

    QMutexLocker freshLock(fresh.GetMutex());
    QMutexLocker reusedLock(reused.GetMutex());
    QVERIFY(reused.GetVertexArray() == fresh.GetVertexArray());
    QVERIFY(reused.GetIndexArray() == fresh.GetIndexArray());
    // A mesh that fits the kept storage is built in it, not in memory fetched afresh.
    if (fresh.GetVertexArray().size() <= nKept)
        QCOMPARE(reused.GetVertexArray().data(), pfltKept);
}

QTEST_MAIN(MeshBuildTest)
#include "MeshBuildTest.moc"
