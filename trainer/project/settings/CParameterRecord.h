#pragma once

#include "database/CDatabaseRecord.h"

#include <QString>

// One name/value pair of the training parameters.
class CParameterRecord : public CDatabaseRecord
{
public:
    static const QString TABLE_NAME;
    static const QString COLUMN_NAME;
    static const QString COLUMN_VALUE;

    CParameterRecord() = default;

    void LoadFromQuery(QSqlQuery* pQuery) override;
    QString GetInsertQuery() override;

    QString GetName() const { return m_strName; }
    void SetName(const QString& strName) { m_strName = strName; }
    QString GetValue() const { return m_strValue; }
    void SetValue(const QString& strValue) { m_strValue = strValue; }

private:
    QString m_strName;
    QString m_strValue;
};
