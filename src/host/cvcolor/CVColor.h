#pragma once
// The framework's colour unit: the colour type of the styled controls' properties, the table of
// named web colours and the conversions between colours and their texts.

#include "host/rtl/Classes.h"
#include "host/vcl/Types.h"

#include <QMetaType>

// The framework's colour: the same 32-bit value as TColor, with type information of its own so
// that the designer can tell its properties from other integers and plain TColor properties.
struct TCVColor {
    TColor Value = 0;
    friend bool operator==(const TCVColor&, const TCVColor&) = default;
};
Q_DECLARE_METATYPE(TCVColor)

struct TCVColorRec {
    TColor Value;
    String Name;
};

// Number of named web colours the dialog shows; the table holds at least this many.
constexpr int WebColorCount = 143;
extern const TCVColorRec CVColors[];
extern const int CVColorCount;

// True and the colour for a web colour name (case-insensitive), then for a toolkit colour name
// (IdentToColor), then for "#RRGGBB" and "#RGB"; false for integer texts and anything unknown.
// Color is written only on success.
bool IdentToCVColor(const String& Ident, int& Color);
// A web name when the colour has one, else a toolkit name, else "$" and eight hexadecimal digits.
// IdentToCVColor or StrToInt accepts every text it gives.
String CVColorToString(TColor Color);
// The one rule for a typed or stored framework colour text, exactly as written (no blanks around
// it): the names IdentToCVColor knows, then whatever the toolkit's rule (TextToColor) takes. True
// and the colour, written only then. It is what the colour property editor's SetValue accepts,
// and what form files and Replace Colour read.
bool TextToCVColor(const String& Text, int& Color);
// The colour of any value text: a text TextToCVColor takes; black otherwise.
TColor StringToCVColor(const String& S);
// Calls Proc once per web colour name, in table order.
void GetCVColorValues(const TGetStrProc& Proc);
// Registers TCVColor with Qt's meta-type system, with conversions to and from int (idempotent).
void RegisterCVColorType();
