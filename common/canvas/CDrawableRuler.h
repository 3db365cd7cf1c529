#pragma once

#include "OvrelCommonGlobal.h"
#include "canvas/CDrawableGeometry.h"

// A measuring line: a geometry object over a line in image pixels whose label shows the line's length.
class OVRELCOMMON_EXPORT CDrawableRuler : public CDrawableGeometry
{
    Q_OBJECT
public:
    CDrawableRuler();
    // A ruler over a new line from start to end.
    CDrawableRuler(const QPointF& start, const QPointF& end);
    ~CDrawableRuler() override;

    // The end point of the line, where the length label is anchored; (0, 0) without a line.
    QPointF GetPointText() const;
};
