#pragma once

#include "OvrelCommonGlobal.h"

#include <memory>

class QImage;

namespace Ovrel
{
namespace Utils
{
class COvrelImage;
}
} // namespace Ovrel

// Copies a Qt image into a library image as 4-channel RGBA (8 bits each, rows aligned to 4
// bytes). Returns false, leaving the target untouched, for a null source, a null target or an
// image the library cannot hold.
OVRELCOMMON_EXPORT bool ImageFromQImage(const QImage& source, Ovrel::Utils::COvrelImage* pTarget);

// Shows a library image as a Qt image: 1 channel as Grayscale8, 4 as RGBA8888, any other count as
// RGB888. With bDeepCopy the target owns a copy. Without it the target reads the library image's
// own buffer: it follows later pixel changes made in place, and it must not be used once the
// image is destroyed or gets a new buffer (loaded, created, copied into, rotated, filtered as a
// whole). Painting into such a QImage detaches it first, so the library image is never written.
// Returns whether the target is not null; a null source returns false and leaves it untouched.
// Use it for a QImage that is done with before control returns (painted at once); a QImage that is
// kept takes the overload below.
OVRELCOMMON_EXPORT bool ImageToQImage(const Ovrel::Utils::COvrelImage* pSource, QImage& target, bool bDeepCopy);

// As ImageToQImage without a deep copy, but the target and every copy made of it hold a share of
// the library image's pixel buffer: the pixels stay valid as long as any of these QImages lives,
// even after the library image is destroyed or gets a new buffer (the QImage then keeps showing the
// buffer it was made from). Changes made in place still show through. Use it for every QImage that
// is kept or handed on: the displayed image, thumbnails, the clipboard, work for other threads.
// Returns whether the target is not null; a null source returns false and leaves it untouched.
OVRELCOMMON_EXPORT bool ImageToQImage(const std::shared_ptr<const Ovrel::Utils::COvrelImage>& pSource, QImage& target);
