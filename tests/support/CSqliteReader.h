#pragma once

#include <QStringList>

// Runs a query on an SQLite file through a connection of its own. Each row comes back as its values joined by "|"
// (NULL as "<null>"); a failed query gives one row "<error> " and the error text.
class CSqliteReader
{
public:
    static QStringList Rows(const QString& strFile, const QString& strSql);
};
