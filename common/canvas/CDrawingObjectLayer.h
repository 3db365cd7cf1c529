#pragma once

#include "canvas/CDrawableLayer.h"

class CDrawableObjectModel;

// The transparent layer over a canvas that shows gestures in progress: the object model's drawing objects and its
// waiting object. Mouse events pass through to the canvas below; the canvas keeps it covering itself exactly.
class OVRELCOMMON_EXPORT CDrawingObjectLayer : public CDrawableLayer
{
    Q_OBJECT
public:
    // The object model is not owned and may be null.
    CDrawingObjectLayer(CDrawableObjectModel* pObjectModel, CImageViewModeModel* pModeModel, QWidget* parent);
    ~CDrawingObjectLayer() override;

public slots:
    // Clear, then every drawing object of the model in order, then its waiting object (an empty one is skipped).
    void slot_RebuildDrawingObjects();

private:
    CDrawableObjectModel* m_pObjectModel = nullptr;
};
