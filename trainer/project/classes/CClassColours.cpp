#include "project/classes/CClassColours.h"

#include "project/classes/CProjectCategories.h"

#include <QPainter>
#include <QPixmap>

#include <array>

namespace
{
// Nineteen colours that stay apart from each other and from the grey of a gone class, brightest contrast first, so that
// the few classes of most projects get the colours easiest to tell apart.
constexpr std::array<QRgb, 19> kPalette = {0xffe6194b, 0xff3cb44b, 0xffffe119, 0xff4363d8, 0xfff58231,
                                           0xff911eb4, 0xff42d4f4, 0xfff032e6, 0xffbfef45, 0xfffabed4,
                                           0xff469990, 0xffdcbeff, 0xff9a6324, 0xfffffac8, 0xff800000,
                                           0xffaaffc3, 0xff808000, 0xffffd8b1, 0xff000075};

constexpr int kSwatchSize = 16;
} // namespace

QColor CClassColours::OfIndex(int nIndex)
{
    if (nIndex < 0)
        return Gone();
    return QColor::fromRgba(kPalette[static_cast<size_t>(nIndex) % kPalette.size()]);
}

QColor CClassColours::OfName(const CProjectCategories& classes, const QString& strName)
{
    return OfIndex(classes.IndexOf(classes.IDOf(strName)));
}

QColor CClassColours::Gone()
{
    return QColor(128, 128, 128);
}

QList<QColor> CClassColours::OfList(const QStringList& lstNames)
{
    QList<QColor> lstColours;
    for (int i = 0; i < lstNames.size(); ++i)
        lstColours.append(OfIndex(i));
    return lstColours;
}

QIcon CClassColours::Swatch(const QColor& colour)
{
    QPixmap pixmap(kSwatchSize, kSwatchSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(QColor(40, 40, 40));
    painter.setBrush(colour);
    painter.drawRect(QRect(1, 1, kSwatchSize - 3, kSwatchSize - 3));
    painter.end();
    return QIcon(pixmap);
}
