#include "views/CParameterEditorView.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

CParameterEditorView::CParameterEditorView(QWidget* parent) : QDialog(parent)
{
    auto* pLayout = new QVBoxLayout(this);
    m_pTableView = new QTableView(this);
    m_pItemModel = new QStandardItemModel(this);
    m_pItemModel->setHorizontalHeaderLabels({"ID", "Name", "Value"});
    m_pTableView->setModel(m_pItemModel);
    pLayout->addWidget(m_pTableView);

    auto* pButtonRow = new QWidget(this);
    pButtonRow->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Maximum);
    auto* pButtonLayout = new QHBoxLayout(pButtonRow);
    auto* pDeleteButton = new QPushButton("Delete", pButtonRow);
    auto* pSaveButton = new QPushButton("Save", pButtonRow);
    auto* pCancelButton = new QPushButton("Cancel", pButtonRow);
    // The table passes Return on a cell it is not editing on to the dialog; no button may take it as its press.
    for (QPushButton* pButton : {pDeleteButton, pSaveButton, pCancelButton})
    {
        pButton->setAutoDefault(false);
        pButtonLayout->addWidget(pButton);
    }
    pLayout->addWidget(pButtonRow);

    connect(m_pItemModel, &QStandardItemModel::dataChanged, this, &CParameterEditorView::slot_DataChanged);
    connect(pDeleteButton, &QPushButton::pressed, this, &CParameterEditorView::slot_Delete);
    connect(pSaveButton, &QPushButton::pressed, this, &CParameterEditorView::slot_Save);
    connect(pCancelButton, &QPushButton::pressed, this, &CParameterEditorView::slot_Cancel);
}

QSize CParameterEditorView::sizeHint() const
{
    return QSize(500, 200);
}

void CParameterEditorView::SetData(const std::vector<SRow>& vctRows)
{
    if (!m_pTableView || !m_pItemModel)
        return;
    m_pItemModel->clear();
    m_pItemModel->setHorizontalHeaderLabels({"ID", "Name", "Value"});

    // Items are complete before they enter the model, so that filling announces no edits.
    for (const SRow& sRow : vctRows)
    {
        auto* pIDItem = new QStandardItem(QString::number(sRow.nID));
        pIDItem->setEnabled(false);
        m_pItemModel->appendRow({pIDItem, new QStandardItem(sRow.strName), new QStandardItem(sRow.strValue)});
    }
    m_pItemModel->appendRow({new QStandardItem(), new QStandardItem(), new QStandardItem()});
}

void CParameterEditorView::slot_DataChanged(const QModelIndex& topLeft, const QModelIndex&, const QVector<int>&)
{
    if (!m_pItemModel || !topLeft.isValid())
        return;
    const int nRow = topLeft.row();
    const int nRows = m_pItemModel->rowCount();
    QStandardItem* pIDItem = m_pItemModel->item(nRow, 0);
    QStandardItem* pNameItem = m_pItemModel->item(nRow, 1);
    QStandardItem* pValueItem = m_pItemModel->item(nRow, 2);
    if (!pIDItem || !pNameItem || !pValueItem)
        return;

    if (nRow < nRows - 1)
    {
        emit signal_Update(static_cast<int>(pIDItem->text().toUInt()), pNameItem->text(), pValueItem->text());
        return;
    }
    // A value typed first waits in the empty row until the parameter has a name; both are inserted together then.
    if (pNameItem->text().isEmpty())
        return;
    emit signal_Insert(pNameItem->text(), pValueItem->text());
}

void CParameterEditorView::slot_Delete()
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

void CParameterEditorView::slot_Save()
{
    emit signal_Save();
    accept();
}

void CParameterEditorView::slot_Cancel()
{
    emit signal_Cancel();
    reject();
}
