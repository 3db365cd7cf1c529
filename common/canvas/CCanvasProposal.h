#pragma once

#include <QRectF>
#include <QString>

// A box that something other than the user suggests for the shown image (a detector's find). It is no drawable object:
// it has no row in any model, no undo step and no handles, and it is never moved or resized. The ID is the owner's,
// handed back in the canvas's proposal signals; the box is in image pixels.
struct CCanvasProposal
{
    int nID = -1;
    QRectF box;
    QString strName;
    double dblScore = 0.0;
};
