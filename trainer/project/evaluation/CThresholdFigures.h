#pragma once

// The figures of a class, or of all classes together, "at the threshold": only detections whose score is at least the
// user's threshold count, matched at IoU 0.5. Precision is 0 without any detection, recall 0 without any box, F1 0
// when both are 0.
struct CThresholdFigures
{
    double Precision = 0.0;
    double Recall = 0.0;
    double F1 = 0.0;
    int TruePositives = 0;
    int FalsePositives = 0;
    int Missed = 0;
};
