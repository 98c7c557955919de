#pragma once
// Runtime library: rounding of reals to integers. Plain C++, no Qt, so the colour model can use it.

#include <cmath>
#include <cstdint>
#include <limits>

namespace rtl_detail {

// An integral real to a 64-bit integer. A value the integer cannot hold saturates and NaN gives
// 0, where a plain conversion would be undefined behaviour.
template <typename Real>
std::int64_t ToInt64(Real X)
{
    constexpr Real Limit = Real(9223372036854775808.0);  // 2^63, exact in every real type
    if (!(X == X))
        return 0;
    if (X >= Limit)
        return std::numeric_limits<std::int64_t>::max();
    if (X < -Limit)
        return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(X);
}

}  // namespace rtl_detail

// Nearest integer, a tie going to the even integer (2.5 -> 2, 3.5 -> 4).
template <typename Real>
std::int64_t Round(Real X)
{
    return rtl_detail::ToInt64(std::nearbyint(X));
}

// Towards zero.
template <typename Real>
std::int64_t Trunc(Real X)
{
    return rtl_detail::ToInt64(std::trunc(X));
}

// Towards minus infinity.
template <typename Real>
std::int64_t Floor(Real X)
{
    return rtl_detail::ToInt64(std::floor(X));
}

inline int Min(int A, int B) { return A < B ? A : B; }
inline int Max(int A, int B) { return A > B ? A : B; }
