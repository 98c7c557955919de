// Single-pixel writes on an image canvas: straight into the scan lines, yet never into a copy of
// the image that someone holds, never outside the image, and system colours still resolved.
#include "host/vcl/Graphics.h"

#include <gtest/gtest.h>

#include <QImage>

namespace {

TColor At(const QImage& Image, int X, int Y)
{
    const QRgb P = Image.pixel(X, Y);
    return qRed(P) | (qGreen(P) << 8) | (qBlue(P) << 16);
}

TEST(CanvasPixels, WritesLandInTheImageAndNotInCopies)
{
    QImage Image(4, 3, QImage::Format_RGB32);
    Image.fill(Qt::white);
    TCanvas Canvas(Image);
    Canvas.SetPixel(1, 1, 0x123456);
    EXPECT_EQ(At(Image, 1, 1), 0x123456);

    const QImage Copy = Image;
    Canvas.SetPixel(2, 1, 0x654321);
    Canvas.SetPixel(1, 1, 0x000000);
    EXPECT_EQ(At(Image, 2, 1), 0x654321);
    EXPECT_EQ(At(Copy, 2, 1), 0xFFFFFF) << "a copy taken earlier keeps what it had";
    EXPECT_EQ(At(Copy, 1, 1), 0x123456);
}

TEST(CanvasPixels, OutsideTheImageAndAfterAResizeNothingStrays)
{
    QImage Image(4, 3, QImage::Format_RGB32);
    Image.fill(Qt::white);
    TCanvas Canvas(Image);
    Canvas.SetPixel(0, 0, clRed);
    for (const auto& [X, Y] : {std::pair{-1, 0}, {4, 0}, {0, 3}, {0, -1}, {1 << 30, 1 << 30}})
        Canvas.SetPixel(X, Y, clBlue);
    Canvas.SetImageSize(2, 2);
    Canvas.SetPixel(3, 2, clBlue);  // inside the old size, outside the new one
    Canvas.SetPixel(1, 1, clLime);
    EXPECT_EQ(Image.size(), QSize(2, 2));
    EXPECT_EQ(At(Image, 1, 1), clLime);
}

TEST(CanvasPixels, SystemColoursAndClippingStillApply)
{
    QImage Image(4, 4, QImage::Format_RGB32);
    Image.fill(Qt::white);
    TCanvas Canvas(Image);
    Canvas.SetPixel(0, 0, clBtnFace);
    EXPECT_EQ(At(Image, 0, 0), ColorToRGB(clBtnFace));
    Canvas.SetClipRect(Rect(2, 2, 4, 4));
    Canvas.SetPixel(1, 1, clBlack);
    Canvas.SetPixel(3, 3, clBlack);
    EXPECT_EQ(At(Image, 1, 1), clWhite);
    EXPECT_EQ(At(Image, 3, 3), clBlack);
}

}  // namespace
