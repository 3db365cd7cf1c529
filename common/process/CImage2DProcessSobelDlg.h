#pragma once

#include "OvrelCommonGlobal.h"
#include "process/CImageProcessParameterDlg.h"

class CImage2DProcessSobelModel;

// The Sobel tool's window ("Sobel"): the frame with a one-row table ("Type" and the words of the model's direction,
// "Sobel X") and a "Run" button. The model is not owned; it may be null (no table row) or go first.
class OVRELCOMMON_EXPORT CImage2DProcessSobelDlg : public CImageProcessParameterDlg
{
    Q_OBJECT
public:
    // Table edits: signal_ChangeData's nCode is the row (0 the direction).
    explicit CImage2DProcessSobelDlg(CImage2DProcessSobelModel* pModel, QWidget* parent = nullptr);
};
