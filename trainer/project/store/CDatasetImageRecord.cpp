#include "project/store/CDatasetImageRecord.h"

#include <cmath>

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
    return InsertQuery(TABLE_NAME, {{COLUMN_NAME, m_strName},
                                    {COLUMN_FULL_PATH, m_strFullPath},
                                    {COLUMN_TYPE, m_strType},
                                    {COLUMN_WIDTH, static_cast<int>(m_nWidth)},
                                    {COLUMN_HEIGHT, static_cast<int>(m_nHeight)},
                                    {COLUMN_PROJECT_ID, m_nProjectID}});
}

unsigned int CDatasetImageRecord::SizeOfCell(double dblCell)
{
    return std::isnan(dblCell) ? 0u : static_cast<unsigned int>(qRound64(dblCell));
}
