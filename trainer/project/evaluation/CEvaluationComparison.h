#pragma once

#include "project/evaluation/CClassChange.h"
#include "project/evaluation/CEvaluationRecord.h"

#include <QVector>

// Compares two evaluations class by class, by class name (the table may have been reordered or grown between them),
// on the AP at IoU 0.5.
class CEvaluationComparison
{
public:
    // A change smaller than this is "same": it would not show in a table of three decimals.
    static constexpr double SAME_TOLERANCE = 0.0005;

    // One entry per class of newest, in its order.
    static QVector<CClassChange> Compare(const CEvaluationRecord& newest, const CEvaluationRecord& previous);
};
