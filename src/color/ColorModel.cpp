#include "color/ColorModel.h"

#include "color/ColorConversion.h"

namespace colormodel {

template TColor HSBtoRGBT<long double>(long double, long double, long double);
template TColor HSBtoRGBT<ext::Ext80>(ext::Ext80, ext::Ext80, ext::Ext80);
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
