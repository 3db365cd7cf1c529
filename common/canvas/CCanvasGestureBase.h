#pragma once

#include "OvrelCommonGlobal.h"
#include "canvas/CImageView2D.h"
#include "canvas/CImageViewModeModel.h"

#include <QPointer>

#include <memory>

class CDrawableObject;
class CDrawableObjectModel;
class CUndoCommand;
class CUndoStack;

// What the gestures of a canvas share: the canvas, its object model (which the undo commands change), the mode model
// and the undo stack that takes every committed change. Nothing is owned; any pointer may be
// null, and a gesture then does nothing.
class OVRELCOMMON_EXPORT CCanvasGestureBase
{
public:
    CCanvasGestureBase(CImageView2D* pCanvas, CDrawableObjectModel* pObjectModel, CImageViewModeModel* pModeModel,
                       CUndoStack* pUndoStack);
    virtual ~CCanvasGestureBase();
    CCanvasGestureBase(const CCanvasGestureBase&) = delete;
    CCanvasGestureBase& operator=(const CCanvasGestureBase&) = delete;

    // 10 screen pixels in image pixels at the canvas's current zoom.
    double Tolerance() const;

protected:
    // The canvas and the object model exist and an image is shown. Without an image the canvas has no scale that maps
    // the mouse to image pixels, so pointer gestures are ignored rather than creating objects nobody can see.
    bool IsImageShown() const;
    // Pushes the command and executes it; without an undo stack the command is dropped unexecuted.
    void PushAndExecute(CUndoCommand* pCommand);
    // Adds the object to the model as one undoable step.
    void AddWithUndo(const std::shared_ptr<CDrawableObject>& pObject);
    // Empties the drawing-object layer (when bLayer) and the model's drawing objects.
    void ClearDrawing(bool bLayer);
    void ShowDrawing(const std::shared_ptr<CDrawableObject>& pObject);
    void SetMode(CImageViewModeModel::EImageView2DMode eMode);

    // Watched: the canvas is a widget that its viewer may destroy first.
    QPointer<CImageView2D> m_pCanvas;
    CDrawableObjectModel* m_pObjectModel;
    CImageViewModeModel* m_pModeModel;
    CUndoStack* m_pUndoStack;
};
