// The canvas's drawing rules, read back from the pixels they leave in an image.
#include "host/vcl/Graphics.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include <climits>
#include <set>
#include <utility>

namespace {

constexpr QRgb White = 0xFFFFFFFF;

QImage WhiteImage(int W = 40, int H = 40)
{
    QImage Image(W, H, QImage::Format_RGB32);
    Image.fill(White);
    return Image;
}

// Every pixel a different colour, so that an inversion or a stray write shows.
QImage Gradient(int W = 40, int H = 40)
{
    QImage Image(W, H, QImage::Format_RGB32);
    for (int Y = 0; Y < H; ++Y)
        for (int X = 0; X < W; ++X)
            Image.setPixel(X, Y, qRgb(X * 6, Y * 6, (X + Y) * 3));
    return Image;
}

std::set<std::pair<int, int>> PixelsOf(const QImage& Image, QRgb Colour)
{
    std::set<std::pair<int, int>> Pixels;
    for (int Y = 0; Y < Image.height(); ++Y)
        for (int X = 0; X < Image.width(); ++X)
            if (Image.pixel(X, Y) == Colour)
                Pixels.insert({X, Y});
    return Pixels;
}

QRgb Inverted(QRgb P)
{
    return qRgb(255 - qRed(P), 255 - qGreen(P), 255 - qBlue(P));
}

TColor TColorOf(QRgb P)
{
    return TColor(qRed(P) | qGreen(P) << 8 | qBlue(P) << 16);
}

void Cross(TCanvas& Canvas, int X, int Y)
{
    Canvas.MoveTo(X, Y - 10);
    Canvas.LineTo(X, Y + 10);
    Canvas.MoveTo(X - 10, Y);
    Canvas.LineTo(X + 10, Y);
}

} // namespace

TEST(CanvasLines, LineToLeavesOutItsEndPixelAndMovesThePen)
{
    QImage Image = WhiteImage();
    {
        TCanvas Canvas(Image);
        Canvas.Pen.Color = clBlack;
        Canvas.MoveTo(2, 5);
        Canvas.LineTo(10, 5);
        EXPECT_EQ(Canvas.PenPos(), QPoint(10, 5));
        Canvas.LineTo(10, 12);
        EXPECT_EQ(Canvas.PenPos(), QPoint(10, 12));
    }
    std::set<std::pair<int, int>> Expected;
    for (int X = 2; X < 10; ++X)
        Expected.insert({X, 5});
    for (int Y = 5; Y < 12; ++Y)
        Expected.insert({10, Y});
    EXPECT_EQ(PixelsOf(Image, qRgb(0, 0, 0)), Expected);
}

TEST(CanvasLines, BackwardsAndDiagonalLinesStopBeforeTheirEnd)
{
    QImage Image = WhiteImage();
    {
        TCanvas Canvas(Image);
        Canvas.Pen.Color = clRed;
        Canvas.MoveTo(12, 3);
        Canvas.LineTo(4, 3);
        Canvas.Pen.Color = clBlue;
        Canvas.MoveTo(20, 20);
        Canvas.LineTo(25, 25);
        Canvas.Pen.Color = clLime;
        Canvas.MoveTo(30, 10);
        Canvas.LineTo(25, 15);
    }
    std::set<std::pair<int, int>> Red, Blue, Lime;
    for (int X = 12; X > 4; --X)
        Red.insert({X, 3});
    for (int I = 0; I < 5; ++I) {
        Blue.insert({20 + I, 20 + I});
        Lime.insert({30 - I, 10 + I});
    }
    EXPECT_EQ(PixelsOf(Image, qRgb(255, 0, 0)), Red);
    EXPECT_EQ(PixelsOf(Image, qRgb(0, 0, 255)), Blue);
    EXPECT_EQ(PixelsOf(Image, qRgb(0, 255, 0)), Lime);
}

