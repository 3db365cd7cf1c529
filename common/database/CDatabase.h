#pragma once

#include "OvrelCommonGlobal.h"

#include <QString>
#include <QStringList>
#include <QVariant>

#include <map>
#include <memory>
#include <vector>

class CDatabaseConnection;
class CDatabaseRecord;
class CDatabaseRecordFactory;

// The one object through which the programs talk to a database: one connection, statement lists with an optional
// transaction, schema files, and generic table operations on records. Use it on the thread that opened it.
// Failures are reported by the bool results; only statements run through RunQueries log the database's error text.
class OVRELCOMMON_EXPORT CDatabase
{
public:
    // The factory (not owned, may be null) makes the records that SelectFromTable fills.
    explicit CDatabase(CDatabaseRecordFactory* pFactory = nullptr);
    ~CDatabase();
    CDatabase(const CDatabase&) = delete;
    CDatabase& operator=(const CDatabase&) = delete;

    void SetFactory(CDatabaseRecordFactory* pFactory);

    // A host containing "localhost" (any case) opens an SQLite file named by strDatabaseName, creating it when it is
    // missing (its folder must exist); any other host uses the MySQL driver. A connection still held is closed and
    // released first. Logs nothing.
    bool OpenDatabase(const QString& strHost, const QString& strDatabaseName, const QString& strUserName,
                      const QString& strPassword);
    // Closes and releases the connection, logs "Close Database" and returns true, also when nothing was open.
    bool Close();

    bool StartTransaction();
    bool Commit();
    // Drops what ran since StartTransaction.
    bool Rollback();

    // Runs the statements in order and stops at the first failure, logging its error text. With bTransaction the
    // statements that ran are committed even after a failure. Blank statements succeed without being sent.
    bool RunQueries(const std::vector<QString>& vctQueries, bool bTransaction);
    // All or nothing: runs the statements in one transaction and commits them only when every one succeeded. At the
    // first failure (its error text logged as RunQueries does) the transaction is rolled back, so none of them stays.
    bool RunQueriesAtomically(const std::vector<QString>& vctQueries);
    // Reads a UTF-8 file (resource paths accepted), splits it at every ";" and runs the pieces with RunQueries.
    // A file that cannot be read gives false and logs nothing.
    bool RunQueryFile(const QString& strPath, bool bTransaction);

    // Inserts one record and gives it the new row ID. Silent on failure.
    bool InsertToTable(std::shared_ptr<CDatabaseRecord> pRecord);
    // Inserts the records in order through RunQueries; their IDs stay as they were. An empty vector gives false.
    bool InsertToTable(const std::vector<std::shared_ptr<CDatabaseRecord>>& vctRecords, bool bTransaction);
    // Replaces the contents of vctRecords with one record per selected row, in the database's order; rows the
    // factory has no record for are skipped. On failure (or without factory) vctRecords is left as it was and the
    // result is false, so that a missing table is not mistaken for an empty one.
    bool SelectFromTable(const QString& strTableName, std::vector<std::shared_ptr<CDatabaseRecord>>& vctRecords,
                         const std::map<QString, QVariant>& mapWhereValues);
    // The values of one column of the selected rows, in the database's order, without making a record per row: for
    // checks that need one column of many rows. False (values untouched) when the select fails.
    bool SelectColumn(const QString& strTableName, const QString& strColumn,
                      const std::map<QString, QVariant>& mapWhereValues, std::vector<QVariant>& vctValues);
    // The values of several columns of the selected rows, one vector per column in the order asked, all from one
    // select so that entry i of every vector belongs to the same row. False (values untouched) when the select fails.
    bool SelectColumns(const QString& strTableName, const QStringList& lstColumns,
                       const std::map<QString, QVariant>& mapWhereValues,
                       std::vector<std::vector<QVariant>>& vctColumnValues);
    // The first nColumns values of every row a SELECT statement (built by the caller, who answers for its text)
    // gives, as SelectColumns hands them out.
    bool SelectStatement(const QString& strStatement, int nColumns,
                         std::vector<std::vector<QVariant>>& vctColumnValues);
    // The driver's own handle of the open connection (for SQLite a "sqlite3*"), invalid without one: for readers
    // that must go past the generic value per cell (CColumnSelect).
    QVariant DriverHandle() const;
    // True when the open database has that table. Asks the driver for the table's columns: no statement is sent.
    bool HasTable(const QString& strTableName) const;
    // An empty WHERE map updates or deletes every row; an empty SET map makes the update fail.
    bool UpdateTable(const QString& strTableName, const std::map<QString, QVariant>& mapSetValues,
                     const std::map<QString, QVariant>& mapWhereValues, bool bTransaction);
    bool DeleteFromTable(const QString& strTableName, const std::map<QString, QVariant>& mapWhereValues,
                         bool bTransaction);

    // SQLite: with bOn, each commit is appended to a write-ahead log that survives a crash of the program at once and
    // is flushed to disk in batches, so that single-row edits cost no disk flush each; a power cut may lose the last
    // moments, never the file's consistency. Off returns the file to the rollback journal that every reader of a
    // plain SQLite file (also on a read-only medium) understands. False when the database refused the mode (a
    // read-only folder cannot hold the log); the file then stays as it was.
    bool SetWriteAheadLog(bool bOn);

    // Why the last RunQueries failed, in the database's own words (so also the list insert, update and delete), for
    // telling the user; empty after a run that succeeded.
    QString GetLastError() const { return m_strLastError; }

    // The exact statements the table operations run. Entries appear in map order; text values are SQL string
    // literals with their apostrophes doubled, numbers and flags are written bare.
    static QString GetSelectQuery(const QString& strTableName, const std::map<QString, QVariant>& mapWhereValues);
    // "SELECT A, B FROM t" with the WHERE clause GetSelectQuery writes.
    static QString GetColumnSelectQuery(const QString& strTableName, const QStringList& lstColumns,
                                        const std::map<QString, QVariant>& mapWhereValues);
    static QString GetUpdateQuery(const QString& strTableName, const std::map<QString, QVariant>& mapSetValues,
                                  const std::map<QString, QVariant>& mapWhereValues);
    static QString GetDeleteQuery(const QString& strTableName, const std::map<QString, QVariant>& mapWhereValues);

private:
    // " SET A=1,B='x'"; empty for an empty map.
    static QString ParseSetValues(const std::map<QString, QVariant>& mapValues);
    // " WHERE A=1 AND B='x' " (one trailing blank); empty for an empty map.
    static QString ParseWhereValues(const std::map<QString, QVariant>& mapValues);
    // Clears the last error and opens a transaction when asked; false (with the reason) without a connection.
    bool BeginRun(bool bTransaction);
    // Runs the statements until the first failure, which is logged and kept as the last error.
    bool ExecuteInOrder(const std::vector<QString>& vctQueries);
    static QString RenderValue(const QVariant& value);

    CDatabaseConnection* m_pConnection = nullptr;
    CDatabaseRecordFactory* m_pFactory = nullptr;
    QString m_strLastError;
};
