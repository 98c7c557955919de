#include "core/ColorDifference.h"

#include <cmath>

namespace {

constexpr double Pi = 3.14159265358979323846;

double radians(double degrees)
{
    return degrees * Pi / 180;
}

// The reference white, the matrix's own: the sums of its rows.
constexpr double WhiteX = XyzOfLinearRgb[0] + XyzOfLinearRgb[1] + XyzOfLinearRgb[2];
constexpr double WhiteZ = XyzOfLinearRgb[6] + XyzOfLinearRgb[7] + XyzOfLinearRgb[8];

// CIELAB's compressed ratio: the cube root, continued by a straight line below (6/29)³.
double f(double t)
{
    constexpr double delta = 6.0 / 29;
    return t > delta * delta * delta ? std::cbrt(t) : t / (3 * delta * delta) + 4.0 / 29;
}

// The hue angle in degrees, 0 … 360; 0 when a and b are both 0.
double hueAngle(double b, double a)
{
    if (a == 0 && b == 0)
        return 0;
    const double h = std::atan2(b, a) * 180 / Pi;
    return h < 0 ? h + 360 : h;
}

double pow7(double x)
{
    const double x2 = x * x;
    return x2 * x2 * x2 * x;
}

}  // namespace

Xyz xyzOf(Rgb8 color)
{
    const double r = linearOf(color.r), g = linearOf(color.g), b = linearOf(color.b);
    const auto& m = XyzOfLinearRgb;
    return {m[0] * r + m[1] * g + m[2] * b, m[3] * r + m[4] * g + m[5] * b, m[6] * r + m[7] * g + m[8] * b};
}

Lab labOfXyz(const Xyz& xyz)
{
    const double fx = f(xyz.x / WhiteX), fy = f(xyz.y), fz = f(xyz.z / WhiteZ);
    return {116 * fy - 16, 500 * (fx - fy), 200 * (fy - fz)};
}

Lab labOf(Rgb8 color)
{
    return labOfXyz(xyzOf(color));
}

// In the steps and names of Sharma, Wu and Dalal (2005).
double ciede2000(const Lab& first, const Lab& second)
{
    constexpr double pow25to7 = 6103515625.0;  // 25^7

    // a' stretched by G, then C' and h'.
    const double cBar = (std::hypot(first.a, first.b) + std::hypot(second.a, second.b)) / 2;
    const double G = 0.5 * (1 - std::sqrt(pow7(cBar) / (pow7(cBar) + pow25to7)));
    const double a1 = (1 + G) * first.a, a2 = (1 + G) * second.a;
    const double C1 = std::hypot(a1, first.b), C2 = std::hypot(a2, second.b);
    const double h1 = hueAngle(first.b, a1), h2 = hueAngle(second.b, a2);

    // ΔL', ΔC', ΔH': the hue difference taken the short way round, 0 when either colour is grey.
    const double dL = second.L - first.L;
    const double dC = C2 - C1;
    double dh = 0;
    if (C1 * C2 != 0) {
        dh = h2 - h1;
        if (dh > 180)
            dh -= 360;
        else if (dh < -180)
            dh += 360;
    }
    const double dH = 2 * std::sqrt(C1 * C2) * std::sin(radians(dh / 2));

    // The means; the mean hue also the short way round, the plain sum when either is grey.
    const double LBar = (first.L + second.L) / 2;
    const double CBar = (C1 + C2) / 2;
    double hBar = h1 + h2;
    if (C1 * C2 != 0) {
        if (std::abs(h1 - h2) <= 180)
            hBar /= 2;
        else if (hBar < 360)
            hBar = (hBar + 360) / 2;
        else
            hBar = (hBar - 360) / 2;
    }

    const double T = 1 - 0.17 * std::cos(radians(hBar - 30)) + 0.24 * std::cos(radians(2 * hBar))
                     + 0.32 * std::cos(radians(3 * hBar + 6)) - 0.20 * std::cos(radians(4 * hBar - 63));
    const double dTheta = 30 * std::exp(-((hBar - 275) / 25) * ((hBar - 275) / 25));
    const double RC = 2 * std::sqrt(pow7(CBar) / (pow7(CBar) + pow25to7));
    const double SL = 1 + 0.015 * (LBar - 50) * (LBar - 50) / std::sqrt(20 + (LBar - 50) * (LBar - 50));
    const double SC = 1 + 0.045 * CBar;
    const double SH = 1 + 0.015 * CBar * T;
    const double RT = -std::sin(radians(2 * dTheta)) * RC;

    const double l = dL / SL, c = dC / SC, h = dH / SH;
    return std::sqrt(l * l + c * c + h * h + RT * c * h);
}
