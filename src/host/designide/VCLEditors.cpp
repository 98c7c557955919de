#include "host/designide/VCLEditors.h"

#include "host/rtl/Math.h"
#include "host/vcl/ColorType.h"

#include <QColorDialog>

namespace {

// Left margin of a text inside its cell.
constexpr int TextIndent = 2;

void DrawCellText(const String& Text, TCanvas& ACanvas, const TRect& ARect)
{
    const int Y = ARect.Top + (ARect.Height() - ACanvas.TextHeight(Text)) / 2;
    ACanvas.TextRect(ARect, ARect.Left + TextIndent, Y, Text);
}

}  // namespace

TPropertyAttributes TColorProperty::GetAttributes()
{
    return paMultiSelect | paDialog | paValueList | paRevertable;
}

String TColorProperty::GetValue()
{
    return ColorToString(GetOrdValue());
}

void TColorProperty::SetValue(const String& Value)
{
    int Color = 0;
    if (TextToColor(Value, Color))
        SetOrdValue(Color);
    else
        throw EPropertyError(String("Invalid property value"));
}

void TColorProperty::GetValues(const TGetStrProc& Proc)
{
    GetColorValues(Proc);
}

void TColorProperty::Edit()
{
    // No Qt parent: a parent that goes during the modal loop would take the dialog with it. The
    // loop may also free this editor, which is then left alone.
    const TEditorLifeline Alive(this);
    QColorDialog Dialog(QColorOf(GetOrdValue()));
    Dialog.setWindowTitle(String("Color"));
    if (Dialog.exec() != QDialog::Accepted || !Alive)
        return;
    SetOrdValue(TColorOf(Dialog.selectedColor()));
}

void TColorProperty::ListMeasureWidth(const String&, TCanvas& ACanvas, int& AWidth)
{
    // Room for the square swatch in front of the text.
    AWidth += ACanvas.TextHeight(String("M")) + 4;
}

void TColorProperty::ListMeasureHeight(const String&, TCanvas& ACanvas, int& AHeight)
{
    AHeight = Max(AHeight, ACanvas.TextHeight(String("M")) + 4);
}

void TColorProperty::ListDrawValue(const String& Value, TCanvas& ACanvas, const TRect& ARect, bool ASelected)
{
    const int Right = ARect.Left + ARect.Height();
    const TColor OldPen = ACanvas.Pen.Color;
    const TColor OldBrush = ACanvas.Brush.Color;
    ACanvas.Pen.Color = ACanvas.Brush.Color;
    ACanvas.Rectangle(ARect.Left, ARect.Top, Right, ARect.Bottom);
    int Color = clBlack;
    if (!TextToColor(Value, Color))
        Color = clBlack;
    ACanvas.Brush.Color = Color;
    ACanvas.Pen.Color = ASelected ? clWhite : clBlack;
    ACanvas.Rectangle(ARect.Left + 1, ARect.Top + 1, Right - 1, ARect.Bottom - 1);
    ACanvas.Brush.Color = OldBrush;
    ACanvas.Pen.Color = OldPen;
    DefaultPropertyListDrawValue(Value, ACanvas, Rect(Right, ARect.Top, ARect.Right, ARect.Bottom), ASelected);
}

void TColorProperty::PropDrawName(TCanvas& ACanvas, const TRect& ARect, bool)
{
    DefaultPropertyDrawName(this, ACanvas, ARect);
}

void TColorProperty::PropDrawValue(TCanvas& ACanvas, const TRect& ARect, bool ASelected)
{
    const String Value = GetVisualValue();
    if (Value.isEmpty())
        DefaultPropertyDrawValue(this, ACanvas, ARect);
    else
        ListDrawValue(Value, ACanvas, ARect, ASelected);
}

void DefaultPropertyDrawName(TPropertyEditor* Editor, TCanvas& ACanvas, const TRect& ARect)
{
    DrawCellText(Editor->GetName(), ACanvas, ARect);
}

void DefaultPropertyDrawValue(TPropertyEditor* Editor, TCanvas& ACanvas, const TRect& ARect)
{
    DrawCellText(Editor->GetVisualValue(), ACanvas, ARect);
}

void DefaultPropertyListDrawValue(const String& Value, TCanvas& ACanvas, const TRect& ARect, bool)
{
    DrawCellText(Value, ACanvas, ARect);
}
