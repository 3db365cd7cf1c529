#pragma once

#include "database/CDatabaseRecord.h"

#include <QDateTime>
#include <QString>

// The project itself (one row per project file). The creation time is written in Qt's text form
// (Qt::TextDate), which is not read back reliably: nothing relies on the loaded value.
class CProjectTrainingRecord : public CDatabaseRecord
{
public:
    static const QString TABLE_NAME;
    static const QString COLUMN_NAME;
    static const QString COLUMN_TYPE;
    static const QString COLUMN_VERSION;
    static const QString COLUMN_CREATED_DATETIME;

    CProjectTrainingRecord() = default;

    void LoadFromQuery(QSqlQuery* pQuery) override;
    QString GetInsertQuery() override;

    QString GetName() const { return m_strName; }
    void SetName(const QString& strName) { m_strName = strName; }
    QString GetType() const { return m_strType; }
    void SetType(const QString& strType) { m_strType = strType; }
    QString GetVersion() const { return m_strVersion; }
    void SetVersion(const QString& strVersion) { m_strVersion = strVersion; }
    QDateTime GetCreatedDateTime() const { return m_createdDateTime; }
    void SetCreatedDateTime(const QDateTime& createdDateTime) { m_createdDateTime = createdDateTime; }

private:
    QString m_strName;
    QString m_strType;
    QString m_strVersion;
    QDateTime m_createdDateTime;
};
