#include "project/annotation/CRoiRows.h"

#include "database/CDatabase.h"
#include "frame/CLogger.h"
#include "project/classes/CProjectCategories.h"
#include "project/store/CDatasetROIRecord.h"

CRoiRows::CRoiRows(CDatabase* pDatabase) : m_pDatabase(pDatabase) {}

std::vector<std::shared_ptr<CDatasetROIRecord>> CRoiRows::RowsOf(int nImageID) const
{
    std::vector<std::shared_ptr<CDatasetROIRecord>> vctRows;
    if (!m_pDatabase)
        return vctRows;
    std::vector<std::shared_ptr<CDatabaseRecord>> vctRecords;
    m_pDatabase->SelectFromTable(CDatasetROIRecord::TABLE_NAME, vctRecords,
                                 {{CDatasetROIRecord::COLUMN_IMAGE_ID, nImageID}});
    for (const std::shared_ptr<CDatabaseRecord>& pRecord : vctRecords)
    {
        if (auto pRow = std::dynamic_pointer_cast<CDatasetROIRecord>(pRecord))
            vctRows.push_back(std::move(pRow));
    }
    return vctRows;
}

std::map<int, QString> CRoiRows::ClassNames() const
{
    return m_pDatabase ? ClassNames(Classes()) : std::map<int, QString>();
}

CProjectCategories CRoiRows::Classes() const
{
    return CProjectCategories(m_pDatabase);
}

std::map<int, QString> CRoiRows::ClassNames(const CProjectCategories& categories)
{
    std::map<int, QString> mapNames;
    const QStringList lstNames = categories.Names();
    for (size_t i = 0; i < categories.IDs().size(); ++i)
        mapNames.emplace(categories.IDs()[i], lstNames[static_cast<int>(i)]);
    return mapNames;
}

std::shared_ptr<CDatasetROIRecord> CRoiRows::Find(int nRoiID) const
{
    std::vector<std::shared_ptr<CDatabaseRecord>> vctRecords;
    m_pDatabase->SelectFromTable(CDatasetROIRecord::TABLE_NAME, vctRecords, {{CDatasetROIRecord::COLUMN_ID, nRoiID}});
    return vctRecords.empty() ? nullptr : std::dynamic_pointer_cast<CDatasetROIRecord>(vctRecords.front());
}

bool CRoiRows::Insert(const QRectF& box, int nImageID, int nCategoryID, int& nRoiID)
{
    auto pRow = std::make_shared<CDatasetROIRecord>();
    pRow->SetX(box.x());
    pRow->SetY(box.y());
    pRow->SetWidth(box.width());
    pRow->SetHeight(box.height());
    pRow->SetImageID(nImageID);
    pRow->SetCategoryID(nCategoryID);
    if (!m_pDatabase->InsertToTable(pRow))
    {
        CLogger::Write(ELogLevel_Error, "Add ROI to Image ID %d Failed", nImageID);
        return false;
    }
    CLogger::Write(ELogLevel_Debug, "Add ROI to Image ID %d OK", nImageID);
    nRoiID = pRow->GetID();
    return true;
}

bool CRoiRows::UpdateCategory(int nRoiID, int nCategoryID)
{
    const bool bUpdated =
        m_pDatabase->UpdateTable(CDatasetROIRecord::TABLE_NAME, {{CDatasetROIRecord::COLUMN_CATEGORY_ID, nCategoryID}},
                                 {{CDatasetROIRecord::COLUMN_ID, nRoiID}}, false);
    CLogger::Write(bUpdated ? ELogLevel_Debug : ELogLevel_Error,
                   bUpdated ? "Update ROI to ID %d OK" : "Update ROI to ID %d Failed", nRoiID);
    return bUpdated;
}

bool CRoiRows::UpdateBox(int nRoiID, const QRectF& box)
{
    const bool bUpdated = m_pDatabase->UpdateTable(CDatasetROIRecord::TABLE_NAME,
                                                   {{CDatasetROIRecord::COLUMN_X, box.x()},
                                                    {CDatasetROIRecord::COLUMN_Y, box.y()},
                                                    {CDatasetROIRecord::COLUMN_WIDTH, box.width()},
                                                    {CDatasetROIRecord::COLUMN_HEIGHT, box.height()}},
                                                   {{CDatasetROIRecord::COLUMN_ID, nRoiID}}, false);
    CLogger::Write(bUpdated ? ELogLevel_Debug : ELogLevel_Error,
                   bUpdated ? "Update ROI to ID %d OK" : "Update ROI to ID %d Failed", nRoiID);
    return bUpdated;
}

bool CRoiRows::Delete(int nRoiID)
{
    const bool bDeleted =
        m_pDatabase->DeleteFromTable(CDatasetROIRecord::TABLE_NAME, {{CDatasetROIRecord::COLUMN_ID, nRoiID}}, false);
    CLogger::Write(bDeleted ? ELogLevel_Debug : ELogLevel_Error,
                   bDeleted ? "Delete ROI to ID %d OK" : "Delete ROI to ID %d Failed", nRoiID);
    return bDeleted;
}

int CRoiRows::GetCategoryID(const QString& strName) const
{
    return CProjectCategories(m_pDatabase).IDOf(strName);
}

QString CRoiRows::GetCategoryName(int nID) const
{
    return CProjectCategories(m_pDatabase).NameOf(nID);
}
