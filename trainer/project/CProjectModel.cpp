#include "project/CProjectModel.h"

#include "project/ECommandState.h"
#include "project/store/CDatasetImageEntry.h"
#include "project/store/CDatasetImageRecord.h"

#include <algorithm>
#include <random>

CProjectModel::CProjectModel(QObject* parent) : CModel(parent) {}

CProjectModel::~CProjectModel()
{
    // Copies of the lists may outlive the model.
    Detach(m_vctTrainImages);
    Detach(m_vctTestImages);
}

void CProjectModel::SetProject(const QString& strFolder, const QString& strName)
{
    if (strFolder == m_strProjectDir && strName == m_strProjectName)
    {
        return;
    }
    m_strProjectDir = strFolder;
    m_strProjectName = strName;
    emit signal_ChangeProject();
}

std::shared_ptr<CDatasetImageEntry> CProjectModel::MakeEntry(const std::shared_ptr<CDatabaseRecord>& pRecord)
{
    auto pEntry = std::make_shared<CDatasetImageEntry>(std::dynamic_pointer_cast<CDatasetImageRecord>(pRecord));
    pEntry->SetListener(this);
    return pEntry;
}

void CProjectModel::Append(EntryList& vctList, EntryList&& vctEntries)
{
    vctList.reserve(vctList.size() + vctEntries.size());
    for (std::shared_ptr<CDatasetImageEntry>& pEntry : vctEntries)
    {
        if (!pEntry)
            continue;
        pEntry->SetListener(this);
        vctList.push_back(std::move(pEntry));
    }
}

void CProjectModel::Detach(const EntryList& vctList)
{
    for (const std::shared_ptr<CDatasetImageEntry>& pEntry : vctList)
        pEntry->SetListener(nullptr);
}

void CProjectModel::ImageValidationChanged(CDatasetImageEntry* pEntry)
{
    Q_UNUSED(pEntry);
    emit signal_ChangeImageValidation();
}

void CProjectModel::AddTrainImage(std::shared_ptr<CDatabaseRecord> pRecord)
{
    m_vctTrainImages.push_back(MakeEntry(pRecord));
    emit signal_ChangeTrainImageList();
}

void CProjectModel::AddTestImage(std::shared_ptr<CDatabaseRecord> pRecord)
{
    m_vctTestImages.push_back(MakeEntry(pRecord));
    emit signal_ChangeTestImageList();
}

void CProjectModel::AddTrainImages(EntryList vctEntries)
{
    Append(m_vctTrainImages, std::move(vctEntries));
    emit signal_ChangeTrainImageList();
}

void CProjectModel::AddTestImages(EntryList vctEntries)
{
    Append(m_vctTestImages, std::move(vctEntries));
    emit signal_ChangeTestImageList();
}

void CProjectModel::ClearTrainImages()
{
    Detach(m_vctTrainImages);
    m_vctTrainImages.clear();
    emit signal_ChangeTrainImageList();
}

void CProjectModel::ClearTestImages()
{
    Detach(m_vctTestImages);
    m_vctTestImages.clear();
    emit signal_ChangeTestImageList();
}

std::shared_ptr<CDatasetImageEntry> CProjectModel::Find(const EntryList& vctList, int nID)
{
    auto it =
        std::find_if(vctList.begin(), vctList.end(),
                     [nID](const std::shared_ptr<CDatasetImageEntry>& pEntry) { return pEntry->GetImageID() == nID; });
    return it == vctList.end() ? nullptr : *it;
}

std::shared_ptr<CDatasetImageEntry> CProjectModel::FindTrainImage(int nID) const
{
    return Find(m_vctTrainImages, nID);
}

std::shared_ptr<CDatasetImageEntry> CProjectModel::FindTestImage(int nID) const
{
    return Find(m_vctTestImages, nID);
}

bool CProjectModel::Remove(EntryList& vctList, int nID)
{
    auto it =
        std::find_if(vctList.begin(), vctList.end(),
                     [nID](const std::shared_ptr<CDatasetImageEntry>& pEntry) { return pEntry->GetImageID() == nID; });
    if (it == vctList.end())
    {
        return false;
    }
    (*it)->SetListener(nullptr);
    vctList.erase(it);
    return true;
}

void CProjectModel::RemoveTrainImage(int nID)
{
    if (Remove(m_vctTrainImages, nID))
    {
        emit signal_ChangeTrainImageList();
    }
}

void CProjectModel::RemoveTestImage(int nID)
{
    if (Remove(m_vctTestImages, nID))
    {
        emit signal_ChangeTestImageList();
    }
}

void CProjectModel::ShuffleTrainImages()
{
    std::random_device device;
    std::mt19937 generator(device());
    // Fisher-Yates written out, so the order depends only on the generator and not on the library's shuffle.
    for (size_t i = 1; i < m_vctTrainImages.size(); ++i)
    {
        std::uniform_int_distribution<size_t> distribution(0, i);
        const size_t j = distribution(generator);
        if (i != j)
        {
            std::swap(m_vctTrainImages[i], m_vctTrainImages[j]);
        }
    }
    emit signal_ChangeTrainImageList();
}

void CProjectModel::SortTrainImages()
{
    // Names are read once: comparing through the entries would copy two strings per comparison.
    std::vector<std::pair<QString, std::shared_ptr<CDatasetImageEntry>>> vctKeyed;
    vctKeyed.reserve(m_vctTrainImages.size());
    for (const auto& pEntry : m_vctTrainImages)
    {
        vctKeyed.emplace_back(pEntry->GetName(), pEntry);
    }
    const bool bAscending = m_bSortAscending;
    std::sort(vctKeyed.begin(), vctKeyed.end(),
              [bAscending](const auto& a, const auto& b)
              { return bAscending ? a.first < b.first : b.first < a.first; });
    for (size_t i = 0; i < vctKeyed.size(); ++i)
    {
        m_vctTrainImages[i] = std::move(vctKeyed[i].second);
    }
    m_bSortAscending = !m_bSortAscending;
    emit signal_ChangeTrainImageList();
}

void CProjectModel::SetCommandState(int nState)
{
    if (nState == m_nCommandState)
    {
        return;
    }
    m_nCommandState = nState;
    emit signal_ChangeCommandState();
}

void CProjectModel::Close()
{
    if (m_nCommandState != ECommandState_Stopped)
    {
        return;
    }
    Detach(m_vctTrainImages);
    Detach(m_vctTestImages);
    m_vctTrainImages.clear();
    m_vctTestImages.clear();
    m_nCommandState = ECommandState_Stopped;
    m_strProjectDir.clear();
    m_strProjectName.clear();
    emit signal_CloseProject();
}
