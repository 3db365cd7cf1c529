#include "project/annotation/CRoiHistories.h"

#include "canvas/CCanvasHistories.h"
#include "canvas/CDrawableGeometry.h"
#include "canvas/CImageView2DController.h"
#include "project/store/CDatasetROIRecord.h"
#include "workspace/CImageViewerController.h"
#include "workspace/CImageWorkspaceController.h"

namespace
{
QString Key(int nImageID)
{
    return QString::number(nImageID);
}

CCanvasHistories* HistoriesOf(CImageWorkspaceController* pWorkspace, int nViewID)
{
    CImageViewerController* pViewer = pWorkspace ? pWorkspace->GetViewerController(nViewID) : nullptr;
    return pViewer ? pViewer->GetCanvasController()->GetHistories() : nullptr;
}

// Drops the key's history on every view but nKeptViewID.
void DropElsewhere(CImageWorkspaceController* pWorkspace, const QString& strKey, int nKeptViewID)
{
    for (int nViewID = 0; nViewID < CImageWorkspaceController::kViewerCount; ++nViewID)
    {
        CCanvasHistories* pHistories = nViewID == nKeptViewID ? nullptr : HistoriesOf(pWorkspace, nViewID);
        if (pHistories)
            pHistories->Drop(strKey);
    }
}
} // namespace

bool CRoiHistories::Resume(CImageWorkspaceController* pWorkspace, int nViewID, int nImageID,
                           const std::vector<std::shared_ptr<CDatasetROIRecord>>& vctRows,
                           const std::map<int, QString>& mapNames)
{
    const QString strKey = Key(nImageID);
    DropElsewhere(pWorkspace, strKey, nViewID);
    CCanvasHistories* pHistories = HistoriesOf(pWorkspace, nViewID);
    if (!pHistories)
        return false;
    if (Matches(pHistories->ParkedObjects(strKey), vctRows, mapNames) && pHistories->Resume(strKey))
        return true;
    pHistories->Drop(strKey);
    return false;
}

void CRoiHistories::Keep(CImageWorkspaceController* pWorkspace, int nViewID, int nImageID)
{
    if (CCanvasHistories* pHistories = HistoriesOf(pWorkspace, nViewID))
        pHistories->SetKey(Key(nImageID));
}

void CRoiHistories::Forget(CImageWorkspaceController* pWorkspace, int nImageID)
{
    DropElsewhere(pWorkspace, Key(nImageID), -1);
}

void CRoiHistories::ForgetAll(CImageWorkspaceController* pWorkspace)
{
    for (int nViewID = 0; nViewID < CImageWorkspaceController::kViewerCount; ++nViewID)
    {
        if (CCanvasHistories* pHistories = HistoriesOf(pWorkspace, nViewID))
            pHistories->DropKeyed();
    }
}

bool CRoiHistories::Matches(const std::vector<std::shared_ptr<CDrawableObject>>& vctObjects,
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
