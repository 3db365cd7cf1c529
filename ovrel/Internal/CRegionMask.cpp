#include "Internal/CRegionMask.h"

#include "Geometry/COvrelEllipse.h"
#include "Geometry/COvrelGeometryArray.h"
#include "Geometry/COvrelLine.h"
#include "Geometry/COvrelPoint.h"
#include "Geometry/COvrelPolygon.h"
#include "Geometry/COvrelRectangle.h"
#include "Internal/CEvenOddScan.h"

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

double Centre(int nPixel)
{
    return nPixel + 0.5;
}

} // namespace

bool CRegionMask::Build(const COvrelGeometry& region, const cv::Size& imageSize, cv::Rect& bounds, cv::Mat& mask)
{
    const COvrelRectangle box = region.GetBoundary();
    if (!std::isfinite(box.left()) || !std::isfinite(box.top()) || !std::isfinite(box.right()) ||
        !std::isfinite(box.bottom()))
        return false;
    // One pixel more on every side: points, lines and an ellipse's rim contain what lies within a
    // tolerance of them, which may be a centre just beyond the bounding box.
    const auto clamp = [](double value, int nLimit)
    { return static_cast<int>(std::clamp(value, 0.0, double(nLimit))); };
    const int nLeft = clamp(std::floor(box.left()) - 1.0, imageSize.width);
    const int nTop = clamp(std::floor(box.top()) - 1.0, imageSize.height);
    const int nRight = clamp(std::ceil(box.right()) + 1.0, imageSize.width);
    const int nBottom = clamp(std::ceil(box.bottom()) + 1.0, imageSize.height);
    const cv::Rect area(nLeft, nTop, nRight - nLeft, nBottom - nTop);
    if (area.empty())
        return false;
    cv::Mat areaMask = cv::Mat::zeros(area.size(), CV_8UC1);
    Draw(region, area, areaMask);
    const cv::Rect covered = cv::boundingRect(areaMask);
    if (covered.empty())
        return false;
    bounds = covered + area.tl();
    mask = areaMask(covered);
    return true;
}

void CRegionMask::Draw(const COvrelGeometry& region, const cv::Rect& area, cv::Mat& mask)
{
    switch (region.GetType())
    {
    case EGeometryType_Rectangle:
    {
        // Inside is a test per coordinate, so one probe per column and one per row decide it.
        const COvrelRectangle box = region.GetBoundary();
        COvrelPoint probe;
        std::vector<uchar> vctColumns(static_cast<size_t>(area.width));
        for (int i = 0; i < area.width; ++i)
        {
            probe.Set(Centre(area.x + i), box.top());
            vctColumns[static_cast<size_t>(i)] = region.Contained(probe) ? 255 : 0;
        }
        for (int r = 0; r < area.height; ++r)
        {
            probe.Set(box.left(), Centre(area.y + r));
            if (!region.Contained(probe))
                continue;
            uchar* const pRow = mask.ptr<uchar>(r);
            for (int i = 0; i < area.width; ++i)
                pRow[i] |= vctColumns[static_cast<size_t>(i)];
        }
        return;
    }
    case EGeometryType_Polygon:
    {
        // A scan line per row of centres, with the crossings of COvrelPolygon::Contained itself:
        // asking Contained for every pixel would copy the vertices for each one.
        const auto* pPolygon = dynamic_cast<const COvrelPolygon*>(&region);
        if (!pPolygon)
            return DrawByTest(region, area, mask);
        const std::vector<COvrelPoint> vctVertices = pPolygon->GetVertices();
        std::vector<double> vctCrossings;
        for (int r = 0; r < area.height; ++r)
        {
            vctCrossings.clear();
            CEvenOddScan::Crossings(vctVertices, Centre(area.y + r), vctCrossings);
            // A NaN crossing (from overflowing coordinates) never lies right of a point.
            vctCrossings.erase(std::remove_if(vctCrossings.begin(), vctCrossings.end(),
                                              [](double value) { return std::isnan(value); }),
                               vctCrossings.end());
            std::sort(vctCrossings.begin(), vctCrossings.end());
            uchar* const pRow = mask.ptr<uchar>(r);
            auto firstRight = vctCrossings.begin();
            for (int i = 0; i < area.width; ++i)
            {
                // The crossings right of x (x < crossing) are those from the first such one on.
                const double x = Centre(area.x + i);
                firstRight = std::upper_bound(firstRight, vctCrossings.end(), x);
                if ((vctCrossings.end() - firstRight) % 2 == 1)
                    pRow[i] = 255;
            }
        }
        return;
    }
    case EGeometryType_Ellipse:
        DrawEllipse(region, area, mask);
        return;
    case EGeometryType_Line:
    {
        const auto* pLine = dynamic_cast<const COvrelLine*>(&region);
        if (!pLine)
            return DrawByTest(region, area, mask);
        DrawLine(*pLine, area, mask);
        return;
    }
    case EGeometryType_GeometryArray:
    {
        const auto* pArray = dynamic_cast<const COvrelGeometryArray*>(&region);
        if (!pArray)
            return DrawByTest(region, area, mask);
        for (int i = 0; i < pArray->Size(); ++i)
        {
            if (const auto pItem = pArray->At(i))
                Draw(*pItem, area, mask);
        }
        return;
    }
    default:
        DrawByTest(region, area, mask);
        return;
    }
}

