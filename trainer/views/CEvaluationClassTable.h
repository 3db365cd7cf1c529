#pragma once

#include "project/evaluation/CClassChange.h"
#include "project/evaluation/CClassFigures.h"

#include <QTableWidget>
#include <QVector>

// The Evaluation dock's table of figures per class, sortable by any column (numbers as numbers, classes in table
// order). A class without boxes has no AP and says it is left out of the mean. The last column tells how the class's AP
// at IoU 0.5 moved since the previous evaluation: "↑ was 0.412", "↓ was 0.700", "= was 0.500", "new"; empty without a
// previous evaluation.
class CEvaluationClassTable : public QTableWidget
{
    Q_OBJECT
public:
    enum EColumn
    {
        EColumn_Class,
        EColumn_Boxes,
        EColumn_Detections,
        EColumn_AP50,
        EColumn_AP50To95,
        EColumn_Precision,
        EColumn_Recall,
        EColumn_F1,
        EColumn_TruePositives,
        EColumn_FalsePositives,
        EColumn_Missed,
        EColumn_Change,
        EColumn_Count
    };

    explicit CEvaluationClassTable(QWidget* pParent = nullptr);

    // One row per class in table order; changes, when given, by class name.
    void SetClasses(const QVector<CClassFigures>& classes, const QVector<CClassChange>& changes);
    void ClearClasses();
    // The row's class index in the class table, as rows may be sorted; -1 for no row.
    int ClassIndexOfRow(int nRow) const;
    // The text a user reads in the cell of the class with that name; empty when no row has it.
    QString CellText(const QString& strClass, EColumn eColumn) const;
    static QString ChangeText(const CClassChange& change);

signals:
    // The current row's class index, -1 when no row is current.
    void signal_ClassChosen(int nClassIndex);
};
