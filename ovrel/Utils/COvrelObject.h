#pragma once

#include "OvrelGlobal.h"

namespace Ovrel
{
namespace Utils
{

// Base of the library's objects: each one carries a UID that no other object created in the same
// process run shares (until 2^32 objects have been made). A copy is a new object and gets its own UID.
class OVREL_EXPORT COvrelObject
{
public:
    COvrelObject();
    COvrelObject(const COvrelObject& other);
    COvrelObject& operator=(const COvrelObject& other);
    virtual ~COvrelObject();

    unsigned int GetUID() const { return m_nUID; }

    // Tolerant equality: true when |a - b| <= eps * max(1, |a|, |b|), with eps 1e-5 for float and
    // 1e-9 for double, so values near zero compare absolutely and large ones relatively.
    // NaN equals nothing; equal infinities are equal.
    static bool CompareEqual(float a, float b);
    static bool CompareEqual(double a, double b);

private:
    unsigned int m_nUID;
};

} // namespace Utils
} // namespace Ovrel
