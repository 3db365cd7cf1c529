#include "project/evaluation/CDetectionEvaluator.h"

#include "project/evaluation/CBoxOverlap.h"

#include <algorithm>

namespace
{
double Ratio(double dblPart, double dblWhole)
{
    return dblWhole > 0.0 ? dblPart / dblWhole : 0.0;
}

double F1(double dblPrecision, double dblRecall)
{
    return Ratio(2.0 * dblPrecision * dblRecall, dblPrecision + dblRecall);
}
} // namespace

double CDetectionEvaluator::IoUThreshold(int nStep)
{
    // From whole hundredths, so that 0.75 is the same double as an IoU of exactly 3/4.
    return (50 + 5 * nStep) / 100.0;
}

CDetectionEvaluator::CDetectionEvaluator(const QStringList& lstClassNames, double dblScoreThreshold)
    : m_lstClassNames(lstClassNames), m_dblScoreThreshold(dblScoreThreshold),
      m_fScoreThreshold(float(dblScoreThreshold))
{
}

void CDetectionEvaluator::AddImage(const QString& strImageKey, const CLabelledBoxList& boxes,
                                   const CDetectionList& detections)
{
    const int nImage = m_images.size();
    const int nClasses = m_lstClassNames.size();
    m_images.append({strImageKey, m_boxes.size(), m_detections.size()});
    for (const CLabelledBox& box : boxes)
    {
        if (box.ClassIndex < 0 || box.ClassIndex >= nClasses)
            ++m_nOutsideTable;
        else
            m_boxes.append({nImage, box.ClassIndex, box.Box});
    }
    const int nBoxBegin = m_images.last().nBoxBegin;
    const int nBoxEnd = m_boxes.size();
    for (const CDetection& detection : detections)
    {
        if (detection.ClassIndex < 0 || detection.ClassIndex >= nClasses)
        {
            ++m_nOutsideTable;
            continue;
        }
        // The overlaps are worked out once here; every IoU threshold then only walks them.
        const int nPairBegin = m_pairs.size();
        for (int nBox = nBoxBegin; nBox < nBoxEnd; ++nBox)
        {
            if (m_boxes[nBox].nClass != detection.ClassIndex)
                continue;
            const double dblIoU = CBoxOverlap::IoU(detection.Box, m_boxes[nBox].rect);
            if (dblIoU > 0.0)
                m_pairs.append({nBox, dblIoU});
        }
        // Highest IoU first; an insertion sort, stable (of two boxes overlapping equally the earlier is taken) and
        // without the buffer std::stable_sort allocates for each detection's few candidates.
        for (int nPair = nPairBegin + 1; nPair < m_pairs.size(); ++nPair)
        {
            const SPair pair = m_pairs[nPair];
            int nTo = nPair;
            for (; nTo > nPairBegin && m_pairs[nTo - 1].dblIoU < pair.dblIoU; --nTo)
                m_pairs[nTo] = m_pairs[nTo - 1];
            m_pairs[nTo] = pair;
        }
        m_detections.append({nImage, detection.ClassIndex, detection.Score, detection.Box, nPairBegin, m_pairs.size()});
    }
}

