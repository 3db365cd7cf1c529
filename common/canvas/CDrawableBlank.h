#pragma once

#include "OvrelCommonGlobal.h"
#include "canvas/CDrawableObject.h"

// An object without a shape: an empty boundary, no handles, and moves that do nothing. It is never painted.
class OVRELCOMMON_EXPORT CDrawableBlank : public CDrawableObject
{
    Q_OBJECT
public:
    CDrawableBlank();
    ~CDrawableBlank() override;

    QRectF GetBoundary() const override { return QRectF(0, 0, 0, 0); }
    void MoveTopLeftTo(const QPointF& /*point*/) override {}
    bool FindResizePoint(double /*dblTolerance*/, const QPointF& /*point*/, QPointF& /*foundPoint*/,
                         double /*dblReserved*/) const override
    {
        return false;
    }
    void MoveResizePoint(const QPointF& /*fromPoint*/, const QPointF& /*toPoint*/) override {}
};
