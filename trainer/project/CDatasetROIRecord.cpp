#include "project/CDatasetROIRecord.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

const QString CDatasetROIRecord::TABLE_NAME = QStringLiteral("dataset_roi");
const QString CDatasetROIRecord::COLUMN_X = QStringLiteral("X");
const QString CDatasetROIRecord::COLUMN_Y = QStringLiteral("Y");
const QString CDatasetROIRecord::COLUMN_WIDTH = QStringLiteral("WIDTH");
const QString CDatasetROIRecord::COLUMN_HEIGHT = QStringLiteral("HEIGHT");
const QString CDatasetROIRecord::COLUMN_CATEGORY_ID = QStringLiteral("CATEGORY_ID");
const QString CDatasetROIRecord::COLUMN_IMAGE_ID = QStringLiteral("IMAGE_ID");

void CDatasetROIRecord::LoadFromQuery(QSqlQuery* pQuery)
{
    if (!pQuery)
        return;
    const QSqlRecord record = pQuery->record();
    LoadIDFromQuery(pQuery, record);
    int nIndex = -1;
    nIndex = record.indexOf(COLUMN_X);
    if (nIndex >= 0)
        m_dblX = pQuery->value(nIndex).toDouble();
    nIndex = record.indexOf(COLUMN_Y);
    if (nIndex >= 0)
        m_dblY = pQuery->value(nIndex).toDouble();
    nIndex = record.indexOf(COLUMN_WIDTH);
    if (nIndex >= 0)
        m_dblWidth = pQuery->value(nIndex).toDouble();
    nIndex = record.indexOf(COLUMN_HEIGHT);
    if (nIndex >= 0)
        m_dblHeight = pQuery->value(nIndex).toDouble();
    nIndex = record.indexOf(COLUMN_IMAGE_ID);
    if (nIndex >= 0)
        m_nImageID = pQuery->value(nIndex).toInt();
    nIndex = record.indexOf(COLUMN_CATEGORY_ID);
    if (nIndex >= 0)
        m_nCategoryID = pQuery->value(nIndex).toInt();
}

QString CDatasetROIRecord::GetInsertQuery()
{
    return QString::asprintf(
        "INSERT INTO %s (%s, %s, %s, %s, %s, %s) VALUES(%f, %f, %f, %f, %d, %d)", TABLE_NAME.toUtf8().constData(),
        COLUMN_X.toUtf8().constData(), COLUMN_Y.toUtf8().constData(), COLUMN_WIDTH.toUtf8().constData(),
        COLUMN_HEIGHT.toUtf8().constData(), COLUMN_IMAGE_ID.toUtf8().constData(),
        COLUMN_CATEGORY_ID.toUtf8().constData(), m_dblX, m_dblY, m_dblWidth, m_dblHeight, m_nImageID, m_nCategoryID);
}
