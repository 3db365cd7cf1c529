#include "workspace/CThumbnailCache.h"

#include "imaging/ImageConversion.h"

#include "Utils/COvrelImage.h"

#include <QIcon>
#include <QStandardItemModel>

#include <algorithm>
#include <unordered_set>

using Ovrel::Utils::COvrelImage;

namespace
{
// Room below a thumbnail for its text.
constexpr int kTextHeight = 20;

QString ItemText(int nRow, const COvrelImage& image)
{
    return QString("%1. ").arg(nRow + 1) + QString::fromStdWString(image.GetName());
}

// A smooth scale reads every source pixel and first converts the whole image to 32 bits; picking every other pixel of
// twice the target size first costs only the pixels picked, and the smooth pass over those still averages neighbours.
QImage ScaleDown(const QImage& source, int nWidth)
{
    const int nHeight = std::max(1, static_cast<int>(static_cast<qint64>(source.height()) * nWidth / source.width()));
    if (source.width() > 2 * nWidth && source.height() > 2 * nHeight)
    {
        const QImage picked = source.scaled(2 * nWidth, 2 * nHeight, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        return picked.scaled(nWidth, nHeight, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    return source.scaled(nWidth, nHeight, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}
} // namespace

CThumbnailCache::CThumbnailCache(QStandardItemModel* pItems) : m_pItems(pItems) {}

CThumbnailCache::~CThumbnailCache() = default;

bool CThumbnailCache::Sync(const ImageList& vctImages, int nWidth)
{
    if (!m_pItems)
        return false;
    Rescale(nWidth);
    bool bShown = true;
    int nRow = 0;
    for (; nRow < static_cast<int>(vctImages.size()); ++nRow)
    {
        const ImagePtr& pImage = vctImages[nRow];
        SThumbnail* pThumbnail = Find(pImage);
        if (!pThumbnail)
        {
            bShown = false;
            break;
        }
        QStandardItem* pItem = m_pItems->item(nRow);
        if (!pItem)
        {
            pItem = new QStandardItem;
            pItem->setEditable(false);
            Show(pItem, nRow, pImage, *pThumbnail);
            m_pItems->appendRow(pItem);
        }
        else if (pItem->data(kUIDRole).toUInt() != pImage->GetUID() || pItem->text() != ItemText(nRow, *pImage))
            Show(pItem, nRow, pImage, *pThumbnail);
    }
    if (m_pItems->rowCount() > nRow)
        m_pItems->removeRows(nRow, m_pItems->rowCount() - nRow);
    Prune();
    return bShown;
}

bool CThumbnailCache::Refresh(int nRow, const ImagePtr& pImage, int nWidth)
{
    Rescale(nWidth);
    QStandardItem* pItem = m_pItems ? m_pItems->item(nRow) : nullptr;
    if (!pItem || !pImage)
        return true;
    if (pItem->data(kUIDRole).toUInt() == pImage->GetUID())
        return true;
    SThumbnail* pThumbnail = Find(pImage);
    if (!pThumbnail)
        return false;
    Show(pItem, nRow, pImage, *pThumbnail);
    Prune();
    return true;
}

void CThumbnailCache::Rescale(int nWidth)
{
    nWidth = std::max(1, nWidth);
    if (nWidth == m_nWidth)
        return;
    m_nWidth = nWidth;
    for (auto& entry : m_mapKept)
        Fit(entry.second);
    if (!m_pItems)
        return;
    for (int nRow = 0; nRow < m_pItems->rowCount(); ++nRow)
    {
        QStandardItem* pItem = m_pItems->item(nRow);
        const auto it = m_mapKept.find(pItem->data(kUIDRole).toUInt());
        if (it == m_mapKept.end())
            continue;
        pItem->setIcon(QIcon(it->second.shown));
        pItem->setSizeHint(it->second.shown.size() + QSize(0, kTextHeight));
    }
}

CThumbnailCache::SThumbnail* CThumbnailCache::Find(const ImagePtr& pImage)
{
    if (!pImage)
        return nullptr;
    const auto it = m_mapKept.find(pImage->GetUID());
    if (it != m_mapKept.end())
        return &it->second;
    // Wrapped, not copied: the pixels are read once, right here.
    QImage wrapped;
    if (!ImageToQImage(pImage.get(), wrapped, false) || wrapped.width() < 1)
        return nullptr;
    SThumbnail thumbnail;
    thumbnail.kept = ScaleDown(wrapped, std::min(wrapped.width(), std::max(kKeptWidth, m_nWidth)));
    Fit(thumbnail);
    ++m_nMade;
    return &m_mapKept.emplace(pImage->GetUID(), std::move(thumbnail)).first->second;
}

void CThumbnailCache::Show(QStandardItem* pItem, int nRow, const ImagePtr& pImage, SThumbnail& thumbnail)
{
    pItem->setText(ItemText(nRow, *pImage));
    pItem->setIcon(QIcon(thumbnail.shown));
    pItem->setSizeHint(thumbnail.shown.size() + QSize(0, kTextHeight));
    pItem->setData(pImage->GetUID(), kUIDRole);
}

void CThumbnailCache::Fit(SThumbnail& thumbnail) const
{
    if (thumbnail.kept.width() == m_nWidth)
        thumbnail.shown = QPixmap::fromImage(thumbnail.kept);
    else
        thumbnail.shown = QPixmap::fromImage(thumbnail.kept.scaledToWidth(m_nWidth, Qt::SmoothTransformation));
}

void CThumbnailCache::Prune()
{
    std::unordered_set<unsigned int> setShown;
    if (m_pItems)
        for (int nRow = 0; nRow < m_pItems->rowCount(); ++nRow)
            setShown.insert(m_pItems->item(nRow)->data(kUIDRole).toUInt());
    for (auto it = m_mapKept.begin(); it != m_mapKept.end();)
        it = setShown.count(it->first) ? std::next(it) : m_mapKept.erase(it);
}
