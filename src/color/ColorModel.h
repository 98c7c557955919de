#pragma once
// The colour model: the integer HSB scales and the conversions between HSB fractions and RGB.
// Plain C++, no toolkit.

#include "color/ColorConversion.h"
#include "color/ExtendedReal.h"
#include "host/vcl/Types.h"

#include <span>

// Extended-precision real: every sum, product and quotient rounded to a 64-bit significand. The
// integer positions depend on it (double precision gives a different saturation position for
// some colours).
using Real = ext::ExtReal;

// Scales. Position p on a scale of N steps stands for the fraction p / N.
inline constexpr int HueSteps = 200;      // the hue entry accepts 0 … 199
inline constexpr int SatSteps = 200;      // positions reach 200 (full saturation)
inline constexpr int BrightSteps = 200;   // positions reach 200
inline constexpr int RedSteps = 256;      // 0 … 255
inline constexpr int GreenSteps = 256;
inline constexpr int BlueSteps = 256;
// The fixed brightness at which the hue–saturation box is painted: 150 / 200, exactly 0.75.
inline constexpr Real BoxBrightness = Real(0.75);

// Hue, saturation and brightness fractions to a colour: red in the lowest byte, then green, then
// blue; the top byte is 0. Hue wraps (only its fractional part counts). Channels are held to
// 0 … 255 for inputs outside [0, 1].
TColor HSBtoRGB(Real Hue, Real Sat, Real Bright);

// HSBtoRGB along a row of a field: the parts of a hue that every row shares, worked out once
// (HueColumnOf), then a row at one saturation and brightness. Out[i] is exactly
// HSBtoRGB(hue of Columns[i], Sat, Bright), for i below the smaller of the two sizes.
using HueColumn = colormodel::HueColumnT<Real>;
HueColumn HueColumnOf(Real Hue);
void HSBtoRGBRow(std::span<const HueColumn> Columns, Real Sat, Real Bright, std::span<TColor> Out);

// Red, green and blue bytes to hue in [0, 1), saturation and brightness in [0, 1].
void RGBToHSB(int R, int G, int B, Real& Hue, Real& Sat, Real& Bright);

// Round(Steps × Fraction), ties to even, computed in Real: the position of a fraction on a scale.
int PositionOf(int Steps, Real Fraction);

// Position / Steps in Real (Steps > 0): the fraction a position stands for.
Real FractionOf(int Position, int Steps);
