#include "views/CEvaluationClassTable.h"

#include "project/classes/CClassColours.h"

#include <QHash>
#include <QHeaderView>

namespace
{
const int SORT_ROLE = Qt::UserRole;
const int CLASS_INDEX_ROLE = Qt::UserRole + 1;

// Sorts by a key of its own, so "0.912" and "no boxes" go where their numbers put them, and classes by their index.
class CSortItem : public QTableWidgetItem
{
public:
    CSortItem(const QString& strText, double dblSortKey) : QTableWidgetItem(strText)
    {
        setData(SORT_ROLE, dblSortKey);
        setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    }
    bool operator<(const QTableWidgetItem& other) const override
    {
        return data(SORT_ROLE).toDouble() < other.data(SORT_ROLE).toDouble();
    }
};

QString Figure(double dblValue)
{
    return QString::number(dblValue, 'f', 3);
}

// Down, same, up and new in that order when sorted; a class not measured goes last.
double ChangeKey(const CClassChange& change)
{
    switch (change.Change)
    {
    case EClassChange_Down:
        return change.Newest - change.Previous;
    case EClassChange_Same:
        return 0.0;
    case EClassChange_Up:
        return change.Newest - change.Previous;
    case EClassChange_New:
        return 2.0;
    case EClassChange_Unmeasured:
        return 3.0;
    }
    return 0.0;
}
} // namespace

CEvaluationClassTable::CEvaluationClassTable(QWidget* pParent) : QTableWidget(pParent)
{
    setColumnCount(EColumn_Count);
    setHorizontalHeaderLabels({"Class", "Boxes", "Detections", "AP50", "AP50:95", "Precision", "Recall", "F1", "TP",
                               "FP", "Missed", "Change"});
    horizontalHeaderItem(EColumn_Change)->setToolTip("AP50 against the previous evaluation");
    verticalHeader()->hide();
    horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Until the user sorts otherwise, classes stand in the class table's order.
    horizontalHeader()->setSortIndicator(EColumn_Class, Qt::AscendingOrder);
    setSortingEnabled(true);
    connect(this, &QTableWidget::currentCellChanged, this,
            [this](int nRow) { emit signal_ClassChosen(ClassIndexOfRow(nRow)); });
}

void CEvaluationClassTable::ClearClasses()
{
    setRowCount(0);
}

QString CEvaluationClassTable::ChangeText(const CClassChange& change)
{
    const QString strWas = QString("was %1").arg(Figure(change.Previous));
    switch (change.Change)
    {
    case EClassChange_Up:
        return QString::fromUtf8("\u2191 ") + strWas;
    case EClassChange_Down:
        return QString::fromUtf8("\u2193 ") + strWas;
    case EClassChange_Same:
        return "= " + strWas;
    case EClassChange_New:
        return "new";
    case EClassChange_Unmeasured:
        return change.Previous > 0.0 ? "no boxes now, " + strWas : "no boxes";
    }
    return QString();
}

void CEvaluationClassTable::SetClasses(const QVector<CClassFigures>& classes, const QVector<CClassChange>& changes)
{
    QHash<QString, CClassChange> changeByName;
    for (const CClassChange& change : changes)
        changeByName.insert(change.Name, change);

    // Rows go in unsorted, then the table sorts them as the user last chose.
    setSortingEnabled(false);
    setRowCount(classes.size());
    for (int nClass = 0; nClass < classes.size(); ++nClass)
    {
        const CClassFigures& figures = classes[nClass];
        const bool bMeasured = figures.HasBoxes();
        auto* pName = new CSortItem(figures.Name, nClass);
        pName->setIcon(CClassColours::Swatch(CClassColours::OfIndex(nClass)));
        pName->setData(CLASS_INDEX_ROLE, nClass);
        if (!bMeasured)
            pName->setToolTip("No box of this class was evaluated: it has no AP and is left out of the mean.");
        setItem(nClass, EColumn_Class, pName);
        auto count = [&](EColumn eColumn, int nValue)
        { setItem(nClass, eColumn, new CSortItem(QString::number(nValue), nValue)); };
        auto figure = [&](EColumn eColumn, double dblValue)
        { setItem(nClass, eColumn, new CSortItem(Figure(dblValue), dblValue)); };
        count(EColumn_Boxes, figures.Boxes);
        count(EColumn_Detections, figures.Detections);
        if (bMeasured)
        {
            figure(EColumn_AP50, figures.AP50);
            figure(EColumn_AP50To95, figures.AP50To95);
        }
        else
        {
            setItem(nClass, EColumn_AP50, new CSortItem("no boxes", -1.0));
            setItem(nClass, EColumn_AP50To95, new CSortItem("not in mean", -1.0));
        }
        figure(EColumn_Precision, figures.Precision);
        figure(EColumn_Recall, figures.Recall);
        figure(EColumn_F1, figures.F1);
        count(EColumn_TruePositives, figures.TruePositives);
        count(EColumn_FalsePositives, figures.FalsePositives);
        count(EColumn_Missed, figures.Missed);
        const auto itChange = changeByName.constFind(figures.Name);
        if (itChange != changeByName.constEnd())
            setItem(nClass, EColumn_Change, new CSortItem(ChangeText(*itChange), ChangeKey(*itChange)));
        else
            setItem(nClass, EColumn_Change, new CSortItem(QString(), 4.0));
        if (!bMeasured)
            for (int nColumn = 0; nColumn < EColumn_Count; ++nColumn)
                item(nClass, nColumn)->setForeground(palette().brush(QPalette::Disabled, QPalette::Text));
    }
    setSortingEnabled(true);
}

int CEvaluationClassTable::ClassIndexOfRow(int nRow) const
{
    const QTableWidgetItem* pName = nRow >= 0 ? item(nRow, EColumn_Class) : nullptr;
    return pName ? pName->data(CLASS_INDEX_ROLE).toInt() : -1;
}

QString CEvaluationClassTable::CellText(const QString& strClass, EColumn eColumn) const
{
    for (int nRow = 0; nRow < rowCount(); ++nRow)
        if (item(nRow, EColumn_Class) && item(nRow, EColumn_Class)->text() == strClass)
            return item(nRow, eColumn) ? item(nRow, eColumn)->text() : QString();
    return QString();
}
