#pragma once
// The property editor for the framework's colour properties: the designer's colour editor
// extended with the web colour names, which are looked up first.

#include "host/designide/VCLEditors.h"

class TCVKZLMOBILEColorEditor : public TColorProperty {
public:
    using TColorProperty::TColorProperty;

    void Edit() override;
    String GetValue() override;
    void GetValues(const TGetStrProc& Proc) override;
    void SetValue(const String& Value) override;

    void ListDrawValue(const String& Value, TCanvas& ACanvas, const TRect& ARect, bool ASelected) override;
    void PropDrawName(TCanvas& ACanvas, const TRect& ARect, bool ASelected) override;
    void PropDrawValue(TCanvas& ACanvas, const TRect& ARect, bool ASelected) override;
};

// Border of a swatch: black around a light colour (any channel above 192), otherwise white when
// drawn selected, otherwise the colour itself. Rgb is a resolved RGB value.
TColor BorderColorFor(TColor Rgb, bool Selected);

// Custom colour entries shared by every colour dialog while the package stays loaded.
extern TStringList* CustomColorList;

// Unit initialisation and finalisation, counted so that the list is created on the first
// initialisation and freed on the matching last finalisation.
void CVKZLMOBILEDsnColorInitialization();
void CVKZLMOBILEDsnColorFinalization();
