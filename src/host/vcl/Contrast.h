#pragma once
// How well one colour reads on another: the relative luminance of a colour and the contrast ratio
// of two, as the W3C's accessibility guidelines (WCAG 2.x) define them for sRGB colours.

#include "host/vcl/Types.h"

// The lowest ratio normal-size text needs against its background (WCAG 2.x, level AA).
constexpr double MinimumTextContrast = 4.5;
// The lowest ratio a graphic a user needs to see (a sign, a mark) needs against what surrounds it
// (WCAG 2.1, non-text contrast).
constexpr double MinimumGraphicContrast = 3.0;

// Relative luminance, 0 for black to 1 for white. Each sRGB channel c/255 is linearised as
// c/12.92 up to 0.03928 and ((c + 0.055)/1.055)^2.4 above; L = 0.2126 R + 0.7152 G + 0.0722 B.
// A system colour (top byte set) is resolved by ColorToRGB first, as it would paint.
double RelativeLuminance(TColor Color);
// (L1 + 0.05) / (L2 + 0.05) with L1 the lighter colour's luminance: 1 (no contrast) to 21 (black
// on white). The order of the two colours does not matter.
double ContrastRatio(TColor A, TColor B);
// Black or white, whichever has the higher contrast ratio with Background (black when they tie):
// text in it reads at 4.58:1 at least on any colour, the ratio where black and white tie.
TColor LegibleTextOn(TColor Background);
