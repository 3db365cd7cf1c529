#include "database/CNamedValueRecord.h"

#include <QSqlQuery>
#include <QSqlRecord>

const QString CNamedValueRecord::COLUMN_NAME = QStringLiteral("NAME");
const QString CNamedValueRecord::COLUMN_VALUE = QStringLiteral("VALUE");

void CNamedValueRecord::LoadFromQuery(QSqlQuery* pQuery)
{
    if (!pQuery)
        return;
    const QSqlRecord record = pQuery->record();
    LoadIDFromQuery(pQuery, record);
    LoadColumn(pQuery, record, COLUMN_NAME, m_strName);
    LoadColumn(pQuery, record, COLUMN_VALUE, m_strValue);
}
