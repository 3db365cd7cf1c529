#include "process/CImage2DProcessMedianDlg.h"

#include "process/CImage2DProcessMedianDlgParameterDelegate.h"
#include "process/CImage2DProcessMedianModel.h"
#include "process/ParameterEditors.h"

#include <QMetaEnum>

CImage2DProcessMedianDlg::CImage2DProcessMedianDlg(CImage2DProcessMedianModel* pModel, QWidget* parent)
    : CImageProcessParameterDlg(pModel, parent), m_pMedianModel(pModel)
{
    setWindowTitle("Median");
    std::vector<std::pair<QString, QString>> vctRows;
    if (pModel)
        vctRows = {
            {"Type", ParameterEditors::ChoiceText(QMetaEnum::fromType<EImage2DProcessMedian>(), pModel->GetType())},
            {"Size", QString::number(pModel->GetWindowSize())}};
    SetupParameter(new CImage2DProcessMedianDlgParameterDelegate(this), vctRows);
    SetupButton(QSizePolicy::Maximum, true);
}

void CImage2DProcessMedianDlg::ShowModel()
{
    if (!m_pMedianModel)
        return;
    ShowValue(0, ParameterEditors::ChoiceText(QMetaEnum::fromType<EImage2DProcessMedian>(), m_pMedianModel->GetType()));
    ShowValue(1, QString::number(m_pMedianModel->GetWindowSize()));
}
