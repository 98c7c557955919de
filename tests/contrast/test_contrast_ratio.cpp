// The contrast ratio against the W3C's published values and grey levels worked out by hand from
// the WCAG 2.x definition of relative luminance, and a toolkit colour resolved through the palette.
#include "host/vcl/Contrast.h"
#include "host/vcl/Graphics.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QPalette>

namespace {

// A grey of one channel level as a TColor (the same byte in blue, green and red).
TColor Grey(int Level)
{
    return Level << 16 | Level << 8 | Level;
}

TEST(ContrastRatio, PublishedExtremes)
{
    EXPECT_NEAR(ContrastRatio(clBlack, clWhite), 21.0, 1e-9);
    EXPECT_NEAR(ContrastRatio(clWhite, clBlack), 21.0, 1e-9);
    EXPECT_NEAR(ContrastRatio(clWhite, clWhite), 1.0, 1e-12);
    EXPECT_NEAR(ContrastRatio(clBlack, clBlack), 1.0, 1e-12);
    EXPECT_NEAR(RelativeLuminance(clBlack), 0.0, 1e-12);
    EXPECT_NEAR(RelativeLuminance(clWhite), 1.0, 1e-12);
}

// By hand: c = level/255, ((c + 0.055)/1.055)^2.4, ratio 1.05/(L + 0.05) against white.
TEST(ContrastRatio, MidGreysOnWhite)
{
    // 0x77: c = 0.466667, L = 0.494471^2.4 = 0.184475, 1.05/0.234475 = 4.4781 (just fails 4.5).
    EXPECT_NEAR(RelativeLuminance(Grey(0x77)), 0.184475, 1e-5);
    EXPECT_NEAR(ContrastRatio(Grey(0x77), clWhite), 4.4781, 1e-3);
    // 0x76: c = 0.462745, L = 0.490753^2.4 = 0.181167, 1.05/0.231167 = 4.5422 (just passes).
    EXPECT_NEAR(ContrastRatio(Grey(0x76), clWhite), 4.5422, 1e-3);
    // 0x80: c = 0.501961, L = 0.527925^2.4 = 0.215861, 1.05/0.265861 = 3.9494.
    EXPECT_NEAR(ContrastRatio(Grey(0x80), clWhite), 3.9494, 1e-3);
    // 0x80 on black: 0.265861/0.05 = 5.3172.
    EXPECT_NEAR(ContrastRatio(Grey(0x80), clBlack), 5.3172, 1e-3);
}

// Up to 0.03928 a channel is linear: 10/255 = 0.0392157, /12.92 = 0.0030353.
TEST(ContrastRatio, DarkChannelsAreLinear)
{
    EXPECT_NEAR(RelativeLuminance(Grey(10)), 0.0030353, 1e-7);
    EXPECT_NEAR(ContrastRatio(Grey(10), clBlack), 1.060706, 1e-5);
    // 11/255 = 0.0431373 is above the knee: ((0.0431373 + 0.055)/1.055)^2.4 = 0.0033465.
    EXPECT_NEAR(RelativeLuminance(Grey(11)), 0.0033465, 1e-6);
}

// The coefficients weigh the channels: pure red 0.2126, pure blue 0.0722.
TEST(ContrastRatio, PrimariesOnWhite)
{
    EXPECT_NEAR(ContrastRatio(clRed, clWhite), 1.05 / 0.2626, 1e-9);   // 3.998:1
    EXPECT_NEAR(ContrastRatio(clBlue, clWhite), 1.05 / 0.1222, 1e-9);  // 8.59:1
    EXPECT_NEAR(ContrastRatio(clLime, clBlack), 0.7652 / 0.05, 1e-9);  // 15.3:1
}

// A toolkit colour counts as it paints: clBtnFace as the palette's button colour.
TEST(ContrastRatio, SystemColoursResolveThroughThePalette)
{
    const QPalette Saved = QApplication::palette();
    QPalette Palette = Saved;
    Palette.setColor(QPalette::Active, QPalette::Button, QColor(0x77, 0x77, 0x77));
    QApplication::setPalette(Palette);
    EXPECT_NEAR(ContrastRatio(clBtnFace, clWhite), 4.4781, 1e-3);
    Palette.setColor(QPalette::Active, QPalette::Button, QColor(0x76, 0x76, 0x76));
    QApplication::setPalette(Palette);
    EXPECT_NEAR(ContrastRatio(clWhite, clBtnFace), 4.5422, 1e-3);
    QApplication::setPalette(Saved);
}

}  // namespace
