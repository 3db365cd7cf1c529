#pragma once

#include <QString>

// What the installed Darknet trainer makes of an image path in train.txt or test.txt. It never looks for a label file
// next to the image by name: it edits the image path, replacing the first "images", "JPEGImages" and "raw" with
// "labels" and then the first ".jpg", ".png", ".JPG" and ".JPEG" with ".txt", each step on the result of the one
// before, case-sensitively. Whatever path comes out is read as the label file.
class CTrainerImageRule
{
public:
    // The label path the trainer reads for the image path, exactly as it edits it.
    static QString TrainerLabelPath(const QString& strImagePath);
    // Why the trainer cannot use the image named strImageName in the Images folder together with the label file the
    // build writes for it (CProjectLayout::LabelEntry); empty when it can.
    static QString Problem(const QString& strImageName);
};
