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
    // The training images, then the test images, as one sequence: a plain step stays within the list of the image, a
    // search for an image without boxes goes on from the end of one list into the other.
    const CProjectModel::EntryList& vctTrain = model.GetTrainImages();
    const CProjectModel::EntryList& vctTest = model.GetTestImages();
    const long nTrainCount = static_cast<long>(vctTrain.size());
    const auto at = [&](long n) { return n < nTrainCount ? vctTrain[size_t(n)] : vctTest[size_t(n - nTrainCount)]; };
    const auto isCurrent = [nImageID](const std::shared_ptr<CDatasetImageEntry>& pEntry)
    { return pEntry->GetImageID() == nImageID; };
    long nBegin = 0;
    long nCount = nTrainCount;
    long nCurrent = std::find_if(vctTrain.begin(), vctTrain.end(), isCurrent) - vctTrain.begin();
    if (nCurrent == nTrainCount)
    {
        nCurrent = std::find_if(vctTest.begin(), vctTest.end(), isCurrent) - vctTest.begin();
        if (nCurrent == static_cast<long>(vctTest.size()))
            return nullptr;
        nCurrent += nTrainCount;
        nBegin = nTrainCount;
        nCount = static_cast<long>(vctTest.size()) + nTrainCount;
    }
    long nTarget = nCurrent + nStep;
    if (!bWithoutBoxes || !pDatabase)
        return nTarget < nBegin || nTarget >= nCount ? nullptr : at(nTarget);
    nBegin = 0;
    nCount = nTrainCount + static_cast<long>(vctTest.size());

    // The images ahead are asked in growing batches which of them have rows: the cost follows the distance to the
    // next image without boxes, not the size of the project, and no query is sent per image.
    const long nDirection = nStep > 0 ? 1 : -1;
    size_t nBatch = 64;
    while (nTarget >= nBegin && nTarget < nCount)
    {
        std::vector<int> vctIDs;
        for (long n = nTarget; n >= nBegin && n < nCount && vctIDs.size() < nBatch; n += nDirection)
            vctIDs.push_back(at(n)->GetImageID());
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
                return at(nTarget);
            nTarget += nDirection;
        }
        nBatch = std::min<size_t>(nBatch * 2, 8192);
    }
    return nullptr;
}
