#pragma once

#include "OvrelCommonGlobal.h"
#include "frame/CModel.h"

// The interaction mode shared by the canvases of a workspace: selecting, panning or drawing one kind of shape.
class OVRELCOMMON_EXPORT CImageViewModeModel : public CModel
{
    Q_OBJECT
public:
    enum EImageView2DMode
    {
        EImageView2DMode_Selecting = 0,
        EImageView2DMode_Panning = 1,
        EImageView2DMode_Drawing_Rectanlge = 2,
        EImageView2DMode_Drawing_Ellipse = 3,
        EImageView2DMode_Drawing_Circle = 4,
        EImageView2DMode_Drawing_Polygon = 5,
        EImageView2DMode_Drawing_Line = 6
    };
    Q_ENUM(EImageView2DMode)

    explicit CImageViewModeModel(QObject* parent = nullptr);
    ~CImageViewModeModel() override;

    // Stores the mode and emits signal_ChangeViewMode, only when it differs from the stored one.
    void SetMode(EImageView2DMode eMode);
    EImageView2DMode GetMode() const { return m_eMode; }
    // Whether a drawing mode stays after each shape it made (for drawing many boxes in a row); off at first.
    void SetKeepingDrawingMode(bool bKeep) { m_bKeepDrawing = bKeep; }
    bool IsKeepingDrawingMode() const { return m_bKeepDrawing; }

signals:
    void signal_ChangeViewMode();
    // Declared for views that switch between 2D and 3D; nothing emits it.
    void signal_ChangeViewType();

private:
    EImageView2DMode m_eMode = EImageView2DMode_Selecting;
    bool m_bKeepDrawing = false;
};