CEvaluationResult CDetectionEvaluator::Evaluate() const
{
    const int nClasses = m_lstClassNames.size();
    CEvaluationResult result;
    result.ScoreThreshold = m_dblScoreThreshold;
    result.ImageCount = m_images.size();
    result.OutsideTable = m_nOutsideTable;

    QVector<int> boxesPerClass(nClasses, 0);
    for (const SBox& box : m_boxes)
        ++boxesPerClass[box.nClass];
    // Each class's detections in the order they are matched, side by side: score descending, then the order of
    // feeding, which is the detection's index. Sorted once by value; every IoU threshold walks them in place.
    std::vector<int> classBegin(nClasses + 1, 0);
    for (const SDetection& detection : m_detections)
        ++classBegin[detection.nClass + 1];
    for (int nClass = 0; nClass < nClasses; ++nClass)
        classBegin[nClass + 1] += classBegin[nClass];
    std::vector<SRanked> ranked(m_detections.size());
    std::vector<int> next(classBegin.begin(), classBegin.end() - 1);
    for (int nDetection = 0; nDetection < m_detections.size(); ++nDetection)
    {
        const SDetection& detection = m_detections[nDetection];
        ranked[next[detection.nClass]++] = {detection.fScore, nDetection, detection.nPairBegin, detection.nPairEnd};
    }
    for (int nClass = 0; nClass < nClasses; ++nClass)
    {
        std::sort(ranked.begin() + classBegin[nClass], ranked.begin() + classBegin[nClass + 1],
                  [](const SRanked& a, const SRanked& b)
                  { return a.fScore != b.fScore ? a.fScore > b.fScore : a.nDetection < b.nDetection; });
    }

    SScratch scratch;
    scratch.truePositive.assign(m_detections.size(), 0);
    scratch.boxMatchScore.assign(m_boxes.size(), -1.0f);
    std::vector<double> ap(nClasses, 0.0);
    std::vector<double> apSum(nClasses, 0.0);
    result.Classes.resize(nClasses);
    result.Curves.resize(nClasses);
    for (int nStep = 0; nStep < IOU_STEPS; ++nStep)
    {
        const bool bFirst = nStep == 0;
        Match(IoUThreshold(nStep), ranked, classBegin, boxesPerClass, scratch, ap, bFirst ? &result.Curves : nullptr);
        for (int nClass = 0; nClass < nClasses; ++nClass)
        {
            if (bFirst)
                result.Classes[nClass].AP50 = ap[nClass];
            apSum[nClass] += ap[nClass];
        }
    }

    for (int nClass = 0; nClass < nClasses; ++nClass)
    {
        CClassFigures& figures = result.Classes[nClass];
        figures.Name = m_lstClassNames.at(nClass);
        figures.Boxes = boxesPerClass[nClass];
        figures.Detections = classBegin[nClass + 1] - classBegin[nClass];
        figures.AP50To95 = apSum[nClass] / IOU_STEPS;
        // Matching goes in score order, so what counts at the threshold is a prefix of the ranking.
        for (int nRank = classBegin[nClass]; nRank < classBegin[nClass + 1]; ++nRank)
        {
            if (ranked[nRank].fScore < m_fScoreThreshold)
                break;
            ++(scratch.truePositive[ranked[nRank].nDetection] ? figures.TruePositives : figures.FalsePositives);
        }
        figures.Missed = figures.Boxes - figures.TruePositives;
        figures.Precision = Ratio(figures.TruePositives, figures.TruePositives + figures.FalsePositives);
        figures.Recall = Ratio(figures.TruePositives, figures.Boxes);
        figures.F1 = F1(figures.Precision, figures.Recall);
        result.TruePositives += figures.TruePositives;
        result.FalsePositives += figures.FalsePositives;
        result.Missed += figures.Missed;
        if (figures.HasBoxes())
        {
            ++result.ClassesInMean;
            result.MeanAP50 += figures.AP50;
            result.MeanAP50To95 += figures.AP50To95;
        }
    }
    result.MeanAP50 = Ratio(result.MeanAP50, result.ClassesInMean);
    result.MeanAP50To95 = Ratio(result.MeanAP50To95, result.ClassesInMean);
    result.Precision = Ratio(result.TruePositives, result.TruePositives + result.FalsePositives);
    result.Recall = Ratio(result.TruePositives, result.TruePositives + result.Missed);
    result.F1 = F1(result.Precision, result.Recall);
    AddImageLists(result, scratch);
    return result;
}

