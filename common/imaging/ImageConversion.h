#pragma once

#include "OvrelCommonGlobal.h"

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
OVRELCOMMON_EXPORT bool ImageToQImage(const Ovrel::Utils::COvrelImage* pSource, QImage& target, bool bDeepCopy);
