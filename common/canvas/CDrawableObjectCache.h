#pragma once

#include "OvrelCommonGlobal.h"

#include <QImage>
#include <QPointF>
#include <QRect>
#include <QRectF>
#include <QSize>
#include <QString>
#include <QVector>

#include <memory>
#include <unordered_map>
#include <vector>

class CDrawableObject;
class QPainter;

// The drawable objects of a layer painted into an image of the widget's size, kept up to date where they change: an
// object that changes, comes or goes has only the widget pixels it covered when last painted and those it covers now
// painted afresh (cleared, then every object reaching them painted again in list order, cut to them), so that one
// changed object among thousands costs only the objects around it. The pixels are those of a whole repaint.
//
// The whole image is painted afresh after Invalidate, after the mapping (viewport, window), the size or the pixel
// ratio changed, and when too many objects changed at once for their areas to be cheaper than the whole.
class OVRELCOMMON_EXPORT CDrawableObjectCache
{
public:
    using Objects = std::vector<std::shared_ptr<CDrawableObject>>;

    CDrawableObjectCache();
    ~CDrawableObjectCache();

    // Paints everything afresh at the next Update.
    void Invalidate();
    // The object with that UID changed, came or went: pObject is the object as it is now, or null once it is no
    // longer painted. Must be called after every change that the painting shows, before the next Update.
    void InvalidateObject(unsigned int nUID, const CDrawableObject* pObject);
    // Whether InvalidateObject would do anything: not while the whole image is to be painted afresh anyway.
    bool TracksObjects() const { return !m_bAll; }

    // Brings the image up to date with the objects (in painting order) under the mapping of the window (image
    // pixels) onto the viewport (widget pixels), for a widget of that size and pixel ratio, and returns it.
    const QImage& Update(const Objects& vctObjects, const QRect& viewport, const QRect& window, const QSize& size,
                         qreal dblPixelRatio);

    // Paints the objects that reach any of the areas (widget pixels), or come within a few pixels of one, through the
    // mapping, in list order, without cutting them to the areas. When pPainted is given, every object painted is
    // appended to it.
    static void PaintObjects(QPainter& painter, const Objects& vctObjects, const QRect& viewport, const QRect& window,
                             const QVector<QRect>& vctAreas, std::vector<const CDrawableObject*>* pPainted = nullptr);

private:
    // What an object's painting was made from, to tell later which pixels it covered.
    struct SPainted
    {
        QRectF boundary;
        QPointF anchor;
        QString strLabel;
    };
    static SPainted Describe(const CDrawableObject& object);
    // The widget pixels that an object so described covers under the current mapping.
    QRect Reach(const SPainted& painted) const;
    void PaintAll(const Objects& vctObjects);
    void PaintChanged(const Objects& vctObjects);

    QImage m_image;
    QSize m_size;
    QRect m_viewport;
    QRect m_window;
    bool m_bAll = true;
    std::vector<QRect> m_vctChanged;
    std::unordered_map<unsigned int, SPainted> m_mapPainted;
};
