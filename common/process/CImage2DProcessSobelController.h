#pragma once

#include "OvrelCommonGlobal.h"
#include "process/CImageFilterController.h"

#include <QPointer>

class CImage2DProcessSobelDlg;
class CImage2DProcessSobelModel;

// Runs the Sobel filter of the model's direction on the bound viewer's current image inside the chosen ROI shape (the
// whole image without one), border pixels replicated. A successful run shows "Processing Time %lld ms" and replaces
// the viewer's current image by the filtered copy as one undo step, emptying its shapes; a failed one (a region that
// covers no pixel, an unknown direction) changes nothing. Neither model nor view is owned.
class OVRELCOMMON_EXPORT CImage2DProcessSobelController : public CImageFilterController
{
    Q_OBJECT
public:
    CImage2DProcessSobelController(CImage2DProcessSobelModel* pModel, CImage2DProcessSobelDlg* pView,
                                   QObject* parent = nullptr);

public slots:
    // Code 0 takes the value as the words of a direction ("Sobel X"); other words store -1, which runs no filter.
    void slot_ChangeData(int nCode, const QString& strValue) override;
    void slot_Run() override;

private:
    QPointer<CImage2DProcessSobelModel> m_pModel;
};
