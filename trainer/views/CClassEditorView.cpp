#include "views/CClassEditorView.h"

#include "project/classes/CClassColours.h"

#include <QHeaderView>
#include <QPushButton>
#include <QStandardItem>
#include <QTableView>

CClassEditorView::CClassEditorView(QWidget* parent) : CTableEditorView({"ID", "Name"}, {}, parent)
{
    GetButton("Delete")->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Maximum);
}

void CClassEditorView::SetData(const std::vector<SRow>& vctRows)
{
    GetTableView()->horizontalHeader()->setStretchLastSection(true);
    std::vector<std::pair<int, QStringList>> vctCells;
    std::vector<QIcon> vctSwatches;
    for (const SRow& sRow : vctRows)
    {
        vctCells.emplace_back(sRow.nID, QStringList(sRow.strName));
        vctSwatches.push_back(sRow.colour.isValid() ? CClassColours::Swatch(sRow.colour) : QIcon());
    }
    auto* pIDItem = new QStandardItem();
    pIDItem->setEnabled(false);
    auto* pNameItem = new QStandardItem();
    pNameItem->setToolTip("Class name");
    Fill(vctCells, {pIDItem, pNameItem}, vctSwatches);
    GetTableView()->setColumnHidden(0, true);
}

void CClassEditorView::RowCommitted(bool bNew, int nID, const QStringList& lstCells, int nColumn)
{
    const QString& strName = lstCells.at(nColumn);
    if (!bNew)
        emit signal_Update(nID, strName);
    // Leaving the empty row's editor without typing commits an empty text; that is no new class. A typed blank name
    // goes on, so that the controller puts the row back to empty.
    else if (!strName.isEmpty())
        emit signal_Insert(strName);
}
