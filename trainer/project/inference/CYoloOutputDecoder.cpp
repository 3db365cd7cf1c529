#include "project/inference/CYoloOutputDecoder.h"

#include "project/inference/CDarknetLetterbox.h"

#include <algorithm>

namespace
{

// Boxes as edges and area, in the trainer's float arithmetic (its overlap takes centre minus half size on each call;
// taking it once gives the same values).
struct SBoxes
{
    std::vector<float> vctLeft, vctTop, vctRight, vctBottom, vctArea;

    void Append(float fX, float fY, float fW, float fH)
    {
        vctLeft.push_back(fX - fW / 2);
        vctRight.push_back(fX + fW / 2);
        vctTop.push_back(fY - fH / 2);
        vctBottom.push_back(fY + fH / 2);
        vctArea.push_back(fW * fH);
    }
    void Append(const SBoxes& from, int i)
    {
        vctLeft.push_back(from.vctLeft[i]);
        vctRight.push_back(from.vctRight[i]);
        vctTop.push_back(from.vctTop[i]);
        vctBottom.push_back(from.vctBottom[i]);
        vctArea.push_back(from.vctArea[i]);
    }
    void Clear()
    {
        vctLeft.clear();
        vctTop.clear();
        vctRight.clear();
        vctBottom.clear();
        vctArea.clear();
    }
    // Whether box i of from overlaps any of these at IoU > fLimit. Written without branches so that the compiler can
    // run it over several boxes at once: this loop is where a network with many candidates spends its time.
    bool AnyOverlaps(const SBoxes& from, int i, float fLimit) const
    {
        const float fLeft = from.vctLeft[i], fTop = from.vctTop[i], fRight = from.vctRight[i];
        const float fBottom = from.vctBottom[i], fArea = from.vctArea[i];
        const size_t nCount = vctLeft.size();
        int nHits = 0;
        for (size_t k = 0; k < nCount; ++k)
        {
            const float fW = std::min(fRight, vctRight[k]) - std::max(fLeft, vctLeft[k]);
            const float fH = std::min(fBottom, vctBottom[k]) - std::max(fTop, vctTop[k]);
            const float fIntersection = std::max(fW, 0.0f) * std::max(fH, 0.0f);
            const float fUnion = fArea + vctArea[k] - fIntersection;
            nHits += fIntersection > fLimit * fUnion;
        }
        return nHits > 0;
    }
};

// The kept boxes of one class by the cell of the image their centre falls in (centres outside go to the edge cells).
// A box can pass IoU > t with another only if the other's width is below its own divided by t and the two overlap
// across, so the centres are less than w (1 + 1 / t) / 2 apart; likewise down. A candidate looks only at the cells
// within that reach, which gives the same answer as looking at every kept box.
class CKeptGrid
{
public:
    static constexpr int CELLS = 16;

    void Reset(const QSize& imageSize)
    {
        m_fCellW = float(imageSize.width()) / CELLS;
        m_fCellH = float(imageSize.height()) / CELLS;
        m_vctCells.resize(CELLS * CELLS);
        for (SBoxes& cell : m_vctCells)
            cell.Clear();
    }
    void Add(const SBoxes& from, int i)
    {
        const float fX = (from.vctLeft[i] + from.vctRight[i]) / 2;
        const float fY = (from.vctTop[i] + from.vctBottom[i]) / 2;
        m_vctCells[size_t(Cell(fY, m_fCellH)) * CELLS + Cell(fX, m_fCellW)].Append(from, i);
    }
    bool AnyOverlaps(const SBoxes& from, int i, float fLimit) const
    {
        // A little more than the reach, for rounding.
        const float fReach = (1 + 1 / fLimit) / 2 * 1.01f;
        const float fX = (from.vctLeft[i] + from.vctRight[i]) / 2;
        const float fY = (from.vctTop[i] + from.vctBottom[i]) / 2;
        const float fRx = (from.vctRight[i] - from.vctLeft[i]) * fReach + 1;
        const float fRy = (from.vctBottom[i] - from.vctTop[i]) * fReach + 1;
        const int nX1 = Cell(fX + fRx, m_fCellW);
        const int nY1 = Cell(fY + fRy, m_fCellH);
        for (int y = Cell(fY - fRy, m_fCellH); y <= nY1; ++y)
            for (int x = Cell(fX - fRx, m_fCellW); x <= nX1; ++x)
                if (m_vctCells[size_t(y) * CELLS + x].AnyOverlaps(from, i, fLimit))
                    return true;
        return false;
    }

private:
    // Clamped before the conversion, which also takes infinite and undefined values to an edge.
    static int Cell(float fPosition, float fCellSize)
    {
        const float fCell = fPosition / fCellSize;
        if (!(fCell > 0))
            return 0;
        return fCell >= CELLS ? CELLS - 1 : int(fCell);
    }

    float m_fCellW = 1;
    float m_fCellH = 1;
    std::vector<SBoxes> m_vctCells;
};

} // namespace

CDetectionList CYoloOutputDecoder::Decode(const std::vector<cv::Mat>& vctOutputs, const QSize& imageSize,
                                          const QSize& netSize, float fThreshold)
{
    SBoxes boxes;
    std::vector<float> vctScores;
    int nClasses = 0;
    for (const cv::Mat& output : vctOutputs)
    {
        if (output.dims != 2 || output.cols <= 5 || output.type() != CV_32F)
            continue;
        nClasses = output.cols - 5;
        for (int r = 0; r < output.rows; ++r)
        {
            const float* pRow = output.ptr<float>(r);
            if (!(pRow[4] > fThreshold))
                continue;
            // Overlaps are measured in image pixels, where the trainer measures them.
            const QRectF box = CDarknetLetterbox::ToImage(pRow[0], pRow[1], pRow[2], pRow[3], imageSize, netSize);
            boxes.Append(float(box.center().x()), float(box.center().y()), float(box.width()), float(box.height()));
            for (int k = 0; k < nClasses; ++k)
                vctScores.push_back(pRow[5 + k] > fThreshold ? pRow[5 + k] : 0.0f);
        }
    }

    // Per class, in score order, a box stays when no box kept before it overlaps it at IoU > NMS_IOU: the trainer's
    // suppression, where a suppressed box suppresses nothing.
    CDetectionList lstDetections;
    const QRectF imageRect(QPointF(0, 0), QSizeF(imageSize));
    const int nCandidates = int(boxes.vctArea.size());
    std::vector<int> vctOrder;
    CKeptGrid kept;
    for (int k = 0; k < nClasses; ++k)
    {
        vctOrder.clear();
        for (int i = 0; i < nCandidates; ++i)
            if (vctScores[size_t(i) * nClasses + k] > 0)
                vctOrder.push_back(i);
        std::stable_sort(vctOrder.begin(), vctOrder.end(),
                         [&](int a, int b)
                         { return vctScores[size_t(a) * nClasses + k] > vctScores[size_t(b) * nClasses + k]; });
        kept.Reset(imageSize);
        for (int i : vctOrder)
        {
            if (kept.AnyOverlaps(boxes, i, NMS_IOU))
                continue;
            kept.Add(boxes, i);
            const QRectF box(QPointF(boxes.vctLeft[i], boxes.vctTop[i]),
                             QPointF(boxes.vctRight[i], boxes.vctBottom[i]));
            lstDetections.append({k, box.intersected(imageRect), vctScores[size_t(i) * nClasses + k]});
        }
    }
    std::stable_sort(lstDetections.begin(), lstDetections.end(),
                     [](const CDetection& a, const CDetection& b) { return a.Score > b.Score; });
    return lstDetections;
}
