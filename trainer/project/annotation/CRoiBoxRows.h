#pragma once

#include "project/annotation/CRoiRows.h"

#include <QString>

#include <map>
#include <memory>
#include <unordered_set>
#include <vector>

class CDatabase;
class CDatasetROIRecord;
class CDrawableGeometry;
class IRoiAnnotationHost;

// The row side of the annotation: keeps each box of a project image and its dataset_roi row equal, with no view or
// workspace in sight. A box is a geometry object bound to its row by the row ID in its extra information; a box made
// from a row arrives bound, so that its add is known to need no write. Which image a box is on, and removing a box
// from its view, are the caller's.
//
// Every write goes through CRoiRows and logs; a box that cannot get its row is reported to the caller, which takes it
// off the screen, so that the screen never shows what the file does not hold.
class CRoiBoxRows
{
public:
    // The database is not owned and may be null (nothing is then read or written); the host must outlive this.
    CRoiBoxRows(CDatabase* pDatabase, IRoiAnnotationHost& host);

    const CRoiRows& Rows() const { return m_rows; }
    bool HasDatabase() const { return m_rows.HasDatabase(); }

    // The row ID the box is bound to; false for an unbound box.
    static bool BoundRoiID(const CDrawableGeometry& object, int& nRoiID);
    // Names the box after its class. Empty for a class that is gone: the box then shows no name, where the canvas
    // would make one up for an object never named.
    static void ShowClass(CDrawableGeometry& object, const QString& strClass);
    // One rectangle per row, bound to it and named after its class (mapNames: ID to name); those whose class is gone
    // are listed in vctClassless too.
    static std::vector<std::shared_ptr<CDrawableGeometry>>
    BoxesOf(const std::vector<std::shared_ptr<CDatasetROIRecord>>& vctRows, const std::map<int, QString>& mapNames,
            std::vector<std::shared_ptr<CDrawableGeometry>>& vctClassless);

    // A box came onto image nImageID named strName (pObject empty when it is not a geometry). A box bound to a row
    // that is there is that row already and needs nothing. One bound to a row that is gone (undo of a delete, redo
    // of a draw) or unbound with a known class (copied from another image) gets a row of its named class without
    // asking; any other box is asked its class (quick class first) and gets a row of that class. False when the box
    // must leave the screen: the chooser was cancelled or its row could not be written.
    bool Added(int nImageID, const std::shared_ptr<CDrawableGeometry>& pObject, const QString& strName);
    // A bound box is leaving image nImageID: its row goes with it. An unbound box has no row to delete.
    void AboutToBeDeleted(int nImageID, const CDrawableGeometry& object);
    // A bound box on image nImageID changed: its row takes the box and the class its name gives. A row that holds
    // both already needs no write and asks nothing; a box whose row went gets a row again.
    void Changed(int nImageID, CDrawableGeometry& object);
    // Asks the new class of a bound box and writes it into its row; true with the class when the box is to show it
    // (its row holds it, or its row went and it will get one from its next change).
    bool ChooseNewClass(const CDrawableGeometry& object, QString& strClass);
    // Asks the class of each box, bound to a row whose class is gone, and writes the answers into their rows: once
    // an image is shown whole.
    void AskGoneClasses(int nImageID, const std::vector<std::shared_ptr<CDrawableGeometry>>& vctClassless);

    void Validate(int nImageID);

    // The rows just read to show an image: their boxes' adds need no look-up. Forgotten whenever the file may have
    // lost rows behind the boxes' back (a class deletion, a removed image, another project).
    void KnowRows(const std::vector<std::shared_ptr<CDatasetROIRecord>>& vctRows);
    void ForgetKnownRows() { m_setKnownRows.clear(); }

private:
    void AskGoneClass(int nImageID, CDrawableGeometry& object);
    // Names the box (when a name is given) and inserts its row, then binds the box to it; false when the insert
    // failed. Unbound while it is named, the box's change asks for no row.
    bool InsertRow(CDrawableGeometry& object, int nImageID, int nCategoryID, const QString* pName = nullptr);

    CRoiRows m_rows;
    IRoiAnnotationHost& m_host;
    // Rows known to be in the file, read for a view or written here: an image opened with thousands of boxes reads
    // its rows once instead of once more per box.
    std::unordered_set<int> m_setKnownRows;
};
