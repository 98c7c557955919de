#pragma once
// How far apart two colours look and how well one reads on another: CIELAB and the CIEDE2000
// colour difference for 8-bit sRGB colours, and the WCAG 2.x relative luminance and contrast
// ratio. Plain C++, no Qt.

#include "core/SrgbSpace.h"

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

