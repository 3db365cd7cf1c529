#pragma once

#include "project/evaluation/CLabelledBox.h"
#include "project/inference/CDetection.h"

#include <QString>
#include <QVector>

enum ESuspectRule
{
    // A sure detection lies on a box of another class: the box probably has the wrong class.
    ESuspectRule_WrongClass,
    // A sure detection lies on no box at all: a box is probably missing.
    ESuspectRule_MissingBox,
    // A box the model does not find on an image where it finds all the others: probably wrong or sloppy.
    ESuspectRule_SloppyBox,
};

// One label that CSuspectLabelFinder points at. BoxIndex and DetectionIndex are positions in the lists the image was
// given; a missing box has no box (-1), a sloppy box no detection (-1), and then Box or Detection is left default.
struct CSuspectLabel
{
    QString ImageKey;
    ESuspectRule Rule = ESuspectRule_WrongClass;
    int BoxIndex = -1;
    CLabelledBox Box;
    int DetectionIndex = -1;
    CDetection Detection;
};

using CSuspectLabelList = QVector<CSuspectLabel>;
