#include "views/CParameterEditorView.h"

#include <QPushButton>
#include <QStandardItem>

CParameterEditorView::CParameterEditorView(QWidget* parent)
    : CTableEditorView({"ID", "Name", "Value"}, {"Save", "Cancel"}, parent)
{
    connect(GetButton("Save"), &QPushButton::pressed, this, &CParameterEditorView::slot_Save);
    connect(GetButton("Cancel"), &QPushButton::pressed, this, &CParameterEditorView::slot_Cancel);
}

void CParameterEditorView::SetData(const std::vector<SRow>& vctRows)
{
    std::vector<std::pair<int, QStringList>> vctCells;
    for (const SRow& sRow : vctRows)
        vctCells.emplace_back(sRow.nID, QStringList{sRow.strName, sRow.strValue});
    Fill(vctCells, {new QStandardItem(), new QStandardItem(), new QStandardItem()});
}

void CParameterEditorView::RowCommitted(bool bNew, int nID, const QStringList& lstCells, int)
{
    if (!bNew)
        emit signal_Update(nID, lstCells.at(1), lstCells.at(2));
    // A value typed first waits in the empty row until the parameter has a name; both are inserted together then.
    else if (!lstCells.at(1).isEmpty())
        emit signal_Insert(lstCells.at(1), lstCells.at(2));
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
