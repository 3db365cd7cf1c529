#pragma once

#include <QString>

#include <map>

class CDrawableGeometry;
class CImageWorkspaceController;

// The boxes a project view shows, made to show what the rows of its image hold: after the project file changed the rows
// behind the boxes' back, and for a box whose class is gone.
class CShownRows
{
public:
    // Names the box after its class. Empty for a class that is gone: the box then shows no name, where the canvas
    // would make one up for an object never named.
    static void ShowClass(CDrawableGeometry& object, const QString& strClass);
    // On view nViewID: a box bound to a row (its extra information) that is not in mapRowClasses (row ID to class
    // ID) leaves the view without an undo step; every other bound box shows its row's class name from mapNames (ID to
    // name). The caller keeps the view's object events from writing meanwhile.
    static void Follow(CImageWorkspaceController* pWorkspace, int nViewID, const std::map<int, int>& mapRowClasses,
                       const std::map<int, QString>& mapNames);
};
