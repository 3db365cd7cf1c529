#include "CTestOcrImage.h"

#include "Utils/COvrelImage.h"

#include <QFont>
#include <QImage>
#include <QPainter>

void CTestOcrImage::TwoWords(Ovrel::Utils::COvrelImage& image, int nChannels, bool bTransparent)
{
    image.Create(800, 160, nChannels);
    QImage view(image.GetData(), 800, 160, image.GetBytesPerLine(),
                nChannels == 1   ? QImage::Format_Grayscale8
                : nChannels == 3 ? QImage::Format_RGB888
                                 : QImage::Format_RGBA8888);
    view.fill(bTransparent ? Qt::transparent : Qt::white);
    QPainter painter(&view);
    QFont font("DejaVu Sans");
    font.setPixelSize(56);
    painter.setFont(font);
    painter.drawText(QRect(20, 0, 360, 160), Qt::AlignVCenter, "SUNSHINE");
    painter.drawText(QRect(420, 0, 360, 160), Qt::AlignVCenter, "GARDEN");
}