TEST(CanvasLines, ZeroLengthLinePaintsNothing)
{
    QImage Image = WhiteImage();
    {
        TCanvas Canvas(Image);
        Canvas.MoveTo(7, 7);
        Canvas.LineTo(7, 7);
    }
    EXPECT_EQ(Image, WhiteImage());
}

TEST(CanvasLines, LinesFarBeyondTheSurfacePaintOnlyWhatFalls)
{
    QImage Image = WhiteImage(10, 10);
    {
        TCanvas Canvas(Image);
        Canvas.MoveTo(INT_MIN, 4);
        Canvas.LineTo(INT_MAX, 4);
        Canvas.MoveTo(INT_MIN, INT_MIN);
        Canvas.LineTo(INT_MAX, INT_MAX);
    }
    std::set<std::pair<int, int>> Row;
    for (int X = 0; X < 10; ++X)
        Row.insert({X, 4});
    std::set<std::pair<int, int>> Black = PixelsOf(Image, qRgb(0, 0, 0));
    for (const auto& P : Row)
        EXPECT_TRUE(Black.count(P)) << P.first;
    // The diagonal through the plane's corners passes (about) through the origin's neighbourhood.
    EXPECT_LE(Black.size(), Row.size() + 10);
}

TEST(CanvasFills, FillRectLeavesOutRightColumnAndBottomRow)
{
    QImage Image = WhiteImage();
    {
        TCanvas Canvas(Image);
        Canvas.Brush.Color = clRed;
        Canvas.FillRect(Rect(2, 3, 6, 8));
    }
    std::set<std::pair<int, int>> Expected;
    for (int Y = 3; Y < 8; ++Y)
        for (int X = 2; X < 6; ++X)
            Expected.insert({X, Y});
    EXPECT_EQ(PixelsOf(Image, qRgb(255, 0, 0)), Expected);
}

TEST(CanvasFills, BackwardsOrEmptyRectanglesPaintNothing)
{
    QImage Image = WhiteImage();
    {
        TCanvas Canvas(Image);
        Canvas.Brush.Color = clRed;
        Canvas.Pen.Color = clBlue;
        Canvas.FillRect(Rect(10, 10, 5, 20));
        Canvas.FillRect(Rect(10, 10, 20, 5));
        Canvas.FillRect(Rect(10, 10, 10, 20));
        Canvas.Rectangle(10, 10, 5, 20);
        Canvas.Rectangle(10, 10, 10, 10);
    }
    EXPECT_EQ(Image, WhiteImage());
}

TEST(CanvasFills, HugeRectangleFillsTheWholeSurface)
{
    QImage Image = WhiteImage(8, 6);
    {
        TCanvas Canvas(Image);
        Canvas.Brush.Color = clNavy;
        Canvas.FillRect(Rect(INT_MIN, INT_MIN, INT_MAX, INT_MAX));
    }
    EXPECT_EQ(PixelsOf(Image, qRgb(0, 0, 0x80)).size(), 48u);
}

TEST(CanvasFills, RectangleOutlinesWithThePenAndFillsWithTheBrush)
{
    QImage Image = WhiteImage();
    {
        TCanvas Canvas(Image);
        Canvas.Pen.Color = clBlue;
        Canvas.Brush.Color = clYellow;
        Canvas.Rectangle(1, 1, 6, 5);
    }
    std::set<std::pair<int, int>> Outline, Interior;
    for (int Y = 1; Y <= 4; ++Y)
        for (int X = 1; X <= 5; ++X)
            (X == 1 || X == 5 || Y == 1 || Y == 4 ? Outline : Interior).insert({X, Y});
    EXPECT_EQ(PixelsOf(Image, qRgb(0, 0, 255)), Outline);
    EXPECT_EQ(PixelsOf(Image, qRgb(255, 255, 0)), Interior);
}

