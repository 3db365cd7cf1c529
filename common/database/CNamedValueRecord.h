#pragma once

#include "OvrelCommonGlobal.h"
#include "database/CDatabaseRecord.h"

#include <QString>

// A row of a table of named values (settings, parameters, properties): a NAME column and its VALUE as text.
// Subclasses add their further columns.
class OVRELCOMMON_EXPORT CNamedValueRecord : public CDatabaseRecord
{
public:
    static const QString COLUMN_NAME;
    static const QString COLUMN_VALUE;

    // Reads the ID, the name and the value.
    void LoadFromQuery(QSqlQuery* pQuery) override;

    QString GetName() const { return m_strName; }
    void SetName(const QString& strName) { m_strName = strName; }
    QString GetValue() const { return m_strValue; }
    void SetValue(const QString& strValue) { m_strValue = strValue; }

private:
    QString m_strName;
    QString m_strValue;
};
