#pragma once
// Toolkit graphics: named colours, system colours, and the canvas that paints on Qt.

#include "host/rtl/Classes.h"
#include "host/vcl/ColorType.h"
#include "host/vcl/Types.h"

#include <QFont>
#include <QPoint>
#include <QRect>

#include <functional>
#include <cstddef>
#include <cstdint>
#include <memory>

class QImage;
class QPainter;

// The classic named colours.
constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clLtGray = 0xC0C0C0;
constexpr TColor clDkGray = 0x808080;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clMoneyGreen = 0xC0DCC0;
constexpr TColor clSkyBlue = 0xF0CAA6;
constexpr TColor clCream = 0xF0FBFF;
constexpr TColor clMedGray = 0xA4A0A0;

// System colours: the top byte set, the low byte the system colour's index.
constexpr TColor clSystemColor = static_cast<TColor>(0xFF000000u);
constexpr TColor clScrollBar = clSystemColor | 0;
constexpr TColor clBackground = clSystemColor | 1;
constexpr TColor clActiveCaption = clSystemColor | 2;
constexpr TColor clInactiveCaption = clSystemColor | 3;
constexpr TColor clMenu = clSystemColor | 4;
constexpr TColor clWindow = clSystemColor | 5;
constexpr TColor clWindowFrame = clSystemColor | 6;
constexpr TColor clMenuText = clSystemColor | 7;
constexpr TColor clWindowText = clSystemColor | 8;
constexpr TColor clCaptionText = clSystemColor | 9;
constexpr TColor clActiveBorder = clSystemColor | 10;
constexpr TColor clInactiveBorder = clSystemColor | 11;
constexpr TColor clAppWorkSpace = clSystemColor | 12;
constexpr TColor clHighlight = clSystemColor | 13;
constexpr TColor clHighlightText = clSystemColor | 14;
constexpr TColor clBtnFace = clSystemColor | 15;
constexpr TColor clBtnShadow = clSystemColor | 16;
constexpr TColor clGrayText = clSystemColor | 17;
constexpr TColor clBtnText = clSystemColor | 18;
constexpr TColor clInactiveCaptionText = clSystemColor | 19;
constexpr TColor clBtnHighlight = clSystemColor | 20;
constexpr TColor cl3DDkShadow = clSystemColor | 21;
constexpr TColor cl3DLight = clSystemColor | 22;
constexpr TColor clInfoText = clSystemColor | 23;
constexpr TColor clInfoBk = clSystemColor | 24;
constexpr TColor clHotLight = clSystemColor | 26;
constexpr TColor clGradientActiveCaption = clSystemColor | 27;
constexpr TColor clGradientInactiveCaption = clSystemColor | 28;
constexpr TColor clMenuHighlight = clSystemColor | 29;
constexpr TColor clMenuBar = clSystemColor | 30;
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

// Calls Proc once per toolkit colour name (at most 54 names), in a fixed order, before it returns.
void GetColorValues(const TGetStrProc& Proc);
// Case-insensitive; true and the name's colour for a toolkit colour name, false otherwise.
bool IdentToColor(const String& Ident, int& Color);
// The name of a colour that has one.
bool ColorToIdent(int Color, String& Ident);
// A toolkit name for a colour that has one, otherwise "$" and eight hexadecimal digits.
String ColorToString(TColor Color);
// A toolkit name or an integer text; raises EConvertError otherwise.
TColor StringToColor(const String& S);
// The one rule for a typed or stored toolkit colour text, exactly as written (no blanks around
// it): a toolkit colour name (any case) or an integer text (decimal, or "$" and hexadecimal
// digits). True and the colour, written only then; the toolkit's colour property editor and form
// files read with it.
bool TextToColor(const String& Text, int& Color);
// ColorToRGB: host/vcl/ColorType.h.

enum TPenMode { pmCopy, pmNot };

struct TPen {
    TColor Color = clBlack;
    TPenMode Mode = pmCopy;
};

struct TBrush {
    TColor Color = clWhite;
};

// A drawing surface with the toolkit's conventions on top of a QPainter:
// - LineTo does not paint the end pixel;
// - FillRect and Rectangle leave out the right column and the bottom row;
// - pen mode pmNot inverts every pixel the pen touches, so a figure drawn twice vanishes;
// - pen and brush colours with the top byte set paint as ColorToRGB resolves them;
// - on an image canvas, SetPixel writes straight into the image's scan lines.
class TBitmap;

