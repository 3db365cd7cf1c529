#pragma once

#include "database/CDatabaseRecord.h"

#include <QString>

// One region of interest: an axis-aligned box on an image, by its top-left corner and size in image pixels.
// Coordinates are stored rounded to six decimals.
class CDatasetROIRecord : public CDatabaseRecord
{
public:
    static const QString TABLE_NAME;
    static const QString COLUMN_X;
    static const QString COLUMN_Y;
    static const QString COLUMN_WIDTH;
    static const QString COLUMN_HEIGHT;
    static const QString COLUMN_CATEGORY_ID;
    static const QString COLUMN_IMAGE_ID;

    CDatasetROIRecord() = default;

    void LoadFromQuery(QSqlQuery* pQuery) override;
    QString GetInsertQuery() override;

    double GetX() const { return m_dblX; }
    void SetX(double dblX) { m_dblX = dblX; }
    double GetY() const { return m_dblY; }
    void SetY(double dblY) { m_dblY = dblY; }
    double GetWidth() const { return m_dblWidth; }
    void SetWidth(double dblWidth) { m_dblWidth = dblWidth; }
    double GetHeight() const { return m_dblHeight; }
    void SetHeight(double dblHeight) { m_dblHeight = dblHeight; }
    int GetCategoryID() const { return m_nCategoryID; }
    void SetCategoryID(int nCategoryID) { m_nCategoryID = nCategoryID; }
    int GetImageID() const { return m_nImageID; }
    void SetImageID(int nImageID) { m_nImageID = nImageID; }

private:
    double m_dblX = 0.0;
    double m_dblY = 0.0;
    double m_dblWidth = 0.0;
    double m_dblHeight = 0.0;
    int m_nCategoryID = 0;
    int m_nImageID = 0;
};
