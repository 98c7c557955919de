#include "editor/CVKZLMOBILEDsnColor.h"

#include "dialog/CVKZLMOBILEDsnColorDialog.h"
#include "host/cvcolor/CVColor.h"

#include <memory>

TStringList* CustomColorList = nullptr;

namespace {
int InitCount = 0;
}

void TCVKZLMOBILEColorEditor::Edit()
{
    // The dialog is freed however this is left, also when SetSelectedIdentifier or SetValue
    // raises; the error then goes on to the designer. The modal loop may free this editor (its
    // owner rebuilds): then nothing is written.
    const TEditorLifeline Alive(this);
    const auto ColorDialog = std::make_unique<TCVKZLMOBILEColorForm>(Application->OwnerWindow(), CustomColorList);
    ColorDialog->SetSelectedIdentifier(GetValue());
    if (ColorDialog->ShowModal() == mrOk && Alive)
        SetValue(ColorDialog->SelectedIdentifier());
}

String TCVKZLMOBILEColorEditor::GetValue()
{
    return CVColorToString(GetOrdValue());
}

void TCVKZLMOBILEColorEditor::GetValues(const TGetStrProc& Proc)
{
    TColorProperty::GetValues(Proc);
    GetCVColorValues(Proc);
}

void TCVKZLMOBILEColorEditor::SetValue(const String& Value)
{
    int Color = 0;
    if (IdentToCVColor(Value, Color))
        SetOrdValue(Color);
    else
        TColorProperty::SetValue(Value);
}

TColor BorderColorFor(TColor Rgb, bool Selected)
{
    const bool Light = (Rgb & 0xFF) > 192 || ((Rgb >> 8) & 0xFF) > 192 || ((Rgb >> 16) & 0xFF) > 192;
    if (Light)
        return clBlack;
    return Selected ? clWhite : Rgb;
}

void TCVKZLMOBILEColorEditor::ListDrawValue(const String& Value, TCanvas& ACanvas, const TRect& ARect,
                                            bool ASelected)
{
    const int Right = ARect.Left + (ARect.Bottom - ARect.Top);
    const TColor OldPen = ACanvas.Pen.Color;
    const TColor OldBrush = ACanvas.Brush.Color;
    ACanvas.Pen.Color = ACanvas.Brush.Color;
    ACanvas.Rectangle(ARect.Left, ARect.Top, Right, ARect.Bottom);
    ACanvas.Brush.Color = StringToCVColor(Value);
    ACanvas.Pen.Color = BorderColorFor(ColorToRGB(ACanvas.Brush.Color), ASelected);
    ACanvas.Rectangle(ARect.Left + 1, ARect.Top + 1, Right - 1, ARect.Bottom - 1);
    ACanvas.Brush.Color = OldBrush;
    ACanvas.Pen.Color = OldPen;
    DefaultPropertyListDrawValue(Value, ACanvas, Rect(Right, ARect.Top, ARect.Right, ARect.Bottom), ASelected);
}

void TCVKZLMOBILEColorEditor::PropDrawName(TCanvas& ACanvas, const TRect& ARect, bool ASelected)
{
    TColorProperty::PropDrawName(ACanvas, ARect, ASelected);
}

void TCVKZLMOBILEColorEditor::PropDrawValue(TCanvas& ACanvas, const TRect& ARect, bool)
{
    const String Value = GetVisualValue();
    if (!Value.isEmpty())
        ListDrawValue(Value, ACanvas, ARect, true);
    else
        DefaultPropertyDrawValue(this, ACanvas, ARect);
}

void CVKZLMOBILEDsnColorInitialization()
{
    if (InitCount++ == 0)
        CustomColorList = new TStringList;
}

void CVKZLMOBILEDsnColorFinalization()
{
    if (InitCount > 0 && --InitCount == 0)
        FreeAndNil(CustomColorList);
}
