#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

#include <vector>

class CDatabase;

// The category table of the open project: the classes its boxes name. The one reader of that table and the one home
// of the rule that a class's index for the trainer is its position in the table. Reads the table once, when made (one
// select of ID and NAME, in the order the database returns the rows); every question after that is answered from
// memory, so that a pass over many boxes asks the database nothing per box.
class CProjectCategories
{
public:
    // The database is not owned and may be null (nothing is read then).
    explicit CProjectCategories(CDatabase* pDatabase);
    // The table's name, for the messages of a read that failed.
    static QString Table();

    // False when there was no database or the table could not be read: everything below answers as for no class,
    // so that a caller that must not take an unread table for an empty one checks this first.
    bool IsRead() const { return m_bRead; }
    // The number of rows; 0 when they cannot be read.
    int Count() const { return static_cast<int>(m_vctIDs.size()); }
    // The ID and the NAME of every row, in table order.
    const std::vector<int>& IDs() const { return m_vctIDs; }
    QStringList Names() const { return m_lstNames; }
    // The class index the trainer gets for the class with that ID: its position in the table; -1 when no row has it.
    int IndexOf(int nID) const { return m_mapIndexByID.value(nID, -1); }
    bool Contains(int nID) const { return m_mapIndexByID.contains(nID); }
    // -1 when no class has that name.
    int IDOf(const QString& strName) const;
    // Empty when no class has that ID.
    QString NameOf(int nID) const;

private:
    bool m_bRead = false;
    std::vector<int> m_vctIDs;
    QStringList m_lstNames;
    QHash<int, int> m_mapIndexByID;
    QHash<QString, int> m_mapIndexByName;
};
