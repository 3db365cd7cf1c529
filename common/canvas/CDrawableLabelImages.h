#pragma once

#include <QPointF>
#include <QString>

#include <memory>

class QPainter;

// The name and length labels of canvas objects as images, kept per text and sub-pixel position, so that a canvas full
// of named boxes copies its labels instead of writing them afresh whenever one object changes. Not thread-safe: each
// painting thread keeps its own.
class CDrawableLabelImages
{
public:
    CDrawableLabelImages();
    ~CDrawableLabelImages();

    // Draws the label with its baseline starting at the device point; the painter maps device pixels one to one.
    void Draw(QPainter& painter, const QPointF& device, const QString& strText);

private:
    class CImages;
    std::unique_ptr<CImages> m_pImages;
};
