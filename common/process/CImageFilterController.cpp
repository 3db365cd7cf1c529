#include "process/CImageFilterController.h"

#include "process/CImageProcessParameterDlg.h"

CImageFilterController::CImageFilterController(CImageProcessParameterDlg* pView, QObject* parent)
    : CImageProcessController(pView, parent)
{
    if (!pView)
        return;
    connect(pView, &CImageProcessParameterDlg::signal_Run, this, &CImageFilterController::slot_Run);
    connect(pView, &CImageProcessParameterDlg::signal_ChangeData, this, &CImageFilterController::slot_ChangeData);
}
