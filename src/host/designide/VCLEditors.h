#pragma once
// The designer's colour property editor and its default drawing routines.

#include "host/designide/DesignIntf.h"

// Edits a colour property: the value text is a toolkit colour name or "$" and eight hexadecimal
// digits; typed names and number texts are taken, anything else is refused; the value list is the
// toolkit's colour names; the dialog is the platform's standard colour dialog. Draws a swatch
// beside the text in the value cell and in each line of the value list.
class TColorProperty : public TIntegerProperty, public ICustomPropertyDrawing, public ICustomPropertyListDrawing {
public:
    using TIntegerProperty::TIntegerProperty;

    TPropertyAttributes GetAttributes() override;
    String GetValue() override;
    void SetValue(const String& Value) override;
    void GetValues(const TGetStrProc& Proc) override;
    void Edit() override;

    void ListMeasureWidth(const String& Value, TCanvas& ACanvas, int& AWidth) override;
    void ListMeasureHeight(const String& Value, TCanvas& ACanvas, int& AHeight) override;
    void ListDrawValue(const String& Value, TCanvas& ACanvas, const TRect& ARect, bool ASelected) override;
    void PropDrawName(TCanvas& ACanvas, const TRect& ARect, bool ASelected) override;
    void PropDrawValue(TCanvas& ACanvas, const TRect& ARect, bool ASelected) override;
};

// Draws the editor's name in the name cell.
void DefaultPropertyDrawName(TPropertyEditor* Editor, TCanvas& ACanvas, const TRect& ARect);
// Draws the editor's visual value text in the value cell.
void DefaultPropertyDrawValue(TPropertyEditor* Editor, TCanvas& ACanvas, const TRect& ARect);
// Draws one value text of a value list line (or of the value cell) into ARect.
void DefaultPropertyListDrawValue(const String& Value, TCanvas& ACanvas, const TRect& ARect, bool ASelected);
