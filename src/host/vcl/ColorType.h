#pragma once
// The toolkit colour on Qt: the property value type of a plain toolkit colour, and the
// conversions between toolkit colours and Qt's colours and pixels, each written once here.

#include "host/vcl/Types.h"

#include <QColor>
#include <QMetaType>

// Property value type of a plain toolkit colour. A property declared with it carries type
// information of its own, so the designer can tell it from other integers and from the
// framework's TCVColor.
struct TColorValue {
    TColor Value = 0;
    friend bool operator==(const TColorValue&, const TColorValue&) = default;
};
Q_DECLARE_METATYPE(TColorValue)

// Registers TColorValue with Qt's meta-type system, with conversions to and from int (idempotent).
void RegisterColorValueType();

// An RGB colour unchanged; a system colour resolved from the application's current palette;
// clNone and clDefault as the toolkit paints them (black and the window colour).
TColor ColorToRGB(TColor Color);

// The opaque Qt pixel of an RGB colour (top byte 0): the toolkit keeps red in the lowest byte,
// Qt keeps blue there.
constexpr QRgb PixelOfRgb(TColor Rgb)
{
    return qRgb(Rgb & 0xFF, (Rgb >> 8) & 0xFF, (Rgb >> 16) & 0xFF);
}

// The RGB colour of a Qt pixel (alpha ignored).
constexpr TColor TColorOfPixel(QRgb Pixel)
{
    return static_cast<TColor>(qRed(Pixel) | qGreen(Pixel) << 8 | qBlue(Pixel) << 16);
}

// The Qt colour a TColor paints as (system colours resolved by ColorToRGB).
inline QColor QColorOf(TColor Color)
{
    return QColor(PixelOfRgb(ColorToRGB(Color)));
}

// The RGB colour of a Qt colour (alpha ignored).
inline TColor TColorOf(const QColor& Color)
{
    return TColorOfPixel(Color.rgb());
}
