#include "project/CRoiHistoryMatch.h"

#include "canvas/CDrawableGeometry.h"
#include "project/CDatasetROIRecord.h"

bool CRoiHistoryMatch::Matches(const std::vector<std::shared_ptr<CDrawableObject>>& vctObjects,
                               const std::vector<std::shared_ptr<CDatasetROIRecord>>& vctRows,
                               const std::map<int, QString>& mapNames)
{
    if (vctObjects.size() != vctRows.size())
        return false;
    std::map<int, std::shared_ptr<CDatasetROIRecord>> mapRows;
    for (const std::shared_ptr<CDatasetROIRecord>& pRow : vctRows)
        mapRows.emplace(pRow->GetID(), pRow);
    for (const std::shared_ptr<CDrawableObject>& pObject : vctObjects)
    {
        const auto pGeometry = std::dynamic_pointer_cast<CDrawableGeometry>(pObject);
        bool bBound = false;
        const int nRoiID = pGeometry ? pGeometry->GetExtraInfo().toInt(&bBound) : -1;
        const auto itRow = bBound ? mapRows.find(nRoiID) : mapRows.end();
        if (itRow == mapRows.end())
            return false;
        const CDatasetROIRecord& row = *itRow->second;
        const auto itName = mapNames.find(row.GetCategoryID());
        const QRectF box = pGeometry->GetBoundary();
        if (itName == mapNames.end() || itName->second != pGeometry->GetName() || row.GetX() != box.x() ||
            row.GetY() != box.y() || row.GetWidth() != box.width() || row.GetHeight() != box.height())
            return false;
        // Each row answers one object only.
        mapRows.erase(itRow);
    }
    return true;
}
