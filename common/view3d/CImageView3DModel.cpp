#include "view3d/CImageView3DModel.h"

#include "Utils/COvrelImage.h"

#include <QMutexLocker>
#include <QThread>

#include <algorithm>
#include <cmath>
#include <functional>
#include <thread>

using Ovrel::Utils::COvrelImage;

namespace
{
const float kInitialParameters[CImageView3DModel::EParameter_Count] = {-73.0f, 0.0f, 19.0f,   // rotate
                                                                       0.0f,   0.0f, 0.0f,    // translate
                                                                       1.0f,   1.0f, 1.0f,    // scale
                                                                       0.0f,   0.0f, 5.0f,    // camera position
                                                                       0.5f,   0.5f, 0.0f,    // camera centre
                                                                       0.0f,   1.0f, 0.0f,    // camera up
                                                                       22.0f,  0.1f, 100.0f}; // FOV, near, far

// Below this many rows per thread, starting threads costs more than it saves.
const int kRowsPerThread = 64;

// Runs work(first, last) over [0, nRows) in contiguous slices, one per thread, the last slice on the calling thread.
void ForRowSlices(int nRows, const std::function<void(int, int)>& work)
{
    const int nThreads = std::max(1, std::min({QThread::idealThreadCount(), 8, nRows / kRowsPerThread}));
    std::vector<std::thread> threads;
    const int nSlice = (nRows + nThreads - 1) / nThreads;
    for (int t = 0; t + 1 < nThreads; ++t)
        threads.emplace_back(work, t * nSlice, std::min(nRows, (t + 1) * nSlice));
    work(std::min(nRows, (nThreads - 1) * nSlice), nRows);
    for (std::thread& thread : threads)
        thread.join();
}

// The image coordinate of grid line i of n over a length: evenly spaced, first 0, last nLength - 1.
inline int GridLine(int i, int n, int nLength)
{
    return n > 1 ? static_cast<int>(static_cast<long long>(i) * (nLength - 1) / (n - 1)) : 0;
}
} // namespace

CImageView3DModel::CImageView3DModel(QObject* parent) : CModel(parent)
{
    std::copy(std::begin(kInitialParameters), std::end(kInitialParameters), m_afltParameters);
}

CImageView3DModel::~CImageView3DModel()
{
    TakeBuildTicket();
    QMutexLocker lock(&m_pendingMutex);
    while (m_nPendingBuilds > 0)
        m_pendingDone.wait(&m_pendingMutex);
}

void CImageView3DModel::BeginBuild()
{
    QMutexLocker lock(&m_pendingMutex);
    ++m_nPendingBuilds;
}

void CImageView3DModel::EndBuild()
{
    QMutexLocker lock(&m_pendingMutex);
    if (--m_nPendingBuilds == 0)
        m_pendingDone.wakeAll();
}

float CImageView3DModel::Get(EParameter eParameter) const
{
    return eParameter >= 0 && eParameter < EParameter_Count ? m_afltParameters[eParameter] : 0.0f;
}

void CImageView3DModel::Set(EParameter eParameter, float fltValue)
{
    if (eParameter < 0 || eParameter >= EParameter_Count ||
        Ovrel::Utils::COvrelObject::CompareEqual(m_afltParameters[eParameter], fltValue))
        return;
    m_afltParameters[eParameter] = fltValue;
    emit signal_ChangeTransformMatrix();
}

void CImageView3DModel::MeshGridSize(int nWidth, int nHeight, int& nColumns, int& nRows)
{
    nColumns = std::max(0, nWidth);
    nRows = std::max(0, nHeight);
    if (static_cast<long long>(nColumns) * nRows <= kMaxVertices)
        return;
    // Both sides shrink by the same factor, so that the grid's cells stay as square as the pixels; a side that would
    // shrink below one line keeps one, and the other then takes all the vertices.
    const double dblFactor = std::sqrt(static_cast<double>(kMaxVertices) / (static_cast<double>(nWidth) * nHeight));
    nColumns = std::clamp(static_cast<int>(nWidth * dblFactor), 1, nWidth);
    nRows = std::clamp(static_cast<int>(nHeight * dblFactor), 1, nHeight);
    if (nRows == 1)
        nColumns = static_cast<int>(std::min<long long>(nWidth, kMaxVertices));
    else if (nColumns == 1)
        nRows = static_cast<int>(std::min<long long>(nHeight, kMaxVertices));
}

unsigned int CImageView3DModel::TakeBuildTicket()
{
    unsigned int nTicket = ++m_nLatestTicket;
    // 0 stands for "never superseded".
    if (nTicket == 0)
        nTicket = ++m_nLatestTicket;
    return nTicket;
}

bool CImageView3DModel::IsSuperseded(unsigned int nTicket) const
{
    return nTicket != 0 && nTicket != m_nLatestTicket.load();
}

void CImageView3DModel::BuildMesh(const std::shared_ptr<COvrelImage>& pImage)
{
    Build(pImage, 0);
}

