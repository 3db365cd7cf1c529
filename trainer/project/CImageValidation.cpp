#include "project/CImageValidation.h"

#include "database/CDatabase.h"
#include "frame/CLogger.h"
#include "project/CBuildOutcome.h"
#include "project/CCategoryRecord.h"
#include "project/CDatasetImageEntry.h"
#include "project/CDatasetROIRecord.h"
#include "project/CProjectModel.h"
#include "project/CSafeName.h"

#include <algorithm>
#include <unordered_map>

namespace
{
std::vector<int> SortedCategoryIDs(const std::vector<std::shared_ptr<CDatabaseRecord>>& vctCategories)
{
    std::vector<int> vctIDs;
    vctIDs.reserve(vctCategories.size());
    for (const std::shared_ptr<CDatabaseRecord>& pRecord : vctCategories)
    {
        if (pRecord)
            vctIDs.push_back(pRecord->GetID());
    }
    std::sort(vctIDs.begin(), vctIDs.end());
    return vctIDs;
}
} // namespace

CImageValidation::CImageValidation(CDatabase* pDatabase) : m_pDatabase(pDatabase) {}

bool CImageValidation::Apply(const std::shared_ptr<CDatasetImageEntry>& pEntry,
                             const std::vector<int>& vctRoiCategoryIDs, const std::vector<int>& vctCategoryIDs)
{
    bool bValid = !vctRoiCategoryIDs.empty();
    for (int nCategoryID : vctRoiCategoryIDs)
    {
        if (!std::binary_search(vctCategoryIDs.begin(), vctCategoryIDs.end(), nCategoryID))
            bValid = false;
    }
    pEntry->SetValidation(bValid);
    if (!bValid)
    {
        // A name from a project file may hold a newline: the line stays one line.
        const QString strShown = CSafeName::Shown(pEntry->GetName());
        const QByteArray baName = strShown.toUtf8();
        CLogger::Write(ELogLevel_Error, "Validate: need to update class name for image %s", baName.constData());
        // The line above has always been written for both reasons; this one says which it is.
        const bool bNoBoxes = vctRoiCategoryIDs.empty();
        CLogger::Write(ELogLevel_Error,
                       bNoBoxes ? "Validate: image %s has no boxes"
                                : "Validate: image %s has boxes whose class was deleted",
                       baName.constData());
        if (m_pOutcome)
            m_pOutcome->Add(bNoBoxes ? CBuildOutcome::EReason_NoBoxes : CBuildOutcome::EReason_ClassGone, strShown);
    }
    return bValid;
}

bool CImageValidation::ValidateImage(const std::shared_ptr<CDatasetImageEntry>& pEntry,
                                     const std::vector<std::shared_ptr<CDatabaseRecord>>& vctCategories)
{
    if (!pEntry || !m_pDatabase)
        return false;
    // Only the classes of the image's ROIs matter: one column, not a record per ROI, keeps a revalidation after each
    // edit cheap on images with thousands of boxes.
    std::vector<QVariant> vctValues;
    m_pDatabase->SelectColumn(CDatasetROIRecord::TABLE_NAME, CDatasetROIRecord::COLUMN_CATEGORY_ID,
                              {{CDatasetROIRecord::COLUMN_IMAGE_ID, pEntry->GetImageID()}}, vctValues);
    std::vector<int> vctRoiCategoryIDs;
    vctRoiCategoryIDs.reserve(vctValues.size());
    for (const QVariant& value : vctValues)
        vctRoiCategoryIDs.push_back(value.toInt());
    return Apply(pEntry, vctRoiCategoryIDs, SortedCategoryIDs(vctCategories));
}

bool CImageValidation::ValidateAll(const std::vector<std::shared_ptr<CDatasetImageEntry>>& vctTrain,
                                   const std::vector<std::shared_ptr<CDatasetImageEntry>>& vctTest)
{
    if (!m_pDatabase)
        return false;
    std::vector<std::shared_ptr<CDatabaseRecord>> vctRecords;
    m_pDatabase->SelectFromTable(CCategoryRecord::TABLE_NAME, vctRecords, {});
    const std::vector<int> vctCategoryIDs = SortedCategoryIDs(vctRecords);

    // One select of all ROIs instead of one per image: a project of many thousand images would otherwise spend
    // most of its opening time in round trips. The grouping gives each image exactly the rows its own select would.
    std::unordered_map<int, std::vector<int>> mapImageCategories;
    if (!vctTrain.empty() || !vctTest.empty())
    {
        vctRecords.clear();
        m_pDatabase->SelectFromTable(CDatasetROIRecord::TABLE_NAME, vctRecords, {});
        for (const std::shared_ptr<CDatabaseRecord>& pRecord : vctRecords)
        {
            if (const auto pRoi = std::dynamic_pointer_cast<CDatasetROIRecord>(pRecord))
                mapImageCategories[pRoi->GetImageID()].push_back(pRoi->GetCategoryID());
        }
        vctRecords.clear();
    }

    const std::vector<int> vctNone;
    bool bAllValid = true;
    for (const std::vector<std::shared_ptr<CDatasetImageEntry>>* pList : {&vctTrain, &vctTest})
    {
        for (const std::shared_ptr<CDatasetImageEntry>& pEntry : *pList)
        {
            if (!pEntry)
                continue;
            const auto it = mapImageCategories.find(pEntry->GetImageID());
            if (!Apply(pEntry, it == mapImageCategories.end() ? vctNone : it->second, vctCategoryIDs))
                bAllValid = false;
        }
    }
    return bAllValid;
}

bool CImageValidation::ValidateImageOf(const CProjectModel& model, int nImageID)
{
    if (!m_pDatabase)
        return false;
    std::vector<std::shared_ptr<CDatabaseRecord>> vctCategories;
    m_pDatabase->SelectFromTable(CCategoryRecord::TABLE_NAME, vctCategories, {});
    std::shared_ptr<CDatasetImageEntry> pEntry = model.FindTrainImage(nImageID);
    if (!pEntry)
        pEntry = model.FindTestImage(nImageID);
    if (!pEntry)
        return false;
    return ValidateImage(pEntry, vctCategories);
}

bool CImageValidation::ValidateProject(const CProjectModel& model)
{
    const bool bAllValid = ValidateAll(model.GetTrainImages(), model.GetTestImages());
    if (bAllValid)
        CLogger::Write(ELogLevel_Normal, "Validate ROI OK");
    else
        CLogger::Write(ELogLevel_Error, "Validate ROI Error");
    return bAllValid;
}