TEST(CanvasFills, SystemColoursPaintAsColorToRGBResolvesThem)
{
    QImage Image = WhiteImage();
    {
        TCanvas Canvas(Image);
        Canvas.Brush.Color = clBtnFace;
        Canvas.FillRect(Rect(0, 0, 10, 10));
        Canvas.Pen.Color = clHighlight;
        Canvas.MoveTo(0, 20);
        Canvas.LineTo(10, 20);
    }
    const TColor Face = ColorToRGB(clBtnFace);
    const TColor Highlight = ColorToRGB(clHighlight);
    EXPECT_EQ(Image.pixel(5, 5), qRgb(Face & 0xFF, (Face >> 8) & 0xFF, (Face >> 16) & 0xFF));
    EXPECT_EQ(Image.pixel(5, 20), qRgb(Highlight & 0xFF, (Highlight >> 8) & 0xFF, (Highlight >> 16) & 0xFF));
}

TEST(CanvasInvert, PmNotInvertsEveryTouchedPixelWhateverThePenColour)
{
    const QImage Original = Gradient();
    QImage Image = Original;
    {
        TCanvas Canvas(Image);
        Canvas.Pen.Mode = pmNot;
        Canvas.Pen.Color = clRed;
        Canvas.MoveTo(3, 7);
        Canvas.LineTo(20, 7);
    }
    for (int Y = 0; Y < Image.height(); ++Y)
        for (int X = 0; X < Image.width(); ++X) {
            const bool Touched = Y == 7 && X >= 3 && X < 20;
            EXPECT_EQ(Image.pixel(X, Y), Touched ? Inverted(Original.pixel(X, Y)) : Original.pixel(X, Y))
                << X << "," << Y;
        }
}

TEST(CanvasInvert, CrossDrawnTwiceRestoresTheImageAndKeepsItsCentre)
{
    const QImage Original = Gradient();
    QImage Image = Original;
    TCanvas Canvas(Image);
    Canvas.Pen.Mode = pmNot;
    Cross(Canvas, 20, 20);
    // Arms over y-10..y+9 and x-10..x+9; the centre lies on both and is inverted twice.
    EXPECT_EQ(Image.pixel(20, 20), Original.pixel(20, 20));
    EXPECT_EQ(Image.pixel(20, 10), Inverted(Original.pixel(20, 10)));
    EXPECT_EQ(Image.pixel(20, 29), Inverted(Original.pixel(20, 29)));
    EXPECT_EQ(Image.pixel(20, 30), Original.pixel(20, 30));
    EXPECT_EQ(Image.pixel(10, 20), Inverted(Original.pixel(10, 20)));
    EXPECT_EQ(Image.pixel(29, 20), Inverted(Original.pixel(29, 20)));
    EXPECT_EQ(Image.pixel(30, 20), Original.pixel(30, 20));
    EXPECT_NE(Image, Original);
    Cross(Canvas, 20, 20);
    EXPECT_EQ(Image, Original);
}

TEST(CanvasInvert, RectangleOutlineDrawnTwiceRestoresTheImage)
{
    const QImage Original = Gradient();
    QImage Image = Original;
    TCanvas Canvas(Image);
    Canvas.Pen.Mode = pmNot;
    Canvas.Brush.Color = clWhite;
    Canvas.Rectangle(5, 5, 6, 30); // one column: each pixel once
    Canvas.Rectangle(5, 5, 6, 30);
    EXPECT_EQ(Image, Original);
    Canvas.Rectangle(10, 10, 20, 18);
    // Corners inverted once, like the rest of the outline.
    EXPECT_EQ(Image.pixel(10, 10), Inverted(Original.pixel(10, 10)));
    EXPECT_EQ(Image.pixel(19, 17), Inverted(Original.pixel(19, 17)));
    EXPECT_EQ(Image.pixel(20, 18), Original.pixel(20, 18));
}

