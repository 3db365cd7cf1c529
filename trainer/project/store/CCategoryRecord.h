#pragma once

#include "database/CDatabaseRecord.h"

#include <QString>

// One class of the detector.
class CCategoryRecord : public CDatabaseRecord
{
public:
    static const QString TABLE_NAME;
    static const QString COLUMN_NAME;

    CCategoryRecord() = default;

    void LoadFromQuery(QSqlQuery* pQuery) override;
    QString GetInsertQuery() override;

    QString GetName() const { return m_strName; }
    void SetName(const QString& strName) { m_strName = strName; }

private:
    QString m_strName;
};
