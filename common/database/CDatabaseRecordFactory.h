#pragma once

#include "OvrelCommonGlobal.h"

#include <QString>

#include <memory>

class CDatabaseRecord;

// Turns a table name into an empty record of the matching class. The base knows the settings table only; subclasses
// answer for their own tables. Owned by whoever creates it, never by the database it is handed to.
class OVRELCOMMON_EXPORT CDatabaseRecordFactory
{
public:
    CDatabaseRecordFactory() = default;
    virtual ~CDatabaseRecordFactory();

    // An empty record for the table, or an empty pointer for a table this factory does not know.
    virtual std::shared_ptr<CDatabaseRecord> Create(const QString& strTableName);
};
