#pragma once

#include "views/CTableEditorView.h"

#include <QString>

#include <vector>

// Modal table of the project's training parameters (ID, name, value). The last row is always empty and is where a
// new parameter is typed. Every committed cell is announced at once with the whole row; "Save" and "Cancel" only
// close the dialog, since every edit is stored when its cell is committed. "Delete" (slot_Delete) announces
// signal_Delete for the parameter of the current cell's row; without a current cell nothing happens.
class CParameterEditorView : public CTableEditorView
{
    Q_OBJECT
public:
    struct SRow
    {
        int nID = -1;
        QString strName;
        QString strValue;
    };

    explicit CParameterEditorView(QWidget* parent = nullptr);

    // Shows the rows in order, then the empty row. The ID column stays visible.
    void SetData(const std::vector<SRow>& vctRows);

signals:
    void signal_Update(int nID, const QString& strName, const QString& strValue);
    void signal_Insert(const QString& strName, const QString& strValue);
    // "Save" was pressed; the dialog is accepted right after.
    void signal_Save();
    // "Cancel" was pressed; the dialog is rejected right after.
    void signal_Cancel();

protected:
    // Only the first changed cell's row counts. In the empty row nothing is announced until a name is typed.
    void RowCommitted(bool bNew, int nID, const QStringList& lstCells, int nColumn) override;

private slots:
    void slot_Save();
    void slot_Cancel();
};
