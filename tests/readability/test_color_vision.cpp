// Colours as the simulated visions see them, against values worked out independently from the
// published models; greys that no vision changes; and an image converted pixel by pixel.
#include "core/ColorVision.h"
#include "core/SimulatedImage.h"

#include <QImage>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <initializer_list>

namespace {

constexpr Vision Deficiencies[] = {Vision::Protanopia, Vision::Deuteranopia, Vision::Tritanopia, Vision::Achromatopsia};

void expectWithinOne(Rgb8 seen, Rgb8 expected)
{
    EXPECT_LE(std::abs(seen.r - expected.r), 1) << int(seen.r) << " for " << int(expected.r);
    EXPECT_LE(std::abs(seen.g - expected.g), 1) << int(seen.g) << " for " << int(expected.g);
    EXPECT_LE(std::abs(seen.b - expected.b), 1) << int(seen.b) << " for " << int(expected.b);
}

// Each colour decoded to linear light with the sRGB transfer function, mixed, encoded back and
// rounded, worked out in double precision apart from this code:
// - protanopia and deuteranopia with the matrices Viénot, Brettel and Mollon (1999) publish for
//   their monitor: LMS = [17.8824 43.5161 4.11935; 3.45565 27.1554 3.86714; 0.0299566 0.184309
//   1.46709] RGB, then L = 2.02344 M − 2.52581 S (protan) or M = 0.494207 L + 1.24827 S (deutan),
//   then back through the inverse;
// - tritanopia through Smith–Pokorny LMS of the IEC 61966-2-1 sRGB XYZ, S replaced on the plane
//   through white and the CIE 1931 XYZ of 660 nm (when M/L is below white's) or of 485 nm
//   (Brettel, Viénot and Mollon 1997);
// - achromatopsia as the grey of Y = 0.2126 R + 0.7152 G + 0.0722 B.
const struct {
    Rgb8 color, protan, deutan, tritan, achromat;
} Seen[] = {
    {{255, 0, 0}, {94, 94, 13}, {147, 147, 0}, {255, 0, 78}, {127, 127, 127}},
    {{0, 255, 0}, {242, 242, 0}, {219, 219, 41}, {124, 234, 255}, {220, 220, 220}},
    {{0, 0, 255}, {0, 0, 255}, {0, 0, 255}, {0, 96, 135}, {76, 76, 76}},
    {{255, 255, 0}, {255, 255, 0}, {255, 255, 0}, {255, 239, 242}, {247, 247, 247}},
    {{0, 255, 255}, {242, 242, 255}, {219, 219, 255}, {73, 248, 255}, {229, 229, 229}},
    {{255, 0, 255}, {94, 94, 255}, {147, 147, 252}, {238, 99, 120}, {145, 145, 145}},
    {{255, 128, 0}, {150, 150, 10}, {178, 178, 0}, {255, 117, 138}, {163, 163, 163}},
    {{30, 144, 255}, {137, 137, 255}, {124, 124, 255}, {0, 159, 196}, {143, 143, 143}},
    {{200, 50, 100}, {86, 86, 101}, {121, 121, 95}, {199, 55, 82}, {110, 110, 110}},
    {{34, 139, 34}, {132, 132, 33}, {120, 120, 40}, {72, 128, 147}, {120, 120, 120}},
};

TEST(ColorVision, KnownColours)
{
    for (const auto& row : Seen) {
        SCOPED_TRACE(testing::Message() << int(row.color.r) << ", " << int(row.color.g) << ", " << int(row.color.b));
        EXPECT_EQ(simulate(Vision::Normal, row.color), row.color);
        expectWithinOne(simulate(Vision::Protanopia, row.color), row.protan);
        expectWithinOne(simulate(Vision::Deuteranopia, row.color), row.deutan);
        expectWithinOne(simulate(Vision::Tritanopia, row.color), row.tritan);
        expectWithinOne(simulate(Vision::Achromatopsia, row.color), row.achromat);
    }
}

TEST(ColorVision, EveryGreyStaysAsItIs)
{
    for (Vision vision : Deficiencies)
        for (int level = 0; level < 256; ++level) {
            const Rgb8 grey{std::uint8_t(level), std::uint8_t(level), std::uint8_t(level)};
            EXPECT_EQ(simulate(vision, grey), grey) << visionName(vision) << " " << level;
        }
}

// Over a 6 × 6 × 6 cube of colours: a grey whose level is the sRGB encoding of the colour's
// relative luminance.
TEST(ColorVision, AchromatopsiaShowsTheLuminance)
{
    const auto linear = [](int level) {
        const double c = level / 255.0;
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    for (int r = 0; r < 256; r += 51)
        for (int g = 0; g < 256; g += 51)
            for (int b = 0; b < 256; b += 51) {
                const double Y = 0.2126 * linear(r) + 0.7152 * linear(g) + 0.0722 * linear(b);
                const double encoded = Y <= 0.0031308 ? 12.92 * Y : 1.055 * std::pow(Y, 1 / 2.4) - 0.055;
                const std::uint8_t level = std::uint8_t(std::lround(encoded * 255));
                const Rgb8 seen = simulate(Vision::Achromatopsia, {std::uint8_t(r), std::uint8_t(g), std::uint8_t(b)});
                EXPECT_EQ(seen, (Rgb8{level, level, level})) << r << ", " << g << ", " << b;
            }
}

// Pixels of every kind (runs of one colour among them), each with its own alpha.
TEST(SimulatedImage, EachPixelAsSimulateSeesIt)
{
    for (QImage::Format format : {QImage::Format_ARGB32, QImage::Format_RGB32}) {
        QImage original(29, 7, format);
        std::uint32_t state = 12345;
        for (int y = 0; y < original.height(); ++y)
            for (int x = 0; x < original.width(); ++x) {
                if (x % 5 != 4)
                    state = state * 1664525u + 1013904223u;
                original.setPixel(x, y, format == QImage::Format_RGB32 ? state | 0xFF000000u : state);
            }
        for (Vision vision : Deficiencies) {
            QImage image = original;
            simulateImage(vision, image);
            ASSERT_EQ(image.format(), format);
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x) {
                    const QRgb before = original.pixel(x, y), after = image.pixel(x, y);
                    const Rgb8 seen = simulate(vision, {std::uint8_t(qRed(before)), std::uint8_t(qGreen(before)), std::uint8_t(qBlue(before))});
                    EXPECT_EQ(after, qRgba(seen.r, seen.g, seen.b, qAlpha(before))) << visionName(vision) << " at " << x << ", " << y;
                }
        }
    }
}

}  // namespace
