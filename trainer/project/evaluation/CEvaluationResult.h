#pragma once

#include "project/evaluation/CEvaluationSummary.h"
#include "project/evaluation/CLabelledBox.h"
#include "project/inference/CDetection.h"

#include <QPointF>
#include <QString>
#include <QVector>

// What an image contributes to the lists of a dock at the user's threshold: its boxes that no detection of their class
// matched at IoU 0.5, and its detections that matched no box, each list in the order the image gave them.
struct CImageEvaluation
{
    QString ImageKey;
    CLabelledBoxList MissedBoxes;
    CDetectionList FalseDetections;
};

// The outcome of CDetectionEvaluator::Evaluate.
struct CEvaluationResult : CEvaluationSummary
{
    // The precision-recall curve of each class at IoU 0.5, parallel to Classes: one point (recall, precision) per
    // detection in score order, precision already made monotone, so the area under its steps is the AP. Empty without
    // boxes.
    QVector<QVector<QPointF>> Curves;
    // Boxes and detections whose class index is outside the class table: they take no part in any figure.
    int OutsideTable = 0;
    // Only the images with a missed box or a false detection, in the order they were fed.
    QVector<CImageEvaluation> Images;
};