TEST(CanvasPixels, SetPixelWritesInsideAndDropsOutside)
{
    QImage Image = WhiteImage(10, 10);
    TCanvas Canvas(Image);
    Canvas.SetPixel(3, 4, clRed);
    EXPECT_EQ(Image.pixel(3, 4), qRgb(255, 0, 0));
    EXPECT_EQ(Canvas.GetPixel(3, 4), clRed);
    const QImage Before = Image.copy();
    Canvas.SetPixel(-1, 4, clBlue);
    Canvas.SetPixel(10, 4, clBlue);
    Canvas.SetPixel(4, 10, clBlue);
    Canvas.SetPixel(INT_MIN, INT_MAX, clBlue);
    EXPECT_EQ(Image, Before);
    EXPECT_EQ(Canvas.GetPixel(10, 0), clNone);
    EXPECT_EQ(Canvas.GetPixel(-1, 0), clNone);
}

TEST(CanvasPixels, SetPixelResolvesSystemColoursAndIgnoresThePenMode)
{
    QImage Image = WhiteImage(4, 4);
    TCanvas Canvas(Image);
    Canvas.Pen.Mode = pmNot;
    Canvas.SetPixel(1, 1, clBtnFace);
    EXPECT_EQ(Canvas.GetPixel(1, 1), ColorToRGB(clBtnFace));
}

TEST(CanvasClip, ClipLimitsFillsLinesAndPixels)
{
    QImage Image = WhiteImage(20, 20);
    {
        TCanvas Canvas(Image);
        Canvas.SetClipRect(Rect(5, 5, 10, 10));
        Canvas.Brush.Color = clRed;
        Canvas.FillRect(Rect(0, 0, 20, 20));
        Canvas.SetPixel(12, 12, clBlue);
        Canvas.Pen.Color = clBlue;
        Canvas.MoveTo(0, 7);
        Canvas.LineTo(20, 7);
        Canvas.ResetClip();
        Canvas.SetPixel(15, 15, clLime);
    }
    std::set<std::pair<int, int>> Red;
    for (int Y = 5; Y < 10; ++Y)
        for (int X = 5; X < 10; ++X)
            if (Y != 7)
                Red.insert({X, Y});
    EXPECT_EQ(PixelsOf(Image, qRgb(255, 0, 0)), Red);
    EXPECT_EQ(PixelsOf(Image, qRgb(0, 0, 255)).size(), 5u);
    EXPECT_EQ(Image.pixel(15, 15), qRgb(0, 255, 0));
}

TEST(CanvasText, TextStaysInsideItsRectangleInTheFontColour)
{
    QImage Image = WhiteImage(120, 40);
    {
        TCanvas Canvas(Image);
        Canvas.FontColor = clBlue;
        EXPECT_GT(Canvas.TextWidth("Hello"), Canvas.TextWidth("H"));
        EXPECT_EQ(Canvas.TextWidth(""), 0);
        EXPECT_GT(Canvas.TextHeight("Hello"), 5);
        // The text would run beyond x = 30: only 10..29 may change.
        Canvas.TextRect(Rect(10, 5, 30, 35), 12, 8, "WWWWWWWW");
    }
    int Changed = 0;
    bool Bluish = false;
    for (int Y = 0; Y < Image.height(); ++Y)
        for (int X = 0; X < Image.width(); ++X) {
            const QRgb P = Image.pixel(X, Y);
            if (P == White)
                continue;
            ++Changed;
            EXPECT_TRUE(X >= 10 && X < 30 && Y >= 5 && Y < 35) << X << "," << Y;
            Bluish = Bluish || (qBlue(P) == 255 && qRed(P) < 128);
        }
    EXPECT_GT(Changed, 10);
    EXPECT_TRUE(Bluish);
}

