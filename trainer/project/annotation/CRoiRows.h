#pragma once

#include "project/classes/CProjectCategories.h"

#include <QRectF>
#include <QString>

#include <map>
#include <memory>
#include <vector>

class CDatabase;
class CDatasetROIRecord;

// The dataset_roi rows of the project's images and the class names they refer to, as the annotation reads and writes
// them. Every write logs whether it went through ("Add ROI to Image ID %d OK", "Update ROI to ID %d Failed"...), so
// that a refused write is never silent; what the screen does about it is the caller's.
class CRoiRows
{
public:
    // The database is not owned and may be null: reads then give nothing. Writes and Find need one.
    explicit CRoiRows(CDatabase* pDatabase);

    bool HasDatabase() const { return m_pDatabase != nullptr; }

    // The rows of the image; empty without a database.
    std::vector<std::shared_ptr<CDatasetROIRecord>> RowsOf(int nImageID) const;
    // ID to name of every class; empty without a database.
    std::map<int, QString> ClassNames() const;
    // The class table, read once; unread without a database.
    CProjectCategories Classes() const;
    static std::map<int, QString> ClassNames(const CProjectCategories& classes);
    // The row with that ID, or empty when it is gone.
    std::shared_ptr<CDatasetROIRecord> Find(int nRoiID) const;

    // Inserts a row for the box on the image; true with the new row's ID when the insert went through.
    bool Insert(const QRectF& box, int nImageID, int nCategoryID, int& nRoiID);
    bool UpdateCategory(int nRoiID, int nCategoryID);
    bool UpdateBox(int nRoiID, const QRectF& box);
    bool Delete(int nRoiID);

    // -1 when no class has that name (or there is no database).
    int GetCategoryID(const QString& strName) const;
    // Empty when no class has that ID.
    QString GetCategoryName(int nID) const;

private:
    CDatabase* m_pDatabase = nullptr;
};
