#include "canvas/CDrawableLabelImages.h"

#include "canvas/CDrawableObjectPainter.h"

#include <QCache>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace
{
// A label as it is written at one sub-pixel position, which the glyphs and the edges of the background depend on.
// Labels are opaque, so they are kept without alpha, which copies fastest.
struct SLabelKey
{
    QString strText;
    double dblPhaseX = 0.0;
    double dblPhaseY = 0.0;

    bool operator==(const SLabelKey& other) const
    {
        return strText == other.strText && dblPhaseX == other.dblPhaseX && dblPhaseY == other.dblPhaseY;
    }
};

uint qHash(const SLabelKey& key, uint nSeed = 0)
{
    return ::qHash(key.strText, nSeed) ^ ::qHash(key.dblPhaseX, nSeed) ^ (::qHash(key.dblPhaseY, nSeed) << 1);
}
} // namespace

// Label images, with where their top-left lies from the text's baseline start.
class CDrawableLabelImages::CImages
{
public:
    CImages() : m_cache(kCacheKilobytes), m_metrics(CDrawableObjectPainter::LabelFont()) {}

    void Draw(QPainter& painter, const QPointF& device, const QString& strText)
    {
        const double dblLeft = std::floor(device.x());
        const double dblTop = std::floor(device.y());
        const SLabelKey key{strText, device.x() - dblLeft, device.y() - dblTop};
        SLabelImage* pLabel = m_cache.object(key);
        if (!pLabel)
        {
            pLabel = new SLabelImage(Render(key));
            m_cache.insert(key, pLabel, std::max(1, static_cast<int>(pLabel->image.sizeInBytes() / 1024)));
        }
        painter.drawImage(QPoint(static_cast<int>(dblLeft), static_cast<int>(dblTop)) + pLabel->offset, pLabel->image);
    }

private:
    struct SLabelImage
    {
        QImage image;
        QPoint offset;
    };

    static constexpr int kMargin = 2;
    // Enough for the labels of some ten thousand objects, so that a canvas full of named boxes is not written afresh
    // when one of them changes.
    static constexpr int kCacheKilobytes = 256 * 1024;

    SLabelImage Render(const SLabelKey& key) const
    {
        const int nAscent = static_cast<int>(std::ceil(m_metrics.ascent()));
        QImage image(static_cast<int>(std::ceil(m_metrics.horizontalAdvance(key.strText))) + 2 * kMargin + 1,
                     static_cast<int>(std::ceil(m_metrics.height())) + 2 * kMargin + 1,
                     QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setFont(CDrawableObjectPainter::LabelFont());
        painter.setPen(QColor(255, 255, 255));
        painter.setBackgroundMode(Qt::OpaqueMode);
        painter.setBackground(QColor(10, 10, 10, 255));
        painter.drawText(QPointF(kMargin + key.dblPhaseX, kMargin + nAscent + key.dblPhaseY), key.strText);
        painter.end();

        // The text lies on its opaque background; cut to it, that part is copied without blending.
        int nLeft = image.width();
        int nRight = -1;
        int nTop = image.height();
        int nBottom = -1;
        for (int y = 0; y < image.height(); ++y)
        {
            const auto* pRow = reinterpret_cast<const QRgb*>(image.constScanLine(y));
            for (int x = 0; x < image.width(); ++x)
                if (qAlpha(pRow[x]) != 0)
                {
                    nLeft = std::min(nLeft, x);
                    nRight = std::max(nRight, x);
                    nTop = std::min(nTop, y);
                    nBottom = std::max(nBottom, y);
                }
        }
        const QRect used(QPoint(nLeft, nTop), QPoint(nRight, nBottom));
        bool bOpaque = true;
        for (int y = used.top(); y <= used.bottom() && bOpaque; ++y)
        {
            const auto* pRow = reinterpret_cast<const QRgb*>(image.constScanLine(y));
            for (int x = used.left(); x <= used.right() && bOpaque; ++x)
                bOpaque = qAlpha(pRow[x]) == 255;
        }
        const QPoint offset(-kMargin, -kMargin - nAscent);
        if (used.isEmpty() || !bOpaque)
            return {image, offset};
        return {image.copy(used).convertToFormat(QImage::Format_RGB32), offset + used.topLeft()};
    }

    QCache<SLabelKey, SLabelImage> m_cache;
    QFontMetricsF m_metrics;
};

CDrawableLabelImages::CDrawableLabelImages() : m_pImages(std::make_unique<CImages>()) {}

CDrawableLabelImages::~CDrawableLabelImages() = default;

void CDrawableLabelImages::Draw(QPainter& painter, const QPointF& device, const QString& strText)
{
    m_pImages->Draw(painter, device, strText);
}
