#include "project/settings/CParameterRecord.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

const QString CParameterRecord::TABLE_NAME = QStringLiteral("parameter");
const QString CParameterRecord::COLUMN_NAME = QStringLiteral("NAME");
const QString CParameterRecord::COLUMN_VALUE = QStringLiteral("VALUE");

void CParameterRecord::LoadFromQuery(QSqlQuery* pQuery)
{
    if (!pQuery)
        return;
    const QSqlRecord record = pQuery->record();
    LoadIDFromQuery(pQuery, record);
    LoadColumn(pQuery, record, COLUMN_NAME, m_strName);
    LoadColumn(pQuery, record, COLUMN_VALUE, m_strValue);
}

QString CParameterRecord::GetInsertQuery()
{
    return QString::asprintf("INSERT INTO %s (%s, %s) VALUES('%s', '%s')", TABLE_NAME.toUtf8().constData(),
                             COLUMN_NAME.toUtf8().constData(), COLUMN_VALUE.toUtf8().constData(),
                             ToLiteralUtf8(m_strName).constData(), ToLiteralUtf8(m_strValue).constData());
}
