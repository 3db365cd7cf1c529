#pragma once

#include "OvrelCommonGlobal.h"

#include <QImage>
#include <QPixmap>

#include <memory>
#include <unordered_map>
#include <vector>

class QStandardItem;
class QStandardItemModel;

namespace Ovrel
{
namespace Utils
{
class COvrelImage;
}
} // namespace Ovrel

// Keeps a viewer's thumbnail items in step with its images: item i shows image i as "i+1. name" with a thumbnail as
// wide as the list, and the item's size hint is the thumbnail's size plus 20 pixels of height for the text.
//
// Every image is scaled down once, when it is first seen: its thumbnail is kept under the image's UID for as long as
// the image stays in the list. Items that already show their image are left alone, so pushing pages one by one scales
// each page once, and a new width is served from the kept thumbnails without touching the full images.
class OVRELCOMMON_EXPORT CThumbnailCache
{
public:
    using ImagePtr = std::shared_ptr<Ovrel::Utils::COvrelImage>;
    using ImageList = std::vector<ImagePtr>;

    // The item role that holds the UID of the image an item shows.
    static constexpr int kUIDRole = Qt::UserRole + 1;
    // The width thumbnails are kept at, at least: a list made wider later gets them scaled up only beyond it.
    static constexpr int kKeptWidth = 256;

    // The items are not owned.
    explicit CThumbnailCache(QStandardItemModel* pItems);
    ~CThumbnailCache();

    // Brings the items in line with the images at the given width. An image that cannot be shown ends the list of
    // items there (the items after it are dropped) and gives false.
    bool Sync(const ImageList& vctImages, int nWidth);
    // Makes item nRow show the image, which replaced the one it showed; nothing when it shows that image already or
    // nRow is not an item. False when the image cannot be shown.
    bool Refresh(int nRow, const ImagePtr& pImage, int nWidth);
    // Shows every item's thumbnail at the new width, made from the kept thumbnails.
    void Rescale(int nWidth);

    // How many thumbnails have been made from full images since construction.
    int GetMadeCount() const { return m_nMade; }
    // How many thumbnails are kept.
    int GetKeptCount() const { return static_cast<int>(m_mapKept.size()); }
    int GetWidth() const { return m_nWidth; }

private:
    struct SThumbnail
    {
        QImage kept;   // at the kept width (or the image's own width when that is smaller)
        QPixmap shown; // at m_nWidth
        QSize source;  // the image's size, which the shown thumbnail's height follows
    };

    // The thumbnail of the image, made when missing; null when the image cannot be shown.
    SThumbnail* Find(const ImagePtr& pImage);
    void Show(QStandardItem* pItem, int nRow, const ImagePtr& pImage, SThumbnail& thumbnail);
    void Fit(SThumbnail& thumbnail) const;
    // Drops the thumbnails of images no item shows.
    void Prune();

    QStandardItemModel* m_pItems;
    std::unordered_map<unsigned int, SThumbnail> m_mapKept;
    int m_nWidth = 0;
    int m_nMade = 0;
};
