#pragma once

#include <QRectF>
#include <QVector>

// One object the trained network found on an image: a box in image pixels (top-left origin, not normalised), the index of
// its class in the project's class table (the index the trainer was given) and the network's confidence in [0, 1].
struct CDetection
{
    int ClassIndex = -1;
    QRectF Box;
    float Score = 0.0f;
};

using CDetectionList = QVector<CDetection>;
