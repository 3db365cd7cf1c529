#include "images/CImageListModel.h"

#include "frame/CLogger.h"

CImageListModel::CImageListModel(QObject* parent) : CModel(parent) {}

void CImageListModel::PushImage(const ImagePtr& pImage)
{
    m_vctImages.push_back(pImage);
    m_nCurrentIndex = GetImageCount() - 1;
    CLogger::Write(ELogLevel_Normal, "Push Image");
    emit signal_ChangeImageList();
    emit signal_ChangeCurrentImage();
    emit signal_ChangeCurrentIndex();
}

void CImageListModel::SetImages(const ImageList& vctImages)
{
    m_vctImages = vctImages;
    m_nCurrentIndex = 0;
    emit signal_ChangeImageList();
    emit signal_ChangeCurrentImage();
}

void CImageListModel::ReplaceCurrentImage(const ImagePtr& pImage)
{
    if (IsInside(m_nCurrentIndex))
    {
        m_vctImages[m_nCurrentIndex] = pImage;
        emit signal_ChangeCurrentImage();
        return;
    }
    // The index lies outside only when the list is empty. The image must become current, or a list holding one
    // image would show none, and the next removal would find nothing to remove and push the index further out.
    m_vctImages.push_back(pImage);
    m_nCurrentIndex = 0;
    emit signal_ChangeImageList();
    emit signal_ChangeCurrentImage();
}

void CImageListModel::RemoveCurrentImage()
{
    // The index lies outside only when the list is empty.
    if (!IsInside(m_nCurrentIndex))
        return;
    m_vctImages.erase(m_vctImages.begin() + m_nCurrentIndex);
    // Removing the last entry moves back to the one before it; removing the only one leaves -1.
    if (!IsInside(m_nCurrentIndex))
        --m_nCurrentIndex;
    emit signal_ChangeImageList();
    emit signal_ChangeCurrentImage();
}

void CImageListModel::ClearImages()
{
    m_vctImages.clear();
    m_nCurrentIndex = 0;
    CLogger::Write(ELogLevel_Normal, "Clear");
    emit signal_ChangeImageList();
    emit signal_ChangeCurrentImage();
}

void CImageListModel::NextImage()
{
    if (m_nCurrentIndex >= GetImageCount() - 1)
        return;
    ++m_nCurrentIndex;
    CLogger::Write(ELogLevel_Normal, "Next Image At %d", m_nCurrentIndex);
    emit signal_ChangeCurrentIndex();
    emit signal_ChangeCurrentImage();
}

void CImageListModel::PreviousImage()
{
    if (m_nCurrentIndex < 1)
        return;
    --m_nCurrentIndex;
    CLogger::Write(ELogLevel_Normal, "Previous Image At %d", m_nCurrentIndex);
    emit signal_ChangeCurrentIndex();
    emit signal_ChangeCurrentImage();
}

void CImageListModel::SetCurrentIndex(int nIndex)
{
    if (nIndex == m_nCurrentIndex || !IsInside(nIndex))
        return;
    m_nCurrentIndex = nIndex;
    CLogger::Write(ELogLevel_Normal, "Set Current Index %d", m_nCurrentIndex);
    emit signal_ChangeCurrentIndex();
    emit signal_ChangeCurrentImage();
}

void CImageListModel::SetMousePosition(const QPointF& point)
{
    if (point == m_ptMousePosition)
        return;
    m_ptMousePosition = point;
    emit signal_MousePositionChanged();
}

CImageListModel::ImagePtr CImageListModel::GetCurrentImage() const
{
    return GetImage(m_nCurrentIndex);
}

CImageListModel::ImagePtr CImageListModel::GetImage(int nIndex) const
{
    return IsInside(nIndex) ? m_vctImages[nIndex] : ImagePtr();
}

int CImageListModel::GetCurrentIndex() const
{
    return m_nCurrentIndex;
}

int CImageListModel::GetImageCount() const
{
    return static_cast<int>(m_vctImages.size());
}

QPointF CImageListModel::GetMousePosition() const
{
    return m_ptMousePosition;
}

bool CImageListModel::IsInside(int nIndex) const
{
    return nIndex >= 0 && nIndex < GetImageCount();
}
