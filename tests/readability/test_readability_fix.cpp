// A fix is the nearest passing colour: compared with an exhaustive walk over every colour of the
// 8-bit sRGB grid, the fix's colour is within ΔE 1.0 of the nearest colour that passes.
#include "core/ColorDifference.h"
#include "core/ReadabilityFix.h"

#include "host/vcl/Graphics.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

Rgb8 RgbOf(TColor Color)
{
    return {std::uint8_t(Color & 0xFF), std::uint8_t((Color >> 8) & 0xFF), std::uint8_t((Color >> 16) & 0xFF)};
}

// The nearest passing colour nearer than Bound, by walking the whole grid; none when none is.
// A colour is skipped without its full CIEDE2000 when a lower bound of it already reaches Bound:
// the formula's rotation term takes at most 0.866 of its chroma and hue terms, which together are
// the a'b' distance (at least the ab distance) over at most SC ≤ 1 + 0.045 · 1.5 · mean C, so
// ΔE² ≥ (ΔL / SL)² + 0.134 (Δa² + Δb²) / (1 + 0.0675 · mean C)².
std::optional<std::pair<double, TColor>> NearestByWalk(TColor From, const std::vector<ColorRequirement>& Requirements,
                                                       const ReadabilityThresholds& Thresholds, double Bound)
{
    const Lab Target = labOf(RgbOf(From));
    const double TargetC = std::hypot(Target.a, Target.b);
    double Linear[256];
    for (int N = 0; N < 256; ++N)
        Linear[N] = linearOf(std::uint8_t(N));
    const auto& M = XyzOfLinearRgb;
    const auto F = [](double T) { return T > 216.0 / 24389 ? std::cbrt(T) : (24389.0 / 27 * T + 16) / 116; };
    std::optional<std::pair<double, TColor>> Best;
    // CIELAB's lightness back to luminance, for the row's range of blue below.
    const auto LuminanceOf = [](double L) {
        L = std::clamp(L, 0.0, 100.0);
        return L > 8 ? std::pow((L + 16) / 116, 3) : L * 27 / 24389;
    };
    for (int R = 0; R < 256; ++R)
        for (int G = 0; G < 256; ++G) {
            // Luminance grows with blue: only the blues whose lightness can be within Bound (SL is
            // at most 1.747) are looked at, a level more each side for rounding.
            const double Base = M[3] * Linear[R] + M[4] * Linear[G];
            const double Low = (LuminanceOf(Target.L - 1.747 * Bound) - Base) / M[5];
            const double High = (LuminanceOf(Target.L + 1.747 * Bound) - Base) / M[5];
            const int First = std::max(0, int(std::lower_bound(Linear, Linear + 256, Low) - Linear) - 1);
            const int Last = std::min(255, int(std::upper_bound(Linear, Linear + 256, High) - Linear));
            for (int B = First; B <= Last; ++B) {
                const double Lr = Linear[R], Lg = Linear[G], Lb = Linear[B];
                const double Fy = F(M[3] * Lr + M[4] * Lg + M[5] * Lb);
                const double L = 116 * Fy - 16;
                const double Mean = (L + Target.L) / 2 - 50;
                const double Lightness = (L - Target.L) / (1 + 0.015 * Mean * Mean / std::sqrt(20 + Mean * Mean));
                if (Lightness * Lightness >= Bound * Bound)
                    continue;
                const double Fx = F((M[0] * Lr + M[1] * Lg + M[2] * Lb) / (M[0] + M[1] + M[2]));
                const double Fz = F((M[6] * Lr + M[7] * Lg + M[8] * Lb) / (M[6] + M[7] + M[8]));
                const double A = 500 * (Fx - Fy), Bb = 200 * (Fy - Fz);
                const double Scale = 1 + 0.0675 * (std::hypot(A, Bb) + TargetC) / 2;
                const double Chroma = ((A - Target.a) * (A - Target.a) + (Bb - Target.b) * (Bb - Target.b)) / (Scale * Scale);
                if (Lightness * Lightness + 0.134 * Chroma >= Bound * Bound * 0.999)
                    continue;
                const Rgb8 C{std::uint8_t(R), std::uint8_t(G), std::uint8_t(B)};
                const double Apart = ciede2000(Target, labOf(C));
                if (Apart >= Bound)
                    continue;
                const TColor Color = TColor(R) | TColor(G) << 8 | TColor(B) << 16;
                if (ReadabilityFix::passes(Color, Requirements, Thresholds)) {
                    Best = {Apart, Color};
                    Bound = Apart;
                }
            }
        }
    return Best;
}

// Text on one background and on two (WCAG), and a state pair under the dichromacies and without
// colour. (The walk takes longer the farther the fix goes: these three keep it to seconds.)
TEST(ReadabilityFix, TheFixIsWithinOneDeltaEOfTheNearestPassingColour)
{
    const ReadabilityThresholds Thresholds;
    const struct {
        const char* What;
        TColor From;
        std::vector<ColorRequirement> Requirements;
    } Cases[] = {
        {"Gray text on White", 0x808080, {{clWhite, true, true}}},
        {"Gray text on White and on LightYellow", 0x808080, {{clWhite, true, true}, {0xE0FFFF, true, true}}},
        {"SeaGreen told from Tomato", 0x578B2E, {{0x4763FF, false, true}}},
    };
    for (const auto& Case : Cases) {
        const std::optional<TColor> Fixed = ReadabilityFix::nearestPassing(Case.From, Case.Requirements, Thresholds);
        ASSERT_TRUE(Fixed) << Case.What;
        EXPECT_TRUE(ReadabilityFix::passes(*Fixed, Case.Requirements, Thresholds)) << Case.What;
        const double Change = ciede2000(labOf(RgbOf(Case.From)), labOf(RgbOf(*Fixed)));
        // No colour of the grid more than ΔE 1 nearer than the fix passes.
        const auto Nearer = NearestByWalk(Case.From, Case.Requirements, Thresholds, Change - 1.0);
        EXPECT_FALSE(Nearer) << Case.What << ": the fix $" << std::hex << *Fixed << std::dec << " is ΔE " << Change
                             << " away, the walk found $" << std::hex << Nearer->second << std::dec << " at ΔE " << Nearer->first;
        // The same question gives the same answer.
        EXPECT_EQ(ReadabilityFix::nearestPassing(Case.From, Case.Requirements, Thresholds), Fixed) << Case.What;
    }
}

}  // namespace
