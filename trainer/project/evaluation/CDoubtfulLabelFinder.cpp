#include "project/evaluation/CDoubtfulLabelFinder.h"

#include "project/evaluation/CBoxOverlap.h"

CDoubtfulLabelFinder::CDoubtfulLabelFinder(double dblScoreThreshold) : m_fScoreThreshold(float(dblScoreThreshold)) {}

CDoubtfulLabelList CDoubtfulLabelFinder::Find(const QString& strImageKey, const CLabelledBoxList& boxes,
                                              const CDetectionList& detections) const
{
    CDoubtfulLabelList suspects;
    for (int nDetection = 0; nDetection < detections.size(); ++nDetection)
    {
        const CDetection& detection = detections[nDetection];
        if (detection.Score < SURE_SCORE)
            continue;
        double dblNearest = 0.0;
        bool bOwnClass = false;
        int nOther = -1;
        double dblOther = 0.0;
        for (int nBox = 0; nBox < boxes.size(); ++nBox)
        {
            const double dblIoU = CBoxOverlap::IoU(detection.Box, boxes[nBox].Box);
            dblNearest = qMax(dblNearest, dblIoU);
            if (dblIoU < CLASS_IOU)
                continue;
            if (boxes[nBox].ClassIndex == detection.ClassIndex)
                bOwnClass = true;
            else if (dblIoU > dblOther)
            {
                nOther = nBox;
                dblOther = dblIoU;
            }
        }
        if (nOther >= 0 && !bOwnClass)
            suspects.append({strImageKey, EDoubtRule_WrongClass, nOther, boxes[nOther], nDetection, detection});
        else if (dblNearest < NEAR_IOU)
            suspects.append({strImageKey, EDoubtRule_MissingBox, -1, CLabelledBox(), nDetection, detection});
    }

    // "The model finds the other boxes" needs every box's verdict first.
    QVector<bool> found(boxes.size(), false);
    int nFound = 0;
    for (int nBox = 0; nBox < boxes.size(); ++nBox)
    {
        for (const CDetection& detection : detections)
        {
            if (detection.ClassIndex == boxes[nBox].ClassIndex && detection.Score >= m_fScoreThreshold &&
                CBoxOverlap::IoU(detection.Box, boxes[nBox].Box) >= NEAR_IOU)
            {
                found[nBox] = true;
                ++nFound;
                break;
            }
        }
    }
    // Every other box found and at least one other box: exactly one is not found, on an image of two or more.
    if (boxes.size() >= 2 && nFound == boxes.size() - 1)
    {
        const int nBox = found.indexOf(false);
        suspects.append({strImageKey, EDoubtRule_SloppyBox, nBox, boxes[nBox], -1, CDetection()});
    }
    return suspects;
}
