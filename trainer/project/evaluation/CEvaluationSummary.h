#pragma once

#include "project/evaluation/CClassFigures.h"
#include "project/evaluation/CThresholdFigures.h"

#include <QVector>

// What an evaluation measured, as its result holds it and its record keeps it: the figures per class, their means, and
// all classes together at the threshold (false detections of classes without boxes count there too).
struct CEvaluationSummary : CThresholdFigures
{
    double ScoreThreshold = 0.0;
    int ImageCount = 0;
    // One entry per class of the table, in class index order, classes without boxes included.
    QVector<CClassFigures> Classes;
    // Means over the classes that have boxes; 0 when none has. ClassesInMean says how many there were.
    double MeanAP50 = 0.0;
    double MeanAP50To95 = 0.0;
    int ClassesInMean = 0;
};
