#pragma once

#include "OvrelCommonGlobal.h"
#include "process/CImageFilterController.h"

#include <QPointer>

class CImage2DProcessMedianDlg;
class CImage2DProcessMedianModel;

// Runs the median filter of the model's window (3 x 3, 5 x 5 or N x N) on the bound viewer's current image inside the
// chosen ROI shape (the whole image without one), border pixels replicated. A successful run shows
// "Processing Time %lld ms" and replaces the viewer's current image by the filtered copy as one undo step, emptying
// its shapes; a failed one changes nothing, not even the message. Neither model nor view is owned.
class OVRELCOMMON_EXPORT CImage2DProcessMedianController : public CImageFilterController
{
    Q_OBJECT
public:
    CImage2DProcessMedianController(CImage2DProcessMedianModel* pModel, CImage2DProcessMedianDlg* pView,
                                    QObject* parent = nullptr);

public slots:
    // Code 0 takes the value as the words of a kernel type ("Median 5x5"; other words store -1, which runs no
    // filter); code 1 as the window's side (see CImage2DProcessMedianModel::SetWindowSize), kept only when it is odd
    // and from 3 to 255. The window then shows the model's type and size again, so the two rows always agree.
    void slot_ChangeData(int nCode, const QString& strValue) override;
    void slot_Run() override;

private:
    QPointer<CImage2DProcessMedianModel> m_pModel;
    QPointer<CImage2DProcessMedianDlg> m_pMedianView;
};
