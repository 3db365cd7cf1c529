#pragma once

#include "project/evaluation/CLabelledBox.h"
#include "project/inference/CDetection.h"

#include <QString>
#include <QVector>

enum EDoubtRule
{
    // A sure detection lies on a box of another class: the box probably has the wrong class.
    EDoubtRule_WrongClass,
    // A sure detection lies on no box at all: a box is probably missing.
    EDoubtRule_MissingBox,
    // A box the model does not find on an image where it finds all the others: probably wrong or sloppy.
    EDoubtRule_SloppyBox,
};

// One label that CDoubtfulLabelFinder points at. BoxIndex and DetectionIndex are positions in the lists the image was
// given; a missing box has no box (-1), a sloppy box no detection (-1), and then Box or Detection is left default.
struct CDoubtfulLabel
{
    QString ImageKey;
    EDoubtRule Rule = EDoubtRule_WrongClass;
    int BoxIndex = -1;
    CLabelledBox Box;
    int DetectionIndex = -1;
    CDetection Detection;
};

using CDoubtfulLabelList = QVector<CDoubtfulLabel>;