class TCanvas {
public:
    // Paints through an active painter owned by the caller (a paint event, a delegate).
    explicit TCanvas(QPainter& Painter);
    // Paints into an image; pixel writes go straight into it.
    explicit TCanvas(QImage& Image);
    ~TCanvas();
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    TPen Pen;
    TBrush Brush;
    QFont Font;

    void MoveTo(int X, int Y);
    void LineTo(int X, int Y);
    void FillRect(const TRect& R);
    void Rectangle(int X1, int Y1, int X2, int Y2);
    void Rectangle(const TRect& R) { Rectangle(R.Left, R.Top, R.Right, R.Bottom); }
    // Writes one pixel; outside the surface nothing is written.
    void SetPixel(int X, int Y, TColor Color)
    {
        // An RGB colour inside an unclipped image whose scan lines this canvas alone holds goes
        // straight in: a paint of the colour box writes 40,000 pixels this way.
        if (FDirectBits && !FClipped && (Color & 0xFF000000) == 0 && unsigned(X) < unsigned(FDirectWidth) &&
            unsigned(Y) < unsigned(FDirectHeight) && DirectBitsValid()) {
            FDirectBits[std::size_t(Y) * FDirectStride + X] = PixelOfRgb(Color);
            NotifyChange();
            return;
        }
        SetPixelChecked(X, Y, Color);
    }
    TColor GetPixel(int X, int Y) const;
    // Copies Bitmap with its top left at (X, Y), pixel for pixel, whatever the pen mode.
    void Draw(int X, int Y, const TBitmap& Bitmap);
    TColor FontColor = clBlack;
    // Text with its top left at (X, Y), clipped to R, in Font and FontColor; the background stays.
    void TextRect(const TRect& R, int X, int Y, const String& Text);
    int TextWidth(const String& Text) const;
    int TextHeight(const String& Text) const;
    QPoint PenPos() const { return FPenPos; }

    // The painter underneath, for the host layer and the designer only.
    QPainter& Painter() { return *FPainter; }

    // Called after every drawing operation (lines, fills, rectangles, pixels, text), so that the
    // control that shows the surface can bring its drawing to the screen.
    std::function<void()> OnChange;
    // While set, drawing does not call OnChange: the control is drawing the whole surface itself
    // and shows it afterwards.
    bool ChangeNotificationSuspended = false;
    // Limits painting, pixel writes included, to R until ResetClip; a new clip replaces the old.
    void SetClipRect(const TRect& R);
    void ResetClip();
    // Image canvas only: replaces the image by one of the new size, cleared to white; pen, brush,
    // font and pen position stay.
    void SetImageSize(int Width, int Height);

private:
    void SetPixelChecked(int X, int Y, TColor Color);
    // The image still owns the scan lines the direct pointer was taken from, alone.
    bool DirectBitsValid() const;
    void TakeDirectBits();
    bool CanPaint() const;
    QRect Bounds() const;
    void FillRuns(const QRect* Runs, int Count, TColor Color, bool Invert);
    void NotifyChange()
    {
        if (!ChangeNotificationSuspended && OnChange)
            OnChange();
    }

    std::unique_ptr<QPainter> FOwnedPainter;
    QPainter* FPainter = nullptr;
    QImage* FImage = nullptr;
    QPoint FPenPos;
    bool FClipped = false;
    TRect FClipRect;
    std::uint32_t* FDirectBits = nullptr;
    std::size_t FDirectStride = 0;
    int FDirectWidth = 0;
    int FDirectHeight = 0;
};

// A picture kept off screen, drawn through its own canvas and copied onto others with
// TCanvas::Draw. A new bitmap is empty; SetSize makes it white at the new size.
class TBitmap {
public:
    TBitmap();
    ~TBitmap();
    TBitmap(const TBitmap&) = delete;
    TBitmap& operator=(const TBitmap&) = delete;

    int Width() const;
    int Height() const;
    void SetSize(int AWidth, int AHeight);
    // The canvas on the picture; the same object for the bitmap's life.
    TCanvas& Canvas() { return *FCanvas; }
    // The picture, for the host layer.
    const QImage& Image() const { return *FImage; }

private:
    std::unique_ptr<QImage> FImage;
    std::unique_ptr<TCanvas> FCanvas;
};
