#pragma once

#include "database/CDatabaseRecord.h"

#include <QString>

// One image copied into the project. FullPath is relative to the project folder ("Images", the separator, the
// file name); Type is "train" or "test".
class CDatasetImageRecord : public CDatabaseRecord
{
public:
    static const QString TABLE_NAME;
    static const QString COLUMN_NAME;
    static const QString COLUMN_FULL_PATH;
    static const QString COLUMN_TYPE;
    static const QString COLUMN_WIDTH;
    static const QString COLUMN_HEIGHT;
    static const QString COLUMN_PROJECT_ID;

    CDatasetImageRecord() = default;

    void LoadFromQuery(QSqlQuery* pQuery) override;
    // A WIDTH or HEIGHT cell read as a number (NaN when it is none) as the record reads it: rounded as Qt rounds, a
    // negative one wrapped, anything else 0. Every reader of the sizes by column uses this, so that they agree.
    static unsigned int SizeOfCell(double dblCell);
    QString GetInsertQuery() override;

    QString GetName() const { return m_strName; }
    void SetName(const QString& strName) { m_strName = strName; }
    QString GetFullPath() const { return m_strFullPath; }
    void SetFullPath(const QString& strFullPath) { m_strFullPath = strFullPath; }
    QString GetType() const { return m_strType; }
    void SetType(const QString& strType) { m_strType = strType; }
    unsigned int GetWidth() const { return m_nWidth; }
    void SetWidth(unsigned int nWidth) { m_nWidth = nWidth; }
    unsigned int GetHeight() const { return m_nHeight; }
    void SetHeight(unsigned int nHeight) { m_nHeight = nHeight; }
    int GetProjectID() const { return m_nProjectID; }
    void SetProjectID(int nProjectID) { m_nProjectID = nProjectID; }

private:
    QString m_strName;
    QString m_strFullPath;
    QString m_strType;
    unsigned int m_nWidth = 0;
    unsigned int m_nHeight = 0;
    int m_nProjectID = -1;
};
