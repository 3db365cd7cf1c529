#include "project/evaluation/CEvaluationComparison.h"

#include <QHash>

QVector<CClassChange> CEvaluationComparison::Compare(const CEvaluationRecord& newest, const CEvaluationRecord& previous)
{
    QHash<QString, const CClassFigures*> previousByName;
    for (const CClassFigures& figures : previous.Classes)
        previousByName.insert(figures.Name, &figures);

    QVector<CClassChange> changes;
    for (const CClassFigures& figures : newest.Classes)
    {
        CClassChange change;
        change.Name = figures.Name;
        change.Newest = figures.AP50;
        const CClassFigures* pPrevious = previousByName.value(figures.Name, nullptr);
        if (pPrevious && pPrevious->HasBoxes())
            change.Previous = pPrevious->AP50;
        if (!figures.HasBoxes())
            change.Change = EClassChange_Unmeasured;
        else if (!pPrevious || !pPrevious->HasBoxes())
            change.Change = EClassChange_New;
        else
        {
            const double dblDelta = change.Newest - change.Previous;
            change.Change = dblDelta >= SAME_TOLERANCE    ? EClassChange_Up
                            : dblDelta <= -SAME_TOLERANCE ? EClassChange_Down
                                                          : EClassChange_Same;
        }
        changes.append(change);
    }
    return changes;
}
