#include "project/images/CImageValidation.h"

#include "database/CColumnSelect.h"
#include "database/CDatabase.h"
#include "frame/CLogger.h"
#include "project/CProjectModel.h"
#include "project/build/CBuildOutcome.h"
#include "project/classes/CProjectCategories.h"
#include "project/store/CBoxRule.h"
#include "project/store/CDatasetImageEntry.h"
#include "project/store/CDatasetImageRecord.h"
#include "project/store/CDatasetROIRecord.h"
#include "project/store/CSafeName.h"

#include <array>
#include <climits>
#include <cmath>
#include <map>
#include <unordered_map>

namespace
{
// A negative size reads as none; so does one too large for the trainer's integers.
bool HasSize(qint64 nWidth, qint64 nHeight)
{
    return nWidth > 0 && nHeight > 0 && nWidth <= INT_MAX && nHeight <= INT_MAX;
}

// The ROIs of the selected rows by column: the class, the box in image pixels (NaN for a coordinate stored as text or
// NULL, which a silent 0 would turn into a box) and, when every ROI is read, the image.
struct SRoiColumns
{
    std::vector<int> vctImageIDs;
    std::vector<int> vctCategoryIDs;
    std::array<std::vector<double>, 4> arrBoxes;

    bool Read(CDatabase* pDatabase, const std::map<QString, QVariant>& mapWhere)
    {
        CColumnSelect select(CDatasetROIRecord::TABLE_NAME, mapWhere);
        if (mapWhere.empty())
            select.AddInteger(CDatasetROIRecord::COLUMN_IMAGE_ID, &vctImageIDs);
        select.AddInteger(CDatasetROIRecord::COLUMN_CATEGORY_ID, &vctCategoryIDs);
        select.AddReal(CDatasetROIRecord::COLUMN_X, &arrBoxes[0]);
        select.AddReal(CDatasetROIRecord::COLUMN_Y, &arrBoxes[1]);
        select.AddReal(CDatasetROIRecord::COLUMN_WIDTH, &arrBoxes[2]);
        select.AddReal(CDatasetROIRecord::COLUMN_HEIGHT, &arrBoxes[3]);
        return select.Run(pDatabase);
    }
    // Without image size every box is unusable: its label lines would divide by the size.
    bool IsUsable(size_t nRow, qint64 nWidth, qint64 nHeight) const
    {
        return HasSize(nWidth, nHeight) &&
               CBoxRule::IsUsableInPixels(arrBoxes[0][nRow], arrBoxes[1][nRow], arrBoxes[2][nRow], arrBoxes[3][nRow],
                                          static_cast<double>(nWidth), static_cast<double>(nHeight));
    }
};

// The stored size of every image (or of the one image the WHERE map selects), by ID.
struct SImageSizes
{
    std::vector<int> vctIDs;
    std::vector<qint64> vctWidths;
    std::vector<qint64> vctHeights;

    bool Read(CDatabase* pDatabase, const std::map<QString, QVariant>& mapWhere)
    {
        CColumnSelect select(CDatasetImageRecord::TABLE_NAME, mapWhere);
        select.AddInteger(CDatasetImageRecord::COLUMN_ID, &vctIDs);
        select.AddInteger64(CDatasetImageRecord::COLUMN_WIDTH, &vctWidths);
        select.AddInteger64(CDatasetImageRecord::COLUMN_HEIGHT, &vctHeights);
        return select.Run(pDatabase);
    }
};
} // namespace

CImageValidation::CImageValidation(CDatabase* pDatabase) : m_pDatabase(pDatabase) {}

bool CImageValidation::ReadFailed(const QString& strTable) const
{
    // An unread table is no empty one: with the disk full every image would be taken for one without boxes.
    CLogger::Write(ELogLevel_Error, "Validate: cannot read the table %s", strTable.toUtf8().constData());
    if (m_pOutcome)
        m_pOutcome->Add(CBuildOutcome::EReason_Failed, "cannot read the table " + strTable);
    return false;
}

