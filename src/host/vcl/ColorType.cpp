#include "host/vcl/ColorType.h"

#include "host/vcl/Graphics.h"

#include <QColor>

void RegisterColorValueType()
{
    static const bool Registered = [] {
        qRegisterMetaType<TColorValue>();
        QMetaType::registerConverter<TColorValue, int>([](const TColorValue& C) { return int(C.Value); });
        QMetaType::registerConverter<int, TColorValue>([](int V) { return TColorValue{V}; });
        return true;
    }();
    (void)Registered;
}

QColor QColorOf(TColor Color)
{
    const TColor Rgb = ColorToRGB(Color);
    return QColor(Rgb & 0xFF, (Rgb >> 8) & 0xFF, (Rgb >> 16) & 0xFF);
}

TColor TColorOf(const QColor& Color)
{
    return Color.red() | (Color.green() << 8) | (Color.blue() << 16);
}
