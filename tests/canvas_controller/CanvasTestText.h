#pragma once

#include "CPromptAnswers.h"
#include "ImageText.h"

#include "images/CImageListModel.h"

#include "Utils/COvrelImage.h"

#include <QStringList>

// What the canvas command tests compare, as text.
namespace CanvasTestText
{
// The current image's size and its pixel (x, y), "20x10 30,20,200".
inline QString Shown(const CImageListModel& images, int x = 3, int y = 2)
{
    const std::shared_ptr<Ovrel::Utils::COvrelImage> pImage = images.GetCurrentImage();
    if (!pImage)
        return "none";
    return QString("%1x%2 %3")
        .arg(pImage->GetWidth())
        .arg(pImage->GetHeight())
        .arg(ImageText::Pixel(pImage->GetPixel(x, y), pImage->GetChannels()));
}

// Every prompt asked, one line each: "message Cannot load image /tmp/..", "open Load Image", "text Input the password".
inline QStringList Asked(const CPromptAnswers& answers)
{
    QStringList lines;
    for (const CPromptAnswers::SAsked& asked : answers.asked)
        lines << asked.strKind + " " + (asked.strKind == "message" ? asked.strText : asked.strTitle);
    return lines;
}
} // namespace CanvasTestText
