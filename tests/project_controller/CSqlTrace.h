#pragma once

#include <QMutex>
#include <QStringList>

#include <sqlite3.h>

// Records the statements SQLite starts on every connection opened after Install(), those of Qt's driver inside the
// program included: the test sees the exact SQL sent, without a stand-in database.
class CSqlTrace
{
public:
    static void Install() { sqlite3_auto_extension(reinterpret_cast<void (*)(void)>(&OnOpen)); }
    // The selects started since the last call, in order.
    static QStringList TakeSelects()
    {
        QMutexLocker locker(&m_mutex);
        return qExchange(m_lstStatements, {}).filter(QRegExp("^SELECT"));
    }

    // Every statement started since the last call, in order.
    static QStringList TakeAll()
    {
        QMutexLocker locker(&m_mutex);
        return qExchange(m_lstStatements, {});
    }

private:
    static int OnOpen(sqlite3* pDatabase, const char**, const void*)
    {
        return sqlite3_trace_v2(pDatabase, SQLITE_TRACE_STMT, &OnTrace, nullptr);
    }
    static int OnTrace(unsigned int, void*, void* pStatement, void*)
    {
        QMutexLocker locker(&m_mutex);
        m_lstStatements.append(QString::fromUtf8(sqlite3_sql(static_cast<sqlite3_stmt*>(pStatement))));
        return 0;
    }

    static inline QMutex m_mutex;
    static inline QStringList m_lstStatements;
};
