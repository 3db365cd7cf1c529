#pragma once

#include <QString>

#include <map>
#include <memory>
#include <vector>

class CDatasetROIRecord;
class CDrawableObject;
class CImageWorkspaceController;

// The undo histories of project images on the workspace's canvases. A view's canvas keeps the history of each project
// image it showed under the image's ID; a history comes back with its image only while the objects kept with it still
// are the image's rows: each a geometry bound to its own row, with the row's box and the name of the row's class, and
// no row left over. Rows changed meanwhile (a class renamed, an import, an edit on another view) make it stale.
class CRoiHistories
{
public:
    // For image nImageID just opened on view nViewID, before its rows are shown: brings its history back with its
    // objects when they still are the rows (true), else drops it. The image's histories on other views are dropped
    // either way: their commands hold those views' objects.
    static bool Resume(CImageWorkspaceController* pWorkspace, int nViewID, int nImageID,
                       const std::vector<std::shared_ptr<CDatasetROIRecord>>& vctRows,
                       const std::map<int, QString>& mapNames);
    // The view's history is the image's from now on.
    static void Keep(CImageWorkspaceController* pWorkspace, int nViewID, int nImageID);
    // Drops the image's histories on every view.
    static void Forget(CImageWorkspaceController* pWorkspace, int nImageID);
    // Drops every project image's history on every view.
    static void ForgetAll(CImageWorkspaceController* pWorkspace);

private:
    // mapNames: class ID to name.
    static bool Matches(const std::vector<std::shared_ptr<CDrawableObject>>& vctObjects,
                        const std::vector<std::shared_ptr<CDatasetROIRecord>>& vctRows,
                        const std::map<int, QString>& mapNames);
};
