#pragma once

#include <QString>

#include <map>

class CImageWorkspaceController;

// The boxes a project view shows, made to show what the rows of its image hold: after the project file changed the rows
// behind the boxes' back, and for a box whose class is gone.
class CShownRows
{
public:
    // On view nViewID: a box bound to a row (its extra information) that is not in mapRowClasses (row ID to class
    // ID) is unbound, having no row, and leaves the view without an undo step; every other bound box shows its row's
    // class name from mapNames (ID to name), which its row holds already.
    static void Follow(CImageWorkspaceController* pWorkspace, int nViewID, const std::map<int, int>& mapRowClasses,
                       const std::map<int, QString>& mapNames);
};
