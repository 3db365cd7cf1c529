#pragma once

#include "OvrelCommonGlobal.h"

#include <QString>
#include <QVariant>

#include <map>
#include <vector>

class CDatabase;

// Reads chosen columns of every selected row into plain typed arrays, one array per column, entry i of every array
// from the same row, in the database's order. On SQLite the cells go from the statement straight into the arrays;
// a path that touches every row of a table of a million rows must not pay for a generic value or record per cell.
// Other drivers take the generic way with the same results.
//
//     CColumnSelect select("dataset_roi", {{"IMAGE_ID", 7}});
//     std::vector<int> vctIDs;
//     std::vector<double> vctX;
//     select.AddInteger("ID", &vctIDs);
//     select.AddReal("X", &vctX);
//     if (!select.Run(pDatabase)) ...
class OVRELCOMMON_EXPORT CColumnSelect
{
public:
    // The WHERE map is rendered as CDatabase renders it (text as escaped literals, joined by AND).
    explicit CColumnSelect(const QString& strTable, const std::map<QString, QVariant>& mapWhereValues = {});

    // Adds "column IN (values)" to the WHERE clause: one statement for a batch of keys.
    void AddWhereIn(const QString& strColumn, const std::vector<int>& vctValues);

    // Each column fills the array it is given (not owned; it must outlive Run), replacing what it held.
    // An integer cell is converted as SQLite converts it: NULL and text that is no number give 0.
    void AddInteger(const QString& strColumn, std::vector<int>* pValues);
    void AddInteger64(const QString& strColumn, std::vector<qint64>* pValues);
    // A real cell that is NULL, text that is no number or a blob gives NaN: a silent 0 would pass for a value.
    void AddReal(const QString& strColumn, std::vector<double>* pValues);
    // NULL gives a null string.
    void AddText(const QString& strColumn, std::vector<QString>* pValues);

    // False when the statement fails (a missing table or column, no open database, no column asked): every array is
    // then left as it was, so that an unread table is never taken for an empty one.
    bool Run(CDatabase* pDatabase);
    // The statement Run sends.
    QString Statement() const;

private:
    enum EType
    {
        EType_Integer,
        EType_Integer64,
        EType_Real,
        EType_Text
    };
    struct SColumn
    {
        QString strName;
        EType eType;
        void* pValues;
    };
    // Each fills temporaries first and moves them into the arrays only when every row was read.
    bool RunNative(void* pConnection);
    bool RunGeneric(CDatabase* pDatabase);

    QString m_strTable;
    std::map<QString, QVariant> m_mapWhereValues;
    QString m_strWhereIn;
    std::vector<SColumn> m_vctColumns;
};
