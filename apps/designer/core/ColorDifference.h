#pragma once
// How far apart two colours look and how well one reads on another: CIELAB and the CIEDE2000
// colour difference for 8-bit sRGB colours, and the WCAG 2.x relative luminance and contrast
// ratio. Plain C++, no Qt.

#include "core/ColorVision.h"

#include <array>

// CIE XYZ of linear sRGB (white at Y = 1), row by row: worked out from the primaries and the D65
// white chromaticities of IEC 61966-2-1, so that its rows sum to the white point exactly.
inline constexpr std::array<double, 9> XyzOfLinearRgb{0.4123908, 0.3575843, 0.1804808,
                                                      0.2126390, 0.7151687, 0.0721923,
                                                      0.0193308, 0.1191948, 0.9505322};

struct Xyz {
    double x, y, z;
};

struct Lab {
    double L, a, b;
};

Xyz xyzOf(Rgb8 color);
// CIELAB (CIE 15) of a colour whose white is the sRGB white above: white is (100, 0, 0) and every
// grey has a = b = 0.
Lab labOfXyz(const Xyz& xyz);
Lab labOf(Rgb8 color);

// The CIEDE2000 colour difference with kL = kC = kH = 1, as Sharma, Wu and Dalal (2005) set out
// the CIE's formula, its hue-angle edge cases included. About 1 is a just noticeable difference.
double ciede2000(const Lab& first, const Lab& second);

