#pragma once
// Positions and sizes are 32-bit, and a form file may hold any value of that range. Arithmetic on
// them goes through these, so a move past an edge stops at the edge instead of wrapping round.

#include <QRect>

#include <algorithm>
#include <cstdint>
#include <limits>

inline constexpr int clampToInt(std::int64_t value)
{
    return static_cast<int>(std::clamp<std::int64_t>(value, std::numeric_limits<int>::min(),
                                                     std::numeric_limits<int>::max()));
}

// a + b, stopped at the ends of int's range.
inline constexpr int saturatingAdd(int a, int b)
{
    return clampToInt(std::int64_t{a} + b);
}

// The right edge (x + width, one past the last pixel) as a 64-bit value, which never overflows.
inline constexpr std::int64_t rightEdge(const QRect& rect)
{
    return std::int64_t{rect.x()} + rect.width();
}

inline constexpr std::int64_t bottomEdge(const QRect& rect)
{
    return std::int64_t{rect.y()} + rect.height();
}
