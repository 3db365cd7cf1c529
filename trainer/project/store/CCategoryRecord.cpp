#include "project/store/CCategoryRecord.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

const QString CCategoryRecord::TABLE_NAME = QStringLiteral("category");
const QString CCategoryRecord::COLUMN_NAME = QStringLiteral("NAME");

void CCategoryRecord::LoadFromQuery(QSqlQuery* pQuery)
{
    if (!pQuery)
        return;
    const QSqlRecord record = pQuery->record();
    LoadIDFromQuery(pQuery, record);
    LoadColumn(pQuery, record, COLUMN_NAME, m_strName);
}

QString CCategoryRecord::GetInsertQuery()
{
    return InsertQuery(TABLE_NAME, {{COLUMN_NAME, m_strName}});
}
