// The framework's colour unit: the web colour table, the conversions between colours and their
// texts, and the registration of TCVColor with Qt's meta-type system.
#include "host/cvcolor/CVColor.h"

#include "host/vcl/Graphics.h"

#include <QMetaType>

#include <cstdint>
#include <iterator>

// The CSS named colours (one spelling each: "Gray", never "Grey") plus the toolkit's MoneyGreen
// and Cream, as TColor values (red in the low byte). The dialog shows them in a 12 x 12 grid row
// by row, so they are grouped by hue family and run from light to dark within each family.
const TCVColorRec CVColors[] = {
    // Reds and pinks, light to dark.
    {0x00CBC0FF, QStringLiteral("Pink")}, // #FFC0CB
    {0x00C1B6FF, QStringLiteral("LightPink")}, // #FFB6C1
    {0x007280FA, QStringLiteral("Salmon")}, // #FA8072
    {0x008080F0, QStringLiteral("LightCoral")}, // #F08080
    {0x008F8FBC, QStringLiteral("RosyBrown")}, // #BC8F8F
    {0x009370DB, QStringLiteral("PaleVioletRed")}, // #DB7093
    {0x004763FF, QStringLiteral("Tomato")}, // #FF6347
    {0x005C5CCD, QStringLiteral("IndianRed")}, // #CD5C5C
    {0x003C14DC, QStringLiteral("Crimson")}, // #DC143C
    {0x002A2AA5, QStringLiteral("Brown")}, // #A52A2A
    {0x002222B2, QStringLiteral("FireBrick")}, // #B22222
    {0x000000FF, QStringLiteral("Red")}, // #FF0000
    {0x0000008B, QStringLiteral("DarkRed")}, // #8B0000
    {0x00000080, QStringLiteral("Maroon")}, // #800000
    // Oranges and browns, light to dark.
    {0x00D5EFFF, QStringLiteral("PapayaWhip")}, // #FFEFD5
    {0x00CDEBFF, QStringLiteral("BlanchedAlmond")}, // #FFEBCD
    {0x00D7EBFA, QStringLiteral("AntiqueWhite")}, // #FAEBD7
    {0x00C4E4FF, QStringLiteral("Bisque")}, // #FFE4C4
    {0x00B5E4FF, QStringLiteral("Moccasin")}, // #FFE4B5
    {0x00ADDEFF, QStringLiteral("NavajoWhite")}, // #FFDEAD
    {0x00B9DAFF, QStringLiteral("PeachPuff")}, // #FFDAB9
    {0x00B3DEF5, QStringLiteral("Wheat")}, // #F5DEB3
    {0x0087B8DE, QStringLiteral("BurlyWood")}, // #DEB887
    {0x008CB4D2, QStringLiteral("Tan")}, // #D2B48C
    {0x007AA0FF, QStringLiteral("LightSalmon")}, // #FFA07A
    {0x0060A4F4, QStringLiteral("SandyBrown")}, // #F4A460
    {0x0000A5FF, QStringLiteral("Orange")}, // #FFA500
    {0x007A96E9, QStringLiteral("DarkSalmon")}, // #E9967A
    {0x0020A5DA, QStringLiteral("Goldenrod")}, // #DAA520
    {0x00507FFF, QStringLiteral("Coral")}, // #FF7F50
    {0x00008CFF, QStringLiteral("DarkOrange")}, // #FF8C00
    {0x003F85CD, QStringLiteral("Peru")}, // #CD853F
    {0x000B86B8, QStringLiteral("DarkGoldenrod")}, // #B8860B
    {0x001E69D2, QStringLiteral("Chocolate")}, // #D2691E
    {0x000045FF, QStringLiteral("OrangeRed")}, // #FF4500
    {0x002D52A0, QStringLiteral("Sienna")}, // #A0522D
    {0x0013458B, QStringLiteral("SaddleBrown")}, // #8B4513
    // Yellows, light to dark.
    {0x00DCF8FF, QStringLiteral("Cornsilk")}, // #FFF8DC
    {0x00CDFAFF, QStringLiteral("LemonChiffon")}, // #FFFACD
    {0x00D2FAFA, QStringLiteral("LightGoldenrodYellow")}, // #FAFAD2
    {0x00AAE8EE, QStringLiteral("PaleGoldenrod")}, // #EEE8AA
    {0x0000FFFF, QStringLiteral("Yellow")}, // #FFFF00
    {0x008CE6F0, QStringLiteral("Khaki")}, // #F0E68C
    {0x0000D7FF, QStringLiteral("Gold")}, // #FFD700
    {0x006BB7BD, QStringLiteral("DarkKhaki")}, // #BDB76B
    {0x00008080, QStringLiteral("Olive")}, // #808000
    // Greens, light to dark.
    {0x00D4FF7F, QStringLiteral("Aquamarine")}, // #7FFFD4
    {0x0098FB98, QStringLiteral("PaleGreen")}, // #98FB98
    {0x002FFFAD, QStringLiteral("GreenYellow")}, // #ADFF2F
    {0x0090EE90, QStringLiteral("LightGreen")}, // #90EE90
    {0x0000FF7F, QStringLiteral("Chartreuse")}, // #7FFF00
    {0x0000FC7C, QStringLiteral("LawnGreen")}, // #7CFC00
    {0x0032CD9A, QStringLiteral("YellowGreen")}, // #9ACD32
    {0x00AACD66, QStringLiteral("MediumAquamarine")}, // #66CDAA
    {0x008FBC8F, QStringLiteral("DarkSeaGreen")}, // #8FBC8F
    {0x009AFA00, QStringLiteral("MediumSpringGreen")}, // #00FA9A
    {0x007FFF00, QStringLiteral("SpringGreen")}, // #00FF7F
    {0x0000FF00, QStringLiteral("Lime")}, // #00FF00
    {0x0032CD32, QStringLiteral("LimeGreen")}, // #32CD32
    {0x0071B33C, QStringLiteral("MediumSeaGreen")}, // #3CB371
    {0x00238E6B, QStringLiteral("OliveDrab")}, // #6B8E23
    {0x00578B2E, QStringLiteral("SeaGreen")}, // #2E8B57
    {0x00228B22, QStringLiteral("ForestGreen")}, // #228B22
    {0x002F6B55, QStringLiteral("DarkOliveGreen")}, // #556B2F
    {0x00008000, QStringLiteral("Green")}, // #008000
    {0x00006400, QStringLiteral("DarkGreen")}, // #006400
    // Cyans and teals, light to dark.
    {0x00EEEEAF, QStringLiteral("PaleTurquoise")}, // #AFEEEE
    {0x00E6E0B0, QStringLiteral("PowderBlue")}, // #B0E0E6
    {0x00E6D8AD, QStringLiteral("LightBlue")}, // #ADD8E6
    {0x00FFFF00, QStringLiteral("Aqua")}, // #00FFFF
    {0x00FFFF00, QStringLiteral("Cyan")}, // #00FFFF
    {0x00D0E040, QStringLiteral("Turquoise")}, // #40E0D0
    {0x00CCD148, QStringLiteral("MediumTurquoise")}, // #48D1CC
    {0x00D1CE00, QStringLiteral("DarkTurquoise")}, // #00CED1
    {0x00A09E5F, QStringLiteral("CadetBlue")}, // #5F9EA0
    {0x00AAB220, QStringLiteral("LightSeaGreen")}, // #20B2AA
    {0x008B8B00, QStringLiteral("DarkCyan")}, // #008B8B
    {0x00808000, QStringLiteral("Teal")}, // #008080
    {0x004F4F2F, QStringLiteral("DarkSlateGray")}, // #2F4F4F
    // Blues, light to dark.
    {0x00DEC4B0, QStringLiteral("LightSteelBlue")}, // #B0C4DE
    {0x00FACE87, QStringLiteral("LightSkyBlue")}, // #87CEFA
    {0x00EBCE87, QStringLiteral("SkyBlue")}, // #87CEEB
    {0x00ED9564, QStringLiteral("CornflowerBlue")}, // #6495ED
    {0x00FFBF00, QStringLiteral("DeepSkyBlue")}, // #00BFFF
    {0x00998877, QStringLiteral("LightSlateGray")}, // #778899
    {0x00908070, QStringLiteral("SlateGray")}, // #708090
    {0x00EE687B, QStringLiteral("MediumSlateBlue")}, // #7B68EE
    {0x00FF901E, QStringLiteral("DodgerBlue")}, // #1E90FF
    {0x00B48246, QStringLiteral("SteelBlue")}, // #4682B4
    {0x00CD5A6A, QStringLiteral("SlateBlue")}, // #6A5ACD
    {0x00E16941, QStringLiteral("RoyalBlue")}, // #4169E1
    {0x008B3D48, QStringLiteral("DarkSlateBlue")}, // #483D8B
    {0x00701919, QStringLiteral("MidnightBlue")}, // #191970
    {0x00FF0000, QStringLiteral("Blue")}, // #0000FF
    {0x00CD0000, QStringLiteral("MediumBlue")}, // #0000CD
    {0x008B0000, QStringLiteral("DarkBlue")}, // #00008B
    {0x00800000, QStringLiteral("Navy")}, // #000080
    // Purples and violets, light to dark.
    {0x00DDA0DD, QStringLiteral("Plum")}, // #DDA0DD
    {0x00EE82EE, QStringLiteral("Violet")}, // #EE82EE
    {0x00B469FF, QStringLiteral("HotPink")}, // #FF69B4
    {0x00D670DA, QStringLiteral("Orchid")}, // #DA70D6
    {0x00DB7093, QStringLiteral("MediumPurple")}, // #9370DB
    {0x00D355BA, QStringLiteral("MediumOrchid")}, // #BA55D3
    {0x00FF00FF, QStringLiteral("Fuchsia")}, // #FF00FF
    {0x00FF00FF, QStringLiteral("Magenta")}, // #FF00FF
    {0x009314FF, QStringLiteral("DeepPink")}, // #FF1493
    {0x00CC3299, QStringLiteral("DarkOrchid")}, // #9932CC
    {0x00E22B8A, QStringLiteral("BlueViolet")}, // #8A2BE2
    {0x008515C7, QStringLiteral("MediumVioletRed")}, // #C71585
    {0x00993366, QStringLiteral("RebeccaPurple")}, // #663399
    {0x00D30094, QStringLiteral("DarkViolet")}, // #9400D3
    {0x008B008B, QStringLiteral("DarkMagenta")}, // #8B008B
    {0x00800080, QStringLiteral("Purple")}, // #800080
    {0x0082004B, QStringLiteral("Indigo")}, // #4B0082
    // Whites, greys and black, light to dark.
    {0x00FFFFFF, QStringLiteral("White")}, // #FFFFFF
    {0x00F0FFFF, QStringLiteral("Ivory")}, // #FFFFF0
    {0x00FAFAFF, QStringLiteral("Snow")}, // #FFFAFA
    {0x00E0FFFF, QStringLiteral("LightYellow")}, // #FFFFE0
    {0x00FAFFF5, QStringLiteral("MintCream")}, // #F5FFFA
    {0x00F0FBFF, QStringLiteral("Cream")}, // #FFFBF0
    {0x00FFFFF0, QStringLiteral("Azure")}, // #F0FFFF
    {0x00F0FAFF, QStringLiteral("FloralWhite")}, // #FFFAF0
    {0x00F0FFF0, QStringLiteral("Honeydew")}, // #F0FFF0
    {0x00FFF8F8, QStringLiteral("GhostWhite")}, // #F8F8FF
    {0x00EEF5FF, QStringLiteral("Seashell")}, // #FFF5EE
    {0x00FFF8F0, QStringLiteral("AliceBlue")}, // #F0F8FF
    {0x00FFFFE0, QStringLiteral("LightCyan")}, // #E0FFFF
    {0x00E6F5FD, QStringLiteral("OldLace")}, // #FDF5E6
    {0x00F5F0FF, QStringLiteral("LavenderBlush")}, // #FFF0F5
    {0x00F5F5F5, QStringLiteral("WhiteSmoke")}, // #F5F5F5
    {0x00DCF5F5, QStringLiteral("Beige")}, // #F5F5DC
    {0x00E6F0FA, QStringLiteral("Linen")}, // #FAF0E6
    {0x00E1E4FF, QStringLiteral("MistyRose")}, // #FFE4E1
    {0x00FAE6E6, QStringLiteral("Lavender")}, // #E6E6FA
    {0x00DCDCDC, QStringLiteral("Gainsboro")}, // #DCDCDC
    {0x00D3D3D3, QStringLiteral("LightGray")}, // #D3D3D3
    {0x00C0DCC0, QStringLiteral("MoneyGreen")}, // #C0DCC0
    {0x00D8BFD8, QStringLiteral("Thistle")}, // #D8BFD8
    {0x00C0C0C0, QStringLiteral("Silver")}, // #C0C0C0
    {0x00A9A9A9, QStringLiteral("DarkGray")}, // #A9A9A9
    {0x00808080, QStringLiteral("Gray")}, // #808080
    {0x00696969, QStringLiteral("DimGray")}, // #696969
    {0x00000000, QStringLiteral("Black")}, // #000000
};

