#pragma once

#include <QRectF>
#include <QVector>

// A box stored for an image, as evaluation compares it with detections: image pixels (top-left origin, not normalised)
// and the index of its class in the project's class table.
struct CLabelledBox
{
    int ClassIndex = -1;
    QRectF Box;
};

using CLabelledBoxList = QVector<CLabelledBox>;
