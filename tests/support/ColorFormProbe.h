#pragma once
// Reads the colour dialog's state from outside, as its user or its caller sees it: the number an
// entry goes back to when a keystroke is refused, the swatches' pixels, the marker cross in the
// box, and the dialog widgets alive in the process. The dialog keeps no member for its tests.
// Used by the tests and by the fuzz targets.

#include "dialog/CVKZLMOBILEDsnColorDialog.h"
#include "host/cvcolor/CVColor.h"
#include "host/vcl/ColorType.h"

#include <QApplication>
#include <QImage>
#include <QPoint>
#include <QWidget>

#include <climits>
#include <vector>

namespace colorformprobe {

// Colour dialogs alive in the process. Found by class name, so that a program that loads the
// package at run time, without linking it, counts them too.
inline int LiveColorForms()
{
    int Count = 0;
    for (const QWidget* Widget : QApplication::allWidgets()) {
        if (Widget->inherits("TCVKZLMOBILEColorForm"))
            ++Count;
    }
    return Count;
}

// The value behind an entry: a refused text makes the entry's handler write its field's number
// back, which is read; then the entry's text and caret are put back as they were. INT_MIN while
// the dialog's guard flag is up (the handler stays out and the refused text stays).
inline int FieldBehind(TEdit* Entry)
{
    const String Saved = Entry->Text();
    const int Caret = Entry->cursorPosition();
    Entry->SetText(QStringLiteral("?"));
    const String Shown = Entry->Text();
    Entry->SetText(Saved);
    Entry->setCursorPosition(Caret);
    return Shown == QStringLiteral("?") ? INT_MIN : Shown.toInt();
}

// True while the dialog's guard flag is up: its entries' handlers then stay out.
inline bool GuardIsUp(const TCVKZLMOBILEColorForm& Form)
{
    return FieldBehind(Form.EditHue) == INT_MIN;
}

inline int Hue(const TCVKZLMOBILEColorForm& Form) { return FieldBehind(Form.EditHue); }
inline int Sat(const TCVKZLMOBILEColorForm& Form) { return FieldBehind(Form.EditSat); }
inline int Bright(const TCVKZLMOBILEColorForm& Form) { return FieldBehind(Form.EditBright); }
inline int Red(const TCVKZLMOBILEColorForm& Form) { return FieldBehind(Form.editRed); }
inline int Green(const TCVKZLMOBILEColorForm& Form) { return FieldBehind(Form.editGreen); }
inline int Blue(const TCVKZLMOBILEColorForm& Form) { return FieldBehind(Form.editBlue); }

// The colour a paint box's image shows at (X, Y), clNone where it has no pixel.
inline TColor ColorAt(const TPaintBox* Box, int X = 0, int Y = 0)
{
    const QImage& Image = Box->Image();
    return Image.rect().contains(X, Y) ? TColorOfPixel(Image.pixel(X, Y)) : clNone;
}

// The picked colour, as its swatch shows it: every path that sets it repaints the swatch, and it
// is always an RGB colour.
inline TColor PickedColor(const TCVKZLMOBILEColorForm& Form)
{
    return ColorAt(Form.PaintBoxPickedColor);
}

// The colour of the selected identifier, as the editor reads it after OK: a name the framework
// knows, or a number. Raises for an identifier that is neither.
inline int SelectedColor(const TCVKZLMOBILEColorForm& Form)
{
    int Color = 0;
    if (!IdentToCVColor(Form.SelectedIdentifier(), Color))
        Color = StrToInt(Form.SelectedIdentifier());
    return Color;
}

// The names a grid gives its cells (the tooltip's and assistive technology's), by cell index.
inline std::vector<String> CellNames(const TDrawGrid* Grid)
{
    std::vector<String> Names;
    for (int Row = 0; Row < Grid->RowCount(); ++Row) {
        for (int Col = 0; Col < Grid->ColCount(); ++Col)
            Names.push_back(Grid->CellName(Col, Row));
    }
    return Names;
}

// The names of the system grid's cells that have an entry, in order.
inline std::vector<String> SysColorNames(const TCVKZLMOBILEColorForm& Form)
{
    std::vector<String> Names = CellNames(Form.SysColorsGrid);
    while (!Names.empty() && Names.back() == QStringLiteral("empty"))
        Names.pop_back();
    return Names;
}

// The box without a marker, pixel (X, Y) at Y * BoxSide + X: the white frame around the field,
// whose pixel (i + 1, SatSteps - n) is HSBtoRGB(i / HueSteps, n / SatSteps, BoxBrightness).
constexpr int BoxSide = HueSteps + 2;
inline const std::vector<QRgb>& PlainBox()
{
    static const std::vector<QRgb> Plain = [] {
        std::vector<QRgb> Pixels(std::size_t(BoxSide) * BoxSide, qRgb(255, 255, 255));
        for (int N = 0; N < SatSteps; ++N) {
            for (int I = 0; I < HueSteps; ++I) {
                const TColor C = HSBtoRGB(FractionOf(I, HueSteps), FractionOf(N, SatSteps), BoxBrightness);
                Pixels[std::size_t(SatSteps - N) * BoxSide + I + 1] = PixelOfRgb(C);
            }
        }
        return Pixels;
    }();
    return Plain;
}

// Whether (X, Y) is inverted by a cross centred at (CX, CY): each arm leaves out its end pixel,
// and the centre lies on both arms, so it is inverted twice.
inline bool OnCross(int X, int Y, int CX, int CY)
{
    const bool Vertical = X == CX && Y >= CY - 10 && Y < CY + 10;
    const bool Horizontal = Y == CY && X >= CX - 10 && X < CX + 10;
    return Vertical != Horizontal;
}

// What the hue-saturation box shows.
struct BoxView {
    // The box shows the field in its frame, with one marker cross or none: it has been painted.
    bool Painted = false;
    // The centre of the marker cross; -1, -1 when there is none (or the box is not painted).
    QPoint Marker{-1, -1};
};

inline BoxView ViewOfBox(const TCVKZLMOBILEColorForm& Form)
{
    const QImage& Image = Form.PaintBoxColor->Image();
    if (Image.width() != BoxSide || Image.height() != BoxSide)
        return {};
    const std::vector<QRgb>& Plain = PlainBox();
    // The inverted pixels, counted per column and per row: the cross's centre is where both
    // counts are largest.
    std::vector<int> Columns(BoxSide), Rows(BoxSide);
    int Inverted = 0;
    for (int Y = 0; Y < BoxSide; ++Y) {
        for (int X = 0; X < BoxSide; ++X) {
            const QRgb Shown = Image.pixel(X, Y) & 0xFFFFFF;
            const QRgb Expected = Plain[std::size_t(Y) * BoxSide + X] & 0xFFFFFF;
            if (Shown == Expected)
                continue;
            if (Shown != (~Expected & 0xFFFFFF))
                return {};
            ++Columns[X];
            ++Rows[Y];
            ++Inverted;
        }
    }
    if (Inverted == 0)
        return {true, {-1, -1}};
    int CX = 0, CY = 0;
    for (int I = 0; I < BoxSide; ++I) {
        if (Columns[I] > Columns[CX])
            CX = I;
        if (Rows[I] > Rows[CY])
            CY = I;
    }
    // Exactly one cross, nothing else.
    for (int Y = 0; Y < BoxSide; ++Y) {
        for (int X = 0; X < BoxSide; ++X) {
            const bool Differs = (Image.pixel(X, Y) & 0xFFFFFF) != (Plain[std::size_t(Y) * BoxSide + X] & 0xFFFFFF);
            if (Differs != OnCross(X, Y, CX, CY))
                return {};
        }
    }
    return {true, {CX, CY}};
}

} // namespace colorformprobe
