#include "project/images/CImageValidation.h"

#include "database/CColumnSelect.h"
#include "database/CDatabase.h"
#include "frame/CLogger.h"
#include "project/CProjectModel.h"
#include "project/build/CBuildOutcome.h"
#include "project/classes/CProjectCategories.h"
#include "project/settings/CProjectProperties.h"
#include "project/store/CBoxRule.h"
#include "project/store/CDatasetImageEntry.h"
#include "project/store/CDatasetImageRecord.h"
#include "project/store/CDatasetROIRecord.h"
#include "project/store/CProjectBoxTable.h"
#include "project/store/CSafeName.h"

#include <array>
#include <climits>
#include <cmath>
#include <map>

namespace
{
// A negative size reads as none; so does one too large for the trainer's integers.
bool HasSize(qint64 nWidth, qint64 nHeight)
{
    return nWidth > 0 && nHeight > 0 && nWidth <= INT_MAX && nHeight <= INT_MAX;
}

// Without image size every box is unusable: its label lines would divide by the size.
bool IsUsable(double dblX, double dblY, double dblWidth, double dblHeight, qint64 nWidth, qint64 nHeight)
{
    return HasSize(nWidth, nHeight) &&
           CBoxRule::IsUsableInPixels(dblX, dblY, dblWidth, dblHeight, static_cast<double>(nWidth),
                                      static_cast<double>(nHeight));
}

// The ROIs of one image by column: the class and the box in image pixels (NaN for a coordinate stored as text or
// NULL, which a silent 0 would turn into a box).
struct SRoiColumns
{
    std::vector<int> vctCategoryIDs;
    std::array<std::vector<double>, 4> arrBoxes;

    bool Read(CDatabase* pDatabase, const std::map<QString, QVariant>& mapWhere)
    {
        CColumnSelect select(CDatasetROIRecord::TABLE_NAME, mapWhere);
        select.AddInteger(CDatasetROIRecord::COLUMN_CATEGORY_ID, &vctCategoryIDs);
        select.AddReal(CDatasetROIRecord::COLUMN_X, &arrBoxes[0]);
        select.AddReal(CDatasetROIRecord::COLUMN_Y, &arrBoxes[1]);
        select.AddReal(CDatasetROIRecord::COLUMN_WIDTH, &arrBoxes[2]);
        select.AddReal(CDatasetROIRecord::COLUMN_HEIGHT, &arrBoxes[3]);
        return select.Run(pDatabase);
    }
};

// The stored size of the image the WHERE map selects, as its record reads it.
struct SImageSizes
{
    std::vector<double> vctWidths;
    std::vector<double> vctHeights;

    bool Read(CDatabase* pDatabase, const std::map<QString, QVariant>& mapWhere)
    {
        CColumnSelect select(CDatasetImageRecord::TABLE_NAME, mapWhere);
        select.AddReal(CDatasetImageRecord::COLUMN_WIDTH, &vctWidths);
        select.AddReal(CDatasetImageRecord::COLUMN_HEIGHT, &vctHeights);
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
    const bool bNoBoxes = nRois == 0 && !m_bAllowNoBoxes;
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
    const qint64 nWidth = sizes.vctWidths.empty() ? 0 : CDatasetImageRecord::SizeOfCell(sizes.vctWidths.front());
    const qint64 nHeight = sizes.vctHeights.empty() ? 0 : CDatasetImageRecord::SizeOfCell(sizes.vctHeights.front());
    int nUnusable = 0;
    for (size_t nRow = 0; nRow < rois.vctCategoryIDs.size(); ++nRow)
        nUnusable += IsUsable(rois.arrBoxes[0][nRow], rois.arrBoxes[1][nRow], rois.arrBoxes[2][nRow],
                              rois.arrBoxes[3][nRow], nWidth, nHeight)
                         ? 0
                         : 1;
    return Apply(pEntry, rois.vctCategoryIDs.data(), rois.vctCategoryIDs.size(), nUnusable, HasSize(nWidth, nHeight),
                 categories);
}

bool CImageValidation::ValidateAll(const std::vector<std::shared_ptr<CDatasetImageEntry>>& vctTrain,
                                   const std::vector<std::shared_ptr<CDatasetImageEntry>>& vctTest)
{
    // One select of all ROIs and one of all images instead of one per image: a project of many thousand images would
    // otherwise spend most of its opening time in round trips.
    CProjectBoxTable table;
    if ((!vctTrain.empty() || !vctTest.empty()) && m_pDatabase && !table.Read(m_pDatabase))
        return ReadFailed(table.FailedTable());
    return ValidateAll(vctTrain, vctTest, table);
}

bool CImageValidation::ValidateAll(const std::vector<std::shared_ptr<CDatasetImageEntry>>& vctTrain,
                                   const std::vector<std::shared_ptr<CDatasetImageEntry>>& vctTest,
                                   const CProjectBoxTable& table)
{
    if (!m_pDatabase)
        return false;
    const CProjectCategories categories(m_pDatabase);
    if (!categories.IsRead())
        return ReadFailed(CProjectCategories::Table());

    std::vector<int> vctCategoryIDs;
    bool bAllValid = true;
    for (const std::vector<std::shared_ptr<CDatasetImageEntry>>* pList : {&vctTrain, &vctTest})
    {
        for (const std::shared_ptr<CDatasetImageEntry>& pEntry : *pList)
        {
            if (!pEntry)
                continue;
            const long nSlot = table.SlotOf(pEntry->GetImageID());
            vctCategoryIDs.clear();
            qint64 nWidth = 0;
            qint64 nHeight = 0;
            int nUnusable = 0;
            if (nSlot >= 0)
            {
                const size_t nImage = static_cast<size_t>(nSlot);
                nWidth = table.Width(nImage);
                nHeight = table.Height(nImage);
                for (size_t n = table.FirstRoi(nImage); n < table.EndRoi(nImage); ++n)
                {
                    const size_t nRoi = table.Roi(n);
                    vctCategoryIDs.push_back(table.CategoryID(nRoi));
                    nUnusable += IsUsable(table.Box(nRoi, 0), table.Box(nRoi, 1), table.Box(nRoi, 2),
                                          table.Box(nRoi, 3), nWidth, nHeight)
                                     ? 0
                                     : 1;
                }
            }
            if (!Apply(pEntry, vctCategoryIDs.data(), vctCategoryIDs.size(), nUnusable, HasSize(nWidth, nHeight),
                       categories))
                bAllValid = false;
        }
    }
    return bAllValid;
}

void CImageValidation::FollowProject(const CProjectModel& model)
{
    SetAllowNoBoxes(CProjectProperties(m_pDatabase, model.GetProjectID()).IsOn(CProjectProperties::ALLOW_NO_BOXES));
}

bool CImageValidation::ValidateImageOf(const CProjectModel& model, int nImageID)
{
    if (!m_pDatabase)
        return false;
    FollowProject(model);
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

bool CImageValidation::ValidateProject(const CProjectModel& model, const CProjectBoxTable* pTable)
{
    FollowProject(model);
    const bool bAllValid = pTable ? ValidateAll(model.GetTrainImages(), model.GetTestImages(), *pTable)
                                  : ValidateAll(model.GetTrainImages(), model.GetTestImages());
    if (bAllValid)
        CLogger::Write(ELogLevel_Normal, "Validate ROI OK");
    else
        CLogger::Write(ELogLevel_Error, "Validate ROI Error");
    return bAllValid;
}
