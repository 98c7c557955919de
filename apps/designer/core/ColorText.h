#pragma once
// Colour texts in the designer's core: form files, Replace Colour and the inspector's words after a
// refused text. What a text means is the host's one rule, the one the colour property editors'
// SetValue follows (TextToCVColor, TextToColor): a framework colour (TCVColor) takes a web or
// toolkit colour name ("Tomato", "clBtnFace"), "#RRGGBB" or "#RGB", or an integer text (decimal,
// or $ and hexadecimal digits); a toolkit colour takes a toolkit name or an integer text. No
// widget code.

#include "core/ValueKind.h"
#include "host/vcl/Types.h"

#include <QString>

#include <optional>

namespace ColorText {

// The colour a text names for a property of that kind (FrameworkColor or ToolkitColor), exactly
// as written; none when the kind takes no such text.
std::optional<TColor> parseColorText(ValueKind kind, const QString& text);
// The text the kind's editor shows for the colour: a name when the colour has one, else a number.
QString colorTextOf(ValueKind kind, TColor color);
// Why text is not a colour of that kind: "“Tomatoe” is not a colour: give a web or toolkit colour
// name, #RRGGBB, or a number (decimal or $ and hexadecimal digits)".
QString refusal(ValueKind kind, const QString& text);
// What a colour of that kind accepts, said after a refused text in the inspector.
QString accepted(ValueKind kind);

}  // namespace ColorText
