#pragma once

#include <opencv2/core.hpp>

namespace Ovrel
{
namespace Geometry
{
class COvrelGeometry;
}

namespace Internal
{

// Turns a region into the set of image pixels it covers: a pixel belongs to the region when its
// centre (x + 0.5, y + 0.5) lies inside the shape. Rectangles are exact (edges half-open, so a
// rectangle with whole-number corners covers exactly the pixels between them); ellipses and
// polygons are rasterised by OpenCV with sub-pixel corners; a line covers the pixels it crosses and
// a point the pixel it lies in.
class CRegionMask
{
public:
    // bounds receives the smallest pixel rectangle inside the image that holds the region, mask an
    // 8-bit mask of that size (255 inside). Returns false when the region covers no pixel.
    static bool Build(const Geometry::COvrelGeometry& region, const cv::Size& imageSize, cv::Rect& bounds,
                      cv::Mat& mask);

private:
    static void Draw(const Geometry::COvrelGeometry& region, const cv::Point2d& origin, cv::Mat& mask);
};

} // namespace Internal
} // namespace Ovrel
