#include "project/settings/CProjectPropertyRecord.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

const QString CProjectPropertyRecord::TABLE_NAME = QStringLiteral("project_property");
const QString CProjectPropertyRecord::COLUMN_NAME = QStringLiteral("NAME");
const QString CProjectPropertyRecord::COLUMN_VALUE = QStringLiteral("VALUE");
const QString CProjectPropertyRecord::COLUMN_TYPE = QStringLiteral("TYPE");
const QString CProjectPropertyRecord::COLUMN_PROJECT_ID = QStringLiteral("PROJECT_ID");

void CProjectPropertyRecord::LoadFromQuery(QSqlQuery* pQuery)
{
    if (!pQuery)
        return;
    const QSqlRecord record = pQuery->record();
    LoadIDFromQuery(pQuery, record);
    LoadColumn(pQuery, record, COLUMN_NAME, m_strName);
    LoadColumn(pQuery, record, COLUMN_VALUE, m_strValue);
    LoadColumn(pQuery, record, COLUMN_TYPE, m_strType);
    LoadColumn(pQuery, record, COLUMN_PROJECT_ID, m_nProjectID);
}

QString CProjectPropertyRecord::GetInsertQuery()
{
    return QString::asprintf("INSERT INTO %s (%s, %s, %s, %s) VALUES('%s', '%s', '%s', %d)",
                             TABLE_NAME.toUtf8().constData(), COLUMN_NAME.toUtf8().constData(),
                             COLUMN_VALUE.toUtf8().constData(), COLUMN_TYPE.toUtf8().constData(),
                             COLUMN_PROJECT_ID.toUtf8().constData(), ToLiteralUtf8(m_strName).constData(),
                             ToLiteralUtf8(m_strValue).constData(), ToLiteralUtf8(m_strType).constData(), m_nProjectID);
}
