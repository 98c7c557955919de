#pragma once
// Property value type of a plain toolkit colour. A property declared with it carries type
// information of its own, so the designer can tell it from other integers and from the
// framework's TCVColor.

#include "host/vcl/Types.h"

#include <QMetaType>

struct TColorValue {
    TColor Value = 0;
    friend bool operator==(const TColorValue&, const TColorValue&) = default;
};
Q_DECLARE_METATYPE(TColorValue)

// Registers TColorValue with Qt's meta-type system, with conversions to and from int (idempotent).
void RegisterColorValueType();

class QColor;
// The Qt colour a TColor paints as (system colours resolved by ColorToRGB).
QColor QColorOf(TColor Color);
// The TColor of a Qt colour (alpha ignored).
TColor TColorOf(const QColor& Color);
