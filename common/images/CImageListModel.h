#pragma once

#include "OvrelCommonGlobal.h"
#include "frame/CModel.h"

#include <QPointF>

#include <memory>
#include <vector>

namespace Ovrel
{
namespace Utils
{
class COvrelImage;
}
} // namespace Ovrel

// The images one viewer has loaded, in order, which of them is current, and the last mouse position over it. The
// canvas, its controller, the viewer panel and the 3D view all share one model and follow its signals.
//
// Every change is complete before the first signal goes out, so a receiver always reads the new state. Images are
// shared, never copied: GetImage returns the very object that was handed in.
//
// The current index lies inside the list whenever the list holds images. Only removing the last image leaves it
// outside (at -1) until the next image arrives.
class OVRELCOMMON_EXPORT CImageListModel : public CModel
{
    Q_OBJECT
public:
    using ImagePtr = std::shared_ptr<Ovrel::Utils::COvrelImage>;
    using ImageList = std::vector<ImagePtr>;

    explicit CImageListModel(QObject* parent = nullptr);

    // Appends the image and makes it current. Emits the list, the current image, then the current index.
    void PushImage(const ImagePtr& pImage);
    // Replaces every image; the first becomes current. Emits the list, then the current image.
    void SetImages(const ImageList& vctImages);
    // Puts the image in place of the current one; emits only the current image. Without a current image (an empty
    // list) the image becomes the only and current one, and the list is announced before the current image.
    void ReplaceCurrentImage(const ImagePtr& pImage);
    // Removes the current image; the one after it becomes current, or the one before when it was the last. Emits the
    // list, then the current image. Does nothing without a current image.
    void RemoveCurrentImage();
    // Empties the list. Emits the list, then the current image, even when it was empty already.
    void ClearImages();
    // Step to the following or preceding image; nothing at the end of the list. Emit the index, then the image.
    void NextImage();
    void PreviousImage();
    // Makes image nIndex current when it exists and is not current already. Emits the index, then the image.
    void SetCurrentIndex(int nIndex);
    // Stores the position when it differs beyond Qt's fuzzy point comparison, and then announces it.
    void SetMousePosition(const QPointF& point);

    // Empty when the current index or nIndex lies outside the list.
    ImagePtr GetCurrentImage() const;
    ImagePtr GetImage(int nIndex) const;
    int GetCurrentIndex() const;
    int GetImageCount() const;
    QPointF GetMousePosition() const;

signals:
    void signal_MousePositionChanged();
    void signal_ChangeImageList();
    void signal_ChangeCurrentIndex();
    void signal_ChangeCurrentImage();

private:
    bool IsInside(int nIndex) const;

    QPointF m_ptMousePosition;
    ImageList m_vctImages;
    int m_nCurrentIndex = 0;
};
