#include "project/CProjectRecordFactory.h"

#include "project/CCategoryRecord.h"
#include "project/CDatasetImageRecord.h"
#include "project/CDatasetROIRecord.h"
#include "project/CParameterRecord.h"
#include "project/CProjectPropertyRecord.h"
#include "project/CProjectTrainingRecord.h"

std::shared_ptr<CDatabaseRecord> CProjectRecordFactory::Create(const QString& strTableName)
{
    if (strTableName == CCategoryRecord::TABLE_NAME)
        return std::make_shared<CCategoryRecord>();
    if (strTableName == CDatasetImageRecord::TABLE_NAME)
        return std::make_shared<CDatasetImageRecord>();
    if (strTableName == CDatasetROIRecord::TABLE_NAME)
        return std::make_shared<CDatasetROIRecord>();
    if (strTableName == CProjectTrainingRecord::TABLE_NAME)
        return std::make_shared<CProjectTrainingRecord>();
    if (strTableName == CParameterRecord::TABLE_NAME)
        return std::make_shared<CParameterRecord>();
    if (strTableName == CProjectPropertyRecord::TABLE_NAME)
        return std::make_shared<CProjectPropertyRecord>();
    return std::shared_ptr<CDatabaseRecord>();
}
