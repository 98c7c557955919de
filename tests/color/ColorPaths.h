#pragma once
// The ways into the colour model that the tests drive alike: the algorithm on each real type,
// and the public functions on whichever real the build selected.

#include "color/ColorConversion.h"
#include "color/ColorModel.h"

#include <cmath>
#include <span>
#include <string>
#include <type_traits>

template <class RealT>
struct AlgorithmOn {
    using R = RealT;
    static constexpr const char* Name = std::is_same_v<RealT, long double> ? "LongDouble" : "Ext80";
    static TColor HSBtoRGB(R Hue, R Sat, R Bright) { return colormodel::HSBtoRGBT<R>(Hue, Sat, Bright); }
    using Column = colormodel::HueColumnT<R>;
    static Column HueColumnOf(R Hue) { return colormodel::HueColumnOfT<R>(Hue); }
    static void HSBtoRGBRow(std::span<const Column> Columns, R Sat, R Bright, std::span<TColor> Out)
    {
        colormodel::HSBtoRGBRowT<R>(Columns.data(), static_cast<int>(Columns.size()), Sat, Bright, Out.data());
    }
    static void RGBToHSB(int Red, int Green, int Blue, R& Hue, R& Sat, R& Bright)
    {
        colormodel::RGBToHSBT<R>(Red, Green, Blue, Hue, Sat, Bright);
    }
    static int PositionOf(int Steps, R Fraction) { return colormodel::PositionOfT<R>(Steps, Fraction); }
    static R FractionOf(int Position, int Steps) { return colormodel::FractionOfT<R>(Position, Steps); }
};

struct PublicFunctions {
    using R = Real;
    static constexpr const char* Name = "Public";
    static TColor HSBtoRGB(R Hue, R Sat, R Bright) { return ::HSBtoRGB(Hue, Sat, Bright); }
    using Column = HueColumn;
    static Column HueColumnOf(R Hue) { return ::HueColumnOf(Hue); }
    static void HSBtoRGBRow(std::span<const Column> Columns, R Sat, R Bright, std::span<TColor> Out)
    {
        ::HSBtoRGBRow(Columns, Sat, Bright, Out);
    }
    static void RGBToHSB(int Red, int Green, int Blue, R& Hue, R& Sat, R& Bright)
    {
        ::RGBToHSB(Red, Green, Blue, Hue, Sat, Bright);
    }
    static int PositionOf(int Steps, R Fraction) { return ::PositionOf(Steps, Fraction); }
    static R FractionOf(int Position, int Steps) { return ::FractionOf(Position, Steps); }
};

// Bytes of a colour, for messages that say which channel went wrong.
inline std::string Channels(TColor Color)
{
    return "red " + std::to_string(Color & 0xFF) + ", green " + std::to_string(Color >> 8 & 0xFF) + ", blue " +
           std::to_string(Color >> 16 & 0xFF) + ", top " + std::to_string(Color >> 24 & 0xFF);
}

inline TColor FromChannels(int Red, int Green, int Blue) { return Blue << 16 | Green << 8 | Red; }

// Same value, same sign of zero, or both NaN: what "bit-identical" means across the two types.
inline bool SameReal(long double Hardware, ext::Ext80 Portable)
{
    const auto converted = static_cast<long double>(Portable);
    if (std::isnan(Hardware) || Portable.isNaN())
        return std::isnan(Hardware) && Portable.isNaN();
    return converted == Hardware && std::signbit(converted) == std::signbit(Hardware);
}
