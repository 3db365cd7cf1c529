#include "process/CImage2DProcessMedianDlg.h"

#include "process/CImage2DProcessMedianDlgParameterDelegate.h"
#include "process/CImage2DProcessMedianModel.h"

#include <QMetaEnum>
#include <QPushButton>
#include <QStandardItemModel>

CImage2DProcessMedianDlg::CImage2DProcessMedianDlg(CImage2DProcessMedianModel* pModel, QWidget* parent)
    : CImageProcessView(parent), m_pParameterModel(new QStandardItemModel(this)), m_pModel(pModel)
{
    setWindowTitle("Median");
    SetupParameter();
    SetupButton();
    SetupResult();
}

CImage2DProcessMedianDlg::~CImage2DProcessMedianDlg() = default;

void CImage2DProcessMedianDlg::slot_DataChanged(const QModelIndex&, const QModelIndex& bottomRight, const QVector<int>&)
{
    if (!m_pModel)
        return;
    if (const QStandardItem* pItem = m_pParameterModel->itemFromIndex(bottomRight))
        emit signal_ChangeData(pItem->row(), pItem->text());
}

void CImage2DProcessMedianDlg::SetupParameter()
{
    if (!GetParameterBox())
        return;
    AddParameterTable(m_pParameterModel, new CImage2DProcessMedianDlgParameterDelegate(this));
    if (m_pModel)
    {
        auto* pLabel = new QStandardItem("Type");
        pLabel->setEditable(false);
        const char* szKey = QMetaEnum::fromType<EImage2DProcessMedian>().valueToKey(m_pModel->GetType());
        m_pParameterModel->appendRow({pLabel, new QStandardItem(QString::fromLatin1(szKey))});
        auto* pSizeLabel = new QStandardItem("Size");
        pSizeLabel->setEditable(false);
        m_pParameterModel->appendRow({pSizeLabel, new QStandardItem(QString::number(m_pModel->GetSize()))});
    }
    connect(m_pParameterModel, &QStandardItemModel::dataChanged, this, &CImage2DProcessMedianDlg::slot_DataChanged);
}

void CImage2DProcessMedianDlg::SetupResult() {}

void CImage2DProcessMedianDlg::SetupButton()
{
    if (QPushButton* pRun = AddRunButton(QSizePolicy::Maximum, QSizePolicy::Maximum, true))
        connect(pRun, &QPushButton::pressed, this, &CImage2DProcessMedianDlg::signal_Run);
}
