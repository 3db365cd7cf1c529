#pragma once

#include <QStringList>

// Records every statement SQLite starts on any connection opened after Install(), including those Qt's driver opens
// inside the program. Lets a test see the exact SQL the code under test sends, without a stand-in database.
class CSqlTrace
{
public:
    // Hooks every connection opened from now on; safe to call more than once.
    static void Install();
    static void Clear();
    static QStringList Statements();
    // The statements that begin with "SELECT", in order.
    static QStringList Selects();
};
