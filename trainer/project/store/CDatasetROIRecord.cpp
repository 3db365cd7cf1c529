#include "project/store/CDatasetROIRecord.h"

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
    return InsertQuery(TABLE_NAME, {{COLUMN_X, m_dblX},
                                    {COLUMN_Y, m_dblY},
                                    {COLUMN_WIDTH, m_dblWidth},
                                    {COLUMN_HEIGHT, m_dblHeight},
                                    {COLUMN_IMAGE_ID, m_nImageID},
                                    {COLUMN_CATEGORY_ID, m_nCategoryID}});
}
