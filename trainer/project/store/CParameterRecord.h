#pragma once

#include "database/CNamedValueRecord.h"

#include <QString>

// One name/value pair of the training parameters.
class CParameterRecord : public CNamedValueRecord
{
public:
    static const QString TABLE_NAME;

    CParameterRecord() = default;

    QString GetInsertQuery() override;
};
