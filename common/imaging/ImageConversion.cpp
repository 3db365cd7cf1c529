#include "imaging/ImageConversion.h"

#include "Utils/COvrelImage.h"

#include <QImage>

#include <algorithm>
#include <cstring>

bool ImageFromQImage(const QImage& source, Ovrel::Utils::COvrelImage* pTarget)
{
    if (source.isNull())
        return false;
    const QImage converted = source.convertToFormat(QImage::Format_RGBA8888);
    if (!pTarget || converted.isNull())
        return false;
    if (pTarget->Create(converted.width(), converted.height(), 4, 8, 0, 4) != Ovrel::Utils::EOvrelResult_OK)
        return false;
    const size_t nBytes = static_cast<size_t>(std::min(converted.bytesPerLine(), pTarget->GetBytesPerLine()));
    unsigned char* const* ppRows = pTarget->GetRows();
    for (int y = 0; y < pTarget->GetHeight(); ++y)
        std::memcpy(ppRows[y], converted.constScanLine(y), nBytes);
    return true;
}

bool ImageToQImage(const Ovrel::Utils::COvrelImage* pSource, QImage& target, bool bDeepCopy)
{
    if (!pSource)
        return false;
    QImage::Format format = QImage::Format_RGB888;
    if (pSource->GetChannels() == 1)
        format = QImage::Format_Grayscale8;
    else if (pSource->GetChannels() == 4)
        format = QImage::Format_RGBA8888;
    // The const-data constructor makes Qt copy before any write, so the library image can only
    // change through its own interface.
    const QImage wrapped(pSource->GetData(), pSource->GetWidth(), pSource->GetHeight(), pSource->GetBytesPerLine(),
                         format);
    target = bDeepCopy ? wrapped.copy() : wrapped;
    return !target.isNull();
}
