#pragma once

#include <QString>

#include <cstddef>
#include <memory>
#include <vector>

class CBuildOutcome;
class CDatabase;
class CDatasetImageEntry;
class CProjectBoxTable;
class CProjectCategories;
class CProjectModel;

// Decides which project images the trainer can use: an image is valid when it has at least one ROI (or the project
// allows images without boxes), every ROI names
// an existing class, and the image has a size and every ROI is a box the trainer can use (CBoxRule; a coordinate
// stored as text or NULL is no number). Marks each entry and logs each invalid image with the reason it is invalid. A
// table that cannot be read is an error of its own ("Validate: cannot read the table %s"); the entries stay unmarked.
class CImageValidation
{
public:
    // The database is not owned.
    explicit CImageValidation(CDatabase* pDatabase);

    // Each invalid image found from now on is added to the outcome (not owned; null stops it) under its reason.
    void SetOutcome(CBuildOutcome* pOutcome) { m_pOutcome = pOutcome; }
    // When on, an image without ROIs is valid (a negative example). ValidateImageOf and ValidateProject set it from
    // the project's property (CProjectProperties::ALLOW_NO_BOXES); off by default.
    void SetAllowNoBoxes(bool bAllow) { m_bAllowNoBoxes = bAllow; }

    // One image, against the given classes.
    bool ValidateImage(const std::shared_ptr<CDatasetImageEntry>& pEntry, const CProjectCategories& categories);
    // Every training image, then every test image; true when all are valid. Reads the images and boxes first, or
    // takes them from a table read already.
    bool ValidateAll(const std::vector<std::shared_ptr<CDatasetImageEntry>>& vctTrain,
                     const std::vector<std::shared_ptr<CDatasetImageEntry>>& vctTest);
    bool ValidateAll(const std::vector<std::shared_ptr<CDatasetImageEntry>>& vctTrain,
                     const std::vector<std::shared_ptr<CDatasetImageEntry>>& vctTest, const CProjectBoxTable& table);
    // The model's image with that ID (its training list first, then its test list) against the class rows, which are
    // read first; false when neither list has it.
    bool ValidateImageOf(const CProjectModel& model, int nImageID);
    // Every image of the model (see ValidateAll); logs "Validate ROI OK" or the error "Validate ROI Error".
    bool ValidateProject(const CProjectModel& model, const CProjectBoxTable* pTable = nullptr);

private:
    // Logs and records a table that could not be read; false.
    bool ReadFailed(const QString& strTable) const;
    // The classes of the image's nRois ROIs; nUnusableBoxes: those CBoxRule refuses (all of them when the image has
    // no size).
    bool Apply(const std::shared_ptr<CDatasetImageEntry>& pEntry, const int* pRoiCategoryIDs, size_t nRois,
               int nUnusableBoxes, bool bHasSize, const CProjectCategories& categories);

    CDatabase* m_pDatabase = nullptr;
    // The model's project property.
    void FollowProject(const CProjectModel& model);

    CBuildOutcome* m_pOutcome = nullptr;
    bool m_bAllowNoBoxes = false;
};
