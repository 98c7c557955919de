// Toolkit colours: the names of the classic and system colours, and the resolution of system
// colours from the application's current palette.
#include "host/vcl/Graphics.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QPalette>

#include <cstdint>
#include <iterator>

namespace {

struct TColorName {
    TColor Value;
    const char* Name;
};

// The names GetColorValues lists, in the order it lists them: the classic colours, then the
// system colours alphabetically. No value appears twice.
constexpr TColorName ListedColors[] = {
    {clBlack, "clBlack"},
    {clMaroon, "clMaroon"},
    {clGreen, "clGreen"},
    {clOlive, "clOlive"},
    {clNavy, "clNavy"},
    {clPurple, "clPurple"},
    {clTeal, "clTeal"},
    {clGray, "clGray"},
    {clSilver, "clSilver"},
    {clRed, "clRed"},
    {clLime, "clLime"},
    {clYellow, "clYellow"},
    {clBlue, "clBlue"},
    {clFuchsia, "clFuchsia"},
    {clAqua, "clAqua"},
    {clWhite, "clWhite"},
    {clMoneyGreen, "clMoneyGreen"},
    {clSkyBlue, "clSkyBlue"},
    {clCream, "clCream"},
    {clMedGray, "clMedGray"},
    {clActiveBorder, "clActiveBorder"},
    {clActiveCaption, "clActiveCaption"},
    {clAppWorkSpace, "clAppWorkSpace"},
    {clBackground, "clBackground"},
    {clBtnFace, "clBtnFace"},
    {clBtnHighlight, "clBtnHighlight"},
    {clBtnShadow, "clBtnShadow"},
    {clBtnText, "clBtnText"},
    {clCaptionText, "clCaptionText"},
    {clDefault, "clDefault"},
    {clGradientActiveCaption, "clGradientActiveCaption"},
    {clGradientInactiveCaption, "clGradientInactiveCaption"},
    {clGrayText, "clGrayText"},
    {clHighlight, "clHighlight"},
    {clHighlightText, "clHighlightText"},
    {clHotLight, "clHotLight"},
    {clInactiveBorder, "clInactiveBorder"},
    {clInactiveCaption, "clInactiveCaption"},
    {clInactiveCaptionText, "clInactiveCaptionText"},
    {clInfoBk, "clInfoBk"},
    {clInfoText, "clInfoText"},
    {clMenu, "clMenu"},
    {clMenuBar, "clMenuBar"},
    {clMenuHighlight, "clMenuHighlight"},
    {clMenuText, "clMenuText"},
    {clNone, "clNone"},
    {clScrollBar, "clScrollBar"},
    {cl3DDkShadow, "cl3DDkShadow"},
    {cl3DLight, "cl3DLight"},
    {clWindow, "clWindow"},
    {clWindowFrame, "clWindowFrame"},
    {clWindowText, "clWindowText"},
};

// Older spellings that name a listed colour: accepted when read, never produced.
constexpr TColorName AliasColors[] = {
    {clLtGray, "clLtGray"},
    {clDkGray, "clDkGray"},
};

// The system grid of the colour dialog has 9 x 6 cells.
static_assert(std::size(ListedColors) <= 54, "the toolkit lists at most 54 colour names");

bool FindByName(const TColorName* First, const TColorName* Last, const String& Ident, int& Color)
{
    for (const TColorName* Entry = First; Entry != Last; ++Entry) {
        if (SameText(Ident, QLatin1String(Entry->Name))) {
            Color = Entry->Value;
            return true;
        }
    }
    return false;
}

// Where each system colour index takes its colour from in the palette. Indices without an entry
// (25, and anything past 30) resolve to black.
struct TSystemColorSource {
    TColor Color;
    QPalette::ColorGroup Group;
    QPalette::ColorRole Role;
};

constexpr TSystemColorSource SystemColorSources[] = {
    {clScrollBar, QPalette::Active, QPalette::Midlight},
    {clBackground, QPalette::Active, QPalette::Window},
    {clActiveCaption, QPalette::Active, QPalette::Highlight},
    {clInactiveCaption, QPalette::Active, QPalette::Mid},
    {clMenu, QPalette::Active, QPalette::Window},
    {clWindow, QPalette::Active, QPalette::Base},
    {clWindowFrame, QPalette::Active, QPalette::Shadow},
    {clMenuText, QPalette::Active, QPalette::WindowText},
    {clWindowText, QPalette::Active, QPalette::Text},
    {clCaptionText, QPalette::Active, QPalette::HighlightedText},
    {clActiveBorder, QPalette::Active, QPalette::Button},
    {clInactiveBorder, QPalette::Active, QPalette::Window},
    {clAppWorkSpace, QPalette::Active, QPalette::Mid},
    {clHighlight, QPalette::Active, QPalette::Highlight},
    {clHighlightText, QPalette::Active, QPalette::HighlightedText},
    {clBtnFace, QPalette::Active, QPalette::Button},
    {clBtnShadow, QPalette::Active, QPalette::Dark},
    {clGrayText, QPalette::Disabled, QPalette::Text},
    {clBtnText, QPalette::Active, QPalette::ButtonText},
    {clInactiveCaptionText, QPalette::Inactive, QPalette::WindowText},
    {clBtnHighlight, QPalette::Active, QPalette::Light},
    {cl3DDkShadow, QPalette::Active, QPalette::Shadow},
    {cl3DLight, QPalette::Active, QPalette::Midlight},
    {clInfoText, QPalette::Active, QPalette::ToolTipText},
    {clInfoBk, QPalette::Active, QPalette::ToolTipBase},
    {clHotLight, QPalette::Active, QPalette::Link},
    // Captions are painted flat: a gradient's far end is its caption's own colour.
    {clGradientActiveCaption, QPalette::Active, QPalette::Highlight},
    {clGradientInactiveCaption, QPalette::Active, QPalette::Mid},
    {clMenuHighlight, QPalette::Active, QPalette::Highlight},
    {clMenuBar, QPalette::Active, QPalette::Window},
};

// The palette system colours come from: the running GUI application's, or, with none running
// (a tool without a GUI), a fixed light palette, so the answer never depends on a missing
// application object.
QPalette CurrentPalette()
{
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return QGuiApplication::palette();
    return QPalette(QColor(0xF0, 0xF0, 0xF0));
}

TColor SystemColorToRGB(TColor Color)
{
    for (const TSystemColorSource& Source : SystemColorSources) {
        if (Source.Color == Color)
            return TColorOf(CurrentPalette().color(Source.Group, Source.Role));
    }
    return clBlack;
}

} // namespace