const int CVColorCount = static_cast<int>(std::size(CVColors));

static_assert(std::size(CVColors) >= WebColorCount, "the web grid reads 143 entries");

namespace {

// "#RRGGBB" or "#RGB" (each digit of the short form doubled), hexadecimal digits of either case.
bool CssHexToColor(const String& S, int& Color)
{
    if (!S.startsWith(u'#') || (S.size() != 4 && S.size() != 7))
        return false;
    const bool Short = S.size() == 4;
    std::uint32_t Channels[3] = {};
    for (int Channel = 0; Channel < 3; ++Channel) {
        if (Short) {
            const int Digit = AsciiHexDigitValue(S[1 + Channel]);
            if (Digit < 0)
                return false;
            Channels[Channel] = static_cast<std::uint32_t>(Digit * 0x11);
        } else {
            const int High = AsciiHexDigitValue(S[1 + 2 * Channel]);
            const int Low = AsciiHexDigitValue(S[2 + 2 * Channel]);
            if (High < 0 || Low < 0)
                return false;
            Channels[Channel] = static_cast<std::uint32_t>(High * 16 + Low);
        }
    }
    // CSS writes red first; TColor keeps red in the low byte.
    Color = static_cast<int>(Channels[2] << 16 | Channels[1] << 8 | Channels[0]);
    return true;
}

bool WebNameToColor(const String& Ident, int& Color)
{
    for (const TCVColorRec& Entry : CVColors) {
        if (SameText(Ident, Entry.Name)) {
            Color = Entry.Value;
            return true;
        }
    }
    return false;
}

} // namespace

