#pragma once
// HSB <-> RGB, written once for any extended real type RealT (long double or ext::Ext80).
// The steps follow the algorithm's own order and names; every operation is one rounding of RealT.

#include "color/ExtendedReal.h"
#include "host/vcl/Types.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace colormodel {

using ext::Floor;
using ext::Round;
using ext::Trunc;

// A channel value c in [0, 1] to its byte: Trunc(c × 255 + 1/2). Outside [0, 1] the byte is held
// to 0 … 255 (NaN gives 0), so that it cannot spill into its neighbours when packed; inside,
// the result is the plain truncation.
template <class RealT>
[[gnu::always_inline]] inline int ChannelByte(RealT c)
{
    const RealT v = c * RealT(255) + RealT(0.5);
    if (!(v >= RealT(0)))
        return 0;     // below 0, or NaN
    if (!(v < RealT(256)))
        return 255;
    return static_cast<int>(Trunc(v));
}

// Step 3's table: which value each channel takes in each sector.
namespace sectors {
enum Pick : unsigned char { Bright, p, q, t };
struct Row {
    Pick Red, Green, Blue;
};
inline constexpr Row Table[6] = {
    //  red     green   blue
    {Bright, t,      p     },   // 0
    {q,      Bright, p     },   // 1
    {p,      Bright, t     },   // 2
    {p,      q,      Bright},   // 3
    {t,      p,      Bright},   // 4
    {Bright, p,      q     },   // 5
};
} // namespace sectors

template <class RealT>
TColor HSBtoRGBT(RealT Hue, RealT Sat, RealT Bright)
{
    int red, green, blue;
    // 1. Grey.
    if (Sat == RealT(0)) {
        red = green = blue = ChannelByte(Bright);
    } else {
        // 2.
        const RealT h6 = (Hue - Floor(Hue)) * RealT(6);
        const RealT f = h6 - Floor(h6);
        const RealT p = Bright * (RealT(1) - Sat);
        const RealT q = Bright * (RealT(1) - Sat * f);
        const RealT t = Bright * (RealT(1) - Sat * (RealT(1) - f));
        // 3. Any other sector yields black: only a hue that is not finite has none.
        if (!(h6 >= RealT(0) && h6 <= RealT(6)))
            return 0;
        std::int64_t sector = Trunc(h6);
        // A hue a hair below 0 leaves Hue - Floor(Hue) a hair below 1, which can round to 1 and
        // give h6 = 6, f = 0: that is hue 0 (red), not black.
        if (sector == 6)
            sector = 0;
        // 4. Each candidate becomes its byte first; choosing among bytes is then a table look-up
        // of integers, which neither branches on the data nor moves reals through memory.
        const int byte[] = {ChannelByte(Bright), ChannelByte(p), ChannelByte(q), ChannelByte(t)};   // by sectors::Pick
        const sectors::Row& row = sectors::Table[sector];
        red = byte[row.Red];
        green = byte[row.Green];
        blue = byte[row.Blue];
    }
    // 5.
    return ((blue << 16) & 0xFFFFFF) | (green << 8) | red;
}

// HSBtoRGB along a row of hues at one saturation and brightness, as the hue–saturation field is
// painted. Step 2 splits by what each part depends on: h6, f, 1 − f and the sector depend on the
// hue alone (a column, worked out once per field), p on the row alone; only q and t need the
// pixel. Every value is the same expression on the same operands as in HSBtoRGBT, so each colour
// is bit-identical to HSBtoRGBT(Hue, Sat, Bright).
template <class RealT>
struct HueColumnT {
    RealT f;              // h6 − Floor(h6)
    RealT OneMinusF;      // 1 − f, as t uses it
    int Sector = -1;      // 0 … 5; −1 for a hue that has none (not finite): black
};

template <class RealT>
HueColumnT<RealT> HueColumnOfT(RealT Hue)
{
    const RealT h6 = (Hue - Floor(Hue)) * RealT(6);
    HueColumnT<RealT> column;
    column.f = h6 - Floor(h6);
    column.OneMinusF = RealT(1) - column.f;
    if (h6 >= RealT(0) && h6 <= RealT(6)) {
        const std::int64_t sector = Trunc(h6);
        column.Sector = sector == 6 ? 0 : static_cast<int>(sector);   // as in HSBtoRGBT
    }
    return column;
}

