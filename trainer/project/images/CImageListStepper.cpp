#include "project/images/CImageListStepper.h"

#include "database/CColumnSelect.h"
#include "project/CProjectModel.h"
#include "project/store/CDatasetImageEntry.h"
#include "project/store/CDatasetROIRecord.h"

#include <algorithm>
#include <unordered_set>
#include <vector>

std::shared_ptr<CDatasetImageEntry> CImageListStepper::Step(const CProjectModel& model, CDatabase* pDatabase,
                                                            int nImageID, int nStep, bool bWithoutBoxes)
{
    if (nStep == 0)
        return nullptr;
    const auto isCurrent = [nImageID](const std::shared_ptr<CDatasetImageEntry>& pEntry)
    { return pEntry->GetImageID() == nImageID; };
    const CProjectModel::EntryList* pList = &model.GetTrainImages();
    auto itCurrent = std::find_if(pList->begin(), pList->end(), isCurrent);
    if (itCurrent == pList->end())
    {
        pList = &model.GetTestImages();
        itCurrent = std::find_if(pList->begin(), pList->end(), isCurrent);
        if (itCurrent == pList->end())
            return nullptr;
    }
    const CProjectModel::EntryList& vctList = *pList;
    const long nCount = static_cast<long>(vctList.size());
    long nTarget = static_cast<long>(itCurrent - vctList.begin()) + nStep;
    if (!bWithoutBoxes || !pDatabase)
        return nTarget < 0 || nTarget >= nCount ? nullptr : vctList[static_cast<size_t>(nTarget)];

    // The images ahead are asked in growing batches which of them have rows: the cost follows the distance to the
    // next image without boxes, not the size of the project, and no query is sent per image.
    const long nDirection = nStep > 0 ? 1 : -1;
    size_t nBatch = 64;
    while (nTarget >= 0 && nTarget < nCount)
    {
        std::vector<int> vctIDs;
        for (long n = nTarget; n >= 0 && n < nCount && vctIDs.size() < nBatch; n += nDirection)
            vctIDs.push_back(vctList[static_cast<size_t>(n)]->GetImageID());
        std::vector<int> vctWithRows;
        CColumnSelect select(CDatasetROIRecord::TABLE_NAME);
        select.AddWhereIn(CDatasetROIRecord::COLUMN_IMAGE_ID, vctIDs);
        select.AddInteger(CDatasetROIRecord::COLUMN_IMAGE_ID, &vctWithRows);
        // Without the answer, no image can be said to have no boxes.
        if (!select.Run(pDatabase))
            return nullptr;
        const std::unordered_set<int> setWithRows(vctWithRows.begin(), vctWithRows.end());
        for (const int nID : vctIDs)
        {
            if (!setWithRows.count(nID))
                return vctList[static_cast<size_t>(nTarget)];
            nTarget += nDirection;
        }
        nBatch = std::min<size_t>(nBatch * 2, 8192);
    }
    return nullptr;
}
