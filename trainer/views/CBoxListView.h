#pragma once

#include <QColor>
#include <QList>
#include <QRectF>
#include <QString>
#include <QWidget>

#include <vector>

class QLabel;
class QTableWidget;

// The boxes of one canvas as a table: the class with its colour swatch, then the position and size in image pixels,
// above a count and the "Delete" and "Relabel" buttons. Rows are selected as the boxes are; a selection the user makes
// here is announced, one the caller shows (SetBoxes) is not. The Delete key in the table acts as the button.
class CBoxListView : public QWidget
{
    Q_OBJECT
public:
    struct SBox
    {
        unsigned int nUID = 0;
        QString strClass;
        // No swatch when invalid.
        QColor colour;
        QRectF box;
        bool bSelected = false;
    };

    explicit CBoxListView(QWidget* parent = nullptr);

    // Shows the boxes in the order given, with their selection.
    void SetBoxes(const std::vector<SBox>& vctBoxes);
    // Each row as "class x y w h", with " *" for a selected row, in table order; what a user reads off the table.
    QStringList RowTexts() const;
    QString CountText() const;
    QTableWidget* GetTable() const { return m_pTable; }

signals:
    // The user selected these boxes in the table.
    void signal_SelectBoxes(const QList<unsigned int>& lstUIDs);
    // The selected boxes are to be deleted.
    void signal_DeleteBoxes();
    // The box of the current row is to be given another class.
    void signal_RelabelBox(unsigned int nUID);
    // The list became visible (its dock tab was raised): what it shows may be out of date.
    void signal_Shown();

protected:
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;
    void showEvent(QShowEvent* pEvent) override;

private:
    void SelectionChanged();
    void Relabel();

    QTableWidget* m_pTable = nullptr;
    QLabel* m_pCount = nullptr;
    bool m_bFilling = false;
};
