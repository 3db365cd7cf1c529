#pragma once

// Which boxes the trainer can learn from, in units of their image (the image is the square 0 to 1 on both axes): the
// one rule for boxes a build writes and boxes an import reads, so that an imported box never stops a build.
class CBoxRule
{
public:
    // A box reaching this far beyond an image edge is rounding, not a box beyond the image.
    static constexpr double kEdgeTolerance = 1e-6;
    // The smallest size a label line's six decimals still show as a size.
    static constexpr double kSmallestSize = 1e-6;

    // True when every value is a finite number, the box has a size on both axes, meets the image and reaches no
    // further than one image size beyond any of its edges. A box partly outside the image is usable: the trainer
    // cuts it at the edges.
    static bool IsUsable(double dblLeft, double dblTop, double dblWidth, double dblHeight);
    // The same for a box in pixels of an image of that size; false when the image has no size.
    static bool IsUsableInPixels(double dblX, double dblY, double dblWidth, double dblHeight, double dblImageWidth,
                                 double dblImageHeight);
};
