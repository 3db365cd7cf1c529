#pragma once

#include "OvrelCommonGlobal.h"

#include <QFont>
#include <QRect>
#include <QRectF>

class QImage;
class QPainter;

// The close-up of a canvas zoomed in far enough that one image pixel covers many screen pixels: a grid line along
// every pixel edge and each pixel's channel values written inside it (one value per line, red, green, blue, then the
// fourth channel in white; a grey value in white). Works in screen coordinates: the caller hands in where the whole
// image lies on screen.
class OVRELCOMMON_EXPORT CPixelGridPainter
{
public:
    // The font of the values.
    static QFont ValueFont();
    // Channels shown per pixel of an image in the formats a canvas displays: 1 for Grayscale8, 3 for RGB888, 4 for
    // RGBA8888; 1 (the first channel) for anything else.
    static int ChannelCount(const QImage& image);
    // Whether a pixel nPixelHeight screen pixels high holds the values: one line of nFontHeight per channel and a
    // margin of 5.
    static bool ValuesFit(int nChannels, int nFontHeight, double dblPixelHeight);

    // Draws the grid over the image pixels of sourcePixels and the values of those of them that reach into
    // visibleArea (screen), with the image as a whole drawn over imageOnScreen.
    static void Paint(QPainter& painter, const QImage& image, const QRect& sourcePixels, const QRectF& imageOnScreen,
                      const QRect& visibleArea);
};
