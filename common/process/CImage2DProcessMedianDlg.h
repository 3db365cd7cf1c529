#pragma once

#include "OvrelCommonGlobal.h"
#include "process/CImageProcessParameterDlg.h"

class CImage2DProcessMedianModel;

// The median tool's window ("Median"): the frame with a two-row table ("Type" with the kernel type key of the model,
// "Size" with the size N of the N x N window) and a "Run" button. The model is not owned; it may be null (no table
// rows) or go first.
class OVRELCOMMON_EXPORT CImage2DProcessMedianDlg : public CImageProcessParameterDlg
{
    Q_OBJECT
public:
    // Table edits: signal_ChangeData's nCode is the row (0 the kernel type, 1 the size).
    explicit CImage2DProcessMedianDlg(CImage2DProcessMedianModel* pModel, QWidget* parent = nullptr);
};
