#include "project/images/CDatasetImageRecord.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

const QString CDatasetImageRecord::TABLE_NAME = QStringLiteral("dataset_image");
const QString CDatasetImageRecord::COLUMN_NAME = QStringLiteral("NAME");
const QString CDatasetImageRecord::COLUMN_FULL_PATH = QStringLiteral("FULL_PATH");
const QString CDatasetImageRecord::COLUMN_TYPE = QStringLiteral("TYPE");
const QString CDatasetImageRecord::COLUMN_WIDTH = QStringLiteral("WIDTH");
const QString CDatasetImageRecord::COLUMN_HEIGHT = QStringLiteral("HEIGHT");
const QString CDatasetImageRecord::COLUMN_PROJECT_ID = QStringLiteral("PROJECT_ID");

void CDatasetImageRecord::LoadFromQuery(QSqlQuery* pQuery)
{
    if (!pQuery)
        return;
    const QSqlRecord record = pQuery->record();
    LoadIDFromQuery(pQuery, record);
    LoadColumn(pQuery, record, COLUMN_NAME, m_strName);
    LoadColumn(pQuery, record, COLUMN_FULL_PATH, m_strFullPath);
    LoadColumn(pQuery, record, COLUMN_TYPE, m_strType);
    LoadColumn(pQuery, record, COLUMN_WIDTH, m_nWidth);
    LoadColumn(pQuery, record, COLUMN_HEIGHT, m_nHeight);
    LoadColumn(pQuery, record, COLUMN_PROJECT_ID, m_nProjectID);
}

QString CDatasetImageRecord::GetInsertQuery()
{
    return QString::asprintf(
        "INSERT INTO %s (%s, %s, %s, %s, %s, %s) VALUES('%s', '%s', '%s', %d, %d, %d)", TABLE_NAME.toUtf8().constData(),
        COLUMN_NAME.toUtf8().constData(), COLUMN_FULL_PATH.toUtf8().constData(), COLUMN_TYPE.toUtf8().constData(),
        COLUMN_WIDTH.toUtf8().constData(), COLUMN_HEIGHT.toUtf8().constData(), COLUMN_PROJECT_ID.toUtf8().constData(),
        ToLiteralUtf8(m_strName).constData(), ToLiteralUtf8(m_strFullPath).constData(),
        ToLiteralUtf8(m_strType).constData(), static_cast<int>(m_nWidth), static_cast<int>(m_nHeight), m_nProjectID);
}
