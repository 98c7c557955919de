#include "color/ColorModel.h"

#include "color/ColorConversion.h"

namespace colormodel {

template TColor HSBtoRGBT<long double>(long double, long double, long double);
template TColor HSBtoRGBT<ext::Ext80>(ext::Ext80, ext::Ext80, ext::Ext80);
template HueColumnT<long double> HueColumnOfT<long double>(long double);
template HueColumnT<ext::Ext80> HueColumnOfT<ext::Ext80>(ext::Ext80);
template void HSBtoRGBRowT<long double>(const HueColumnT<long double>*, int, long double, long double, TColor*);
template void HSBtoRGBRowT<ext::Ext80>(const HueColumnT<ext::Ext80>*, int, ext::Ext80, ext::Ext80, TColor*);
template void RGBToHSBT<long double>(int, int, int, long double&, long double&, long double&);
template void RGBToHSBT<ext::Ext80>(int, int, int, ext::Ext80&, ext::Ext80&, ext::Ext80&);
template int PositionOfT<long double>(int, long double);
template int PositionOfT<ext::Ext80>(int, ext::Ext80);
template long double FractionOfT<long double>(int, int);
template ext::Ext80 FractionOfT<ext::Ext80>(int, int);

} // namespace colormodel

TColor HSBtoRGB(Real Hue, Real Sat, Real Bright)
{
    return colormodel::HSBtoRGBT<Real>(Hue, Sat, Bright);
}

HueColumn HueColumnOf(Real Hue)
{
    return colormodel::HueColumnOfT<Real>(Hue);
}

void HSBtoRGBRow(std::span<const HueColumn> Columns, Real Sat, Real Bright, std::span<TColor> Out)
{
    colormodel::HSBtoRGBRowT<Real>(Columns.data(), static_cast<int>(std::min(Columns.size(), Out.size())), Sat, Bright,
                                   Out.data());
}

void RGBToHSB(int R, int G, int B, Real& Hue, Real& Sat, Real& Bright)
{
    colormodel::RGBToHSBT<Real>(R, G, B, Hue, Sat, Bright);
}

int PositionOf(int Steps, Real Fraction)
{
    return colormodel::PositionOfT<Real>(Steps, Fraction);
}

Real FractionOf(int Position, int Steps)
{
    return colormodel::FractionOfT<Real>(Position, Steps);
}
