#include "views/CClassEditorView.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

CClassEditorView::CClassEditorView(QWidget* parent) : QDialog(parent)
{
    auto* pLayout = new QVBoxLayout(this);
    m_pTableView = new QTableView(this);
    m_pItemModel = new QStandardItemModel(this);
    m_pItemModel->setHorizontalHeaderLabels({"ID", "Name"});
    m_pTableView->setModel(m_pItemModel);
    pLayout->addWidget(m_pTableView);

    auto* pButtonRow = new QWidget(this);
    pButtonRow->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Maximum);
    auto* pButtonLayout = new QHBoxLayout(pButtonRow);
    auto* pDeleteButton = new QPushButton("Delete", pButtonRow);
    pDeleteButton->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Maximum);
    // The table passes Return on a cell it is not editing on to the dialog; as the dialog's default button
    // "Delete" would then delete that class.
    pDeleteButton->setAutoDefault(false);
    pButtonLayout->addWidget(pDeleteButton);
    pLayout->addWidget(pButtonRow);

    connect(m_pItemModel, &QStandardItemModel::dataChanged, this, &CClassEditorView::slot_DataChanged);
    connect(pDeleteButton, &QPushButton::pressed, this, &CClassEditorView::slot_Delete);
}

QSize CClassEditorView::sizeHint() const
{
    return QSize(500, 200);
}

void CClassEditorView::SetData(const std::vector<SRow>& vctRows)
{
    if (!m_pTableView || !m_pItemModel)
        return;
    m_pItemModel->clear();
    m_pItemModel->setHorizontalHeaderLabels({"ID", "Name"});
    m_pTableView->horizontalHeader()->setStretchLastSection(true);

    // Items are complete before they enter the model, so that filling announces no edits.
    for (const SRow& sRow : vctRows)
    {
        auto* pIDItem = new QStandardItem(QString::number(sRow.nID));
        pIDItem->setEnabled(false);
        m_pItemModel->appendRow({pIDItem, new QStandardItem(sRow.strName)});
    }
    auto* pIDItem = new QStandardItem();
    pIDItem->setEnabled(false);
    auto* pNameItem = new QStandardItem();
    pNameItem->setToolTip("Class name");
    m_pItemModel->appendRow({pIDItem, pNameItem});

    m_pTableView->setColumnHidden(0, true);
}

void CClassEditorView::slot_DataChanged(const QModelIndex& topLeft, const QModelIndex&, const QVector<int>&)
{
    if (!m_pItemModel || !topLeft.isValid())
        return;
    const int nRow = topLeft.row();
    const int nRows = m_pItemModel->rowCount();
    QStandardItem* pIDItem = m_pItemModel->item(nRow, 0);
    QStandardItem* pItem = m_pItemModel->item(nRow, topLeft.column());
    if (!pIDItem || !pItem)
        return;

    if (nRow < nRows - 1)
    {
        emit signal_Update(static_cast<int>(pIDItem->text().toUInt()), pItem->text());
        return;
    }
    // Leaving the empty row's editor without typing commits an empty text; that is no new class. A typed blank name
    // goes on, so that the controller puts the row back to empty.
    if (pItem->text().isEmpty())
        return;
    emit signal_Insert(pItem->text());
}

void CClassEditorView::slot_Delete()
{
    if (!m_pTableView || !m_pItemModel)
        return;
    const QModelIndex index = m_pTableView->currentIndex();
    if (!index.isValid())
        return;
    QStandardItem* pIDItem = m_pItemModel->item(index.row(), 0);
    if (!pIDItem)
        return;
    // The empty row has no ID: 0 matches no row, and the table is reloaded all the same.
    emit signal_Delete(static_cast<int>(pIDItem->text().toUInt()));
}
