#pragma once

#include <QRectF>
#include <QString>

// One proposal for a project image: a box (image pixels) with the class (category ID) and score a trained network gave
// it, and the weights file that found it. nRowID is its dataset_proposal row while it is stored, -1 while it is only
// shown; nKey names it in memory (and on the canvas) for as long as the program runs.
struct CProposal
{
    int nKey = -1;
    int nRowID = -1;
    int nImageID = -1;
    int nCategoryID = -1;
    QRectF box;
    double dblScore = 0.0;
    QString strWeights;
};
