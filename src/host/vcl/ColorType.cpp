#include "host/vcl/ColorType.h"

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