bool IdentToCVColor(const String& Ident, int& Color)
{
    int Found = 0;
    if (WebNameToColor(Ident, Found) || IdentToColor(Ident, Found) || CssHexToColor(Ident, Found)) {
        Color = Found;
        return true;
    }
    return false;
}

String CVColorToString(TColor Color)
{
    for (const TCVColorRec& Entry : CVColors) {
        if (Entry.Value == Color)
            return Entry.Name;
    }
    String Ident;
    if (ColorToIdent(Color, Ident))
        return Ident;
    return QLatin1Char('$') + IntToHex(Color, 8);
}

bool TextToCVColor(const String& Text, int& Color)
{
    return IdentToCVColor(Text, Color) || TextToColor(Text, Color);
}

TColor StringToCVColor(const String& S)
{
    int Color = clBlack;
    return TextToCVColor(S, Color) ? Color : clBlack;
}

void GetCVColorValues(const TGetStrProc& Proc)
{
    for (const TCVColorRec& Entry : CVColors)
        Proc(Entry.Name);
}

void RegisterCVColorType()
{
    // Registering a converter twice makes Qt warn and refuse, so this runs once per process;
    // the checks also leave alone converters that someone else has registered already.
    static const bool Registered = [] {
        qRegisterMetaType<TCVColor>();
        const QMetaType IntType = QMetaType::fromType<int>();
        const QMetaType ColorType = QMetaType::fromType<TCVColor>();
        if (!QMetaType::hasRegisteredConverterFunction(IntType, ColorType))
            QMetaType::registerConverter<int, TCVColor>([](int Value) { return TCVColor{Value}; });
        if (!QMetaType::hasRegisteredConverterFunction(ColorType, IntType))
            QMetaType::registerConverter<TCVColor, int>([](const TCVColor& C) { return int{C.Value}; });
        return true;
    }();
    (void)Registered;
}
