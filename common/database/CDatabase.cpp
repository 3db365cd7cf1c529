#include "database/CDatabase.h"

#include "database/CDatabaseConnection.h"
#include "database/CDatabaseRecord.h"
#include "database/CDatabaseRecordFactory.h"
#include "frame/CLogger.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

CDatabase::CDatabase(CDatabaseRecordFactory* pFactory) : m_pConnection(new CDatabaseConnection()), m_pFactory(pFactory)
{
}

CDatabase::~CDatabase()
{
    delete m_pConnection;
    m_pConnection = nullptr;
}

void CDatabase::SetFactory(CDatabaseRecordFactory* pFactory)
{
    m_pFactory = pFactory;
}

bool CDatabase::OpenDatabase(const QString& strHost, const QString& strDatabaseName, const QString& strUserName,
                             const QString& strPassword)
{
    if (!m_pConnection)
        return false;
    const QString strDriver = strHost.contains(QLatin1String("localhost"), Qt::CaseInsensitive)
                                  ? QStringLiteral("QSQLITE")
                                  : QStringLiteral("QMYSQL");
    return m_pConnection->Open(strDriver, strHost, strDatabaseName, strUserName, strPassword);
}

bool CDatabase::Close()
{
    if (!m_pConnection)
        return false;
    m_pConnection->Close();
    CLogger::Write(ELogLevel_Normal, "Close Database");
    return true;
}

bool CDatabase::StartTransaction()
{
    return m_pConnection && m_pConnection->StartTransaction();
}

bool CDatabase::Commit()
{
    return m_pConnection && m_pConnection->Commit();
}

bool CDatabase::Rollback()
{
    return m_pConnection && m_pConnection->Rollback();
}

namespace
{
// The driver's part repeats what Qt was doing ("Unable to fetch row"); the database's part says what went wrong.
QString Reason(const QSqlError& error)
{
    return error.databaseText().isEmpty() ? error.text() : error.databaseText();
}
} // namespace

bool CDatabase::BeginRun(bool bTransaction)
{
    m_strLastError.clear();
    if (!m_pConnection || !m_pConnection->GetDatabase())
    {
        m_strLastError = QStringLiteral("no database is open");
        return false;
    }
    if (bTransaction && !m_pConnection->StartTransaction())
    {
        m_strLastError = Reason(m_pConnection->GetDatabase()->lastError());
        return false;
    }
    return true;
}

bool CDatabase::ExecuteInOrder(const std::vector<QString>& vctQueries)
{
    // One query object serves every statement: each exec starts it afresh, and long batches (tens of thousands of
    // inserts) save an allocation per statement. It is gone before the caller commits or rolls back: a statement
    // still active keeps SQLite's transaction busy.
    QSqlQuery query(*m_pConnection->GetDatabase());
    QSqlError error;
    for (const QString& strQuery : vctQueries)
    {
        if (!m_pConnection->Execute(query, strQuery, &error))
        {
            CLogger::Write(ELogLevel_Error, "%s", error.text().toUtf8().constData());
            m_strLastError = Reason(error);
            return false;
        }
    }
    return true;
}

bool CDatabase::RunQueries(const std::vector<QString>& vctQueries, bool bTransaction)
{
    if (!BeginRun(bTransaction))
        return false;
    const bool bResult = ExecuteInOrder(vctQueries);
    // The statements that ran before a failure are kept.
    if (bTransaction && !m_pConnection->Commit())
    {
        // A statement that failed first is the better reason.
        if (m_strLastError.isEmpty())
            m_strLastError = Reason(m_pConnection->GetDatabase()->lastError());
        m_pConnection->Rollback();
        return false;
    }
    return bResult;
}

bool CDatabase::RunQueriesAtomically(const std::vector<QString>& vctQueries)
{
    if (!BeginRun(true))
        return false;
    const bool bResult = ExecuteInOrder(vctQueries);
    if (bResult && m_pConnection->Commit())
        return true;
    if (bResult)
        m_strLastError = Reason(m_pConnection->GetDatabase()->lastError());
    m_pConnection->Rollback();
    return false;
}

bool CDatabase::RunQueryFile(const QString& strPath, bool bTransaction)
{
    QFile file(strPath);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QString strText = QString::fromUtf8(file.readAll());
    file.close();

    const QStringList lstPieces = strText.split(QLatin1Char(';'), Qt::KeepEmptyParts);
    const std::vector<QString> vctQueries(lstPieces.cbegin(), lstPieces.cend());
    return RunQueries(vctQueries, bTransaction);
}

