#pragma once

#include "views/CTableEditorView.h"

#include <QColor>
#include <QString>

#include <vector>

// Modal table of the project's classes. The last row is always empty and is where a new class is typed. Every
// committed cell is announced at once (signal_Update for an existing class, signal_Insert for the empty row); there
// is no save step. "Delete" (slot_Delete) announces signal_Delete for the class of the current cell's row; without a
// current cell nothing happens.
class CClassEditorView : public CTableEditorView
{
    Q_OBJECT
public:
    struct SRow
    {
        int nID = -1;
        QString strName;
        // Shown as a swatch beside the name; none when invalid.
        QColor colour;
    };

    explicit CClassEditorView(QWidget* parent = nullptr);

    // Shows the rows in order, then the empty row; the ID column is hidden.
    void SetData(const std::vector<SRow>& vctRows);

signals:
    void signal_Update(int nID, const QString& strName);
    void signal_Insert(const QString& strName);
    // The class list lost an entry: rectangles may now name a class that is gone.
    void signal_CheckValidateROI();
    // The boxes of a deleted class were deleted with it or given another class in the file, in one transaction;
    // emitted before signal_CheckValidateROI, so that shown boxes follow their rows first.
    void signal_ClassBoxesChanged();

protected:
    // Only the first changed cell counts. Leaving the empty row without typing announces nothing.
    void RowCommitted(bool bNew, int nID, const QStringList& lstCells, int nColumn) override;
};
