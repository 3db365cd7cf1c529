#pragma once

#include <QString>

#include <array>
#include <cstddef>
#include <unordered_map>
#include <vector>

class CDatabase;

// Every image row (ID, name, stored size) and every ROI (class, box in image pixels) of the project file, read by
// column in one select per table, with the ROIs grouped by image in the order the table gives them: the same rows in
// the same order as one select per image, without a round trip or a record per row. The passes that touch every box
// (the validation, the build) read it once and share it.
class CProjectBoxTable
{
public:
    // False when a table could not be read (FailedTable names it); the table is then empty. The stored paths are read
    // only when asked for.
    bool Read(CDatabase* pDatabase, bool bWithPaths = false);
    QString FailedTable() const { return m_strFailedTable; }

    size_t ImageCount() const { return m_vctImageIDs.size(); }
    // The slot of the image row with that ID, or -1.
    long SlotOf(int nImageID) const;
    int ImageID(size_t nSlot) const { return m_vctImageIDs[nSlot]; }
    const QString& Name(size_t nSlot) const { return m_vctNames[nSlot]; }
    // Empty unless read with the paths.
    const QString& FullPath(size_t nSlot) const { return m_vctFullPaths[nSlot]; }
    // As the image's record reads them (CDatasetImageRecord::SizeOfCell).
    unsigned int Width(size_t nSlot) const { return m_vctWidths[nSlot]; }
    unsigned int Height(size_t nSlot) const { return m_vctHeights[nSlot]; }

    // The ROIs of an image slot are Roi(n) for n from FirstRoi(slot) up to EndRoi(slot).
    size_t FirstRoi(size_t nSlot) const { return m_vctFirst[nSlot]; }
    size_t EndRoi(size_t nSlot) const { return m_vctFirst[nSlot + 1]; }
    size_t Roi(size_t n) const { return m_vctOrder[n]; }
    // Every ROI row, also one whose image has no row.
    size_t RoiCount() const { return m_vctCategoryIDs.size(); }
    int CategoryID(size_t nRoi) const { return m_vctCategoryIDs[nRoi]; }
    // X, Y, width, height: NaN for a cell that is NULL or text that is no number.
    double Box(size_t nRoi, size_t nCoordinate) const { return m_arrBoxes[nCoordinate][nRoi]; }

private:
    void Clear();

    QString m_strFailedTable;
    std::vector<int> m_vctImageIDs;
    std::vector<QString> m_vctNames;
    std::vector<QString> m_vctFullPaths;
    std::vector<unsigned int> m_vctWidths;
    std::vector<unsigned int> m_vctHeights;
    std::unordered_map<int, size_t> m_mapSlots;
    std::vector<int> m_vctCategoryIDs;
    std::array<std::vector<double>, 4> m_arrBoxes;
    // One more entry than slots; ROIs whose image has no row are in none.
    std::vector<size_t> m_vctFirst;
    std::vector<size_t> m_vctOrder;
};
