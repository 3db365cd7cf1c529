#include "process/CImage2DProcessSobelDlg.h"

#include "process/CImage2DProcessSobelDlgParameterDelegate.h"
#include "process/CImage2DProcessSobelModel.h"
#include "process/ParameterEditors.h"

#include <QMetaEnum>

CImage2DProcessSobelDlg::CImage2DProcessSobelDlg(CImage2DProcessSobelModel* pModel, QWidget* parent)
    : CImageProcessParameterDlg(pModel, parent)
{
    setWindowTitle("Sobel");
    std::vector<std::pair<QString, QString>> vctRows;
    if (pModel)
        vctRows = {
            {"Type", ParameterEditors::ChoiceText(QMetaEnum::fromType<EImage2DProcessSobel>(), pModel->GetType())}};
    SetupParameter(new CImage2DProcessSobelDlgParameterDelegate(this), vctRows);
    SetupButton(QSizePolicy::Maximum, true);
}
