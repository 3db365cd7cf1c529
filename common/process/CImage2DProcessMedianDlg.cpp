#include "process/CImage2DProcessMedianDlg.h"

#include "process/CImage2DProcessMedianDlgParameterDelegate.h"
#include "process/CImage2DProcessMedianModel.h"

#include <QMetaEnum>

CImage2DProcessMedianDlg::CImage2DProcessMedianDlg(CImage2DProcessMedianModel* pModel, QWidget* parent)
    : CImageProcessParameterDlg(pModel, parent)
{
    setWindowTitle("Median");
    std::vector<std::pair<QString, QString>> vctRows;
    if (pModel)
        vctRows = {
            {"Type", QString::fromLatin1(QMetaEnum::fromType<EImage2DProcessMedian>().valueToKey(pModel->GetType()))},
            {"Size", QString::number(pModel->GetSize())}};
    SetupParameter(new CImage2DProcessMedianDlgParameterDelegate(this), vctRows);
    SetupButton(QSizePolicy::Maximum, true);
}