void CRegionMask::DrawEllipse(const COvrelGeometry& region, const cv::Rect& area, cv::Mat& mask)
{
    // Along a row the test grows with the distance from the centre column, so the centres inside
    // form one run around it. The run's ends are estimated from the equation and then settled
    // with Contained itself, which a pixel-by-pixel test would call for the whole box.
    const auto* pEllipse = dynamic_cast<const COvrelEllipse*>(&region);
    if (!pEllipse || !(pEllipse->radiusA() > 0.0) || !(pEllipse->radiusB() > 0.0))
        return DrawByTest(region, area, mask);
    const double centreX = pEllipse->centerX();
    const int nFirst = area.x;
    const int nLast = area.x + area.width - 1;
    const int nMiddle = static_cast<int>(std::clamp(std::floor(centreX), double(nFirst), double(nLast)));
    COvrelPoint probe;
    for (int r = 0; r < area.height; ++r)
    {
        const double y = Centre(area.y + r);
        const auto inside = [&](int nColumn)
        {
            probe.Set(Centre(nColumn), y);
            return region.Contained(probe);
        };
        if (!inside(nMiddle))
            continue;
        const double v = (y - pEllipse->centerY()) / pEllipse->radiusB();
        const double halfWidth = pEllipse->radiusA() * std::sqrt(std::max(0.0, 1.0 - v * v));
        int nLeft = static_cast<int>(std::clamp(std::ceil(centreX - halfWidth - 0.5), double(nFirst), double(nMiddle)));
        int nRight =
            static_cast<int>(std::clamp(std::floor(centreX + halfWidth - 0.5), double(nMiddle), double(nLast)));
        while (nLeft > nFirst && inside(nLeft - 1))
            --nLeft;
        while (!inside(nLeft))
            ++nLeft;
        while (nRight < nLast && inside(nRight + 1))
            ++nRight;
        while (!inside(nRight))
            --nRight;
        uchar* const pRow = mask.ptr<uchar>(r);
        std::fill(pRow + (nLeft - area.x), pRow + (nRight - area.x) + 1, uchar(255));
    }
}

void CRegionMask::DrawLine(const COvrelLine& line, const cv::Rect& area, cv::Mat& mask)
{
    // A centre on the segment has a segment point within a pixel above or below it, so each row
    // tests only the columns next to the part of the segment in that band.
    const COvrelPoint& start = line.start();
    const double dx = line.end().x() - start.x();
    const double dy = line.end().y() - start.y();
    COvrelPoint probe;
    for (int r = 0; r < area.height; ++r)
    {
        const double y = Centre(area.y + r);
        double t0 = 0.0;
        double t1 = 1.0;
        if (dy != 0.0)
        {
            t0 = std::max(0.0, std::min((y - 1.0 - start.y()) / dy, (y + 1.0 - start.y()) / dy));
            t1 = std::min(1.0, std::max((y - 1.0 - start.y()) / dy, (y + 1.0 - start.y()) / dy));
        }
        else if (std::fabs(y - start.y()) > 1.0)
        {
            continue;
        }
        if (!(t0 <= t1))
            continue;
        const double left = std::min(start.x() + t0 * dx, start.x() + t1 * dx);
        const double right = std::max(start.x() + t0 * dx, start.x() + t1 * dx);
        const int nFrom = static_cast<int>(std::max(std::floor(left - 0.5) - 1.0, double(area.x)));
        const int nTo = static_cast<int>(std::min(std::ceil(right - 0.5) + 1.0, double(area.x + area.width - 1)));
        uchar* const pRow = mask.ptr<uchar>(r);
        for (int nColumn = nFrom; nColumn <= nTo; ++nColumn)
        {
            probe.Set(Centre(nColumn), y);
            if (line.Contained(probe))
                pRow[nColumn - area.x] = 255;
        }
    }
}

void CRegionMask::DrawByTest(const COvrelGeometry& region, const cv::Rect& area, cv::Mat& mask)
{
    // One probe moved from centre to centre: a new point per pixel would use up object UIDs.
    COvrelPoint probe;
    for (int r = 0; r < area.height; ++r)
    {
        uchar* const pRow = mask.ptr<uchar>(r);
        for (int i = 0; i < area.width; ++i)
        {
            probe.Set(Centre(area.x + i), Centre(area.y + r));
            if (region.Contained(probe))
                pRow[i] = 255;
        }
    }
}

} // namespace Internal
} // namespace Ovrel
