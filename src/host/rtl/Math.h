#pragma once
// Runtime library: rounding of reals to integers. Plain C++, no Qt, so the colour model can use it.

#include <cmath>
#include <cstdint>

// Nearest integer, a tie going to the even integer (2.5 -> 2, 3.5 -> 4).
template <typename Real>
std::int64_t Round(Real X)
{
    return static_cast<std::int64_t>(std::nearbyint(X));
}

// Towards zero.
template <typename Real>
std::int64_t Trunc(Real X)
{
    return static_cast<std::int64_t>(std::trunc(X));
}

// Towards minus infinity.
template <typename Real>
std::int64_t Floor(Real X)
{
    return static_cast<std::int64_t>(std::floor(X));
}

inline int Min(int A, int B) { return A < B ? A : B; }
inline int Max(int A, int B) { return A > B ? A : B; }
