#include "project/store/CProjectRecordFactory.h"

#include "project/store/CCategoryRecord.h"
#include "project/store/CDatasetImageRecord.h"
#include "project/store/CDatasetROIRecord.h"
#include "project/store/CParameterRecord.h"
#include "project/store/CProjectPropertyRecord.h"
#include "project/store/CProjectTrainingRecord.h"

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
