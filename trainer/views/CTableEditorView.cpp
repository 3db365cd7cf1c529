#include "views/CTableEditorView.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

CTableEditorView::CTableEditorView(const QStringList& lstHeaders, const QStringList& lstButtons, QWidget* parent)
    : QDialog(parent), m_lstHeaders(lstHeaders)
{
    auto* pLayout = new QVBoxLayout(this);
    m_pTableView = new QTableView(this);
    m_pItemModel = new QStandardItemModel(this);
    m_pItemModel->setHorizontalHeaderLabels(m_lstHeaders);
    m_pTableView->setModel(m_pItemModel);
    pLayout->addWidget(m_pTableView);

    auto* pButtonRow = new QWidget(this);
    pButtonRow->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Maximum);
    auto* pButtonLayout = new QHBoxLayout(pButtonRow);
    // As the dialog's default button, "Delete" would delete the row of a cell on which Return was pressed.
    for (const QString& strText : QStringList("Delete") + lstButtons)
    {
        auto* pButton = new QPushButton(strText, pButtonRow);
        pButton->setAutoDefault(false);
        pButtonLayout->addWidget(pButton);
        m_lstButtons.append(pButton);
    }
    pLayout->addWidget(pButtonRow);

    connect(m_pItemModel, &QStandardItemModel::dataChanged, this, &CTableEditorView::slot_DataChanged);
    connect(m_lstButtons.first(), &QPushButton::pressed, this, &CTableEditorView::slot_Delete);
}

QSize CTableEditorView::sizeHint() const
{
    return QSize(500, 200);
}

QPushButton* CTableEditorView::GetButton(const QString& strText) const
{
    for (QPushButton* pButton : m_lstButtons)
        if (pButton->text() == strText)
            return pButton;
    return nullptr;
}

void CTableEditorView::Fill(const std::vector<std::pair<int, QStringList>>& vctRows,
                            const QList<QStandardItem*>& lstEmptyRow, const std::vector<QIcon>& vctDecorations)
{
    m_pItemModel->clear();
    m_pItemModel->setHorizontalHeaderLabels(m_lstHeaders);
    for (const auto& [nID, lstCells] : vctRows)
    {
        auto* pIDItem = new QStandardItem(QString::number(nID));
        pIDItem->setEnabled(false);
        QList<QStandardItem*> lstItems{pIDItem};
        for (const QString& strCell : lstCells)
            lstItems.append(new QStandardItem(strCell));
        const size_t nRow = static_cast<size_t>(m_pItemModel->rowCount());
        if (nRow < vctDecorations.size() && lstItems.size() > 1)
            lstItems[1]->setIcon(vctDecorations[nRow]);
        m_pItemModel->appendRow(lstItems);
    }
    m_pItemModel->appendRow(lstEmptyRow);
}

void CTableEditorView::slot_DataChanged(const QModelIndex& topLeft, const QModelIndex&, const QVector<int>&)
{
    if (!topLeft.isValid())
        return;
    const int nRow = topLeft.row();
    QStringList lstCells;
    for (int nColumn = 0; nColumn < m_pItemModel->columnCount(); ++nColumn)
    {
        const QStandardItem* pItem = m_pItemModel->item(nRow, nColumn);
        if (!pItem)
            return;
        lstCells.append(pItem->text());
    }
    RowCommitted(nRow == m_pItemModel->rowCount() - 1, static_cast<int>(lstCells.first().toUInt()), lstCells,
                 topLeft.column());
}

void CTableEditorView::slot_Delete()
{
    const QModelIndex index = m_pTableView->currentIndex();
    if (!index.isValid())
        return;
    QStandardItem* pIDItem = m_pItemModel->item(index.row(), 0);
    if (!pIDItem)
        return;
    // The empty row has no ID: 0 matches no row, and the table is reloaded all the same.
    emit signal_Delete(static_cast<int>(pIDItem->text().toUInt()));
}
