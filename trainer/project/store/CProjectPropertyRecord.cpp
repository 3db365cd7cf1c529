#include "project/store/CProjectPropertyRecord.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

const QString CProjectPropertyRecord::TABLE_NAME = QStringLiteral("project_property");
const QString CProjectPropertyRecord::COLUMN_TYPE = QStringLiteral("TYPE");
const QString CProjectPropertyRecord::COLUMN_PROJECT_ID = QStringLiteral("PROJECT_ID");

void CProjectPropertyRecord::LoadFromQuery(QSqlQuery* pQuery)
{
    CNamedValueRecord::LoadFromQuery(pQuery);
    if (!pQuery)
        return;
    LoadColumn(pQuery, pQuery->record(), COLUMN_TYPE, m_strType);
    LoadColumn(pQuery, pQuery->record(), COLUMN_PROJECT_ID, m_nProjectID);
}

QString CProjectPropertyRecord::GetInsertQuery()
{
    return InsertQuery(TABLE_NAME, {{COLUMN_NAME, GetName()},
                                    {COLUMN_VALUE, GetValue()},
                                    {COLUMN_TYPE, m_strType},
                                    {COLUMN_PROJECT_ID, m_nProjectID}});
}
