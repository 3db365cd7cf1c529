#include "views/CBoxListView.h"

#include "project/classes/CClassColours.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace
{
QString Number(double dblValue)
{
    return QString::number(dblValue, 'f', 1);
}
} // namespace

CBoxListView::CBoxListView(QWidget* parent) : QWidget(parent)
{
    m_pTable = new QTableWidget(0, 5, this);
    m_pTable->setHorizontalHeaderLabels({"Class", "X", "Y", "Width", "Height"});
    m_pTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_pTable->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_pTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_pTable->verticalHeader()->hide();
    m_pTable->horizontalHeader()->setStretchLastSection(true);
    m_pTable->installEventFilter(this);
    m_pCount = new QLabel(this);
    auto* pDelete = new QPushButton("Delete", this);
    auto* pRelabel = new QPushButton("Relabel", this);

    auto* pButtons = new QHBoxLayout();
    pButtons->addWidget(m_pCount, 1);
    pButtons->addWidget(pDelete);
    pButtons->addWidget(pRelabel);
    auto* pLayout = new QVBoxLayout(this);
    pLayout->setContentsMargins(0, 0, 0, 0);
    pLayout->addWidget(m_pTable);
    pLayout->addLayout(pButtons);

    connect(m_pTable, &QTableWidget::itemSelectionChanged, this, [this]() { SelectionChanged(); });
    connect(pDelete, &QPushButton::clicked, this, &CBoxListView::signal_DeleteBoxes);
    connect(pRelabel, &QPushButton::clicked, this, [this]() { Relabel(); });
    connect(m_pTable, &QTableWidget::cellDoubleClicked, this, [this]() { Relabel(); });
    SetBoxes({});
}

void CBoxListView::SetBoxes(const std::vector<SBox>& vctBoxes)
{
    // What the caller shows is no choice of the user's: filling announces no selection.
    m_bFilling = true;
    m_pTable->clearSelection();
    m_pTable->setRowCount(static_cast<int>(vctBoxes.size()));
    for (int nRow = 0; nRow < static_cast<int>(vctBoxes.size()); ++nRow)
    {
        const SBox& sBox = vctBoxes[static_cast<size_t>(nRow)];
        auto* pClass = new QTableWidgetItem(sBox.strClass);
        pClass->setData(Qt::UserRole, sBox.nUID);
        if (sBox.colour.isValid())
            pClass->setIcon(CClassColours::Swatch(sBox.colour));
        m_pTable->setItem(nRow, 0, pClass);
        const double adblValues[] = {sBox.box.x(), sBox.box.y(), sBox.box.width(), sBox.box.height()};
        for (int nColumn = 1; nColumn <= 4; ++nColumn)
            m_pTable->setItem(nRow, nColumn, new QTableWidgetItem(Number(adblValues[nColumn - 1])));
    }
    for (int nRow = 0; nRow < static_cast<int>(vctBoxes.size()); ++nRow)
        if (vctBoxes[static_cast<size_t>(nRow)].bSelected)
            m_pTable->selectionModel()->select(m_pTable->model()->index(nRow, 0),
                                               QItemSelectionModel::Select | QItemSelectionModel::Rows);
    m_pCount->setText(QString("%1 box(es)").arg(vctBoxes.size()));
    m_bFilling = false;
}

QStringList CBoxListView::RowTexts() const
{
    QStringList lstRows;
    for (int nRow = 0; nRow < m_pTable->rowCount(); ++nRow)
    {
        QStringList lstCells;
        for (int nColumn = 0; nColumn < 5; ++nColumn)
            lstCells.append(m_pTable->item(nRow, nColumn)->text());
        const bool bSelected = m_pTable->selectionModel()->isRowSelected(nRow, QModelIndex());
        lstRows.append(lstCells.join(' ') + (bSelected ? " *" : ""));
    }
    return lstRows;
}

QString CBoxListView::CountText() const
{
    return m_pCount->text();
}

void CBoxListView::SelectionChanged()
{
    if (m_bFilling)
        return;
    QList<unsigned int> lstUIDs;
    for (int nRow = 0; nRow < m_pTable->rowCount(); ++nRow)
        if (m_pTable->selectionModel()->isRowSelected(nRow, QModelIndex()))
            lstUIDs.append(m_pTable->item(nRow, 0)->data(Qt::UserRole).toUInt());
    emit signal_SelectBoxes(lstUIDs);
}

void CBoxListView::Relabel()
{
    const int nRow = m_pTable->currentRow();
    if (nRow >= 0 && m_pTable->item(nRow, 0))
        emit signal_RelabelBox(m_pTable->item(nRow, 0)->data(Qt::UserRole).toUInt());
}

void CBoxListView::showEvent(QShowEvent* pEvent)
{
    QWidget::showEvent(pEvent);
    emit signal_Shown();
}

bool CBoxListView::eventFilter(QObject* pWatched, QEvent* pEvent)
{
    if (pWatched == m_pTable && pEvent->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(pEvent)->key() == Qt::Key_Delete)
    {
        emit signal_DeleteBoxes();
        return true;
    }
    return QWidget::eventFilter(pWatched, pEvent);
}
