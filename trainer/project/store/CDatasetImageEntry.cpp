#include "project/store/CDatasetImageEntry.h"

#include "project/store/CDatasetImageListener.h"
#include "project/store/CDatasetImageRecord.h"
#include "project/store/CProjectLayout.h"

namespace
{
// One string per type for all entries: read per row, "train" and "test" would be allocated once per image.
QString SharedType(const QString& strType)
{
    static const QString strTrain = QStringLiteral("train");
    static const QString strTest = QStringLiteral("test");
    if (strType == strTrain)
        return strTrain;
    if (strType == strTest)
        return strTest;
    return strType;
}
} // namespace

CDatasetImageEntry::CDatasetImageEntry(const std::shared_ptr<CDatasetImageRecord>& pRecord)
{
    if (!pRecord)
        return;
    m_strName = pRecord->GetName();
    m_bUsualPath = CProjectLayout::IsStoredImagePath(pRecord->GetFullPath(), m_strName);
    if (!m_bUsualPath)
        m_strFullPath = pRecord->GetFullPath();
    m_strType = SharedType(pRecord->GetType());
    m_nID = pRecord->GetID();
    m_nProjectID = pRecord->GetProjectID();
    m_nWidth = pRecord->GetWidth();
    m_nHeight = pRecord->GetHeight();
    m_bHasRecord = true;
}

CDatasetImageEntry::CDatasetImageEntry(int nID, const QString& strName, const QString& strFullPath,
                                       const QString& strType, unsigned int nWidth, unsigned int nHeight,
                                       int nProjectID)
    : m_strName(strName), m_strType(SharedType(strType)), m_nID(nID), m_nProjectID(nProjectID), m_nWidth(nWidth),
      m_nHeight(nHeight), m_bHasRecord(true), m_bUsualPath(CProjectLayout::IsStoredImagePath(strFullPath, strName))
{
    if (!m_bUsualPath)
        m_strFullPath = strFullPath;
}

CDatasetImageEntry::~CDatasetImageEntry() = default;

std::shared_ptr<CDatasetImageRecord> CDatasetImageEntry::GetRecord() const
{
    if (!m_bHasRecord)
        return nullptr;
    auto pRecord = std::make_shared<CDatasetImageRecord>();
    pRecord->SetID(m_nID);
    pRecord->SetName(m_strName);
    pRecord->SetFullPath(GetFullPath());
    pRecord->SetType(m_strType);
    pRecord->SetWidth(m_nWidth);
    pRecord->SetHeight(m_nHeight);
    pRecord->SetProjectID(m_nProjectID);
    return pRecord;
}

QString CDatasetImageEntry::GetFullPath() const
{
    return m_bUsualPath ? CProjectLayout::StoredImagePath(m_strName) : m_strFullPath;
}

void CDatasetImageEntry::SetValidation(bool bValid)
{
    if (m_bValidationKnown && m_bValid == bValid)
    {
        return;
    }
    m_bValid = bValid;
    m_bValidationKnown = true;
    emit signal_ChangeValidation();
    if (m_pListener)
        m_pListener->ImageValidationChanged(this);
}