bool CDatabase::InsertToTable(std::shared_ptr<CDatabaseRecord> pRecord)
{
    if (!pRecord || !m_pConnection || !m_pConnection->GetDatabase())
        return false;
    QSqlQuery query(*m_pConnection->GetDatabase());
    if (!m_pConnection->Execute(query, pRecord->GetInsertQuery(), nullptr))
        return false;
    const QVariant id = query.lastInsertId();
    bool bOk = false;
    const int nID = id.toInt(&bOk);
    if (!id.isNull() && bOk)
        pRecord->SetID(nID);
    return true;
}

bool CDatabase::InsertToTable(const std::vector<std::shared_ptr<CDatabaseRecord>>& vctRecords, bool bTransaction)
{
    if (!m_pConnection || !m_pConnection->GetDatabase())
        return false;
    if (vctRecords.empty())
        return false;
    std::vector<QString> vctQueries;
    vctQueries.reserve(vctRecords.size());
    for (const std::shared_ptr<CDatabaseRecord>& pRecord : vctRecords)
    {
        // An empty slot contributes a blank statement, which succeeds without reaching the database.
        vctQueries.push_back(pRecord ? pRecord->GetInsertQuery() : QString());
    }
    return RunQueries(vctQueries, bTransaction);
}

bool CDatabase::SelectFromTable(const QString& strTableName, std::vector<std::shared_ptr<CDatabaseRecord>>& vctRecords,
                                const std::map<QString, QVariant>& mapWhereValues)
{
    if (!m_pConnection || !m_pConnection->GetDatabase() || !m_pFactory)
        return false;
    QSqlQuery query(*m_pConnection->GetDatabase());
    // Rows are read once, front to back: forward-only keeps large tables from being cached a second time.
    query.setForwardOnly(true);
    if (!m_pConnection->Execute(query, GetSelectQuery(strTableName, mapWhereValues), nullptr))
        return false;

    vctRecords.clear();
    while (query.next())
    {
        std::shared_ptr<CDatabaseRecord> pRecord = m_pFactory->Create(strTableName);
        if (!pRecord)
            continue;
        pRecord->LoadFromQuery(&query);
        vctRecords.push_back(std::move(pRecord));
    }
    return true;
}

bool CDatabase::SelectColumn(const QString& strTableName, const QString& strColumn,
                             const std::map<QString, QVariant>& mapWhereValues, std::vector<QVariant>& vctValues)
{
    if (!m_pConnection || !m_pConnection->GetDatabase())
        return false;
    QSqlQuery query(*m_pConnection->GetDatabase());
    query.setForwardOnly(true);
    const QString strQuery = QStringLiteral("SELECT ") + strColumn + QStringLiteral(" FROM ") + strTableName +
                             ParseWhereValues(mapWhereValues);
    if (!m_pConnection->Execute(query, strQuery, nullptr))
        return false;
    vctValues.clear();
    while (query.next())
        vctValues.push_back(query.value(0));
    return true;
}

bool CDatabase::SelectColumns(const QString& strTableName, const QStringList& lstColumns,
                              const std::map<QString, QVariant>& mapWhereValues,
                              std::vector<std::vector<QVariant>>& vctColumnValues)
{
    if (lstColumns.isEmpty())
        return false;
    return SelectStatement(GetColumnSelectQuery(strTableName, lstColumns, mapWhereValues), lstColumns.size(),
                           vctColumnValues);
}

bool CDatabase::SelectStatement(const QString& strStatement, int nColumns,
                                std::vector<std::vector<QVariant>>& vctColumnValues)
{
    if (!m_pConnection || !m_pConnection->GetDatabase() || nColumns <= 0)
        return false;
    QSqlQuery query(*m_pConnection->GetDatabase());
    query.setForwardOnly(true);
    if (!m_pConnection->Execute(query, strStatement, nullptr))
        return false;
    std::vector<std::vector<QVariant>> vctValues(static_cast<size_t>(nColumns));
    while (query.next())
    {
        for (size_t i = 0; i < vctValues.size(); ++i)
            vctValues[i].push_back(query.value(static_cast<int>(i)));
    }
    vctColumnValues = std::move(vctValues);
    return true;
}

