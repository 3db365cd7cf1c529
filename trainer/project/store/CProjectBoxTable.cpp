#include "project/store/CProjectBoxTable.h"

#include "database/CColumnSelect.h"
#include "project/store/CDatasetImageRecord.h"
#include "project/store/CDatasetROIRecord.h"

void CProjectBoxTable::Clear()
{
    *this = CProjectBoxTable();
}

long CProjectBoxTable::SlotOf(int nImageID) const
{
    const auto it = m_mapSlots.find(nImageID);
    return it == m_mapSlots.end() ? -1 : static_cast<long>(it->second);
}

bool CProjectBoxTable::Read(CDatabase* pDatabase, bool bWithPaths)
{
    Clear();
    CColumnSelect images(CDatasetImageRecord::TABLE_NAME);
    images.AddInteger(CDatasetImageRecord::COLUMN_ID, &m_vctImageIDs);
    images.AddText(CDatasetImageRecord::COLUMN_NAME, &m_vctNames);
    std::vector<double> vctWidths;
    std::vector<double> vctHeights;
    images.AddReal(CDatasetImageRecord::COLUMN_WIDTH, &vctWidths);
    images.AddReal(CDatasetImageRecord::COLUMN_HEIGHT, &vctHeights);
    if (bWithPaths)
        images.AddText(CDatasetImageRecord::COLUMN_FULL_PATH, &m_vctFullPaths);
    std::vector<int> vctRoiImageIDs;
    CColumnSelect rois(CDatasetROIRecord::TABLE_NAME);
    rois.AddInteger(CDatasetROIRecord::COLUMN_IMAGE_ID, &vctRoiImageIDs);
    rois.AddInteger(CDatasetROIRecord::COLUMN_CATEGORY_ID, &m_vctCategoryIDs);
    rois.AddReal(CDatasetROIRecord::COLUMN_X, &m_arrBoxes[0]);
    rois.AddReal(CDatasetROIRecord::COLUMN_Y, &m_arrBoxes[1]);
    rois.AddReal(CDatasetROIRecord::COLUMN_WIDTH, &m_arrBoxes[2]);
    rois.AddReal(CDatasetROIRecord::COLUMN_HEIGHT, &m_arrBoxes[3]);
    for (const auto& sSelect : {std::make_pair(&images, &CDatasetImageRecord::TABLE_NAME),
                                std::make_pair(&rois, &CDatasetROIRecord::TABLE_NAME)})
    {
        if (!sSelect.first->Run(pDatabase))
        {
            Clear();
            m_strFailedTable = *sSelect.second;
            return false;
        }
    }

    if (!bWithPaths)
        m_vctFullPaths.resize(m_vctImageIDs.size());
    m_vctWidths.reserve(vctWidths.size());
    m_vctHeights.reserve(vctHeights.size());
    for (size_t i = 0; i < vctWidths.size(); ++i)
    {
        m_vctWidths.push_back(CDatasetImageRecord::SizeOfCell(vctWidths[i]));
        m_vctHeights.push_back(CDatasetImageRecord::SizeOfCell(vctHeights[i]));
    }
    // A counting sort by image slot keeps the table's order within each image.
    const size_t nImages = m_vctImageIDs.size();
    m_mapSlots.reserve(nImages);
    for (size_t i = 0; i < nImages; ++i)
        m_mapSlots.emplace(m_vctImageIDs[i], i);
    const size_t nRois = vctRoiImageIDs.size();
    std::vector<size_t> vctSlotOf(nRois);
    m_vctFirst.assign(nImages + 3, 0);
    for (size_t i = 0; i < nRois; ++i)
    {
        const auto it = m_mapSlots.find(vctRoiImageIDs[i]);
        vctSlotOf[i] = it == m_mapSlots.end() ? nImages : it->second;
        ++m_vctFirst[vctSlotOf[i] + 2];
    }
    for (size_t i = 2; i < m_vctFirst.size(); ++i)
        m_vctFirst[i] += m_vctFirst[i - 1];
    m_vctOrder.resize(nRois);
    for (size_t i = 0; i < nRois; ++i)
        m_vctOrder[m_vctFirst[vctSlotOf[i] + 1]++] = i;
    // Entries 0 .. nImages now start each slot; the one past holds the ROIs without image row.
    m_vctFirst.resize(nImages + 1);
    return true;
}
