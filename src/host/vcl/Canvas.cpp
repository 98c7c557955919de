// The canvas: the toolkit's drawing rules on top of a QPainter.
//
// Every figure is painted as whole-pixel rectangles with fillRect, never with Qt's line
// rasteriser: the set of pixels a figure touches is then decided here, each pixel exactly once,
// and a painter with a scale (a high-density device) paints each pixel as a block.
#include "host/vcl/Graphics.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

// Coordinates a painter canvas can reach: Qt's raster engine works in 16-bit device space, so a
// figure's pixels beyond it are never visible and are not computed.
constexpr int CoordinateLimit = 1 << 15;

// The pixels Left..Right-1 x Top..Bottom-1 inside Bounds, computed without overflow.
QRect PixelSpan(std::int64_t Left, std::int64_t Top, std::int64_t Right, std::int64_t Bottom, const QRect& Bounds)
{
    Left = std::max<std::int64_t>(Left, Bounds.left());
    Top = std::max<std::int64_t>(Top, Bounds.top());
    Right = std::min<std::int64_t>(Right, std::int64_t(Bounds.right()) + 1);
    Bottom = std::min<std::int64_t>(Bottom, std::int64_t(Bounds.bottom()) + 1);
    if (Right <= Left || Bottom <= Top)
        return QRect();
    return QRect(int(Left), int(Top), int(Right - Left), int(Bottom - Top));
}

// N / D rounded to the nearest integer, halves away from zero; D > 0. In 128 bits: a step index
// times a coordinate difference reaches 2^64 on a line across the whole 32-bit plane.
std::int64_t RoundedQuotient(__int128 N, __int128 D)
{
    return static_cast<std::int64_t>(N >= 0 ? (2 * N + D) / (2 * D) : -((-2 * N + D) / (2 * D)));
}

// Restores the composition mode and antialiasing of a painter the canvas borrows.
class PainterModeGuard {
public:
    explicit PainterModeGuard(QPainter& Painter)
        : FPainter(Painter), FMode(Painter.compositionMode()),
          FAntialiased(Painter.testRenderHint(QPainter::Antialiasing))
    {
        FPainter.setRenderHint(QPainter::Antialiasing, false);
    }
    ~PainterModeGuard()
    {
        FPainter.setCompositionMode(FMode);
        FPainter.setRenderHint(QPainter::Antialiasing, FAntialiased);
    }
    PainterModeGuard(const PainterModeGuard&) = delete;
    PainterModeGuard& operator=(const PainterModeGuard&) = delete;

private:
    QPainter& FPainter;
    QPainter::CompositionMode FMode;
    bool FAntialiased;
};

} // namespace

TCanvas::TCanvas(QPainter& Painter)
    : Font(Painter.font()), FPainter(&Painter)
{
}

TCanvas::TCanvas(QImage& Image)
    : FOwnedPainter(std::make_unique<QPainter>()), FImage(&Image)
{
    FPainter = FOwnedPainter.get();
    if (!Image.isNull())
        FPainter->begin(&Image);
}

TCanvas::~TCanvas()
{
    ResetClip();
}

bool TCanvas::CanPaint() const
{
    return FPainter->isActive();
}

QRect TCanvas::Bounds() const
{
    QRect R = FImage ? FImage->rect()
                     : QRect(-CoordinateLimit, -CoordinateLimit, 2 * CoordinateLimit, 2 * CoordinateLimit);
    if (FClipped)
        R &= PixelSpan(FClipRect.Left, FClipRect.Top, FClipRect.Right, FClipRect.Bottom, R);
    return R;
}

void TCanvas::FillRuns(const QRect* Runs, int Count, TColor Color, bool Invert)
{
    PainterModeGuard Guard(*FPainter);
    // RasterOp_NotDestination inverts what lies beneath whatever colour is painted.
    FPainter->setCompositionMode(Invert ? QPainter::RasterOp_NotDestination : QPainter::CompositionMode_SourceOver);
    const QColor Paint = QColorOf(Color);
    for (int I = 0; I < Count; ++I) {
        if (!Runs[I].isEmpty())
            FPainter->fillRect(Runs[I], Paint);
    }
}

void TCanvas::MoveTo(int X, int Y)
{
    FPenPos = QPoint(X, Y);
}

