#include "project/store/CDatasetImageEntry.h"

#include "project/store/CDatasetImageRecord.h"

CDatasetImageEntry::CDatasetImageEntry(std::shared_ptr<CDatasetImageRecord> pRecord) : m_pRecord(std::move(pRecord)) {}

CDatasetImageEntry::~CDatasetImageEntry() = default;

int CDatasetImageEntry::GetImageID() const
{
    return m_pRecord ? m_pRecord->GetID() : -1;
}

QString CDatasetImageEntry::GetName() const
{
    return m_pRecord ? m_pRecord->GetName() : QString();
}

QString CDatasetImageEntry::GetFullPath() const
{
    return m_pRecord ? m_pRecord->GetFullPath() : QString();
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
}
