#include "core/ColorText.h"

#include "host/cvcolor/CVColor.h"
#include "host/rtl/SysUtils.h"
#include "host/vcl/Graphics.h"

#include <QCoreApplication>

namespace ColorText {

std::optional<TColor> parseColorText(ValueKind kind, const QString& text)
{
    int color = 0;
    switch (kind) {
    case ValueKind::FrameworkColor:
        if (TextToCVColor(text, color))
            return static_cast<TColor>(color);
        break;
    case ValueKind::ToolkitColor:
        if (TextToColor(text, color))
            return static_cast<TColor>(color);
        break;
    default: break;
    }
    return std::nullopt;
}

QString colorTextOf(ValueKind kind, TColor color)
{
    return kind == ValueKind::FrameworkColor ? CVColorToString(color) : ColorToString(color);
}

QString refusal(ValueKind kind, const QString& text)
{
    const QString quoted = QuoteForMessage(text);
    if (kind == ValueKind::FrameworkColor)
        return QStringLiteral("%1 is not a colour: give a web or toolkit colour name, #RRGGBB, or a number "
                              "(decimal or $ and hexadecimal digits)").arg(quoted);
    return QStringLiteral("%1 is not a colour: give a toolkit colour name (clRed, …) or a number "
                          "(decimal or $ and hexadecimal digits)").arg(quoted);
}

QString accepted(ValueKind kind)
{
    if (kind == ValueKind::FrameworkColor)
        return QCoreApplication::translate("PropertyInspector", "A colour is a colour name such as Tomato or clBtnFace, "
                                           "a number such as $00FF8800 or 16746496, or #RRGGBB.");
    return QCoreApplication::translate("PropertyInspector", "A colour is a colour name such as clBtnFace or clRed, "
                                       "or a number such as $00FF8800 or 16746496.");
}

}  // namespace ColorText
