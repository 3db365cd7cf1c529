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
    SBoxes kept;
    for (int k = 0; k < nClasses; ++k)
    {
        vctOrder.clear();
        for (int i = 0; i < nCandidates; ++i)
            if (vctScores[size_t(i) * nClasses + k] > 0)
                vctOrder.push_back(i);
        std::stable_sort(vctOrder.begin(), vctOrder.end(),
                         [&](int a, int b)
                         { return vctScores[size_t(a) * nClasses + k] > vctScores[size_t(b) * nClasses + k]; });
        kept.Clear();
        for (int i : vctOrder)
        {
            if (kept.AnyOverlaps(boxes, i, NMS_IOU))
                continue;
            kept.Append(boxes, i);
            const QRectF box(QPointF(boxes.vctLeft[i], boxes.vctTop[i]),
                             QPointF(boxes.vctRight[i], boxes.vctBottom[i]));
            lstDetections.append({k, box.intersected(imageRect), vctScores[size_t(i) * nClasses + k]});
        }
    }
    std::stable_sort(lstDetections.begin(), lstDetections.end(),
                     [](const CDetection& a, const CDetection& b) { return a.Score > b.Score; });
    return lstDetections;
}
