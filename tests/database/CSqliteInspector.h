#pragma once

#include <QString>
#include <QStringList>

// Looks into an SQLite file through a connection of its own, independent of the code under test. Each result row
// comes back as its values' texts joined by "|" (a NULL reads as "<null>").
class CSqliteInspector
{
public:
    static QStringList Rows(const QString& strFile, const QString& strSql);
    // The names of the user tables, sorted.
    static QStringList Tables(const QString& strFile);
};
