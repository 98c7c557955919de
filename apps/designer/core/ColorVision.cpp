#include "core/ColorVision.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace {

using Matrix = std::array<double, 9>;  // row by row
using Vector = std::array<double, 3>;

// Cone responses L, M, S from CIE XYZ: the fundamentals of Smith and Pokorny (1975) in the form
// Viénot, Brettel and Mollon (1999) give them. They built their RGB-to-LMS matrix from their own
// monitor's primaries; here the same product is taken with the sRGB primaries (XyzOfLinearRgb).
// The fundamentals are defined on the Judd–Vos corrected XYZ; the correction is ignored, as usual.
constexpr Matrix LmsOfXyz{0.15514, 0.54312, -0.03286,
                          -0.15514, 0.45684, 0.03286,
                          0.0, 0.0, 0.00801};

// The monochromatic lights on which a tritanope's two half-planes rest (Brettel, Viénot and
// Mollon 1997): 485 nm and 660 nm, as CIE XYZ from the CIE 1931 2° colour matching functions.
constexpr Vector Xyz485{0.05795, 0.16930, 0.61620};
constexpr Vector Xyz660{0.16490, 0.06100, 0.00000};

// Relative luminance of linear sRGB (the Y row of IEC 61966-2-1, as WCAG rounds it).
constexpr Vector Luminance{0.2126, 0.7152, 0.0722};

