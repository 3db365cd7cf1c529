#include "process/CImage2DProcessSobelDlg.h"

#include "process/CImage2DProcessSobelDlgParameterDelegate.h"
#include "process/CImage2DProcessSobelModel.h"

#include <QMetaEnum>
#include <QPushButton>
#include <QStandardItemModel>

CImage2DProcessSobelDlg::CImage2DProcessSobelDlg(CImage2DProcessSobelModel* pModel, QWidget* parent)
    : CImageProcessView(parent), m_pParameterModel(new QStandardItemModel(this)), m_pModel(pModel)
{
    setWindowTitle("Sobel");
    SetupParameter();
    SetupButton();
    SetupResult();
}

CImage2DProcessSobelDlg::~CImage2DProcessSobelDlg() = default;

void CImage2DProcessSobelDlg::slot_DataChanged(const QModelIndex&, const QModelIndex& bottomRight, const QVector<int>&)
{
    if (!m_pModel)
        return;
    if (const QStandardItem* pItem = m_pParameterModel->itemFromIndex(bottomRight))
        emit signal_ChangeData(pItem->row(), pItem->text());
}

void CImage2DProcessSobelDlg::SetupParameter()
{
    if (!GetParameterBox())
        return;
    AddParameterTable(m_pParameterModel, new CImage2DProcessSobelDlgParameterDelegate(this));
    if (m_pModel)
    {
        auto* pLabel = new QStandardItem("Type");
        pLabel->setEditable(false);
        const char* szKey = QMetaEnum::fromType<EImage2DProcessSobel>().valueToKey(m_pModel->GetType());
        m_pParameterModel->appendRow({pLabel, new QStandardItem(QString::fromLatin1(szKey))});
    }
    connect(m_pParameterModel, &QStandardItemModel::dataChanged, this, &CImage2DProcessSobelDlg::slot_DataChanged);
}

void CImage2DProcessSobelDlg::SetupResult() {}

void CImage2DProcessSobelDlg::SetupButton()
{
    if (QPushButton* pRun = AddRunButton(QSizePolicy::Maximum, QSizePolicy::Maximum, true))
        connect(pRun, &QPushButton::pressed, this, &CImage2DProcessSobelDlg::signal_Run);
}
