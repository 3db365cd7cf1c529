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
    int nIndex = record.indexOf(COLUMN_NAME);
    if (nIndex >= 0)
        m_strName = pQuery->value(nIndex).toString();
    nIndex = record.indexOf(COLUMN_VALUE);
    if (nIndex >= 0)
        m_strValue = pQuery->value(nIndex).toString();
    nIndex = record.indexOf(COLUMN_TYPE);
    if (nIndex >= 0)
        m_strType = pQuery->value(nIndex).toString();
}

QString CSettingRecord::GetInsertQuery()
{
    return QString::asprintf("INSERT INTO %s (%s, %s, %s) VALUES('%s', '%s', '%s')", TABLE_NAME.toUtf8().constData(),
                             COLUMN_NAME.toUtf8().constData(), COLUMN_VALUE.toUtf8().constData(),
                             COLUMN_TYPE.toUtf8().constData(), ToLiteralUtf8(m_strName).constData(),
                             ToLiteralUtf8(m_strValue).constData(), ToLiteralUtf8(m_strType).constData());
}
