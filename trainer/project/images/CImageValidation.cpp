#include "project/images/CImageValidation.h"

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
#include <unordered_map>

namespace
{
// A stored coordinate as a number: NaN for NULL and for text that is none, which a silent 0 would turn into a box.
double Number(const QVariant& value)
{
    bool bOk = false;
    const double dblValue = value.isNull() ? 0.0 : value.toDouble(&bOk);
    return bOk ? dblValue : std::nan("");
}

bool HasSize(const std::shared_ptr<CDatasetImageEntry>& pEntry)
{
    const std::shared_ptr<CDatasetImageRecord> pRecord = pEntry->GetRecord();
    // A negative size is read as a huge unsigned one.
    return pRecord && pRecord->GetWidth() > 0 && pRecord->GetHeight() > 0 && pRecord->GetWidth() <= INT_MAX &&
           pRecord->GetHeight() <= INT_MAX;
}

// The columns read per ROI after the image ID, the class first.
const QStringList& RoiColumns()
{
    static const QStringList lstColumns = {CDatasetROIRecord::COLUMN_CATEGORY_ID, CDatasetROIRecord::COLUMN_X,
                                           CDatasetROIRecord::COLUMN_Y, CDatasetROIRecord::COLUMN_WIDTH,
                                           CDatasetROIRecord::COLUMN_HEIGHT};
    return lstColumns;
}

// The boxes of one image in image pixels, as RoiColumns gives them.
struct SImageRois
{
    std::vector<int> vctCategoryIDs;
    std::vector<std::array<double, 4>> vctBoxes;

    void Add(const std::vector<std::vector<QVariant>>& vctColumns, size_t nFirst, size_t nRow)
    {
        vctCategoryIDs.push_back(vctColumns[nFirst][nRow].toInt());
        std::array<double, 4> box;
        for (size_t i = 0; i < box.size(); ++i)
            box[i] = Number(vctColumns[nFirst + 1 + i][nRow]);
        vctBoxes.push_back(box);
    }
    // Without image size every box is unusable: its label lines would divide by the size.
    int Unusable(const std::shared_ptr<CDatasetImageEntry>& pEntry) const
    {
        const std::shared_ptr<CDatasetImageRecord> pRecord = pEntry->GetRecord();
        const bool bSized = HasSize(pEntry);
        int nUnusable = 0;
        for (const std::array<double, 4>& box : vctBoxes)
        {
            if (!bSized ||
                !CBoxRule::IsUsableInPixels(box[0], box[1], box[2], box[3], pRecord->GetWidth(), pRecord->GetHeight()))
                ++nUnusable;
        }
        return nUnusable;
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

bool CImageValidation::Apply(const std::shared_ptr<CDatasetImageEntry>& pEntry,
                             const std::vector<int>& vctRoiCategoryIDs, int nUnusableBoxes,
                             const CProjectCategories& categories)
{
    const bool bNoBoxes = vctRoiCategoryIDs.empty();
    bool bClassGone = false;
    for (int nCategoryID : vctRoiCategoryIDs)
    {
        if (!categories.Contains(nCategoryID))
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
        if (nUnusableBoxes > 0 && !HasSize(pEntry))
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
    // after each edit cheap on images with thousands of boxes, and show a coordinate that is no number as it is.
    std::vector<std::vector<QVariant>> vctColumns;
    SImageRois rois;
    if (!m_pDatabase->SelectColumns(CDatasetROIRecord::TABLE_NAME, RoiColumns(),
                                    {{CDatasetROIRecord::COLUMN_IMAGE_ID, pEntry->GetImageID()}}, vctColumns))
        return ReadFailed(CDatasetROIRecord::TABLE_NAME);
    for (size_t nRow = 0; nRow < vctColumns[0].size(); ++nRow)
        rois.Add(vctColumns, 0, nRow);
    return Apply(pEntry, rois.vctCategoryIDs, rois.Unusable(pEntry), categories);
}

bool CImageValidation::ValidateAll(const std::vector<std::shared_ptr<CDatasetImageEntry>>& vctTrain,
                                   const std::vector<std::shared_ptr<CDatasetImageEntry>>& vctTest)
{
    if (!m_pDatabase)
        return false;
    const CProjectCategories categories(m_pDatabase);
    if (!categories.IsRead())
        return ReadFailed(CProjectCategories::Table());

    // One select of all ROIs instead of one per image: a project of many thousand images would otherwise spend
    // most of its opening time in round trips. The grouping gives each image exactly the rows its own select would.
    // Columns rather than records: a record would turn a coordinate that is no number into 0.
    std::unordered_map<int, SImageRois> mapImageRois;
    if (!vctTrain.empty() || !vctTest.empty())
    {
        std::vector<std::vector<QVariant>> vctColumns;
        if (!m_pDatabase->SelectColumns(CDatasetROIRecord::TABLE_NAME,
                                        QStringList(CDatasetROIRecord::COLUMN_IMAGE_ID) + RoiColumns(), {}, vctColumns))
            return ReadFailed(CDatasetROIRecord::TABLE_NAME);
        for (size_t nRow = 0; nRow < vctColumns[0].size(); ++nRow)
            mapImageRois[vctColumns[0][nRow].toInt()].Add(vctColumns, 1, nRow);
    }

    const SImageRois none;
    bool bAllValid = true;
    for (const std::vector<std::shared_ptr<CDatasetImageEntry>>* pList : {&vctTrain, &vctTest})
    {
        for (const std::shared_ptr<CDatasetImageEntry>& pEntry : *pList)
        {
            if (!pEntry)
                continue;
            const auto it = mapImageRois.find(pEntry->GetImageID());
            const SImageRois& rois = it == mapImageRois.end() ? none : it->second;
            if (!Apply(pEntry, rois.vctCategoryIDs, rois.Unusable(pEntry), categories))
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