Matrix product(const Matrix& a, const Matrix& b)
{
    Matrix p{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            for (int k = 0; k < 3; ++k)
                p[i * 3 + j] += a[i * 3 + k] * b[k * 3 + j];
    return p;
}

Vector apply(const Matrix& m, const Vector& v)
{
    return {m[0] * v[0] + m[1] * v[1] + m[2] * v[2],
            m[3] * v[0] + m[4] * v[1] + m[5] * v[2],
            m[6] * v[0] + m[7] * v[1] + m[8] * v[2]};
}

Vector cross(const Vector& a, const Vector& b)
{
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

// The inverse by cofactors (the matrices here are far from singular).
Matrix inverse(const Matrix& m)
{
    const Vector r0{m[0], m[1], m[2]}, r1{m[3], m[4], m[5]}, r2{m[6], m[7], m[8]};
    const Vector c0 = cross(r1, r2), c1 = cross(r2, r0), c2 = cross(r0, r1);
    const double det = r0[0] * c0[0] + r0[1] * c0[1] + r0[2] * c0[2];
    return {c0[0] / det, c1[0] / det, c2[0] / det,
            c0[1] / det, c1[1] / det, c2[1] / det,
            c0[2] / det, c1[2] / det, c2[2] / det};
}

// On LMS: the response of one cone (0 = L, 1 = M, 2 = S) replaced so that the colour lands on the
// plane through black, white and anchor; the other two responses are kept.
Matrix ontoPlane(int cone, const Vector& white, const Vector& anchor)
{
    const Vector normal = cross(white, anchor);
    Matrix p{1, 0, 0, 0, 1, 0, 0, 0, 1};
    for (int j = 0; j < 3; ++j)
        p[cone * 3 + j] = j == cone ? 0 : -normal[j] / normal[cone];
    return p;
}

// One vision as matrices on linear sRGB: a colour c takes onB when side · c < 0, else onA.
struct Model {
    float onA[9];
    float onB[9];
    float side[3];
};

Model toModel(const Matrix& onA, const Matrix& onB, const Vector& side)
{
    Model model{};
    for (int i = 0; i < 9; ++i) {
        model.onA[i] = static_cast<float>(onA[i]);
        model.onB[i] = static_cast<float>(onB[i]);
    }
    for (int i = 0; i < 3; ++i)
        model.side[i] = static_cast<float>(side[i]);
    return model;
}

std::array<Model, 5> makeModels()
{
    const Matrix lmsOfRgb = product(LmsOfXyz, XyzOfLinearRgb);
    const Matrix rgbOfLms = inverse(lmsOfRgb);
    const auto onRgb = [&](const Matrix& onLms) { return product(rgbOfLms, product(onLms, lmsOfRgb)); };
    const Vector white = apply(lmsOfRgb, {1, 1, 1});
    const Vector blue = apply(lmsOfRgb, {0, 0, 1});

    // Viénot, Brettel and Mollon 1999: one plane for protanopes and deuteranopes, through white
    // and the display's blue primary (and so its yellow too), standing in for the half-planes of
    // 1997 through 475 nm and 575 nm, which lie close to it. The paper also shrinks the colours
    // slightly first so that every result stays inside the display's gamut; here results are clipped.
    const Matrix protan = onRgb(ontoPlane(0, white, blue));
    const Matrix deutan = onRgb(ontoPlane(1, white, blue));

    // Brettel, Viénot and Mollon 1997 for tritanopes: the plane through the neutral axis and the
    // S axis separates the colours redder than white (M/L below white's), which go onto the
    // half-plane through 660 nm, from the rest, which go onto the half-plane through 485 nm. The
    // neutral is the display's white, so that white and the greys stay as they are.
    const Matrix tritan485 = onRgb(ontoPlane(2, white, apply(LmsOfXyz, Xyz485)));
    const Matrix tritan660 = onRgb(ontoPlane(2, white, apply(LmsOfXyz, Xyz660)));
    // side · rgb = L_white M − M_white L, negative where M/L < M_white/L_white.
    Vector tritanSide{};
    for (int j = 0; j < 3; ++j)
        tritanSide[j] = white[0] * lmsOfRgb[3 + j] - white[1] * lmsOfRgb[j];

    const Matrix identity{1, 0, 0, 0, 1, 0, 0, 0, 1};
    const Matrix grey{Luminance[0], Luminance[1], Luminance[2],
                      Luminance[0], Luminance[1], Luminance[2],
                      Luminance[0], Luminance[1], Luminance[2]};
    return {toModel(identity, identity, {}),  // normal vision: kept for the indexing, never applied
            toModel(protan, protan, {}),
            toModel(deutan, deutan, {}),
            toModel(tritan485, tritan660, tritanSide),
            toModel(grey, grey, {})};
}

const Model& modelOf(Vision vision)
{
    static const std::array<Model, 5> models = makeModels();
    return models[static_cast<std::size_t>(vision)];
}

double decode(double c)
{
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

// The transfer function as tables. Encoding rounds exactly: level n is taken from upper[n - 1]
// up to (not including) upper[n], the linear light of level n + ½. The level at the low end of the
// linear light's 1/4096 bin is right or one low: a bin spans at most 0.8 levels (near black,
// where sRGB is steepest: 12.92 × 255 / 4096).
constexpr int EncodeBins = 4096;

struct Transfer {
    double linearExact[256];
    float linear[256];
    float upper[256];
    std::uint8_t start[EncodeBins + 1];

    Transfer()
    {
        for (int n = 0; n < 256; ++n) {
            linearExact[n] = decode(n / 255.0);
            linear[n] = static_cast<float>(linearExact[n]);
            upper[n] = n < 255 ? static_cast<float>(decode((n + 0.5) / 255)) : std::numeric_limits<float>::infinity();
        }
        int level = 0;
        for (int i = 0; i <= EncodeBins; ++i) {
            const float lowest = static_cast<float>(i) / EncodeBins;
            while (lowest >= upper[level])
                ++level;
            start[i] = static_cast<std::uint8_t>(level);
        }
    }

    // Without branches, which a picture's colours would mispredict: clamped to 0 … 1 (NaN to 0),
    // then the bin's level, one up when v has passed its upper end.
    std::uint32_t encode(float v) const
    {
        v = std::min(std::max(0.0f, v), 1.0f);
        const std::uint32_t level = start[static_cast<int>(v * EncodeBins)];
        return level + (v >= upper[level]);
    }
};

const Transfer& transfer()
{
    static const Transfer table;
    return table;
}

// What a vision's results share, so that a repeated row is worked once: achromatopsia's are
// grey; protanopia's and deuteranopia's lie on the plane through white and blue, where red equals
// green; tritanopia's come from one of two matrices.
enum class Shape { Grey, RedIsGreen, TwoMatrices };

template <Shape S>
std::uint32_t simulatePixel(const Model& model, const Transfer& t, std::uint32_t pixel)
{
    const float r = t.linear[(pixel >> 16) & 0xFF];
    const float g = t.linear[(pixel >> 8) & 0xFF];
    const float b = t.linear[pixel & 0xFF];
    const float* m = model.onA;
    if constexpr (S == Shape::TwoMatrices) {
        if (model.side[0] * r + model.side[1] * g + model.side[2] * b < 0)
            m = model.onB;
    }
    const std::uint32_t alpha = pixel & 0xFF000000u;
    const std::uint32_t red = t.encode(m[0] * r + m[1] * g + m[2] * b);
    if constexpr (S == Shape::Grey)
        return alpha | red * 0x010101u;
    const std::uint32_t green = S == Shape::RedIsGreen ? red : t.encode(m[3] * r + m[4] * g + m[5] * b);
    return alpha | red << 16 | green << 8 | t.encode(m[6] * r + m[7] * g + m[8] * b);
}

template <Shape S>
void simulateRun(const Model& model, std::uint32_t* pixels, std::size_t count)
{
    const Transfer& t = transfer();
    // Drawn forms are mostly runs of one colour: a pixel like the one before takes its result.
    std::uint32_t lastIn = pixels[0];
    std::uint32_t lastOut = simulatePixel<S>(model, t, lastIn);
    for (std::size_t i = 0; i < count; ++i) {
        if (pixels[i] != lastIn) {
            lastIn = pixels[i];
            lastOut = simulatePixel<S>(model, t, lastIn);
        }
        pixels[i] = lastOut;
    }
}

}  // namespace

const char* visionName(Vision vision)
{
    switch (vision) {
    case Vision::Normal:        return "Normal vision";
    case Vision::Protanopia:    return "Protanopia";
    case Vision::Deuteranopia:  return "Deuteranopia";
    case Vision::Tritanopia:    return "Tritanopia";
    case Vision::Achromatopsia: return "Achromatopsia";
    }
    return "";
}

Rgb8 simulate(Vision vision, Rgb8 color)
{
    std::uint32_t pixel = std::uint32_t{color.r} << 16 | std::uint32_t{color.g} << 8 | color.b;
    simulatePixels(vision, &pixel, 1);
    return {static_cast<std::uint8_t>(pixel >> 16), static_cast<std::uint8_t>(pixel >> 8), static_cast<std::uint8_t>(pixel)};
}

void simulatePixels(Vision vision, std::uint32_t* pixels, std::size_t count)
{
    if (count == 0)
        return;
    const Model& model = modelOf(vision);
    switch (vision) {
    case Vision::Normal:
        break;
    case Vision::Protanopia:
    case Vision::Deuteranopia:
        simulateRun<Shape::RedIsGreen>(model, pixels, count);
        break;
    case Vision::Tritanopia:
        simulateRun<Shape::TwoMatrices>(model, pixels, count);
        break;
    case Vision::Achromatopsia:
        simulateRun<Shape::Grey>(model, pixels, count);
        break;
    }
}
