#pragma once

#include "OvrelCommonGlobal.h"

class CDrawableObject;
class QFont;
class QPainter;
class QString;

// How a drawable object looks on the canvas. The painter's window is the image rectangle (image pixels) and its
// viewport the rectangle the image covers on screen; dblRatio is window width / viewport width, the size of one
// screen pixel in image pixels, so outlines and handles keep their screen size at every zoom. Geometry objects are
// drawn green, or red while selected, with a translucent fill, a circle on each resize handle and the name at the
// top-left of the boundary; rulers are drawn unfilled with their length at the end point. Labels are drawn in screen
// coordinates so that they keep their size too. The object's stored pen and brush are not used.
class OVRELCOMMON_EXPORT CDrawableObjectPainter
{
public:
    static void Paint(QPainter& painter, const CDrawableObject& object, double dblRatio);
    // The label painted with the object: a geometry object's name while its label is on, a ruler's length as
    // "141.421 pixel"; empty when nothing is written.
    static QString LabelText(const CDrawableObject& object);
    // The font labels are written in. Which face it resolves to depends on the fonts installed, so anything that
    // measures a label measures it with this font.
    static QFont LabelFont();
};
