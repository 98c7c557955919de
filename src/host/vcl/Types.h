#pragma once
// Toolkit value types shared by every layer. Plain C++, no Qt.

#include <cstdint>

// Signed 32-bit colour: blue << 16 | green << 8 | red for an RGB colour (top byte 0); a value with
// the top byte set names a toolkit system colour, resolved by ColorToRGB.
using TColor = std::int32_t;

struct TRect {
    std::int32_t Left = 0;
    std::int32_t Top = 0;
    std::int32_t Right = 0;
    std::int32_t Bottom = 0;

    std::int32_t Width() const { return Right - Left; }
    std::int32_t Height() const { return Bottom - Top; }
    friend bool operator==(const TRect&, const TRect&) = default;
};

inline TRect Rect(std::int32_t Left, std::int32_t Top, std::int32_t Right, std::int32_t Bottom)
{
    return TRect{Left, Top, Right, Bottom};
}
