#include "database/CDatabaseConnection.h"

#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>

CDatabaseConnection::~CDatabaseConnection()
{
    Close();
}

bool CDatabaseConnection::Open(const QString& strDriver, const QString& strHost, const QString& strDatabaseName,
                               const QString& strUserName, const QString& strPassword)
{
    // A holder keeps one connection at a time: the file opened last is the one every later operation uses.
    Close();

    // The holder's address tells apart two live holders on the same file; a holder removes its connection before
    // it dies, so a later holder at the same address never meets a stale name.
    m_strConnectionName =
        strHost + strDatabaseName + QLatin1Char('#') + QString::number(reinterpret_cast<quintptr>(this), 16);
    m_pDatabase = new QSqlDatabase(QSqlDatabase::addDatabase(strDriver, m_strConnectionName));
    m_pDatabase->setHostName(strHost);
    m_pDatabase->setDatabaseName(strDatabaseName);
    m_pDatabase->setUserName(strUserName);
    m_pDatabase->setPassword(strPassword);
    return m_pDatabase->open() && m_pDatabase->isOpen();
}

void CDatabaseConnection::Close()
{
    if (!m_pDatabase)
        return;
    if (m_pDatabase->isOpen())
        m_pDatabase->close();
    // The handle must be gone before the name is removed, or Qt reports the connection as still in use.
    delete m_pDatabase;
    m_pDatabase = nullptr;
    QSqlDatabase::removeDatabase(m_strConnectionName);
    m_strConnectionName.clear();
}

bool CDatabaseConnection::StartTransaction()
{
    return RunTransactionStep(ETransactionStep_Start);
}

bool CDatabaseConnection::Commit()
{
    return RunTransactionStep(ETransactionStep_Commit);
}

bool CDatabaseConnection::Rollback()
{
    return RunTransactionStep(ETransactionStep_Rollback);
}

bool CDatabaseConnection::IsOpen() const
{
    return m_pDatabase && m_pDatabase->isOpen();
}

bool CDatabaseConnection::RunTransactionStep(ETransactionStep eStep)
{
    if (!m_pDatabase)
        return false;
    QSqlDriver* pDriver = m_pDatabase->driver();
    if (!pDriver)
        return false;
    if (!pDriver->hasFeature(QSqlDriver::Transactions))
        return true;
    if (!m_pDatabase->isOpen())
        return false;
    switch (eStep)
    {
    case ETransactionStep_Start:
        return m_pDatabase->transaction();
    case ETransactionStep_Commit:
        return m_pDatabase->commit();
    case ETransactionStep_Rollback:
        return m_pDatabase->rollback();
    }
    return false;
}

bool CDatabaseConnection::Execute(QSqlQuery& query, const QString& strStatement, QSqlError* pError) const
{
    if (!IsOpen())
    {
        if (pError)
            *pError = m_pDatabase ? m_pDatabase->lastError() : QSqlError();
        return false;
    }
    if (strStatement.trimmed().isEmpty())
        return true;
    if (query.exec(strStatement))
        return true;
    if (pError)
        *pError = query.lastError();
    return false;
}
