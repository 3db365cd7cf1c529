#include "project/images/CImageListStepper.h"

#include "database/CDatabase.h"
#include "project/CProjectModel.h"
#include "project/store/CDatasetImageEntry.h"
#include "project/store/CDatasetROIRecord.h"

#include <algorithm>
#include <set>

std::shared_ptr<CDatasetImageEntry> CImageListStepper::Step(const CProjectModel& model, CDatabase* pDatabase,
                                                            int nImageID, int nStep, bool bWithoutBoxes)
{
    if (nStep == 0)
        return nullptr;
    const auto isCurrent = [nImageID](const std::shared_ptr<CDatasetImageEntry>& pEntry)
    { return pEntry->GetImageID() == nImageID; };
    CProjectModel::EntryList vctList = model.GetTrainImages();
    auto itCurrent = std::find_if(vctList.begin(), vctList.end(), isCurrent);
    if (itCurrent == vctList.end())
    {
        vctList = model.GetTestImages();
        itCurrent = std::find_if(vctList.begin(), vctList.end(), isCurrent);
        if (itCurrent == vctList.end())
            return nullptr;
    }
    const long nCount = static_cast<long>(vctList.size());
    long nTarget = static_cast<long>(itCurrent - vctList.begin()) + nStep;
    if (bWithoutBoxes && pDatabase)
    {
        // One select of the images that have rows instead of one per image passed over.
        std::vector<QVariant> vctWithRows;
        pDatabase->SelectColumn(CDatasetROIRecord::TABLE_NAME, CDatasetROIRecord::COLUMN_IMAGE_ID, {}, vctWithRows);
        std::set<int> setWithRows;
        for (const QVariant& value : vctWithRows)
            setWithRows.insert(value.toInt());
        while (nTarget >= 0 && nTarget < nCount &&
               setWithRows.count(vctList[static_cast<size_t>(nTarget)]->GetImageID()))
            nTarget += nStep > 0 ? 1 : -1;
    }
    if (nTarget < 0 || nTarget >= nCount)
        return nullptr;
    return vctList[static_cast<size_t>(nTarget)];
}
