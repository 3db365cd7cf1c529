#pragma once

#include "project/evaluation/CLabelledBox.h"
#include "project/inference/CDetection.h"

#include <QMetaType>
#include <QString>
#include <QVector>

// Small cases for the evaluation tests: boxes are 10x10 squares on whole pixels, so every IoU below is exact.
// A detection shifted by d pixels along x from a box overlaps it at (10 - d) * 10 / (200 - (10 - d) * 10):
// d = 0 -> 1, 1 -> 90/110 = 0.818, 2 -> 80/120 = 0.667, 3 -> 70/130 = 0.538, 5 -> 50/150 = 0.333, 6 -> 40/160 = 0.25.
namespace EvaluationCase
{
struct SImage
{
    QString Key;
    CLabelledBoxList Boxes;
    CDetectionList Detections;
};
using ImageList = QVector<SImage>;

inline CLabelledBox Box(int nClass, double dblX)
{
    return {nClass, QRectF(dblX, 0, 10, 10)};
}

inline CDetection Detection(int nClass, double dblX, float fScore)
{
    return {nClass, QRectF(dblX, 0, 10, 10), fScore};
}

// Far from every box of the cases.
const double FAR = 500;
} // namespace EvaluationCase

Q_DECLARE_METATYPE(EvaluationCase::ImageList)
Q_DECLARE_METATYPE(CLabelledBoxList)
Q_DECLARE_METATYPE(CDetectionList)
