#include "Internal/CRegionMask.h"

#include "Geometry/COvrelGeometryArray.h"
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
