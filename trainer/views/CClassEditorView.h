#pragma once

#include <QDialog>
#include <QModelIndex>
#include <QVector>

#include <vector>

class QStandardItemModel;
class QTableView;

// Modal table of the project's classes. The last row is always empty and is where a new class is typed. Every
// committed cell is announced at once (signal_Update for an existing class, signal_Insert for the empty row); there
// is no save step.
class CClassEditorView : public QDialog
{
    Q_OBJECT
public:
    struct SRow
    {
        int nID = -1;
        QString strName;
    };

    explicit CClassEditorView(QWidget* parent = nullptr);

    QSize sizeHint() const override;

    // Shows the rows in order, then the empty row; the ID column is hidden.
    void SetData(const std::vector<SRow>& vctRows);

signals:
    void signal_Update(int nID, const QString& strName);
    void signal_Insert(const QString& strName);
    void signal_Delete(int nID);
    // The class list lost an entry: rectangles may now name a class that is gone.
    void signal_CheckValidateROI();
    // The boxes of a deleted class were deleted with it or given another class in the file, in one transaction;
    // emitted before signal_CheckValidateROI, so that shown boxes follow their rows first.
    void signal_ClassBoxesChanged();

public slots:
    // Only the first changed cell counts. Leaving the empty row without typing announces nothing.
    void slot_DataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                          const QVector<int>& roles = QVector<int>());
    // Deletes the class of the current cell's row; without a current cell nothing happens.
    void slot_Delete();

private:
    QTableView* m_pTableView = nullptr;
    QStandardItemModel* m_pItemModel = nullptr;
};