TEST(CanvasPainter, BorrowedPainterFollowsTheSameRulesAndIsLeftAsFound)
{
    QImage Image = Gradient();
    const QImage Original = Image.copy();
    QPainter Painter(&Image);
    Painter.setCompositionMode(QPainter::CompositionMode_Multiply);
    Painter.setRenderHint(QPainter::Antialiasing, true);
    {
        TCanvas Canvas(Painter);
        Canvas.Pen.Mode = pmNot;
        Canvas.MoveTo(2, 2);
        Canvas.LineTo(6, 2);
        EXPECT_EQ(Canvas.GetPixel(5, 2), TColorOf(Inverted(Original.pixel(5, 2))));
        EXPECT_EQ(Canvas.GetPixel(6, 2), TColorOf(Original.pixel(6, 2)));
        Canvas.Pen.Mode = pmCopy;
        Canvas.Brush.Color = clRed;
        Canvas.FillRect(Rect(10, 10, 12, 12));
        EXPECT_EQ(Canvas.GetPixel(11, 11), clRed);
        EXPECT_EQ(Canvas.GetPixel(12, 12), TColorOf(Original.pixel(12, 12)));
    }
    EXPECT_EQ(Painter.compositionMode(), QPainter::CompositionMode_Multiply);
    EXPECT_TRUE(Painter.testRenderHint(QPainter::Antialiasing));
    Painter.end();
    EXPECT_EQ(Image.pixel(5, 2), Inverted(Original.pixel(5, 2)));
    EXPECT_EQ(Image.pixel(6, 2), Original.pixel(6, 2));
}

TEST(CanvasPainter, ScaledPainterPaintsEachPixelAsABlock)
{
    QImage Image = WhiteImage(20, 20);
    {
        QPainter Painter(&Image);
        Painter.scale(2, 2);
        TCanvas Canvas(Painter);
        Canvas.Pen.Color = clBlack;
        Canvas.MoveTo(1, 1);
        Canvas.LineTo(4, 1);
        EXPECT_EQ(Canvas.GetPixel(2, 1), clBlack);
        EXPECT_EQ(Canvas.GetPixel(4, 1), clWhite);
    }
    std::set<std::pair<int, int>> Expected;
    for (int X = 2; X < 8; ++X)
        for (int Y = 2; Y < 4; ++Y)
            Expected.insert({X, Y});
    EXPECT_EQ(PixelsOf(Image, qRgb(0, 0, 0)), Expected);
}

TEST(CanvasNotification, OnChangeFollowsEveryDrawingOperation)
{
    QImage Image = WhiteImage();
    TCanvas Canvas(Image);
    int Changes = 0;
    Canvas.OnChange = [&] { ++Changes; };
    Canvas.MoveTo(1, 1);
    EXPECT_EQ(Changes, 0);
    Canvas.LineTo(5, 1);
    Canvas.FillRect(Rect(0, 0, 3, 3));
    Canvas.Rectangle(0, 0, 4, 4);
    Canvas.SetPixel(2, 2, clRed);
    Canvas.TextRect(Rect(0, 0, 30, 30), 0, 0, "A");
    EXPECT_EQ(Changes, 5);
}

TEST(CanvasImage, SetImageSizeKeepsPenBrushAndPosition)
{
    QImage Image = WhiteImage(4, 4);
    TCanvas Canvas(Image);
    Canvas.Pen.Color = clRed;
    Canvas.Pen.Mode = pmNot;
    Canvas.Brush.Color = clBlue;
    Canvas.MoveTo(3, 3);
    Canvas.SetImageSize(30, 20);
    EXPECT_EQ(Image.size(), QSize(30, 20));
    EXPECT_EQ(Canvas.Pen.Color, clRed);
    EXPECT_EQ(Canvas.Pen.Mode, pmNot);
    EXPECT_EQ(Canvas.PenPos(), QPoint(3, 3));
    Canvas.FillRect(Rect(25, 15, 30, 20));
    EXPECT_EQ(Image.pixel(29, 19), qRgb(0, 0, 255));
    EXPECT_EQ(Image.pixel(24, 19), White);
}
