#pragma once
// The sRGB colour space as both colour-vision simulation and colour difference use it: 8-bit
// colours, the transfer function between levels and linear light, and the primaries as CIE XYZ
// (IEC 61966-2-1). Plain C++, no Qt.

#include <array>
#include <cstdint>

struct Rgb8 {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;

    friend bool operator==(const Rgb8&, const Rgb8&) = default;
};

// CIE XYZ of linear sRGB (white at Y = 1), row by row: worked out from the primaries and the D65
// white chromaticities of IEC 61966-2-1, so that its rows sum to the white point exactly.
inline constexpr std::array<double, 9> XyzOfLinearRgb{0.4123908, 0.3575843, 0.1804808,
                                                      0.2126390, 0.7151687, 0.0721923,
                                                      0.0193308, 0.1191948, 0.9505322};

// The sRGB transfer function: a level 0 … 255 as linear light 0 … 1, and linear light as the
// nearest level (clipped to 0 … 255).
double linearOf(std::uint8_t level);
std::uint8_t levelOf(double linear);