void TCanvas::LineTo(int X, int Y)
{
    const QPoint From = FPenPos;
    FPenPos = QPoint(X, Y);
    if (!CanPaint())
        return;
    const std::int64_t Dx = std::int64_t(X) - From.x();
    const std::int64_t Dy = std::int64_t(Y) - From.y();
    const std::int64_t Steps = std::max(std::llabs(Dx), std::llabs(Dy));
    // A line covers the pixels from its start up to, not including, its end; Qt would paint the
    // end pixel too, so the pixels are laid out here: step i lies i/Steps of the way along.
    const bool Horizontal = std::llabs(Dx) >= std::llabs(Dy);
    const QRect Limits = Bounds();
    // Only the steps whose major coordinate can be on the surface are walked.
    const std::int64_t Start = Horizontal ? From.x() : From.y();
    const std::int64_t Direction = (Horizontal ? Dx : Dy) >= 0 ? 1 : -1;
    const std::int64_t Low = Horizontal ? Limits.left() : Limits.top();
    const std::int64_t High = Horizontal ? Limits.right() : Limits.bottom();
    std::int64_t First = 0;
    std::int64_t Last = Steps - 1;
    if (Direction > 0) {
        First = std::max<std::int64_t>(First, Low - Start);
        Last = std::min<std::int64_t>(Last, High - Start);
    } else {
        First = std::max<std::int64_t>(First, Start - High);
        Last = std::min<std::int64_t>(Last, Start - Low);
    }

    std::vector<QRect> Runs;
    for (std::int64_t I = First; I <= Last; ++I) {
        const std::int64_t PX = From.x() + RoundedQuotient(__int128(I) * Dx, Steps);
        const std::int64_t PY = From.y() + RoundedQuotient(__int128(I) * Dy, Steps);
        if (!Limits.contains(int(std::clamp<std::int64_t>(PX, INT32_MIN, INT32_MAX)),
                             int(std::clamp<std::int64_t>(PY, INT32_MIN, INT32_MAX))))
            continue;
        const QPoint P{int(PX), int(PY)};
        // Neighbouring pixels on one row (or column) merge into one rectangle.
        if (!Runs.empty()) {
            QRect& Run = Runs.back();
            if (Horizontal && Run.top() == P.y() && (P.x() == Run.right() + 1 || P.x() == Run.left() - 1)) {
                Run = Run.united(QRect(P, QSize(1, 1)));
                continue;
            }
            if (!Horizontal && Run.left() == P.x() && (P.y() == Run.bottom() + 1 || P.y() == Run.top() - 1)) {
                Run = Run.united(QRect(P, QSize(1, 1)));
                continue;
            }
        }
        Runs.emplace_back(P, QSize(1, 1));
    }
    if (Runs.empty())
        return;
    FillRuns(Runs.data(), int(Runs.size()), Pen.Color, Pen.Mode == pmNot);
    NotifyChange();
}

void TCanvas::FillRect(const TRect& R)
{
    if (!CanPaint())
        return;
    // Right column and bottom row excluded; a backwards rectangle is empty (Qt would paint it).
    const QRect Span = PixelSpan(R.Left, R.Top, R.Right, R.Bottom, Bounds());
    if (Span.isEmpty())
        return;
    FillRuns(&Span, 1, Brush.Color, false);
    NotifyChange();
}

void TCanvas::Draw(int X, int Y, const TBitmap& Bitmap)
{
    if (!CanPaint() || Bitmap.Image().isNull())
        return;
    PainterModeGuard Guard(*FPainter);
    FPainter->setCompositionMode(QPainter::CompositionMode_Source);
    FPainter->drawImage(QPoint(X, Y), Bitmap.Image());
    NotifyChange();
}

void TCanvas::Rectangle(int X1, int Y1, int X2, int Y2)
{
    if (!CanPaint() || X2 <= X1 || Y2 <= Y1)
        return;
    const QRect Limits = Bounds();
    // The outline runs over X1..X2-1, Y1..Y2-1; its four sides share no pixel, so an inverting
    // pen touches every outline pixel once.
    const std::int64_t L = X1, T = Y1, R = std::int64_t(X2) - 1, B = std::int64_t(Y2) - 1;
    const QRect Interior = PixelSpan(L + 1, T + 1, R, B, Limits);
    if (!Interior.isEmpty())
        FillRuns(&Interior, 1, Brush.Color, false);
    QRect Outline[4];
    Outline[0] = PixelSpan(L, T, R + 1, T + 1, Limits);
    if (B > T)
        Outline[1] = PixelSpan(L, B, R + 1, B + 1, Limits);
    Outline[2] = PixelSpan(L, T + 1, L + 1, B, Limits);
    if (R > L)
        Outline[3] = PixelSpan(R, T + 1, R + 1, B, Limits);
    FillRuns(Outline, 4, Pen.Color, Pen.Mode == pmNot);
    NotifyChange();
}

bool TCanvas::DirectBitsValid() const
{
    // The pointer is taken only while this canvas's painter is active on the image, and Qt then
    // gives anyone copying the image scan lines of their own: the lines cannot be shared, only
    // replaced (a new size), which moves them.
    return FImage->constBits() == reinterpret_cast<const uchar*>(FDirectBits);
}

void TCanvas::TakeDirectBits()
{
    FDirectBits = nullptr;
    if (!FImage || FImage->isNull() || !FPainter->isActive() || !FImage->isDetached())
        return;
    const QImage::Format Format = FImage->format();
    if (Format != QImage::Format_RGB32 && Format != QImage::Format_ARGB32 && Format != QImage::Format_ARGB32_Premultiplied)
        return;
    FDirectBits = reinterpret_cast<std::uint32_t*>(FImage->bits());
    FDirectStride = std::size_t(FImage->bytesPerLine()) / sizeof(std::uint32_t);
    FDirectWidth = FImage->width();
    FDirectHeight = FImage->height();
}

