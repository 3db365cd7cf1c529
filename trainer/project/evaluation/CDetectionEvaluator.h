#pragma once

#include "project/evaluation/CEvaluationResult.h"
#include "project/evaluation/CLabelledBox.h"
#include "project/inference/CDetection.h"

#include <QString>
#include <QStringList>
#include <QVector>

#include <vector>

// Measures detections against labelled boxes, image by image, as the PASCAL VOC 2010-2012 evaluation does: per class,
// every detection over all images in descending score; each one is a true positive when the box of its class on its
// image with the highest IoU reaches the threshold and is not matched yet, otherwise (a second detection of a matched
// box included, even where another box would reach the threshold) a false positive. AP is the area under the
// precision-recall steps after precision is made monotone from the right.
//
// Equal scores keep the order of feeding: the earlier image first, and within an image the order of its detection list.
// Feed the detections at a low score threshold; the user's threshold only cuts the figures "at the threshold".
class CDetectionEvaluator
{
public:
    // IoU thresholds of the mean over 0.50:0.95, the first one being the IoU of AP50 and of every count.
    static constexpr int IOU_STEPS = 10;
    static double IoUThreshold(int nStep);

    // lstClassNames gives the class table: class index = position. The threshold is compared in the detections' own
    // float, so that a score of 0.7f counts at a threshold of 0.7.
    CDetectionEvaluator(const QStringList& lstClassNames, double dblScoreThreshold);

    void AddImage(const QString& strImageKey, const CLabelledBoxList& boxes, const CDetectionList& detections);
    // May be called again after more images.
    CEvaluationResult Evaluate() const;

private:
    struct SBox
    {
        int nImage;
        int nClass;
        QRectF rect;
    };
    struct SDetection
    {
        int nImage;
        int nClass;
        float fScore;
        QRectF rect;
        // Candidate boxes of its class on its image, in pairs [nPairBegin, nPairEnd), highest IoU first.
        int nPairBegin;
        int nPairEnd;
    };
    struct SPair
    {
        int nBox;
        double dblIoU;
    };
    struct SImage
    {
        QString strKey;
        int nBoxBegin;
        int nDetectionBegin;
    };

    // A detection in a class's ranking, with what matching needs of it at hand.
    struct SRanked
    {
        float fScore;
        int nDetection;
        int nPairBegin;
        int nPairEnd;
    };
    // Working arrays of one Evaluate, allocated once for all IoU thresholds and classes. truePositive (per detection)
    // and boxMatchScore (per box, the score of the detection that took it, -1 for none) hold the matching at IoU 0.5.
    struct SScratch
    {
        std::vector<char> matched;
        std::vector<double> precision;
        std::vector<char> found;
        std::vector<char> truePositive;
        std::vector<float> boxMatchScore;
    };

    // Matches every class at one IoU threshold and puts each class's AP in ap; with pCurves (IoU 0.5) it also keeps
    // the matching in scratch and the curves.
    void Match(double dblIoU, const std::vector<SRanked>& ranked, const std::vector<int>& classBegin,
               const QVector<int>& boxesPerClass, SScratch& scratch, std::vector<double>& ap,
               QVector<QVector<QPointF>>* pCurves) const;
    void AddImageLists(CEvaluationResult& result, const SScratch& scratch) const;

    QStringList m_lstClassNames;
    double m_dblScoreThreshold;
    float m_fScoreThreshold;
    QVector<SImage> m_images;
    QVector<SBox> m_boxes;
    QVector<SDetection> m_detections;
    QVector<SPair> m_pairs;
    int m_nOutsideTable = 0;
};
