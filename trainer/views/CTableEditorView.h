#pragma once

#include <QDialog>
#include <QIcon>
#include <QList>
#include <QModelIndex>
#include <QStringList>
#include <QVector>

#include <utility>
#include <vector>

class QPushButton;
class QStandardItem;
class QStandardItemModel;
class QTableView;

// A modal table of one project table's rows, the ID in the first column. The last row is always empty and is where a
// new row is typed. Every committed cell is announced at once (RowCommitted); there is no save step. Below the table
// stand the buttons, "Delete" first.
class CTableEditorView : public QDialog
{
    Q_OBJECT
public:
    QSize sizeHint() const override;

signals:
    void signal_Delete(int nID);

public slots:
    // Only the first changed cell's row counts.
    void slot_DataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                          const QVector<int>& roles = QVector<int>());
    // Deletes the row of the current cell; without a current cell nothing happens.
    void slot_Delete();

protected:
    // lstButtons follow "Delete"; none of them takes Return, which the table passes on from a cell it is not editing,
    // as its press.
    CTableEditorView(const QStringList& lstHeaders, const QStringList& lstButtons, QWidget* parent);

    // The button of that text made by the constructor.
    QPushButton* GetButton(const QString& strText) const;
    QTableView* GetTableView() const { return m_pTableView; }
    // Shows the rows (the cells after the ID, in column order), then the empty row made of the given items. Items are
    // complete before they enter the table, so that filling announces no edits; the ID cells cannot be edited. A row's
    // decoration, when given, stands beside its first cell after the ID.
    void Fill(const std::vector<std::pair<int, QStringList>>& vctRows, const QList<QStandardItem*>& lstEmptyRow,
              const std::vector<QIcon>& vctDecorations = {});
    // A committed cell of column nColumn: in row nID, or in the empty row (bNew); lstCells are the row's texts, the
    // ID's first.
    virtual void RowCommitted(bool bNew, int nID, const QStringList& lstCells, int nColumn) = 0;

private:
    QStringList m_lstHeaders;
    QTableView* m_pTableView = nullptr;
    QStandardItemModel* m_pItemModel = nullptr;
    QList<QPushButton*> m_lstButtons;
};
