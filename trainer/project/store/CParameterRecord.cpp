#include "project/store/CParameterRecord.h"

const QString CParameterRecord::TABLE_NAME = QStringLiteral("parameter");

QString CParameterRecord::GetInsertQuery()
{
    return InsertQuery(TABLE_NAME, {{COLUMN_NAME, GetName()}, {COLUMN_VALUE, GetValue()}});
}
