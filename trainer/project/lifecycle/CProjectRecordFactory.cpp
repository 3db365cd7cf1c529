#include "project/lifecycle/CProjectRecordFactory.h"

#include "project/annotation/CDatasetROIRecord.h"
#include "project/classes/CCategoryRecord.h"
#include "project/images/CDatasetImageRecord.h"
#include "project/lifecycle/CProjectTrainingRecord.h"
#include "project/settings/CParameterRecord.h"
#include "project/settings/CProjectPropertyRecord.h"

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
