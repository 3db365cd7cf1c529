#pragma once

#include "OvrelCommonGlobal.h"

#include <QString>
#include <QVariant>

#include <utility>
#include <vector>

class QDateTime;
class QSqlQuery;
class QSqlRecord;

// One table row. Subclasses hold the columns; the base holds the integer key that every table has, -1 until the row
// is stored or loaded. Held by std::shared_ptr.
class OVRELCOMMON_EXPORT CDatabaseRecord
{
public:
    static const QString COLUMN_ID;

    CDatabaseRecord() = default;
    CDatabaseRecord(const CDatabaseRecord& other) = default;
    CDatabaseRecord& operator=(const CDatabaseRecord& other) = default;
    virtual ~CDatabaseRecord();

    // Copies the columns of the row the query stands on. A column the result lacks leaves its field as it was; a
    // null query changes nothing.
    virtual void LoadFromQuery(QSqlQuery* pQuery) = 0;
    // The complete INSERT statement for the column values, without the ID (the database assigns it). Text values are
    // SQL string literals, so no text can break or alter the statement.
    virtual QString GetInsertQuery() = 0;

    int GetID() const { return m_nID; }
    void SetID(int nID) { m_nID = nID; }

    // The text with every apostrophe doubled, ready to stand between two apostrophes in an SQL statement.
    static QString EscapeApostrophes(const QString& strText);

protected:
    // Reads the ID column when the row (record, the query's current record) has one.
    void LoadIDFromQuery(QSqlQuery* pQuery, const QSqlRecord& record);
    // Copies one column of the query's current row into the field, converted to the field's type; a column the row
    // (record) lacks leaves the field as it was.
    static void LoadColumn(QSqlQuery* pQuery, const QSqlRecord& record, const QString& strColumn, QString& strField);
    static void LoadColumn(QSqlQuery* pQuery, const QSqlRecord& record, const QString& strColumn, int& nField);
    static void LoadColumn(QSqlQuery* pQuery, const QSqlRecord& record, const QString& strColumn, unsigned int& nField);
    static void LoadColumn(QSqlQuery* pQuery, const QSqlRecord& record, const QString& strColumn, double& dblField);
    static void LoadColumn(QSqlQuery* pQuery, const QSqlRecord& record, const QString& strColumn, QDateTime& field);
    // The INSERT statement of one row into the table: "INSERT INTO t (A, B) VALUES('a', 2)". Each column's value
    // is written by its type: an int as a number, a double with six decimals, anything else as text between
    // apostrophes (escaped, and ending at a NUL character, as the stored rows always have).
    static QString InsertQuery(const QString& strTable, const std::vector<std::pair<QString, QVariant>>& vctColumns);

private:
    int m_nID = -1;
};
