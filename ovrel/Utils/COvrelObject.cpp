#include "Utils/COvrelObject.h"

#include <algorithm>
#include <atomic>
#include <cmath>

namespace Ovrel
{
namespace Utils
{

namespace
{

unsigned int NextUID()
{
    // Starts at 1 so that 0 never names a live object.
    static std::atomic<unsigned int> s_nNext{1};
    return s_nNext.fetch_add(1, std::memory_order_relaxed);
}

template <typename T> bool TolerantEqual(T a, T b, T epsilon)
{
    if (a == b)
        return true;
    if (std::isnan(a) || std::isnan(b) || std::isinf(a) || std::isinf(b))
        return false;
    const T scale = std::max({T(1), std::fabs(a), std::fabs(b)});
    return std::fabs(a - b) <= epsilon * scale;
}

} // namespace

COvrelObject::COvrelObject() : m_nUID(NextUID()) {}

COvrelObject::COvrelObject(const COvrelObject& /*other*/) : m_nUID(NextUID()) {}

COvrelObject& COvrelObject::operator=(const COvrelObject& /*other*/)
{
    // An object keeps its identity when it takes over another one's content.
    return *this;
}

COvrelObject::~COvrelObject() = default;

bool COvrelObject::CompareEqual(float a, float b)
{
    return TolerantEqual(a, b, 1e-5f);
}

bool COvrelObject::CompareEqual(double a, double b)
{
    return TolerantEqual(a, b, 1e-9);
}

} // namespace Utils
} // namespace Ovrel
