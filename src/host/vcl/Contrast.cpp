#include "host/vcl/Contrast.h"

#include "host/vcl/Graphics.h"

#include <algorithm>
#include <cmath>

namespace {

// One sRGB channel (0 … 255) as linear light (0 … 1).
double Linear(int Channel)
{
    const double C = Channel / 255.0;
    return C <= 0.03928 ? C / 12.92 : std::pow((C + 0.055) / 1.055, 2.4);
}

} // namespace

double RelativeLuminance(TColor Color)
{
    const TColor Rgb = ColorToRGB(Color);
    const double R = Linear(Rgb & 0xFF);
    const double G = Linear((Rgb >> 8) & 0xFF);
    const double B = Linear((Rgb >> 16) & 0xFF);
    return 0.2126 * R + 0.7152 * G + 0.0722 * B;
}

double ContrastRatio(TColor A, TColor B)
{
    const double La = RelativeLuminance(A);
    const double Lb = RelativeLuminance(B);
    return (std::max(La, Lb) + 0.05) / (std::min(La, Lb) + 0.05);
}

TColor LegibleTextOn(TColor Background)
{
    return ContrastRatio(clBlack, Background) >= ContrastRatio(clWhite, Background) ? clBlack : clWhite;
}
