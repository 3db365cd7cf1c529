#pragma once

namespace Ovrel
{
namespace Utils
{

// How filters see pixels beyond the image edge. The integer "mode" argument of the filters takes
// these values (they match OpenCV's border numbering so they pass through unchanged).
enum EOvrelBorderMode
{
    EOvrelBorderMode_Constant = 0,  // every outside pixel has the given value in all channels
    EOvrelBorderMode_Replicate = 1, // the edge pixel repeats: aaa|abcd|ddd
    EOvrelBorderMode_Reflect = 2,   // mirrored including the edge: cba|abcd|dcb
    EOvrelBorderMode_Wrap = 3,      // the opposite edge continues: bcd|abcd|abc
    EOvrelBorderMode_Reflect101 = 4 // mirrored about the edge pixel: dcb|abcd|cba
};

} // namespace Utils
} // namespace Ovrel
