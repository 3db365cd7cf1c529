#include "Internal/CRegionMask.h"

#include "Geometry/COvrelEllipse.h"
#include "Geometry/COvrelGeometryArray.h"
#include "Geometry/COvrelLine.h"
#include "Geometry/COvrelPoint.h"
#include "Geometry/COvrelPolygon.h"
#include "Geometry/COvrelRectangle.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>
#include <vector>

namespace Ovrel
{
namespace Internal
{

using namespace Geometry;

namespace
{

// Fixed-point fraction bits for OpenCV's drawing functions.
constexpr int kShift = 8;
constexpr double kScale = 1 << kShift;
// Coordinates are clamped so that the fixed-point values stay well inside int.
constexpr double kLimit = 1 << 22;

// OpenCV puts pixel centres on whole numbers, this library on half numbers.
int FixedPoint(double value, double origin)
{
    const double shifted = std::clamp(value - 0.5 - origin, -kLimit, kLimit);
    return static_cast<int>(std::lround(shifted * kScale));
}

cv::Point ToFixed(const COvrelPoint& point, const cv::Point2d& origin)
{
    return cv::Point(FixedPoint(point.x(), origin.x), FixedPoint(point.y(), origin.y));
}

int FirstCentreAtOrAfter(double edge)
{
    return static_cast<int>(std::ceil(std::clamp(edge - 0.5, -kLimit, kLimit)));
}

} // namespace

bool CRegionMask::Build(const COvrelGeometry& region, const cv::Size& imageSize, cv::Rect& bounds, cv::Mat& mask)
{
    const COvrelRectangle box = region.GetBoundary();
    if (!std::isfinite(box.left()) || !std::isfinite(box.top()) || !std::isfinite(box.right()) ||
        !std::isfinite(box.bottom()))
        return false;
    const double left = std::clamp(std::floor(box.left()), 0.0, static_cast<double>(imageSize.width));
    const double top = std::clamp(std::floor(box.top()), 0.0, static_cast<double>(imageSize.height));
    // A shape without width (a vertical line, a point) still touches the pixel column it lies in.
    const double right =
        std::clamp(std::max(std::ceil(box.right()), std::floor(box.left()) + 1.0), 0.0, double(imageSize.width));
    const double bottom =
        std::clamp(std::max(std::ceil(box.bottom()), std::floor(box.top()) + 1.0), 0.0, double(imageSize.height));
    bounds = cv::Rect(static_cast<int>(left), static_cast<int>(top), static_cast<int>(right - left),
                      static_cast<int>(bottom - top));
    if (bounds.empty())
        return false;
    mask = cv::Mat::zeros(bounds.size(), CV_8UC1);
    Draw(region, cv::Point2d(bounds.x, bounds.y), mask);
    return cv::countNonZero(mask) > 0;
}

void CRegionMask::Draw(const COvrelGeometry& region, const cv::Point2d& origin, cv::Mat& mask)
{
    const cv::Scalar inside(255);
    switch (region.GetType())
    {
    case EGeometryType_Point:
    {
        const auto* pPoint = dynamic_cast<const COvrelPoint*>(&region);
        if (!pPoint)
            return;
        const double column = std::floor(pPoint->x()) - origin.x;
        const double row = std::floor(pPoint->y()) - origin.y;
        if (column >= 0 && row >= 0 && column < mask.cols && row < mask.rows)
            mask.at<uchar>(static_cast<int>(row), static_cast<int>(column)) = 255;
        return;
    }
    case EGeometryType_Line:
    {
        const auto* pLine = dynamic_cast<const COvrelLine*>(&region);
        if (pLine)
            cv::line(mask, ToFixed(pLine->start(), origin), ToFixed(pLine->end(), origin), inside, 1, cv::LINE_8,
                     kShift);
        return;
    }
    case EGeometryType_Rectangle:
    {
        const auto* pRectangle = dynamic_cast<const COvrelRectangle*>(&region);
        if (!pRectangle)
            return;
        const int x0 = std::max(FirstCentreAtOrAfter(pRectangle->left()) - static_cast<int>(origin.x), 0);
        const int y0 = std::max(FirstCentreAtOrAfter(pRectangle->top()) - static_cast<int>(origin.y), 0);
        const int x1 = std::min(FirstCentreAtOrAfter(pRectangle->right()) - static_cast<int>(origin.x), mask.cols);
        const int y1 = std::min(FirstCentreAtOrAfter(pRectangle->bottom()) - static_cast<int>(origin.y), mask.rows);
        if (x1 > x0 && y1 > y0)
            mask(cv::Rect(x0, y0, x1 - x0, y1 - y0)).setTo(inside);
        return;
    }
    case EGeometryType_Ellipse:
    {
        const auto* pEllipse = dynamic_cast<const COvrelEllipse*>(&region);
        if (!pEllipse || pEllipse->radiusA() <= 0.0 || pEllipse->radiusB() <= 0.0)
            return;
        const cv::Point centre = ToFixed(COvrelPoint(pEllipse->centerX(), pEllipse->centerY()), origin);
        const cv::Size axes(static_cast<int>(std::lround(std::min(pEllipse->radiusA(), kLimit) * kScale)),
                            static_cast<int>(std::lround(std::min(pEllipse->radiusB(), kLimit) * kScale)));
        cv::ellipse(mask, centre, axes, 0.0, 0.0, 360.0, inside, cv::FILLED, cv::LINE_8, kShift);
        return;
    }
    case EGeometryType_Polygon:
    {
        const auto* pPolygon = dynamic_cast<const COvrelPolygon*>(&region);
        if (!pPolygon)
            return;
        std::vector<cv::Point> vctPoints;
        for (const COvrelPoint& vertex : pPolygon->GetVertices())
            vctPoints.push_back(ToFixed(vertex, origin));
        if (vctPoints.size() >= 3)
        {
            const cv::Point* pPoints = vctPoints.data();
            const int nCount = static_cast<int>(vctPoints.size());
            cv::fillPoly(mask, &pPoints, &nCount, 1, inside, cv::LINE_8, kShift);
        }
        else if (vctPoints.size() == 2)
        {
            cv::line(mask, vctPoints[0], vctPoints[1], inside, 1, cv::LINE_8, kShift);
        }
        else if (vctPoints.size() == 1)
        {
            Draw(pPolygon->GetVertices().front(), origin, mask);
        }
        return;
    }
    case EGeometryType_GeometryArray:
    {
        const auto* pArray = dynamic_cast<const COvrelGeometryArray*>(&region);
        if (!pArray)
            return;
        for (int i = 0; i < pArray->Size(); ++i)
        {
            if (const auto pItem = pArray->At(i))
                Draw(*pItem, origin, mask);
        }
        return;
    }
    default:
        return;
    }
}

} // namespace Internal
} // namespace Ovrel
