#include "frame/CSettingRecord.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

const QString CSettingRecord::TABLE_NAME = QStringLiteral("settings");
const QString CSettingRecord::COLUMN_TYPE = QStringLiteral("TYPE");

void CSettingRecord::LoadFromQuery(QSqlQuery* pQuery)
{
    CNamedValueRecord::LoadFromQuery(pQuery);
    if (!pQuery)
        return;
    LoadColumn(pQuery, pQuery->record(), COLUMN_TYPE, m_strType);
}

QString CSettingRecord::GetInsertQuery()
{
    return InsertQuery(TABLE_NAME, {{COLUMN_NAME, GetName()}, {COLUMN_VALUE, GetValue()}, {COLUMN_TYPE, m_strType}});
}
