#pragma once

#include <QString>

class QSqlDatabase;
class QSqlError;
class QSqlQuery;

// Holds the one Qt SQL connection of a CDatabase. Private to the database layer.
// The connection is registered under a name unique to this holder, so that two databases on the same file never
// share (and never remove) each other's connection.
class CDatabaseConnection
{
public:
    CDatabaseConnection() = default;
    ~CDatabaseConnection();
    CDatabaseConnection(const CDatabaseConnection&) = delete;
    CDatabaseConnection& operator=(const CDatabaseConnection&) = delete;

    // Releases any connection held, then registers a new one for the driver and opens it. A failed open keeps the
    // connection registered until Close.
    bool Open(const QString& strDriver, const QString& strHost, const QString& strDatabaseName,
              const QString& strUserName, const QString& strPassword);
    // Closes the connection and removes it from Qt's registry; harmless when nothing is held.
    void Close();

    // A driver without transactions makes these succeed without doing anything.
    bool StartTransaction();
    bool Commit();
    bool Rollback();

    // The handle, null while no database has been opened.
    QSqlDatabase* GetDatabase() const { return m_pDatabase; }
    bool IsOpen() const;

    // Runs one statement on the given query of this connection. A blank statement succeeds without being sent. On
    // failure the error is handed back through pError when it is given.
    bool Execute(QSqlQuery& query, const QString& strStatement, QSqlError* pError) const;

private:
    enum ETransactionStep
    {
        ETransactionStep_Start,
        ETransactionStep_Commit,
        ETransactionStep_Rollback
    };
    bool RunTransactionStep(ETransactionStep eStep);

    QSqlDatabase* m_pDatabase = nullptr;
    QString m_strConnectionName;
};
