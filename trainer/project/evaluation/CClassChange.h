#pragma once

#include <QString>

enum EClassChange
{
    EClassChange_Up,
    EClassChange_Down,
    EClassChange_Same,
    // Not measured the previous time: the class was not there or had no boxes.
    EClassChange_New,
    // Not measured this time: the class has no boxes now, so it has no AP to compare.
    EClassChange_Unmeasured,
};

// How one class's AP at IoU 0.5 moved from the previous evaluation to the newest. Previous is 0 when the previous
// evaluation did not measure the class.
struct CClassChange
{
    QString Name;
    EClassChange Change = EClassChange_Same;
    double Newest = 0.0;
    double Previous = 0.0;
};
