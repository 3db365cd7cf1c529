#pragma once

#include "project/inference/CDetection.h"

#include <QSize>

#include <opencv2/core.hpp>

#include <vector>

// Turns the rows OpenCV's yolo layers give (centre x, y, width, height relative to the input, objectness, then one
// score per class already multiplied by the objectness) into detections as the trainer's "detector valid" makes them:
// a box counts when its objectness exceeds the threshold, a class of it when its score does; non-maximum suppression
// runs per class over the boxes in score order, a box falling when it overlaps a kept one at IoU > 0.45.
class CYoloOutputDecoder
{
public:
    static constexpr float NMS_IOU = 0.45f;

    // Detections in the image's pixels, clipped to the image, highest score first.
    static CDetectionList Decode(const std::vector<cv::Mat>& vctOutputs, const QSize& imageSize, const QSize& netSize,
                                 float fThreshold);
};
