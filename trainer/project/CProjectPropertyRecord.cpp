#include "project/CProjectPropertyRecord.h"

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
    int nIndex = -1;
    nIndex = record.indexOf(COLUMN_NAME);
    if (nIndex >= 0)
        m_strName = pQuery->value(nIndex).toString();
    nIndex = record.indexOf(COLUMN_VALUE);
    if (nIndex >= 0)
        m_strValue = pQuery->value(nIndex).toString();
    nIndex = record.indexOf(COLUMN_TYPE);
    if (nIndex >= 0)
        m_strType = pQuery->value(nIndex).toString();
    nIndex = record.indexOf(COLUMN_PROJECT_ID);
    if (nIndex >= 0)
        m_nProjectID = pQuery->value(nIndex).toInt();
}

QString CProjectPropertyRecord::GetInsertQuery()
{
    return QString::asprintf("INSERT INTO %s (%s, %s, %s, %s) VALUES('%s', '%s', '%s', %d)",
                             TABLE_NAME.toUtf8().constData(), COLUMN_NAME.toUtf8().constData(),
                             COLUMN_VALUE.toUtf8().constData(), COLUMN_TYPE.toUtf8().constData(),
                             COLUMN_PROJECT_ID.toUtf8().constData(), ToLiteralUtf8(m_strName).constData(),
                             ToLiteralUtf8(m_strValue).constData(), ToLiteralUtf8(m_strType).constData(), m_nProjectID);
}
