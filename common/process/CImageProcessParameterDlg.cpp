#include "process/CImageProcessParameterDlg.h"

#include <QGroupBox>
#include <QPushButton>
#include <QStandardItemModel>

CImageProcessParameterDlg::CImageProcessParameterDlg(QObject* pModel, QWidget* parent)
    : CImageProcessView(parent), m_pParameterModel(new QStandardItemModel(this)), m_pModel(pModel)
{
}

void CImageProcessParameterDlg::slot_DataChanged(const QModelIndex&, const QModelIndex& bottomRight,
                                                 const QVector<int>&)
{
    if (!m_pModel || m_bShowing)
        return;
    if (const QStandardItem* pItem = m_pParameterModel->itemFromIndex(bottomRight))
        emit signal_ChangeData(pItem->row(), pItem->text());
}

void CImageProcessParameterDlg::SetupParameter(QAbstractItemDelegate* pDelegate,
                                               const std::vector<std::pair<QString, QString>>& vctRows)
{
    if (!GetParameterBox())
        return;
    AddParameterTable(m_pParameterModel, pDelegate);
    for (const auto& [strLabel, strValue] : vctRows)
    {
        auto* pLabel = new QStandardItem(strLabel);
        pLabel->setEditable(false);
        m_pParameterModel->appendRow({pLabel, new QStandardItem(strValue)});
    }
    // Connected only now, so that filling the table announces nothing.
    connect(m_pParameterModel, &QStandardItemModel::dataChanged, this, &CImageProcessParameterDlg::slot_DataChanged);
}

void CImageProcessParameterDlg::ShowValue(int nRow, const QString& strValue)
{
    QStandardItem* pItem = m_pParameterModel->item(nRow, 1);
    if (!pItem || pItem->text() == strValue)
        return;
    m_bShowing = true;
    pItem->setText(strValue);
    m_bShowing = false;
}

void CImageProcessParameterDlg::SetupButton(QSizePolicy::Policy eVertical, bool bTight)
{
    if (QPushButton* pRun = AddRunButton(QSizePolicy::Maximum, eVertical, bTight))
        connect(pRun, &QPushButton::pressed, this, &CImageProcessParameterDlg::signal_Run);
}
