#pragma once

#include <QString>

#include <map>
#include <memory>
#include <vector>

class CDatasetROIRecord;
class CDrawableObject;

// Whether the objects a canvas kept with the parked undo history of a project image still are that image's rows: each
// a geometry bound to its own row, with the row's box and the name of the row's class, and no row left over. Only then
// may the history's commands apply to the image again; rows changed meanwhile (a class deleted, an import, an edit on
// another view) make the history stale.
class CRoiHistoryMatch
{
public:
    // mapNames: class ID to name.
    static bool Matches(const std::vector<std::shared_ptr<CDrawableObject>>& vctObjects,
                        const std::vector<std::shared_ptr<CDatasetROIRecord>>& vctRows,
                        const std::map<int, QString>& mapNames);
};