void CDetectionEvaluator::Match(double dblIoU, const std::vector<SRanked>& ranked, const std::vector<int>& classBegin,
                                const QVector<int>& boxesPerClass, SScratch& scratch, std::vector<double>& ap,
                                QVector<QVector<QPointF>>* pCurves) const
{
    const bool bKeepDetails = pCurves != nullptr;
    scratch.matched.assign(m_boxes.size(), 0);
    const SPair* pPairs = m_pairs.constData();
    for (int nClass = 0; nClass < boxesPerClass.size(); ++nClass)
    {
        const int nBegin = classBegin[nClass];
        const int nCount = classBegin[nClass + 1] - nBegin;
        const int nBoxes = boxesPerClass[nClass];
        ap[nClass] = 0.0;
        if (nBoxes == 0)
            continue;
        scratch.precision.resize(nCount);
        scratch.found.resize(nCount);
        int nTruePositives = 0;
        for (int nRank = 0; nRank < nCount; ++nRank)
        {
            const SRanked& detection = ranked[nBegin + nRank];
            // Only the box of highest IoU is a candidate: when it is taken the detection is a duplicate.
            int nMatch = -1;
            if (detection.nPairBegin < detection.nPairEnd)
            {
                const SPair& best = pPairs[detection.nPairBegin];
                if (best.dblIoU >= dblIoU && !scratch.matched[best.nBox])
                    nMatch = best.nBox;
            }
            if (nMatch >= 0)
            {
                scratch.matched[nMatch] = 1;
                ++nTruePositives;
                if (bKeepDetails)
                    scratch.boxMatchScore[nMatch] = detection.fScore;
            }
            if (bKeepDetails)
                scratch.truePositive[detection.nDetection] = nMatch >= 0;
            scratch.found[nRank] = nMatch >= 0;
            scratch.precision[nRank] = double(nTruePositives) / (nRank + 1);
        }
        // Precision made monotone from the right; the area is summed where recall steps up by 1/nBoxes.
        double dblBest = 0.0;
        double dblArea = 0.0;
        for (int nRank = nCount - 1; nRank >= 0; --nRank)
        {
            dblBest = std::max(dblBest, scratch.precision[nRank]);
            scratch.precision[nRank] = dblBest;
            if (scratch.found[nRank])
                dblArea += dblBest;
        }
        ap[nClass] = dblArea / nBoxes;
        if (pCurves)
        {
            QVector<QPointF>& curve = (*pCurves)[nClass];
            curve.resize(nCount);
            int nFound = 0;
            for (int nRank = 0; nRank < nCount; ++nRank)
            {
                nFound += scratch.found[nRank];
                curve[nRank] = QPointF(double(nFound) / nBoxes, scratch.precision[nRank]);
            }
        }
    }
}

void CDetectionEvaluator::AddImageLists(CEvaluationResult& result, const SScratch& scratch) const
{
    for (int nImage = 0; nImage < m_images.size(); ++nImage)
    {
        const bool bLast = nImage + 1 == m_images.size();
        const int nBoxEnd = bLast ? m_boxes.size() : m_images[nImage + 1].nBoxBegin;
        const int nDetectionEnd = bLast ? m_detections.size() : m_images[nImage + 1].nDetectionBegin;
        CImageEvaluation image;
        image.ImageKey = m_images[nImage].strKey;
        for (int nBox = m_images[nImage].nBoxBegin; nBox < nBoxEnd; ++nBox)
        {
            if (scratch.boxMatchScore[nBox] < m_fScoreThreshold)
                image.MissedBoxes.append({m_boxes[nBox].nClass, m_boxes[nBox].rect});
        }
        for (int nDetection = m_images[nImage].nDetectionBegin; nDetection < nDetectionEnd; ++nDetection)
        {
            const SDetection& detection = m_detections[nDetection];
            if (detection.fScore >= m_fScoreThreshold && !scratch.truePositive[nDetection])
                image.FalseDetections.append({detection.nClass, detection.rect, detection.fScore});
        }
        if (!image.MissedBoxes.isEmpty() || !image.FalseDetections.isEmpty())
            result.Images.append(image);
    }
}
