#pragma once

#include <QString>

class CDatabase;

// Why the project file refused an editor's statement, in words for the user: a name taken by another row of the table
// reads as such; anything else is the database's own message.
class CRefusedEdit
{
public:
    // Call right after the failed statement, before anything else runs on the database.
    static QString Reason(CDatabase* pDatabase, const QString& strTable, const QString& strNameColumn,
                          const QString& strName, int nID);
};
