#pragma once

#include "OvrelCommonGlobal.h"
#include "database/CDatabaseRecord.h"

#include <QString>

// One row of the settings file: a key, its value as text and the name of the value's type when it was written.
class OVRELCOMMON_EXPORT CSettingRecord : public CDatabaseRecord
{
public:
    static const QString TABLE_NAME;
    static const QString COLUMN_NAME;
    static const QString COLUMN_VALUE;
    static const QString COLUMN_TYPE;

    CSettingRecord() = default;

    void LoadFromQuery(QSqlQuery* pQuery) override;
    QString GetInsertQuery() override;

    QString GetName() const { return m_strName; }
    void SetName(const QString& strName) { m_strName = strName; }
    QString GetValue() const { return m_strValue; }
    void SetValue(const QString& strValue) { m_strValue = strValue; }
    QString GetType() const { return m_strType; }
    void SetType(const QString& strType) { m_strType = strType; }

private:
    QString m_strName;
    QString m_strValue;
    QString m_strType;
};
