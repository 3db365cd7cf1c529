#pragma once

#include <QStringList>

class CDatabase;

// The category rows of the open project: the classes its boxes name, read from the database.
class CProjectCategories
{
public:
    // The database is not owned and must be open.
    explicit CProjectCategories(CDatabase* pDatabase);

    // The NAME of every row, in the order the database returns them; empty when the rows cannot be read.
    QStringList Names() const;
    // The number of rows; 0 when they cannot be read.
    int Count() const;

private:
    CDatabase* m_pDatabase = nullptr;
};