QVariant CDatabase::DriverHandle() const
{
    if (!m_pConnection || !m_pConnection->IsOpen() || !m_pConnection->GetDatabase()->driver())
        return QVariant();
    return m_pConnection->GetDatabase()->driver()->handle();
}

bool CDatabase::HasTable(const QString& strTableName) const
{
    if (!m_pConnection || !m_pConnection->IsOpen())
        return false;
    // Every table has at least one column; a missing one gives an empty record.
    return !m_pConnection->GetDatabase()->record(strTableName).isEmpty();
}

bool CDatabase::UpdateTable(const QString& strTableName, const std::map<QString, QVariant>& mapSetValues,
                            const std::map<QString, QVariant>& mapWhereValues, bool bTransaction)
{
    return RunQueries({GetUpdateQuery(strTableName, mapSetValues, mapWhereValues)}, bTransaction);
}

bool CDatabase::DeleteFromTable(const QString& strTableName, const std::map<QString, QVariant>& mapWhereValues,
                                bool bTransaction)
{
    return RunQueries({GetDeleteQuery(strTableName, mapWhereValues)}, bTransaction);
}

QString CDatabase::GetSelectQuery(const QString& strTableName, const std::map<QString, QVariant>& mapWhereValues)
{
    return QStringLiteral("SELECT * FROM ") + strTableName + ParseWhereValues(mapWhereValues);
}

QString CDatabase::GetColumnSelectQuery(const QString& strTableName, const QStringList& lstColumns,
                                        const std::map<QString, QVariant>& mapWhereValues)
{
    return QStringLiteral("SELECT ") + lstColumns.join(QStringLiteral(", ")) + QStringLiteral(" FROM ") + strTableName +
           ParseWhereValues(mapWhereValues);
}

QString CDatabase::GetUpdateQuery(const QString& strTableName, const std::map<QString, QVariant>& mapSetValues,
                                  const std::map<QString, QVariant>& mapWhereValues)
{
    return QStringLiteral("UPDATE ") + strTableName + ParseSetValues(mapSetValues) + ParseWhereValues(mapWhereValues);
}

QString CDatabase::GetDeleteQuery(const QString& strTableName, const std::map<QString, QVariant>& mapWhereValues)
{
    return QStringLiteral("DELETE FROM ") + strTableName + ParseWhereValues(mapWhereValues);
}

QString CDatabase::ParseSetValues(const std::map<QString, QVariant>& mapValues)
{
    QString strClause;
    if (mapValues.empty())
        return strClause;
    strClause += QLatin1String(" SET ");
    for (const auto& entry : mapValues)
        strClause += entry.first + QLatin1Char('=') + RenderValue(entry.second) + QLatin1Char(',');
    strClause.chop(1);
    return strClause;
}

QString CDatabase::ParseWhereValues(const std::map<QString, QVariant>& mapValues)
{
    QString strClause;
    if (mapValues.empty())
        return strClause;
    strClause += QLatin1String(" WHERE ");
    for (const auto& entry : mapValues)
        strClause += entry.first + QLatin1Char('=') + RenderValue(entry.second) + QLatin1String(" AND ");
    // Drop the last "AND " and keep the blank before it, so the clause ends with one blank.
    strClause.chop(4);
    return strClause;
}

QString CDatabase::RenderValue(const QVariant& value)
{
    switch (static_cast<int>(value.userType()))
    {
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::UnknownType:
        // Numbers and flags go in bare; an invalid value renders as nothing and the database rejects the statement.
        return value.toString();
    default:
        // Text, and anything else whose text form could carry an apostrophe (bytes, dates, characters), becomes a
        // string literal so that no value can break or alter the statement.
        return QLatin1Char('\'') + CDatabaseRecord::EscapeApostrophes(value.toString()) + QLatin1Char('\'');
    }
}

bool CDatabase::SetWriteAheadLog(bool bOn)
{
    if (!m_pConnection || !m_pConnection->GetDatabase())
        return false;
    // The statement answers with the mode in force, which differs from the one asked for when it was refused.
    QSqlQuery query(*m_pConnection->GetDatabase());
    const QString strMode = bOn ? QStringLiteral("wal") : QStringLiteral("delete");
    if (!query.exec("PRAGMA journal_mode=" + strMode) || !query.next() ||
        query.value(0).toString().toLower() != strMode)
        return false;
    query.finish();
    return query.exec(bOn ? QStringLiteral("PRAGMA synchronous=NORMAL") : QStringLiteral("PRAGMA synchronous=FULL"));
}