// Out[i] = HSBtoRGBT(the hue of Columns[i], Sat, Bright) for every i < Count.
template <class RealT>
void HSBtoRGBRowT(const HueColumnT<RealT>* Columns, int Count, RealT Sat, RealT Bright, TColor* Out)
{
    const int brightByte = ChannelByte(Bright);
    // 1. Grey, whatever the hue.
    if (Sat == RealT(0)) {
        const TColor grey = ((brightByte << 16) & 0xFFFFFF) | (brightByte << 8) | brightByte;
        std::fill(Out, Out + Count, grey);
        return;
    }
    // 2. p is the row's; q and t are the pixel's.
    const int pByte = ChannelByte(Bright * (RealT(1) - Sat));
    for (int i = 0; i < Count; ++i) {
        const HueColumnT<RealT>& column = Columns[i];
        if (column.Sector < 0) {
            Out[i] = 0;
            continue;
        }
        const RealT q = Bright * (RealT(1) - Sat * column.f);
        const RealT t = Bright * (RealT(1) - Sat * column.OneMinusF);
        // 3.–5.
        const int byte[] = {brightByte, pByte, ChannelByte(q), ChannelByte(t)};   // by sectors::Pick
        const sectors::Row& row = sectors::Table[column.Sector];
        Out[i] = ((byte[row.Blue] << 16) & 0xFFFFFF) | (byte[row.Green] << 8) | byte[row.Red];
    }
}

template <class RealT>
void RGBToHSBT(int R, int G, int B, RealT& Hue, RealT& Sat, RealT& Bright)
{
    // Differences are taken in 64 bits: they cannot overflow for any int input, and convert to
    // RealT exactly.
    using Wide = std::int64_t;
    // 1.
    const Wide max = std::max({R, G, B});
    const Wide min = std::min({R, G, B});
    // 2.
    Bright = RealT(max) / RealT(255);
    // 3.
    Sat = max != 0 ? RealT(max - min) / RealT(max) : RealT(0);
    // 4.
    if (Sat == RealT(0)) {
        Hue = RealT(0);
        return;
    }
    // 5.
    const RealT d = RealT(max - min);
    const RealT rc = RealT(max - R) / d;
    const RealT gc = RealT(max - G) / d;
    const RealT bc = RealT(max - B) / d;
    RealT h;
    if (R == max)
        h = bc - gc;
    else if (G == max)
        h = RealT(2) + rc - bc;
    else
        h = RealT(4) + gc - rc;
    // 6.
    Hue = h / RealT(6);
    if (Hue < RealT(0))
        Hue = Hue + RealT(1);
}

// Position on a scale of Steps for a fraction: Round(Steps × Fraction), ties to even. Beyond the
// int range the position saturates, and NaN gives position 0.
template <class RealT>
int PositionOfT(int Steps, RealT Fraction)
{
    return static_cast<int>(std::clamp<std::int64_t>(Round(RealT(Steps) * Fraction), std::numeric_limits<int>::min(),
                                                     std::numeric_limits<int>::max()));
}

// The fraction a position stands for: Position / Steps.
template <class RealT>
RealT FractionOfT(int Position, int Steps)
{
    return RealT(Position) / RealT(Steps);
}

// Both paths are compiled once, in the library.
extern template TColor HSBtoRGBT<long double>(long double, long double, long double);
extern template TColor HSBtoRGBT<ext::Ext80>(ext::Ext80, ext::Ext80, ext::Ext80);
extern template HueColumnT<long double> HueColumnOfT<long double>(long double);
extern template HueColumnT<ext::Ext80> HueColumnOfT<ext::Ext80>(ext::Ext80);
extern template void HSBtoRGBRowT<long double>(const HueColumnT<long double>*, int, long double, long double, TColor*);
extern template void HSBtoRGBRowT<ext::Ext80>(const HueColumnT<ext::Ext80>*, int, ext::Ext80, ext::Ext80, TColor*);
extern template void RGBToHSBT<long double>(int, int, int, long double&, long double&, long double&);
extern template void RGBToHSBT<ext::Ext80>(int, int, int, ext::Ext80&, ext::Ext80&, ext::Ext80&);
extern template int PositionOfT<long double>(int, long double);
extern template int PositionOfT<ext::Ext80>(int, ext::Ext80);
extern template long double FractionOfT<long double>(int, int);
extern template ext::Ext80 FractionOfT<ext::Ext80>(int, int);

} // namespace colormodel
