#pragma once
// Positions and sizes are 32-bit, and a form file may hold any value of that range. Arithmetic on
// them goes through these, so a move past an edge stops at the edge instead of wrapping round.

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

// A control's place as plain numbers. A QRect keeps its last pixel (x + width - 1), which
// overflows for a control that reaches the end of the range; a Box's edges are 64-bit.
struct Box {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    // One past the last pixel.
    constexpr std::int64_t right() const { return std::int64_t{left} + width; }
    constexpr std::int64_t bottom() const { return std::int64_t{top} + height; }
    friend bool operator==(const Box&, const Box&) = default;
};
