#include "process/CImageProcessToolFactory.h"

#include "process/CImage2DProcessMedianController.h"
#include "process/CImage2DProcessMedianDlg.h"
#include "process/CImage2DProcessMedianModel.h"
#include "process/CImage2DProcessOCRController.h"
#include "process/CImage2DProcessOCRDlg.h"
#include "process/CImage2DProcessOCRModel.h"
#include "process/CImage2DProcessSobelController.h"
#include "process/CImage2DProcessSobelDlg.h"
#include "process/CImage2DProcessSobelModel.h"

namespace
{

template <class TModel, class TView, class TController> SMVC Create(QWidget* pParent)
{
    SMVC tool;
    auto* pModel = new TModel;
    auto* pView = new TView(pModel, pParent);
    tool.pModel = pModel;
    tool.pView = pView;
    tool.pController = new TController(pModel, pView);
    return tool;
}

} // namespace

SMVC CImageProcessToolFactory::Open(EImageProcessTool eTool, QWidget* pParent)
{
    SMVC tool;
    switch (eTool)
    {
    case EImageProcessTool_Sobel:
        tool = Create<CImage2DProcessSobelModel, CImage2DProcessSobelDlg, CImage2DProcessSobelController>(pParent);
        break;
    case EImageProcessTool_Median:
        tool = Create<CImage2DProcessMedianModel, CImage2DProcessMedianDlg, CImage2DProcessMedianController>(pParent);
        break;
    case EImageProcessTool_OCR:
        tool = Create<CImage2DProcessOCRModel, CImage2DProcessOCRDlg, CImage2DProcessOCRController>(pParent);
        break;
    }
    if (tool.pView)
    {
        tool.pView->show();
        tool.pView->raise();
        tool.pView->activateWindow();
    }
    return tool;
}
