#pragma once

#include "project/evaluation/CEvaluationResult.h"

#include <QString>
#include <QStringList>

// An evaluation as plain text for a terminal: a header line, one line per class of the table (a class without boxes
// says so instead of figures), the line of all classes at the threshold and the line of the means. Columns are
// separated by blanks and padded, so that the lines align in a fixed-width font.
class CEvaluationTable
{
public:
    static QString HeaderLine();
    static QStringList Lines(const CEvaluationResult& result);
};