bool CImageValidation::Apply(const std::shared_ptr<CDatasetImageEntry>& pEntry, const int* pRoiCategoryIDs,
                             size_t nRois, int nUnusableBoxes, bool bHasSize, const CProjectCategories& categories)
{
    const bool bNoBoxes = nRois == 0;
    bool bClassGone = false;
    for (size_t i = 0; i < nRois; ++i)
    {
        if (!categories.Contains(pRoiCategoryIDs[i]))
            bClassGone = true;
    }
    const bool bValid = !bNoBoxes && !bClassGone && nUnusableBoxes == 0;
    pEntry->SetValidation(bValid);
    if (!bValid)
    {
        // A name from a project file may hold a newline: the line stays one line.
        const QString strShown = CSafeName::Shown(pEntry->GetName());
        const QByteArray baName = strShown.toUtf8();
        CLogger::Write(ELogLevel_Error, "Validate: need to update class name for image %s", baName.constData());
        // The line above has always been written for every reason; the ones below say which it is.
        if (bNoBoxes)
            CLogger::Write(ELogLevel_Error, "Validate: image %s has no boxes", baName.constData());
        if (bClassGone)
            CLogger::Write(ELogLevel_Error, "Validate: image %s has boxes whose class was deleted", baName.constData());
        if (nUnusableBoxes > 0 && !bHasSize)
            CLogger::Write(ELogLevel_Error, "Validate: image %s has no size", baName.constData());
        else if (nUnusableBoxes > 0)
            CLogger::Write(ELogLevel_Error,
                           "Validate: image %s has %d boxes that are not numbers, have no size or lie outside it",
                           baName.constData(), nUnusableBoxes);
        if (m_pOutcome)
        {
            if (bNoBoxes)
                m_pOutcome->Add(CBuildOutcome::EReason_NoBoxes, strShown);
            if (bClassGone)
                m_pOutcome->Add(CBuildOutcome::EReason_ClassGone, strShown);
            if (nUnusableBoxes > 0)
                m_pOutcome->Add(CBuildOutcome::EReason_BadNumbers, strShown);
        }
    }
    return bValid;
}

bool CImageValidation::ValidateImage(const std::shared_ptr<CDatasetImageEntry>& pEntry,
                                     const CProjectCategories& categories)
{
    if (!pEntry || !m_pDatabase)
        return false;
    // Only the classes and coordinates of the image's ROIs matter: columns, not a record per ROI, keep a revalidation
    // after each edit cheap on images with thousands of boxes, and show a coordinate that is no number as it is. The
    // size is the stored one, which the build divides by.
    SRoiColumns rois;
    SImageSizes sizes;
    if (!rois.Read(m_pDatabase, {{CDatasetROIRecord::COLUMN_IMAGE_ID, pEntry->GetImageID()}}))
        return ReadFailed(CDatasetROIRecord::TABLE_NAME);
    if (!sizes.Read(m_pDatabase, {{CDatasetImageRecord::COLUMN_ID, pEntry->GetImageID()}}))
        return ReadFailed(CDatasetImageRecord::TABLE_NAME);
    const qint64 nWidth = sizes.vctWidths.empty() ? 0 : sizes.vctWidths.front();
    const qint64 nHeight = sizes.vctHeights.empty() ? 0 : sizes.vctHeights.front();
    int nUnusable = 0;
    for (size_t nRow = 0; nRow < rois.vctCategoryIDs.size(); ++nRow)
        nUnusable += rois.IsUsable(nRow, nWidth, nHeight) ? 0 : 1;
    return Apply(pEntry, rois.vctCategoryIDs.data(), rois.vctCategoryIDs.size(), nUnusable, HasSize(nWidth, nHeight),
                 categories);
}

