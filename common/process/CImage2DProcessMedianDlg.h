#pragma once

#include "OvrelCommonGlobal.h"
#include "process/CImageProcessParameterDlg.h"

#include <QPointer>

class CImage2DProcessMedianModel;

// The median tool's window ("Median"): the frame with a two-row table ("Type" with the words of the model's kernel
// type, "Median 3x3"; "Size" with the side of the window it runs with) and a "Run" button. The model is not owned; it
// may be null (no table rows) or go first.
class OVRELCOMMON_EXPORT CImage2DProcessMedianDlg : public CImageProcessParameterDlg
{
    Q_OBJECT
public:
    // Table edits: signal_ChangeData's nCode is the row (0 the kernel type, 1 the size).
    explicit CImage2DProcessMedianDlg(CImage2DProcessMedianModel* pModel, QWidget* parent = nullptr);

    // Shows the model's type and window size again, announcing nothing: after an edit the two rows agree.
    void ShowModel();

private:
    QPointer<CImage2DProcessMedianModel> m_pMedianModel;
};