void CImageView3DModel::BuildMesh(const std::shared_ptr<COvrelImage>& pImage, unsigned int nTicket)
{
    Build(pImage, nTicket);
}

void CImageView3DModel::Build(const std::shared_ptr<COvrelImage>& pImage, unsigned int nTicket)
{
    if (!pImage || IsSuperseded(nTicket))
        return;
    QMutexLocker lock(&m_mutex);
    // A newer image may have been chosen while this build waited for the previous one.
    if (IsSuperseded(nTicket))
        return;
    emit signal_ChangeProgressValue(0);
    // The copy keeps the pixels this build reads, whatever happens to the image on the GUI thread meanwhile.
    COvrelImage copy;
    if (copy.CopyFrom(*pImage) != 0 || copy.IsEmpty())
        return;
    const int nWidth = copy.GetWidth();
    const int nHeight = copy.GetHeight();
    const int nChannels = copy.GetChannels();
    const unsigned char* const* ppRows = static_cast<const COvrelImage&>(copy).GetRows();
    const int* pnOffsets = copy.GetColumnOffsets();
    int nColumns = 0;
    int nRows = 0;
    MeshGridSize(nWidth, nHeight, nColumns, nRows);

    // Resized rather than appended to, so that the threads write their own slices of rows.
    m_vctVertices.clear();
    m_vctVertices.resize(static_cast<size_t>(nColumns) * nRows * 6);
    emit signal_ChangeProgressValue(10);

    float afltColour[256];
    float afltHeight[3][256];
    static const float kLuminance[3] = {0.2126f, 0.7152f, 0.0722f};
    for (int v = 0; v < 256; ++v)
    {
        afltColour[v] = v / 255.0f;
        for (int c = 0; c < 3; ++c)
            afltHeight[c][v] = (nChannels == 1 ? (c == 0 ? 1.0f : 0.0f) : kLuminance[c]) * v * 0.1f / 255.0f;
    }
    std::vector<int> vctColumnX(nColumns);
    for (int i = 0; i < nColumns; ++i)
        vctColumnX[i] = GridLine(i, nColumns, nWidth);
    const int nColourStep = nChannels == 1 ? 0 : 1;
    float* pfltVertices = m_vctVertices.data();
    ForRowSlices(nRows,
                 [&](int nFirst, int nLast)
                 {
                     for (int j = nFirst; j < nLast; ++j)
                     {
                         const int y = GridLine(j, nRows, nHeight);
                         const unsigned char* pRow = ppRows[y];
                         const float fltY = static_cast<float>(nHeight - 1 - y) / nHeight;
                         float* pOut = pfltVertices + static_cast<size_t>(j) * nColumns * 6;
                         for (int i = 0; i < nColumns; ++i, pOut += 6)
                         {
                             const int x = vctColumnX[i];
                             const unsigned char* p = pRow + pnOffsets[x];
                             const unsigned char g = p[nColourStep];
                             const unsigned char b = p[2 * nColourStep];
                             pOut[0] = static_cast<float>(x) / nWidth;
                             pOut[1] = fltY;
                             pOut[2] = afltHeight[0][p[0]] + afltHeight[1][g] + afltHeight[2][b];
                             pOut[3] = afltColour[p[0]];
                             pOut[4] = afltColour[g];
                             pOut[5] = afltColour[b];
                         }
                     }
                 });
    if (IsSuperseded(nTicket))
        return;

    emit signal_ChangeProgressValue(30);
    m_vctIndices.clear();
    const int nCells = std::max(0, nColumns - 1);
    const int nCellRows = std::max(0, nRows - 1);
    m_vctIndices.resize(static_cast<size_t>(nCells) * nCellRows * 6);
    unsigned int* pnIndices = m_vctIndices.data();
    ForRowSlices(nCellRows,
                 [&](int nFirst, int nLast)
                 {
                     for (int r = nFirst; r < nLast; ++r)
                     {
                         unsigned int* pOut = pnIndices + static_cast<size_t>(r) * nCells * 6;
                         for (int k = 0; k < nCells; ++k, pOut += 6)
                         {
                             const unsigned int a = static_cast<unsigned int>(r * nColumns + k);
                             const unsigned int b = a + static_cast<unsigned int>(nColumns);
                             pOut[0] = b;
                             pOut[1] = a + 1;
                             pOut[2] = a;
                             pOut[3] = b;
                             pOut[4] = b + 1;
                             pOut[5] = a + 1;
                         }
                     }
                 });

    emit signal_ChangeProgressValue(100);
    emit signal_ChangeProgressValue(0);
    emit signal_LoadFinished();
}

void CImageView3DModel::ClearMesh()
{
    VertexArray().swap(m_vctVertices);
    IndexArray().swap(m_vctIndices);
}

void CImageView3DModel::EmptyMesh()
{
    m_vctVertices.clear();
    m_vctIndices.clear();
}
