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
        // Stable, so that of two boxes overlapping equally the earlier one is taken.
        std::stable_sort(m_pairs.begin() + nPairBegin, m_pairs.end(),
                         [](const SPair& a, const SPair& b) { return a.dblIoU > b.dblIoU; });
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
    // Each class's detections in the order they are matched: score descending, then the order of feeding, which is the
    // index itself. Sorted once; every IoU threshold reuses the order.
    QVector<QVector<int>> ranked(nClasses);
    for (int nDetection = 0; nDetection < m_detections.size(); ++nDetection)
        ranked[m_detections[nDetection].nClass].append(nDetection);
    for (QVector<int>& order : ranked)
    {
        std::sort(order.begin(), order.end(),
                  [this](int a, int b)
                  {
                      const float fA = m_detections[a].fScore;
                      const float fB = m_detections[b].fScore;
                      return fA != fB ? fA > fB : a < b;
                  });
    }

    QVector<char> truePositive(m_detections.size(), 0);
    QVector<float> boxMatchScore(m_boxes.size(), -1.0f);
    QVector<double> ap(nClasses, 0.0);
    QVector<double> apSum(nClasses, 0.0);
    result.Classes.resize(nClasses);
    result.Curves.resize(nClasses);
    for (int nStep = 0; nStep < IOU_STEPS; ++nStep)
    {
        const bool bFirst = nStep == 0;
        Match(IoUThreshold(nStep), ranked, boxesPerClass, ap, bFirst, truePositive, boxMatchScore,
              bFirst ? &result.Curves : nullptr);
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
        figures.Detections = ranked[nClass].size();
        figures.AP50To95 = apSum[nClass] / IOU_STEPS;
        // Matching goes in score order, so what counts at the threshold is a prefix of the ranking.
        for (int nDetection : ranked[nClass])
        {
            if (m_detections[nDetection].fScore < m_fScoreThreshold)
                break;
            ++(truePositive[nDetection] ? figures.TruePositives : figures.FalsePositives);
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
    AddImageLists(result, truePositive, boxMatchScore);
    return result;
}

void CDetectionEvaluator::Match(double dblIoU, const QVector<QVector<int>>& ranked, const QVector<int>& boxesPerClass,
                                QVector<double>& ap, bool bKeepDetails, QVector<char>& truePositive,
                                QVector<float>& boxMatchScore, QVector<QVector<QPointF>>* pCurves) const
{
    QVector<char> matched(m_boxes.size(), 0);
    QVector<double> precision;
    for (int nClass = 0; nClass < ranked.size(); ++nClass)
    {
        const QVector<int>& order = ranked[nClass];
        const int nBoxes = boxesPerClass[nClass];
        ap[nClass] = 0.0;
        if (nBoxes == 0)
            continue;
        precision.resize(order.size());
        int nTruePositives = 0;
        for (int nRank = 0; nRank < order.size(); ++nRank)
        {
            const SDetection& detection = m_detections[order[nRank]];
            int nMatch = -1;
            for (int nPair = detection.nPairBegin; nPair < detection.nPairEnd; ++nPair)
            {
                const SPair& pair = m_pairs[nPair];
                if (pair.dblIoU < dblIoU)
                    break;
                if (!matched[pair.nBox])
                {
                    nMatch = pair.nBox;
                    break;
                }
            }
            if (nMatch >= 0)
            {
                matched[nMatch] = 1;
                ++nTruePositives;
            }
            if (bKeepDetails)
            {
                truePositive[order[nRank]] = nMatch >= 0;
                if (nMatch >= 0)
                    boxMatchScore[nMatch] = detection.fScore;
            }
            // The sign carries whether this rank raised the recall, so that no second array is needed.
            const double dblPrecision = double(nTruePositives) / (nRank + 1);
            precision[nRank] = nMatch >= 0 ? dblPrecision : -dblPrecision - 1.0;
        }
        // Precision made monotone from the right; the area is summed where recall steps up by 1/nBoxes.
        double dblBest = 0.0;
        double dblArea = 0.0;
        for (int nRank = order.size() - 1; nRank >= 0; --nRank)
        {
            const bool bStep = precision[nRank] >= 0.0;
            dblBest = std::max(dblBest, bStep ? precision[nRank] : -precision[nRank] - 1.0);
            if (bStep)
                dblArea += dblBest;
            precision[nRank] = bStep ? dblBest : -dblBest - 1.0;
        }
        ap[nClass] = dblArea / nBoxes;
        if (pCurves)
        {
            QVector<QPointF>& curve = (*pCurves)[nClass];
            curve.resize(order.size());
            int nFound = 0;
            for (int nRank = 0; nRank < order.size(); ++nRank)
            {
                const bool bStep = precision[nRank] >= 0.0;
                nFound += bStep;
                curve[nRank] = QPointF(double(nFound) / nBoxes, bStep ? precision[nRank] : -precision[nRank] - 1.0);
            }
        }
    }
}

void CDetectionEvaluator::AddImageLists(CEvaluationResult& result, const QVector<char>& truePositive,
                                        const QVector<float>& boxMatchScore) const
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
            if (boxMatchScore[nBox] < m_fScoreThreshold)
                image.MissedBoxes.append({m_boxes[nBox].nClass, m_boxes[nBox].rect});
        }
        for (int nDetection = m_images[nImage].nDetectionBegin; nDetection < nDetectionEnd; ++nDetection)
        {
            const SDetection& detection = m_detections[nDetection];
            if (detection.fScore >= m_fScoreThreshold && !truePositive[nDetection])
                image.FalseDetections.append({detection.nClass, detection.rect, detection.fScore});
        }
        if (!image.MissedBoxes.isEmpty() || !image.FalseDetections.isEmpty())
            result.Images.append(image);
    }
}
