#pragma once

namespace Ovrel
{
namespace Utils
{

// Resampling used by COvrelImage::Rotate for angles that are not quarter turns (quarter turns move
// pixels exactly and ignore it, but the value is still checked).
enum EOvrelInterpolation
{
    EOvrelInterpolation_Nearest = 0,
    EOvrelInterpolation_Linear = 1,
    EOvrelInterpolation_Cubic = 2
};

} // namespace Utils
} // namespace Ovrel