void GetColorValues(const TGetStrProc& Proc)
{
    for (const TColorName& Entry : ListedColors)
        Proc(QLatin1String(Entry.Name));
}

bool IdentToColor(const String& Ident, int& Color)
{
    return FindByName(std::begin(ListedColors), std::end(ListedColors), Ident, Color)
        || FindByName(std::begin(AliasColors), std::end(AliasColors), Ident, Color);
}

bool ColorToIdent(int Color, String& Ident)
{
    for (const TColorName& Entry : ListedColors) {
        if (Entry.Value == Color) {
            Ident = QLatin1String(Entry.Name);
            return true;
        }
    }
    return false;
}

String ColorToString(TColor Color)
{
    String Ident;
    if (ColorToIdent(Color, Ident))
        return Ident;
    return QLatin1Char('$') + IntToHex(Color, 8);
}

bool TextToColor(const String& Text, int& Color)
{
    return IdentToColor(Text, Color) || TryStrToInt(Text, Color);
}

TColor StringToColor(const String& S)
{
    int Color = 0;
    if (IdentToColor(S, Color))
        return Color;
    return StrToInt(S);
}

TColor ColorToRGB(TColor Color)
{
    const std::uint32_t Bits = static_cast<std::uint32_t>(Color);
    switch (Bits >> 24) {
    case 0x00:
        return Color;
    case 0xFF:
        return SystemColorToRGB(Color);
    default:
        if (Color == clNone)
            return clBlack;
        if (Color == clDefault)
            return SystemColorToRGB(clWindow);
        return static_cast<TColor>(Bits & 0x00FFFFFFu);
    }
}
