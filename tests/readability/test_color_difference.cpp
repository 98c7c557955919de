// CIEDE2000 against every pair of the published test data, CIELAB of the sRGB primaries against
// their commonly tabulated values, and the WCAG ratio of well-known pairs.
#include "core/ColorDifference.h"

#include <gtest/gtest.h>

namespace {

struct Pair {
    Lab first, second;
    double difference;
};

// Sharma, Wu and Dalal (2005), "The CIEDE2000 color-difference formula: implementation notes,
// supplementary test data, and mathematical observations", Table 1: all 34 pairs, ΔE00 to four
// decimals. Pairs 7 to 16 take the hue-angle edge cases (a grey colour, hues 180° apart either
// way round, the mean hue across 0°).
const Pair SharmaTable1[] = {
    {{50.0000, 2.6772, -79.7751}, {50.0000, 0.0000, -82.7485}, 2.0425},
    {{50.0000, 3.1571, -77.2803}, {50.0000, 0.0000, -82.7485}, 2.8615},
    {{50.0000, 2.8361, -74.0200}, {50.0000, 0.0000, -82.7485}, 3.4412},
    {{50.0000, -1.3802, -84.2814}, {50.0000, 0.0000, -82.7485}, 1.0000},
    {{50.0000, -1.1848, -84.8006}, {50.0000, 0.0000, -82.7485}, 1.0000},
    {{50.0000, -0.9009, -85.5211}, {50.0000, 0.0000, -82.7485}, 1.0000},
    {{50.0000, 0.0000, 0.0000}, {50.0000, -1.0000, 2.0000}, 2.3669},
    {{50.0000, -1.0000, 2.0000}, {50.0000, 0.0000, 0.0000}, 2.3669},
    {{50.0000, 2.4900, -0.0010}, {50.0000, -2.4900, 0.0009}, 7.1792},
    {{50.0000, 2.4900, -0.0010}, {50.0000, -2.4900, 0.0010}, 7.1792},
    {{50.0000, 2.4900, -0.0010}, {50.0000, -2.4900, 0.0011}, 7.2195},
    {{50.0000, 2.4900, -0.0010}, {50.0000, -2.4900, 0.0012}, 7.2195},
    {{50.0000, -0.0010, 2.4900}, {50.0000, 0.0009, -2.4900}, 4.8045},
    {{50.0000, -0.0010, 2.4900}, {50.0000, 0.0010, -2.4900}, 4.8045},
    {{50.0000, -0.0010, 2.4900}, {50.0000, 0.0011, -2.4900}, 4.7461},
    {{50.0000, 2.5000, 0.0000}, {50.0000, 0.0000, -2.5000}, 4.3065},
    {{50.0000, 2.5000, 0.0000}, {73.0000, 25.0000, -18.0000}, 27.1492},
    {{50.0000, 2.5000, 0.0000}, {61.0000, -5.0000, 29.0000}, 22.8977},
    {{50.0000, 2.5000, 0.0000}, {56.0000, -27.0000, -3.0000}, 31.9030},
    {{50.0000, 2.5000, 0.0000}, {58.0000, 24.0000, 15.0000}, 19.4535},
    {{50.0000, 2.5000, 0.0000}, {50.0000, 3.1736, 0.5854}, 1.0000},
    {{50.0000, 2.5000, 0.0000}, {50.0000, 3.2972, 0.0000}, 1.0000},
    {{50.0000, 2.5000, 0.0000}, {50.0000, 1.8634, 0.5757}, 1.0000},
    {{50.0000, 2.5000, 0.0000}, {50.0000, 3.2592, 0.3350}, 1.0000},
    {{60.2574, -34.0099, 36.2677}, {60.4626, -34.1751, 39.4387}, 1.2644},
    {{63.0109, -31.0961, -5.8663}, {62.8187, -29.7946, -4.0864}, 1.2630},
    {{61.2901, 3.7196, -5.3901}, {61.4292, 2.2480, -4.9620}, 1.8731},
    {{35.0831, -44.1164, 3.7933}, {35.0232, -40.0716, 1.5901}, 1.8645},
    {{22.7233, 20.0904, -46.6940}, {23.0331, 14.9730, -42.5619}, 2.0373},
    {{36.4612, 47.8580, 18.3852}, {36.2715, 50.5065, 21.2231}, 1.4146},
    {{90.8027, -2.0831, 1.4410}, {91.1528, -1.6435, 0.0447}, 1.4441},
    {{90.9257, -0.5406, -0.9208}, {88.6381, -0.8985, -0.7239}, 1.5381},
    {{6.7747, -0.2908, -2.4247}, {5.8714, -0.0985, -2.2286}, 0.6377},
    {{2.0776, 0.0795, -1.1350}, {0.9033, -0.0636, -0.5514}, 0.9082},
};

TEST(Ciede2000, AllPairsOfThePublishedTestData)
{
    int number = 1;
    for (const Pair& pair : SharmaTable1) {
        EXPECT_NEAR(ciede2000(pair.first, pair.second), pair.difference, 0.5e-4) << "pair " << number;
        EXPECT_NEAR(ciede2000(pair.second, pair.first), pair.difference, 0.5e-4) << "pair " << number << " swapped";
        ++number;
    }
}

// CIELAB of the sRGB primaries with a D65 white, as commonly tabulated to two decimals; white is
// exactly (100, 0, 0) and a grey has no chroma.
TEST(Cielab, SrgbPrimariesWhiteAndGrey)
{
    const struct {
        Rgb8 color;
        Lab lab;
    } rows[] = {
        {{255, 0, 0}, {53.24, 80.09, 67.20}},
        {{0, 255, 0}, {87.73, -86.18, 83.18}},
        {{0, 0, 255}, {32.30, 79.19, -107.86}},
        {{255, 255, 255}, {100, 0, 0}},
    };
    for (const auto& row : rows) {
        const Lab lab = labOf(row.color);
        EXPECT_NEAR(lab.L, row.lab.L, 0.01);
        EXPECT_NEAR(lab.a, row.lab.a, 0.01);
        EXPECT_NEAR(lab.b, row.lab.b, 0.01);
    }
    const Lab grey = labOf({119, 119, 119});
    EXPECT_NEAR(grey.a, 0, 1e-9);
    EXPECT_NEAR(grey.b, 0, 1e-9);
}

// Black on white is 21:1; #767676 is the lightest grey that reaches 4.5:1 on white (4.54:1),
// #777777 just misses it (4.48:1), as WCAG 2.x's definition gives them.
TEST(LuminanceRatio, WellKnownPairs)
{
    EXPECT_NEAR(luminanceRatio({0, 0, 0}, {255, 255, 255}), 21, 1e-9);
    EXPECT_NEAR(luminanceRatio({255, 255, 255}, {0x76, 0x76, 0x76}), 4.54, 0.005);
    EXPECT_NEAR(luminanceRatio({0x77, 0x77, 0x77}, {255, 255, 255}), 4.48, 0.005);
    EXPECT_NEAR(relativeLuminance({255, 0, 0}), 0.2126, 1e-12);
}

}  // namespace
