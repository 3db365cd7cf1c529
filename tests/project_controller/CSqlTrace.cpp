#include "CSqlTrace.h"

#include <QMutex>
#include <QMutexLocker>

#include <sqlite3.h>

namespace
{
QMutex g_mutex;
QStringList g_lstStatements;

int OnTrace(unsigned int nType, void*, void* pStatement, void*)
{
    if (nType != SQLITE_TRACE_STMT)
        return 0;
    const char* pszSql = sqlite3_sql(static_cast<sqlite3_stmt*>(pStatement));
    QMutexLocker locker(&g_mutex);
    g_lstStatements.append(QString::fromUtf8(pszSql ? pszSql : ""));
    return 0;
}

int OnOpen(sqlite3* pDatabase, const char**, const void*)
{
    sqlite3_trace_v2(pDatabase, SQLITE_TRACE_STMT, &OnTrace, nullptr);
    return SQLITE_OK;
}
} // namespace

void CSqlTrace::Install()
{
    static bool bInstalled = false;
    if (bInstalled)
        return;
    bInstalled = true;
    // An auto extension runs for every connection the process opens, whoever opens it.
    sqlite3_auto_extension(reinterpret_cast<void (*)(void)>(&OnOpen));
}

void CSqlTrace::Clear()
{
    QMutexLocker locker(&g_mutex);
    g_lstStatements.clear();
}

QStringList CSqlTrace::Statements()
{
    QMutexLocker locker(&g_mutex);
    return g_lstStatements;
}

QStringList CSqlTrace::Selects()
{
    QStringList lstSelects;
    for (const QString& strStatement : Statements())
    {
        if (strStatement.startsWith("SELECT"))
            lstSelects.append(strStatement);
    }
    return lstSelects;
}
