#pragma once

#include "database/CDatabaseRecordFactory.h"

// Makes the records of the six project tables. The settings table is unknown to it.
class CProjectRecordFactory : public CDatabaseRecordFactory
{
public:
    CProjectRecordFactory() = default;

    // A new record of the class whose table name equals strTableName exactly (case-sensitive), or an empty pointer.
    std::shared_ptr<CDatabaseRecord> Create(const QString& strTableName) override;
};
