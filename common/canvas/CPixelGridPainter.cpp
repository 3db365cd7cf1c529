#include "canvas/CPixelGridPainter.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace
{
const QColor kGridColour(0, 100, 255);

// One value centred in the box, on the line the alignment picks, over an opaque black background.
void DrawValue(QPainter& painter, const QRectF& box, int nAlignment, int nValue, const QColor& colour)
{
    painter.setPen(colour);
    painter.drawText(box, nAlignment | Qt::AlignHCenter, QString::number(nValue));
}
} // namespace

QFont CPixelGridPainter::ValueFont()
{
    return QFont("Arial", 15);
}

int CPixelGridPainter::ChannelCount(const QImage& image)
{
    switch (image.format())
    {
    case QImage::Format_Grayscale8:
        return 1;
    case QImage::Format_RGB888:
        return 3;
    case QImage::Format_RGBA8888:
        return 4;
    default:
        return 1;
    }
}

bool CPixelGridPainter::ValuesFit(int nChannels, int nFontHeight, double dblPixelHeight)
{
    return nFontHeight * nChannels + 5 <= dblPixelHeight;
}

void CPixelGridPainter::Paint(QPainter& painter, const QImage& image, const QRect& sourcePixels,
                              const QRectF& imageOnScreen, const QRect& visibleArea)
{
    if (image.isNull() || sourcePixels.isEmpty() || imageOnScreen.isEmpty())
        return;
    const double sx = imageOnScreen.width() / image.width();
    const double sy = imageOnScreen.height() / image.height();
    const auto screenX = [&](double x) { return imageOnScreen.left() + x * sx; };
    const auto screenY = [&](double y) { return imageOnScreen.top() + y * sy; };

    painter.save();
    painter.setPen(QPen(kGridColour, 1));
    const double dblLeft = screenX(sourcePixels.left());
    const double dblRight = screenX(sourcePixels.right() + 1);
    const double dblTop = screenY(sourcePixels.top());
    const double dblBottom = screenY(sourcePixels.bottom() + 1);
    for (int y = sourcePixels.top(); y <= sourcePixels.bottom() + 1; ++y)
        painter.drawLine(QPointF(dblLeft, screenY(y)), QPointF(dblRight, screenY(y)));
    for (int x = sourcePixels.left(); x <= sourcePixels.right() + 1; ++x)
        painter.drawLine(QPointF(screenX(x), dblTop), QPointF(screenX(x), dblBottom));

    const QFont font = ValueFont();
    const int nFontHeight = QFontMetrics(font).height();
    const int nChannels = ChannelCount(image);
    const double dblTextHeight = static_cast<double>(nFontHeight) * nChannels;
    if (!ValuesFit(nChannels, nFontHeight, sy))
    {
        painter.restore();
        return;
    }
    painter.setFont(font);
    painter.setBackgroundMode(Qt::OpaqueMode);
    painter.setBackground(Qt::black);

    // Values of pixels off screen would be clipped away anyway; skipping them keeps close-ups of big windows cheap.
    const int nFirstX =
        std::max(sourcePixels.left(), static_cast<int>(std::floor((visibleArea.left() - imageOnScreen.left()) / sx)));
    const int nLastX = std::min(sourcePixels.right(),
                                static_cast<int>(std::floor((visibleArea.right() + 1 - imageOnScreen.left()) / sx)));
    const int nFirstY =
        std::max(sourcePixels.top(), static_cast<int>(std::floor((visibleArea.top() - imageOnScreen.top()) / sy)));
    const int nLastY = std::min(sourcePixels.bottom(),
                                static_cast<int>(std::floor((visibleArea.bottom() + 1 - imageOnScreen.top()) / sy)));
    const int nBytesPerPixel = image.format() == QImage::Format_RGB888       ? 3
                               : image.format() == QImage::Format_RGBA8888   ? 4
                               : image.format() == QImage::Format_Grayscale8 ? 1
                                                                             : 0;
    for (int y = nFirstY; y <= nLastY; ++y)
    {
        const uchar* pRow = image.constScanLine(y);
        for (int x = nFirstX; x <= nLastX; ++x)
        {
            const QRectF box(screenX(x + 0.25), screenY(y) + (sy - dblTextHeight) / 2, 0.5 * sx, dblTextHeight);
            const uchar* pPixel = pRow + static_cast<ptrdiff_t>(x) * nBytesPerPixel;
            if (nBytesPerPixel == 0)
            {
                DrawValue(painter, box, Qt::AlignVCenter, qRed(image.pixel(x, y)), Qt::white);
                continue;
            }
            switch (nChannels)
            {
            case 3:
                DrawValue(painter, box, Qt::AlignTop, pPixel[0], Qt::red);
                DrawValue(painter, box, Qt::AlignVCenter, pPixel[1], Qt::green);
                DrawValue(painter, box, Qt::AlignBottom, pPixel[2], Qt::blue);
                break;
            case 4:
            {
                const QColor colours[4] = {Qt::red, Qt::green, Qt::blue, Qt::white};
                for (int c = 0; c < 4; ++c)
                    DrawValue(painter, QRectF(box.left(), box.top() + c * nFontHeight, box.width(), nFontHeight),
                              Qt::AlignTop, pPixel[c], colours[c]);
                break;
            }
            default:
                DrawValue(painter, box, Qt::AlignVCenter, pPixel[0], Qt::white);
                break;
            }
        }
    }
    painter.restore();
}
