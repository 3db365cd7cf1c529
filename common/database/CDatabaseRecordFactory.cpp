#include "database/CDatabaseRecordFactory.h"

#include "frame/CSettingRecord.h"

CDatabaseRecordFactory::~CDatabaseRecordFactory() = default;

std::shared_ptr<CDatabaseRecord> CDatabaseRecordFactory::Create(const QString& strTableName)
{
    if (strTableName == CSettingRecord::TABLE_NAME)
        return std::make_shared<CSettingRecord>();
    return std::shared_ptr<CDatabaseRecord>();
}