bool CImageValidation::ValidateAll(const std::vector<std::shared_ptr<CDatasetImageEntry>>& vctTrain,
                                   const std::vector<std::shared_ptr<CDatasetImageEntry>>& vctTest)
{
    if (!m_pDatabase)
        return false;
    const CProjectCategories categories(m_pDatabase);
    if (!categories.IsRead())
        return ReadFailed(CProjectCategories::Table());

    // One select of all ROIs and one of all image sizes instead of one per image: a project of many thousand images
    // would otherwise spend most of its opening time in round trips. The grouping gives each image exactly the rows
    // its own select would, in the same order: the ROIs of image slot k are vctOrder[vctFirst[k]] up to
    // vctOrder[vctFirst[k + 1]], with no list per image.
    SRoiColumns rois;
    SImageSizes sizes;
    std::unordered_map<int, size_t> mapSlot;
    std::vector<size_t> vctFirst(1, 0);
    std::vector<size_t> vctOrder;
    if (!vctTrain.empty() || !vctTest.empty())
    {
        if (!rois.Read(m_pDatabase, {}))
            return ReadFailed(CDatasetROIRecord::TABLE_NAME);
        if (!sizes.Read(m_pDatabase, {}))
            return ReadFailed(CDatasetImageRecord::TABLE_NAME);
        mapSlot.reserve(sizes.vctIDs.size());
        for (size_t i = 0; i < sizes.vctIDs.size(); ++i)
            mapSlot.emplace(sizes.vctIDs[i], i);
        // A ROI whose image has no row counts in the slot past the last image, which no entry asks for.
        const size_t nNoImage = sizes.vctIDs.size();
        std::vector<size_t> vctSlotOf(rois.vctImageIDs.size());
        vctFirst.assign(nNoImage + 3, 0);
        for (size_t i = 0; i < rois.vctImageIDs.size(); ++i)
        {
            const auto it = mapSlot.find(rois.vctImageIDs[i]);
            vctSlotOf[i] = it == mapSlot.end() ? nNoImage : it->second;
            ++vctFirst[vctSlotOf[i] + 2];
        }
        for (size_t i = 2; i < vctFirst.size(); ++i)
            vctFirst[i] += vctFirst[i - 1];
        vctOrder.resize(rois.vctImageIDs.size());
        for (size_t i = 0; i < vctSlotOf.size(); ++i)
            vctOrder[vctFirst[vctSlotOf[i] + 1]++] = i;
    }

    std::vector<int> vctCategoryIDs;
    bool bAllValid = true;
    for (const std::vector<std::shared_ptr<CDatasetImageEntry>>* pList : {&vctTrain, &vctTest})
    {
        for (const std::shared_ptr<CDatasetImageEntry>& pEntry : *pList)
        {
            if (!pEntry)
                continue;
            const auto it = mapSlot.find(pEntry->GetImageID());
            vctCategoryIDs.clear();
            qint64 nWidth = 0;
            qint64 nHeight = 0;
            int nUnusable = 0;
            if (it != mapSlot.end())
            {
                nWidth = sizes.vctWidths[it->second];
                nHeight = sizes.vctHeights[it->second];
                for (size_t n = vctFirst[it->second]; n < vctFirst[it->second + 1]; ++n)
                {
                    vctCategoryIDs.push_back(rois.vctCategoryIDs[vctOrder[n]]);
                    nUnusable += rois.IsUsable(vctOrder[n], nWidth, nHeight) ? 0 : 1;
                }
            }
            if (!Apply(pEntry, vctCategoryIDs.data(), vctCategoryIDs.size(), nUnusable, HasSize(nWidth, nHeight),
                       categories))
                bAllValid = false;
        }
    }
    return bAllValid;
}

bool CImageValidation::ValidateImageOf(const CProjectModel& model, int nImageID)
{
    if (!m_pDatabase)
        return false;
    const CProjectCategories categories(m_pDatabase);
    if (!categories.IsRead())
        return ReadFailed(CProjectCategories::Table());
    std::shared_ptr<CDatasetImageEntry> pEntry = model.FindTrainImage(nImageID);
    if (!pEntry)
        pEntry = model.FindTestImage(nImageID);
    if (!pEntry)
        return false;
    return ValidateImage(pEntry, categories);
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
