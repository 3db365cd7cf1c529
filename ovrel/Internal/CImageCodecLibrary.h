#pragma once

#include "Internal/SImageCodecs.h"

namespace Ovrel
{
namespace Internal
{

// Loads the codec plugin (libOvrelCodecs.so, beside this library) on the first call, once per process and safely
// from any thread. When it cannot be loaded the reason goes to standard error once, and every function fails as an
// unreadable or unwritable file does: an empty picture, false.
class CImageCodecLibrary
{
public:
    static const SImageCodecs& Get();
};

} // namespace Internal
} // namespace Ovrel
