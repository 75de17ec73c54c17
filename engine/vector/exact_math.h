#pragma once
// Some of the libm functions a block calls, computed in place with the same
// results: a block starts with cold caches, and each call into libm fetches
// its code from a page of its own. Outside the common range (subnormals,
// huge values, NaN) each falls back on the library function.

#include <bit>
#include <cmath>
#include <cstdint>

namespace exact {

constexpr int kMantissaBits = 52;
constexpr int kExponentBias = 1023;

// std::ilogb: the binary exponent of x.
inline int ilogb(double x)
{
    const auto biased = static_cast<int>((std::bit_cast<uint64_t>(x) >> kMantissaBits) & 0x7FF);
    if (biased == 0 || biased == 0x7FF)
        return std::ilogb(x);
    return biased - kExponentBias;
}

// std::ldexp(1.0, e): 2 to the power e.
inline double powerOfTwo(int e)
{
    if (e < 1 - kExponentBias || e > kExponentBias)
        return std::ldexp(1.0, e);
    return std::bit_cast<double>(static_cast<uint64_t>(e + kExponentBias) << kMantissaBits);
}

// std::llround: to the nearest integer, halves away from zero.
inline long long llround(double v)
{
    constexpr double kInRange = 0x1p62;
    if (!(std::fabs(v) < kInRange))
        return std::llround(v);
    const auto truncated = static_cast<long long>(v);
    const double fraction = v - static_cast<double>(truncated);   // exact
    if (fraction >= 0.5)
        return truncated + 1;
    if (fraction <= -0.5)
        return truncated - 1;
    return truncated;
}

// std::modf: the fraction of x, with x's sign, and its whole part in
// *whole. The conversion to an integer truncates as modf does, and x minus
// that whole part is exact. A few instructions where the call fetched
// libm's page on every block.
inline double modf(double x, double* whole)
{
    constexpr double kInRange = 0x1p62;
    if (!(std::fabs(x) < kInRange))
        return std::modf(x, whole);
    if (std::fabs(x) < 1.0) {
        // All fraction, bit for bit (a subnormal too, which the conversion
        // would read as zero where denormals are flushed).
        *whole = std::copysign(0.0, x);
        return x;
    }
    *whole = std::copysign(static_cast<double>(static_cast<long long>(x)), x);
    return std::copysign(x - *whole, x);
}

} // namespace exact
