#pragma once

#include "OvrelCommonGlobal.h"
#include "frame/SMVC.h"

class QWidget;

// The image tools a window can open beside itself.
enum EImageProcessTool
{
    EImageProcessTool_Sobel = 0,
    EImageProcessTool_Median = 1,
    EImageProcessTool_OCR = 2
};

// Opens one more independent tool window: creates the tool's model, then its dialog with the model and pParent as
// parent, then its controller with the model and the dialog (which binds the tool to "Image View [0]"); shows,
// raises and activates the dialog.
//
// The caller owns model and controller and deletes the controller first, then the model; the dialog is a separate
// window that goes with pParent (the caller deletes it when pParent is null). Closing the dialog only hides it.
class OVRELCOMMON_EXPORT CImageProcessToolFactory
{
public:
    // An unknown tool gives an all-null triple.
    static SMVC Open(EImageProcessTool eTool, QWidget* pParent);
};
