#pragma once

#include "database/CNamedValueRecord.h"

#include <QString>

// One named project setting such as the network configuration. Type is "int", "bool", "string", "double" or
// empty.
class CProjectPropertyRecord : public CNamedValueRecord
{
public:
    static const QString TABLE_NAME;
    static const QString COLUMN_TYPE;
    static const QString COLUMN_PROJECT_ID;

    CProjectPropertyRecord() = default;

    void LoadFromQuery(QSqlQuery* pQuery) override;
    QString GetInsertQuery() override;

    QString GetType() const { return m_strType; }
    void SetType(const QString& strType) { m_strType = strType; }
    int GetProjectID() const { return m_nProjectID; }
    void SetProjectID(int nProjectID) { m_nProjectID = nProjectID; }

private:
    QString m_strType;
    int m_nProjectID = -1;
};
