#pragma once

#include "project/evaluation/CDoubtfulLabel.h"
#include "project/evaluation/CLabelledBox.h"
#include "project/inference/CDetection.h"

// Points at labels that are probably wrong, one image at a time, from the trained model's detections on it:
// - wrong class: a detection with score >= SURE_SCORE overlaps a box of another class at IoU >= CLASS_IOU, and no box
// of
//   its own class at that IoU (two overlapping objects of different classes are not a fault); the entry names the
//   other-class box it overlaps most.
// - missing box: a detection with score >= SURE_SCORE overlaps no box of any class at IoU >= NEAR_IOU.
// - sloppy box: no detection of its class with a score at the user's threshold reaches the box at IoU >= NEAR_IOU,
// while
//   the image has at least one other box and every other box is reached that way by a detection of its class.
// Entries come wrong class and missing box in detection order, then the sloppy box (one per image at most).
class CDoubtfulLabelFinder
{
public:
    static constexpr float SURE_SCORE = 0.8f;
    static constexpr double CLASS_IOU = 0.5;
    static constexpr double NEAR_IOU = 0.3;

    explicit CDoubtfulLabelFinder(double dblScoreThreshold);

    CDoubtfulLabelList Find(const QString& strImageKey, const CLabelledBoxList& boxes,
                            const CDetectionList& detections) const;

private:
    float m_fScoreThreshold;
};
