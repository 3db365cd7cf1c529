#pragma once

#include <opencv2/core.hpp>

namespace Ovrel
{
namespace Geometry
{
class COvrelGeometry;
class COvrelLine;
} // namespace Geometry

namespace Internal
{

// Turns a region into the set of image pixels it covers: pixel (x, y) belongs to the region
// exactly when the region's Contained() holds for its centre (x + 0.5, y + 0.5). Rectangles are
// closed (a centre on the right or bottom edge is inside), polygons follow the even-odd rule, and
// lines and points cover only the centres that lie on them.
class CRegionMask
{
public:
    // bounds receives the smallest pixel rectangle inside the image that holds the region's pixels,
    // mask an 8-bit mask of that size (255 inside). Returns false when the region covers no pixel.
    static bool Build(const Geometry::COvrelGeometry& region, const cv::Size& imageSize, cv::Rect& bounds,
                      cv::Mat& mask);

private:
    // Marks the pixels of the region inside area (image coordinates); mask covers area.
    static void Draw(const Geometry::COvrelGeometry& region, const cv::Rect& area, cv::Mat& mask);
    static void DrawEllipse(const Geometry::COvrelGeometry& region, const cv::Rect& area, cv::Mat& mask);
    static void DrawLine(const Geometry::COvrelLine& line, const cv::Rect& area, cv::Mat& mask);
    static void DrawByTest(const Geometry::COvrelGeometry& region, const cv::Rect& area, cv::Mat& mask);
};

} // namespace Internal
} // namespace Ovrel
