#include "project/annotation/CDatasetROIRecord.h"

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
    LoadColumn(pQuery, record, COLUMN_X, m_dblX);
    LoadColumn(pQuery, record, COLUMN_Y, m_dblY);
    LoadColumn(pQuery, record, COLUMN_WIDTH, m_dblWidth);
    LoadColumn(pQuery, record, COLUMN_HEIGHT, m_dblHeight);
    LoadColumn(pQuery, record, COLUMN_IMAGE_ID, m_nImageID);
    LoadColumn(pQuery, record, COLUMN_CATEGORY_ID, m_nCategoryID);
}

QString CDatasetROIRecord::GetInsertQuery()
{
    return QString::asprintf(
        "INSERT INTO %s (%s, %s, %s, %s, %s, %s) VALUES(%f, %f, %f, %f, %d, %d)", TABLE_NAME.toUtf8().constData(),
        COLUMN_X.toUtf8().constData(), COLUMN_Y.toUtf8().constData(), COLUMN_WIDTH.toUtf8().constData(),
        COLUMN_HEIGHT.toUtf8().constData(), COLUMN_IMAGE_ID.toUtf8().constData(),
        COLUMN_CATEGORY_ID.toUtf8().constData(), m_dblX, m_dblY, m_dblWidth, m_dblHeight, m_nImageID, m_nCategoryID);
}
