#pragma once

#include "canvas/CDrawableGeometry.h"

#include "Geometry/COvrelRectangle.h"
#include "Utils/COvrelImage.h"

#include <QComboBox>
#include <QPushButton>
#include <QRect>
#include <QStandardItemModel>
#include <QStringList>
#include <QTest>

#include <cstring>
#include <memory>

// What the tool tests share: test images, shapes, and the user's moves on a tool dialog.
namespace ToolTest
{

// An image of scattered values, so that every filter changes most pixels.
inline std::shared_ptr<Ovrel::Utils::COvrelImage> Noise(int nWidth, int nHeight, int nChannels)
{
    auto pImage = std::make_shared<Ovrel::Utils::COvrelImage>();
    pImage->Create(nWidth, nHeight, nChannels);
    for (int y = 0; y < nHeight; ++y)
        for (int x = 0; x < nWidth; ++x)
            for (int c = 0; c < nChannels; ++c)
                pImage->GetPixel(x, y)[c] =
                    static_cast<unsigned char>(((x * 7919u + y * 104729u + c * 31u) * 2654435761u) >> 24);
    return pImage;
}

inline std::shared_ptr<CDrawableGeometry> Shape(const QString& strName, const QRect& rect)
{
    auto pShape = std::make_shared<CDrawableGeometry>(
        std::make_shared<Ovrel::Geometry::COvrelRectangle>(rect.x(), rect.y(), rect.width(), rect.height()));
    pShape->SetName(strName);
    return pShape;
}

inline bool SamePixel(const Ovrel::Utils::COvrelImage& a, const Ovrel::Utils::COvrelImage& b, int x, int y)
{
    return std::memcmp(a.GetPixel(x, y), b.GetPixel(x, y), static_cast<size_t>(a.GetChannels())) == 0;
}

inline bool SameImage(const Ovrel::Utils::COvrelImage& a, const Ovrel::Utils::COvrelImage& b)
{
    if (a.GetWidth() != b.GetWidth() || a.GetHeight() != b.GetHeight() || a.GetChannels() != b.GetChannels())
        return false;
    for (int y = 0; y < a.GetHeight(); ++y)
        for (int x = 0; x < a.GetWidth(); ++x)
            if (!SamePixel(a, b, x, y))
                return false;
    return true;
}

// How many pixels differ between the two images inside the rectangle (bInside) or outside it.
inline int ChangedPixels(const Ovrel::Utils::COvrelImage& a, const Ovrel::Utils::COvrelImage& b, const QRect& rect,
                         bool bInside)
{
    int nChanged = 0;
    for (int y = 0; y < a.GetHeight(); ++y)
        for (int x = 0; x < a.GetWidth(); ++x)
            if (rect.contains(x, y) == bInside && !SamePixel(a, b, x, y))
                ++nChanged;
    return nChanged;
}

inline QStringList Items(const QComboBox* pBox)
{
    QStringList lstItems;
    for (int i = 0; i < pBox->count(); ++i)
        lstItems << pBox->itemText(i);
    return lstItems;
}

// The entry of the first region of that name ("roi" of "roi (20, 10, 60x40)"), -1 when there is none.
inline int RegionIndex(const QComboBox* pBox, const QString& strName)
{
    for (int i = 0; i < pBox->count(); ++i)
    {
        if (pBox->itemText(i).startsWith(strName + " ("))
            return i;
    }
    return -1;
}

// Types the text into column 1 of the row, as a committed edit of the table.
inline void SetCell(QStandardItemModel* pItems, int nRow, const QString& strText)
{
    pItems->setData(pItems->index(nRow, 1), strText, Qt::EditRole);
}

inline void PressRun(QWidget* pDialog)
{
    auto* pRun = pDialog->findChild<QPushButton*>("Run");
    QVERIFY(pRun);
    QTest::mouseClick(pRun, Qt::LeftButton);
}

} // namespace ToolTest
