#include "project/store/CProjectTrainingRecord.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

const QString CProjectTrainingRecord::TABLE_NAME = QStringLiteral("project_training");
const QString CProjectTrainingRecord::COLUMN_NAME = QStringLiteral("NAME");
const QString CProjectTrainingRecord::COLUMN_TYPE = QStringLiteral("TYPE");
const QString CProjectTrainingRecord::COLUMN_VERSION = QStringLiteral("VERSION");
const QString CProjectTrainingRecord::COLUMN_CREATED_DATETIME = QStringLiteral("CREATED_DATETIME");

void CProjectTrainingRecord::LoadFromQuery(QSqlQuery* pQuery)
{
    if (!pQuery)
        return;
    const QSqlRecord record = pQuery->record();
    LoadIDFromQuery(pQuery, record);
    LoadColumn(pQuery, record, COLUMN_NAME, m_strName);
    LoadColumn(pQuery, record, COLUMN_TYPE, m_strType);
    LoadColumn(pQuery, record, COLUMN_VERSION, m_strVersion);
    LoadColumn(pQuery, record, COLUMN_CREATED_DATETIME, m_createdDateTime);
}

QString CProjectTrainingRecord::GetInsertQuery()
{
    return InsertQuery(TABLE_NAME, {{COLUMN_NAME, m_strName},
                                    {COLUMN_TYPE, m_strType},
                                    {COLUMN_VERSION, m_strVersion},
                                    {COLUMN_CREATED_DATETIME, m_createdDateTime.toString(Qt::TextDate)}});
}
