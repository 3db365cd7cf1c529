#include "process/CImage2DProcessOCRDlg.h"

#include "process/CImage2DProcessOCRDlgParameterDelegate.h"
#include "process/CImage2DProcessOCRModel.h"

#include <QGroupBox>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTextEdit>
#include <QVBoxLayout>

CImage2DProcessOCRDlg::CImage2DProcessOCRDlg(CImage2DProcessOCRModel* pModel, QWidget* parent)
    : CImageProcessView(parent), m_pParameterModel(new QStandardItemModel(this)), m_pModel(pModel)
{
    setWindowTitle("OCR");
    SetupParameter();
    SetupResult();
    SetupButton();
}

CImage2DProcessOCRDlg::~CImage2DProcessOCRDlg() = default;

void CImage2DProcessOCRDlg::SetResultText(const QString& strText)
{
    if (m_pResult)
        m_pResult->setPlainText(strText);
}

QString CImage2DProcessOCRDlg::GetResultText() const
{
    return m_pResult ? m_pResult->toPlainText() : QString();
}

void CImage2DProcessOCRDlg::slot_DataChanged(const QModelIndex&, const QModelIndex& bottomRight, const QVector<int>&)
{
    if (!m_pModel)
        return;
    if (const QStandardItem* pItem = m_pParameterModel->itemFromIndex(bottomRight))
        emit signal_ChangeData(pItem->row(), pItem->text());
}

void CImage2DProcessOCRDlg::SetupParameter()
{
    if (!GetParameterBox())
        return;
    AddParameterTable(m_pParameterModel, new CImage2DProcessOCRDlgParameterDelegate(this));
    if (m_pModel)
    {
        const auto addRow = [this](const QString& strLabel, const QString& strValue)
        {
            auto* pLabel = new QStandardItem(strLabel);
            pLabel->setEditable(false);
            m_pParameterModel->appendRow({pLabel, new QStandardItem(strValue)});
        };
        addRow("Language code", m_pModel->GetLanguageCode());
        addRow("Language Data Path", m_pModel->GetLanguagePath());
        addRow("User Defined Dpi", QString::number(m_pModel->GetUserDefinedDpi()));
    }
    connect(m_pParameterModel, &QStandardItemModel::dataChanged, this, &CImage2DProcessOCRDlg::slot_DataChanged);
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

void CImage2DProcessOCRDlg::SetupButton()
{
    if (QPushButton* pRun = AddRunButton(QSizePolicy::Maximum, QSizePolicy::Preferred, false))
        connect(pRun, &QPushButton::pressed, this, &CImage2DProcessOCRDlg::signal_Run);
}
