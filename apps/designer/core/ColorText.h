#pragma once
// The one reader and writer of colour texts, with the rules of the colour property editors: a
// framework colour (TCVColor) takes a web or toolkit colour name ("Tomato", "clBtnFace"),
// "#RRGGBB" or "#RGB", or an integer text (decimal, or $ and hexadecimal digits); a toolkit colour
// takes a toolkit name or an integer text. Form files, Replace Colour and the inspector's words
// after a refused text all come from here. No widget code.

#include "core/FormProperties.h"
#include "host/vcl/Types.h"

#include <QString>

#include <optional>

namespace ColorText {

// The colour a text names for a property of that kind (FrameworkColor or ToolkitColor), exactly
// as written; none when the kind takes no such text.
std::optional<TColor> read(ValueKind kind, const QString& text);
// The text the kind's editor shows for the colour: a name when the colour has one, else a number.
QString write(ValueKind kind, TColor color);
// Why text is not a colour of that kind: "“Tomatoe” is not a colour: give a web or toolkit colour
// name, #RRGGBB, or a number (decimal or $ and hexadecimal digits)".
QString refusal(ValueKind kind, const QString& text);
// What a colour of that kind accepts, said after a refused text in the inspector.
QString accepted(ValueKind kind);

}  // namespace ColorText
