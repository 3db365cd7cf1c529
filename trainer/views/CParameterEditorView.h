#pragma once

#include <QDialog>
#include <QModelIndex>
#include <QVector>

#include <vector>

class QStandardItemModel;
class QTableView;

// Modal table of the project's training parameters (ID, name, value). The last row is always empty and is where a
// new parameter is typed. Every committed cell is announced at once with the whole row; "Save" and "Cancel" only
// close the dialog, since every edit is stored when its cell is committed.
class CParameterEditorView : public QDialog
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

    QSize sizeHint() const override;

    // Shows the rows in order, then the empty row. The ID column stays visible.
    void SetData(const std::vector<SRow>& vctRows);

signals:
    void signal_Update(int nID, const QString& strName, const QString& strValue);
    void signal_Insert(const QString& strName, const QString& strValue);
    // "Save" was pressed; the dialog is accepted right after.
    void signal_Save();
    // "Cancel" was pressed; the dialog is rejected right after.
    void signal_Cancel();
    void signal_Delete(int nID);

public slots:
    // Only the first changed cell's row counts. In the empty row nothing is announced until a name is typed.
    void slot_DataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                          const QVector<int>& roles = QVector<int>());
    // Deletes the parameter of the current cell's row; without a current cell nothing happens.
    void slot_Delete();

private slots:
    void slot_Save();
    void slot_Cancel();

private:
    QTableView* m_pTableView = nullptr;
    QStandardItemModel* m_pItemModel = nullptr;
};
