#include "frame/CSettingRecord.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

const QString CSettingRecord::TABLE_NAME = QStringLiteral("settings");
const QString CSettingRecord::COLUMN_NAME = QStringLiteral("NAME");
const QString CSettingRecord::COLUMN_VALUE = QStringLiteral("VALUE");
const QString CSettingRecord::COLUMN_TYPE = QStringLiteral("TYPE");

void CSettingRecord::LoadFromQuery(QSqlQuery* pQuery)
{
    if (!pQuery)
        return;
    const QSqlRecord record = pQuery->record();
    LoadIDFromQuery(pQuery, record);
    LoadColumn(pQuery, record, COLUMN_NAME, m_strName);
    LoadColumn(pQuery, record, COLUMN_VALUE, m_strValue);
    LoadColumn(pQuery, record, COLUMN_TYPE, m_strType);
}

QString CSettingRecord::GetInsertQuery()
{
    return QString::asprintf("INSERT INTO %s (%s, %s, %s) VALUES('%s', '%s', '%s')", TABLE_NAME.toUtf8().constData(),
                             COLUMN_NAME.toUtf8().constData(), COLUMN_VALUE.toUtf8().constData(),
                             COLUMN_TYPE.toUtf8().constData(), ToLiteralUtf8(m_strName).constData(),
                             ToLiteralUtf8(m_strValue).constData(), ToLiteralUtf8(m_strType).constData());
}
