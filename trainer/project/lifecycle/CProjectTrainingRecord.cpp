#include "project/lifecycle/CProjectTrainingRecord.h"

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
    return QString::asprintf("INSERT INTO %s (%s, %s, %s, %s) VALUES('%s', '%s', '%s', '%s')",
                             TABLE_NAME.toUtf8().constData(), COLUMN_NAME.toUtf8().constData(),
                             COLUMN_TYPE.toUtf8().constData(), COLUMN_VERSION.toUtf8().constData(),
                             COLUMN_CREATED_DATETIME.toUtf8().constData(), ToLiteralUtf8(m_strName).constData(),
                             ToLiteralUtf8(m_strType).constData(), ToLiteralUtf8(m_strVersion).constData(),
                             ToLiteralUtf8(m_createdDateTime.toString(Qt::TextDate)).constData());
}
