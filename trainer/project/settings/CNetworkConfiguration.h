#pragma once

#include <QString>

// Reads and edits a Darknet network configuration as text, keeping every line it does not change as it was
// (comments, blank lines, spacing, "\r\n" ends). Keys are matched with the blanks around them ignored; lines starting
// with "#" or ";" are comments. Pure.
class CNetworkConfiguration
{
public:
    // The classes= of the first [yolo] or [region] section; -1 when there is none.
    static int Classes(const QString& strText);
    // The max_batches= of the [net] section; 0 when there is none.
    static int MaxBatches(const QString& strText);

    // Sets classes= in every [yolo] and [region] section to nClasses, and filters= of the last [convolutional]
    // section before each to (nClasses + 5) x the section's number of masks (a [region] section: its num=). A
    // section without classes= gets one after its header. With bTrainingValues, the [net] section is switched to its
    // training values: active batch= and subdivisions= lines with other values are commented out ("# " before them),
    // commented "batch=64" and "subdivisions=16" lines are made active, and a missing one is added after the header.
    static QString FitToClasses(const QString& strText, int nClasses, bool bTrainingValues);
};
