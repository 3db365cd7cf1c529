#include "workspace/CThumbnailCache.h"

#include "Utils/COvrelImage.h"

#include <QIcon>
#include <QStandardItemModel>

#include <algorithm>
#include <unordered_set>
#include <vector>

using Ovrel::Utils::COvrelImage;

namespace
{
// Room below a thumbnail for its text.
constexpr int kTextHeight = 20;

QString ItemText(int nRow, const COvrelImage& image)
{
    return QString("%1. ").arg(nRow + 1) + QString::fromStdWString(image.GetName());
}

// The height of a thumbnail nWidth wide of an image of that size.
int HeightAt(const QSize& source, int nWidth)
{
    return std::max(1, static_cast<int>(static_cast<qint64>(source.height()) * nWidth / source.width()));
}

// Each thumbnail pixel averages 2 x 2 samples spread evenly over the source pixels it stands for. Reading only those
// samples, straight from the library's rows, keeps the cost to the thumbnail's size whatever the image's size: a
// smooth scale of the whole image would convert and read every one of its pixels.
QImage Sample(const COvrelImage& image, int nWidth)
{
    constexpr int kSamples = 2;
    const int nSourceWidth = image.GetWidth();
    const int nSourceHeight = image.GetHeight();
    const int nChannels = image.GetChannels();
    const int nHeight = HeightAt(QSize(nSourceWidth, nSourceHeight), nWidth);
    const QImage::Format eFormat = nChannels == 1   ? QImage::Format_Grayscale8
                                   : nChannels == 4 ? QImage::Format_RGBA8888
                                                    : QImage::Format_RGB888;
    QImage thumbnail(nWidth, nHeight, eFormat);
    if (thumbnail.isNull() || (nChannels != 1 && nChannels != 3 && nChannels != 4))
        return QImage();
    const auto sample = [](int nIndex, int nSource, int nTarget)
    {
        // The centre of sample nIndex among nTarget * kSamples equal parts of nSource pixels.
        return std::min(nSource - 1,
                        static_cast<int>((2 * static_cast<qint64>(nIndex) + 1) * nSource / (2 * nTarget * kSamples)));
    };
    std::vector<int> vctColumns(static_cast<size_t>(nWidth) * kSamples);
    for (int i = 0; i < static_cast<int>(vctColumns.size()); ++i)
        vctColumns[i] = sample(i, nSourceWidth, nWidth) * nChannels;
    const unsigned char* const* ppRows = image.GetRows();
    std::vector<int> vctSums(static_cast<size_t>(nWidth) * nChannels);
    for (int y = 0; y < nHeight; ++y)
    {
        std::fill(vctSums.begin(), vctSums.end(), 0);
        for (int nRowSample = 0; nRowSample < kSamples; ++nRowSample)
        {
            const unsigned char* pRow = ppRows[sample(y * kSamples + nRowSample, nSourceHeight, nHeight)];
            for (int x = 0; x < nWidth; ++x)
                for (int nColumnSample = 0; nColumnSample < kSamples; ++nColumnSample)
                {
                    const unsigned char* pPixel = pRow + vctColumns[x * kSamples + nColumnSample];
                    for (int c = 0; c < nChannels; ++c)
                        vctSums[x * nChannels + c] += pPixel[c];
                }
        }
        uchar* pLine = thumbnail.scanLine(y);
        for (int i = 0; i < nWidth * nChannels; ++i)
            pLine[i] = static_cast<uchar>((vctSums[i] + kSamples * kSamples / 2) / (kSamples * kSamples));
    }
    return thumbnail;
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
    if (pImage->IsEmpty())
        return nullptr;
    SThumbnail thumbnail;
    thumbnail.source = QSize(pImage->GetWidth(), pImage->GetHeight());
    thumbnail.kept = Sample(*pImage, std::min(pImage->GetWidth(), std::max(kKeptWidth, m_nWidth)));
    if (thumbnail.kept.isNull())
        return nullptr;
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
    const QSize size(m_nWidth, HeightAt(thumbnail.source, m_nWidth));
    if (thumbnail.kept.size() == size)
        thumbnail.shown = QPixmap::fromImage(thumbnail.kept);
    else
        thumbnail.shown =
            QPixmap::fromImage(thumbnail.kept.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
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
