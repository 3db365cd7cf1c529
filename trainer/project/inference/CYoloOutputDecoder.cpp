#include "project/inference/CYoloOutputDecoder.h"

#include "project/inference/CDarknetLetterbox.h"

#include <algorithm>

namespace
{

struct SCandidate
{
    float fX, fY, fW, fH;
    std::vector<float> vctScores;
};

// The trainer's overlap of two boxes given by centre and size.
float Iou(const SCandidate& a, const SCandidate& b)
{
    const auto overlap = [](float fA, float fWa, float fB, float fWb)
    {
        const float fLeft = std::max(fA - fWa / 2, fB - fWb / 2);
        const float fRight = std::min(fA + fWa / 2, fB + fWb / 2);
        return fRight - fLeft;
    };
    const float fW = overlap(a.fX, a.fW, b.fX, b.fW);
    const float fH = overlap(a.fY, a.fH, b.fY, b.fH);
    const float fIntersection = (fW < 0 || fH < 0) ? 0 : fW * fH;
    const float fUnion = a.fW * a.fH + b.fW * b.fH - fIntersection;
    return fIntersection / fUnion;
}

} // namespace

CDetectionList CYoloOutputDecoder::Decode(const std::vector<cv::Mat>& vctOutputs, const QSize& imageSize,
                                          const QSize& netSize, float fThreshold)
{
    std::vector<SCandidate> vctCandidates;
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
            SCandidate candidate;
            // Overlaps are measured in image pixels, where the trainer measures them.
            const QRectF box = CDarknetLetterbox::ToImage(pRow[0], pRow[1], pRow[2], pRow[3], imageSize, netSize);
            candidate.fX = float(box.center().x());
            candidate.fY = float(box.center().y());
            candidate.fW = float(box.width());
            candidate.fH = float(box.height());
            candidate.vctScores.assign(pRow + 5, pRow + 5 + nClasses);
            for (float& fScore : candidate.vctScores)
                fScore = fScore > fThreshold ? fScore : 0.0f;
            vctCandidates.push_back(std::move(candidate));
        }
    }

    CDetectionList lstDetections;
    const QRectF imageRect(QPointF(0, 0), QSizeF(imageSize));
    std::vector<int> vctOrder(vctCandidates.size());
    for (int k = 0; k < nClasses; ++k)
    {
        vctOrder.clear();
        for (int i = 0; i < int(vctCandidates.size()); ++i)
            if (vctCandidates[i].vctScores[k] > 0)
                vctOrder.push_back(i);
        std::stable_sort(vctOrder.begin(), vctOrder.end(),
                         [&](int a, int b) { return vctCandidates[a].vctScores[k] > vctCandidates[b].vctScores[k]; });
        for (size_t i = 0; i < vctOrder.size(); ++i)
        {
            const SCandidate& kept = vctCandidates[vctOrder[i]];
            if (kept.vctScores[k] == 0)
                continue;
            for (size_t j = i + 1; j < vctOrder.size(); ++j)
            {
                SCandidate& other = vctCandidates[vctOrder[j]];
                if (Iou(kept, other) > NMS_IOU)
                    other.vctScores[k] = 0;
            }
            const QRectF box(QPointF(kept.fX - kept.fW / 2., kept.fY - kept.fH / 2.),
                             QPointF(kept.fX + kept.fW / 2., kept.fY + kept.fH / 2.));
            lstDetections.append({k, box.intersected(imageRect), kept.vctScores[k]});
        }
    }
    std::stable_sort(lstDetections.begin(), lstDetections.end(),
                     [](const CDetection& a, const CDetection& b) { return a.Score > b.Score; });
    return lstDetections;
}
