#include "project/annotation/CShownRows.h"

#include "canvas/CDrawableGeometry.h"
#include "canvas/CDrawableObjectModel.h"
#include "canvas/CImageView2DController.h"
#include "project/annotation/CRoiBoxRows.h"
#include "workspace/CImageViewerController.h"
#include "workspace/CImageWorkspaceController.h"

#include <memory>
#include <vector>

void CShownRows::Follow(CImageWorkspaceController* pWorkspace, int nViewID, const std::map<int, int>& mapRowClasses,
                        const std::map<int, QString>& mapNames)
{
    CImageViewerController* pViewer = pWorkspace ? pWorkspace->GetViewerController(nViewID) : nullptr;
    if (!pViewer)
        return;
    // Collected first: deleting changes the list being read.
    std::vector<std::shared_ptr<CDrawableGeometry>> vctObjects;
    const CDrawableObjectModel* pObjects = pViewer->GetObjectModel();
    for (int i = 0; i < pObjects->GetObjectCount(); ++i)
    {
        if (auto pObject = std::dynamic_pointer_cast<CDrawableGeometry>(pObjects->GetObject(i)))
            vctObjects.push_back(std::move(pObject));
    }
    for (const std::shared_ptr<CDrawableGeometry>& pObject : vctObjects)
    {
        bool bBound = false;
        const int nRoiID = pObject->GetExtraInfo().toInt(&bBound);
        if (pObject->GetExtraInfo().isNull() || !bBound)
            continue;
        const auto itRow = mapRowClasses.find(nRoiID);
        if (itRow == mapRowClasses.end())
        {
            // Its row is gone already: unbound, its removal deletes no row.
            pObject->SetExtraInfo(QVariant());
            pWorkspace->Delete2DDrawableObject(nViewID, pObject->GetUID());
            continue;
        }
        const auto itName = mapNames.find(itRow->second);
        CRoiBoxRows::ShowClass(*pObject, itName == mapNames.end() ? QString() : itName->second);
    }
    pViewer->GetCanvasController()->RepaintCanvas();
}
