#pragma once

#include "project/evaluation/CThresholdFigures.h"

#include <QString>

// What one evaluation measured for one class, as the table shows it and an evaluation record keeps it. The figures "at
// the threshold" count only detections whose score is at least the user's threshold, matched at IoU 0.5.
struct CClassFigures : CThresholdFigures
{
    QString Name;
    // Labelled boxes of the class in the evaluated images; without any the class has no AP and stays out of the means.
    int Boxes = 0;
    // Every detection of the class that was fed, whatever its score.
    int Detections = 0;
    // Average precision at IoU 0.5, and its mean over IoU 0.50, 0.55, ..., 0.95; 0 without boxes.
    double AP50 = 0.0;
    double AP50To95 = 0.0;
    bool HasBoxes() const { return Boxes > 0; }
};
