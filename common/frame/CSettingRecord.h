#pragma once

#include "OvrelCommonGlobal.h"
#include "database/CNamedValueRecord.h"

#include <QString>

// One row of the settings file: a key, its value as text and the name of the value's type when it was written.
class OVRELCOMMON_EXPORT CSettingRecord : public CNamedValueRecord
{
public:
    static const QString TABLE_NAME;
    static const QString COLUMN_TYPE;

    CSettingRecord() = default;

    void LoadFromQuery(QSqlQuery* pQuery) override;
    QString GetInsertQuery() override;

    QString GetType() const { return m_strType; }
    void SetType(const QString& strType) { m_strType = strType; }

private:
    QString m_strType;
};
