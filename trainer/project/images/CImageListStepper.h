#pragma once

#include <memory>

class CDatabase;
class CDatasetImageEntry;
class CProjectModel;

// Steps through the list (training or test) that holds a project image, in the model's current order, so that a
// shuffle or a sort is followed. A search for an image without boxes sees the training list followed by the test list.
class CImageListStepper
{
public:
    // The entry nStep places after (before, for a negative step) the image nImageID in its list; with bWithoutBoxes the
    // first such entry, in the step's direction, whose image has no ROI row, going on from the last training image to
    // the first test image (and back, stepping backwards). Empty at either end (no wrapping), for a zero step, an
    // image in neither list, or when the rows cannot be read.
    static std::shared_ptr<CDatasetImageEntry> Step(const CProjectModel& model, CDatabase* pDatabase, int nImageID,
                                                    int nStep, bool bWithoutBoxes);
};
