#include "process/CImage2DProcessOCRDlg.h"

#include "process/CImage2DProcessOCRDlgParameterDelegate.h"
#include "process/CImage2DProcessOCRModel.h"

#include <QGroupBox>
#include <QTextEdit>
#include <QVBoxLayout>

CImage2DProcessOCRDlg::CImage2DProcessOCRDlg(CImage2DProcessOCRModel* pModel, QWidget* parent)
    : CImageProcessParameterDlg(pModel, parent)
{
    setWindowTitle("OCR");
    std::vector<std::pair<QString, QString>> vctRows;
    if (pModel)
        vctRows = {{"Language code", pModel->GetLanguageCode()},
                   {"Language Data Path", pModel->GetLanguagePath()},
                   {"User Defined Dpi", QString::number(pModel->GetUserDefinedDpi())}};
    SetupParameter(new CImage2DProcessOCRDlgParameterDelegate(this), vctRows);
    // Made before the button, so that Tab goes from the table to the text and then to "Run".
    SetupResult();
    SetupButton(QSizePolicy::Preferred, false);
}

void CImage2DProcessOCRDlg::SetResultText(const QString& strText)
{
    if (m_pResult)
        m_pResult->setPlainText(strText);
}

QString CImage2DProcessOCRDlg::GetResultText() const
{
    return m_pResult ? m_pResult->toPlainText() : QString();
}

void CImage2DProcessOCRDlg::SetupResult()
{
    if (!GetResultBox())
        return;
    auto* pLayout = new QVBoxLayout(GetResultBox());
    pLayout->setContentsMargins(0, 0, 0, 0);
    pLayout->setSpacing(0);
    m_pResult = new QTextEdit(GetResultBox());
    m_pResult->setObjectName("ResultText");
    pLayout->addWidget(m_pResult);
}
