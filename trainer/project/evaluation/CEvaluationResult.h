#pragma once

#include "project/evaluation/CClassFigures.h"
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
struct CEvaluationResult
{
    double ScoreThreshold = 0.0;
    int ImageCount = 0;
    // One entry per class of the table, in class index order, classes without boxes included.
    QVector<CClassFigures> Classes;
    // The precision-recall curve of each class at IoU 0.5, parallel to Classes: one point (recall, precision) per
    // detection in score order, precision already made monotone, so the area under its steps is the AP. Empty without
    // boxes.
    QVector<QVector<QPointF>> Curves;
    // Means over the classes that have boxes; 0 when none has. ClassesInMean says how many there were.
    double MeanAP50 = 0.0;
    double MeanAP50To95 = 0.0;
    int ClassesInMean = 0;
    // All classes together at the threshold (false detections of classes without boxes count too).
    double Precision = 0.0;
    double Recall = 0.0;
    double F1 = 0.0;
    int TruePositives = 0;
    int FalsePositives = 0;
    int Missed = 0;
    // Boxes and detections whose class index is outside the class table: they take no part in any figure.
    int OutsideTable = 0;
    // Only the images with a missed box or a false detection, in the order they were fed.
    QVector<CImageEvaluation> Images;
};