void TCanvas::SetPixelChecked(int X, int Y, TColor Color)
{
    // The unclipped image case is checked without building the bounds: a paint of the colour box
    // writes 40,000 pixels.
    if (FImage && !FClipped ? (unsigned(X) >= unsigned(FImage->width()) || unsigned(Y) >= unsigned(FImage->height()))
                            : !Bounds().contains(X, Y))
        return;
    if (FImage) {
        // ColorToRGB leaves an RGB colour as it is; only system colours go through the palette.
        const QRgb Pixel = PixelOfRgb(ColorToRGB(Color));
        switch (FImage->format()) {
        case QImage::Format_RGB32:
        case QImage::Format_ARGB32:
        case QImage::Format_ARGB32_Premultiplied:
            // Straight into the scan line: a painter call per pixel costs a hundred times more.
            reinterpret_cast<QRgb*>(FImage->scanLine(Y))[X] = Pixel;
            // Writing detached the image from any copy: the next pixels may go straight in.
            TakeDirectBits();
            break;
        default:
            FImage->setPixelColor(X, Y, QColor(Pixel));
            break;
        }
    } else {
        if (!CanPaint())
            return;
        const QRect One(X, Y, 1, 1);
        FillRuns(&One, 1, Color, false);
    }
    NotifyChange();
}

TColor TCanvas::GetPixel(int X, int Y) const
{
    const QImage* Image = FImage;
    QPoint At(X, Y);
    if (!Image && FPainter->isActive() && FPainter->device() && FPainter->device()->devType() == QInternal::Image) {
        // A borrowed painter on an image: read the device pixel under the logical one.
        Image = static_cast<const QImage*>(FPainter->device());
        const QPointF Centre = FPainter->deviceTransform().map(QPointF(X + 0.5, Y + 0.5));
        At = QPoint(int(std::floor(Centre.x())), int(std::floor(Centre.y())));
    }
    if (!Image || !Image->rect().contains(At))
        return clNone;
    return TColorOfPixel(Image->pixel(At));
}

void TCanvas::TextRect(const TRect& R, int X, int Y, const String& Text)
{
    if (!CanPaint())
        return;
    const QRect Clip = PixelSpan(R.Left, R.Top, R.Right, R.Bottom, Bounds());
    if (Clip.isEmpty())
        return;
    FPainter->save();
    FPainter->setClipRect(Clip, Qt::IntersectClip);
    FPainter->setFont(Font);
    FPainter->setPen(QColorOf(FontColor));
    const QFontMetrics Metrics(Font, FPainter->device());
    FPainter->drawText(QPoint(X, Y + Metrics.ascent()), Text);
    FPainter->restore();
    NotifyChange();
}

int TCanvas::TextWidth(const String& Text) const
{
    return QFontMetrics(Font, FPainter->device()).horizontalAdvance(Text);
}

int TCanvas::TextHeight(const String&) const
{
    return QFontMetrics(Font, FPainter->device()).height();
}

void TCanvas::SetClipRect(const TRect& R)
{
    ResetClip();
    FClipRect = R;
    FClipped = true;
    if (CanPaint()) {
        FPainter->save();
        FPainter->setClipRect(PixelSpan(R.Left, R.Top, R.Right, R.Bottom, Bounds()), Qt::IntersectClip);
    }
}

void TCanvas::ResetClip()
{
    if (!FClipped)
        return;
    FClipped = false;
    if (CanPaint())
        FPainter->restore();
}

void TCanvas::SetImageSize(int Width, int Height)
{
    if (!FImage)
        return;
    const bool WasClipped = FClipped;
    const TRect Clip = FClipRect;
    ResetClip();
    if (FPainter->isActive())
        FPainter->end();
    const QImage::Format Format = FImage->isNull() ? QImage::Format_RGB32 : FImage->format();
    *FImage = QImage(std::max(Width, 0), std::max(Height, 0), Format);
    if (FImage->isNull())
        return;
    FImage->fill(Qt::white);
    FPainter->begin(FImage);
    if (WasClipped)
        SetClipRect(Clip);
}

TBitmap::TBitmap()
    : FImage(std::make_unique<QImage>()), FCanvas(std::make_unique<TCanvas>(*FImage))
{
}

TBitmap::~TBitmap()
{
    // The canvas paints on the image: it goes first.
    FCanvas.reset();
}

int TBitmap::Width() const
{
    return FImage->width();
}

int TBitmap::Height() const
{
    return FImage->height();
}

void TBitmap::SetSize(int AWidth, int AHeight)
{
    FCanvas->SetImageSize(AWidth, AHeight);
}
