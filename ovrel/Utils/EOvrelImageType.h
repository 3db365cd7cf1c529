#pragma once

namespace Ovrel
{
namespace Utils
{

// Sample type of an image. Only unsigned 8-bit samples exist; the value is part of Create so
// that callers state what they expect.
enum EOvrelImageType
{
    EOvrelImageType_UInt8 = 0
};

} // namespace Utils
} // namespace Ovrel
