#pragma once

#include "Utils/COvrelImage.h"

#include <QStringList>

// Library images as text, so a test states a whole picture in one line: channels joined by ',',
// pixels by ' ', rows by '|'. "1 2 3|4 5 6" is a grey 3 x 2 image, "1,2,3 4,5,6" an RGB 2 x 1 one.
namespace ImageText
{

inline QString Pixel(const unsigned char* pPixel, int nChannels)
{
    QStringList values;
    for (int c = 0; pPixel && c < nChannels; ++c)
        values << QString::number(pPixel[c]);
    return values.join(',');
}

inline QString Dump(const Ovrel::Utils::COvrelImage& image)
{
    QStringList rows;
    for (int y = 0; y < image.GetHeight(); ++y)
    {
        QStringList pixels;
        for (int x = 0; x < image.GetWidth(); ++x)
            pixels << Pixel(image.GetPixel(x, y), image.GetChannels());
        rows << pixels.join(' ');
    }
    return rows.join('|');
}

inline std::unique_ptr<Ovrel::Utils::COvrelImage> Make(const QString& strPicture)
{
    const QStringList rows = strPicture.split('|');
    auto pImage = std::make_unique<Ovrel::Utils::COvrelImage>();
    pImage->Create(rows[0].count(' ') + 1, rows.size(), rows[0].section(' ', 0, 0).count(',') + 1);
    for (int y = 0; y < rows.size(); ++y)
    {
        const QStringList samples = QString(rows[y]).replace(' ', ',').split(',');
        for (int i = 0; i < samples.size(); ++i)
            pImage->GetRows()[y][i] = static_cast<unsigned char>(samples[i].toInt());
    }
    return pImage;
}

} // namespace ImageText
