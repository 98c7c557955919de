// Shift states, mouse buttons and the registration of the event argument types.
#include "host/vcl/Controls.h"

TShiftState ShiftStateOf(Qt::MouseButtons Buttons, Qt::KeyboardModifiers Modifiers)
{
    TShiftState Shift = 0;
    if (Modifiers & Qt::ShiftModifier)
        Shift |= ssShift;
    if (Modifiers & Qt::AltModifier)
        Shift |= ssAlt;
    if (Modifiers & Qt::ControlModifier)
        Shift |= ssCtrl;
    if (Buttons & Qt::LeftButton)
        Shift |= ssLeft;
    if (Buttons & Qt::RightButton)
        Shift |= ssRight;
    if (Buttons & Qt::MiddleButton)
        Shift |= ssMiddle;
    return Shift;
}

bool MouseButtonOf(Qt::MouseButton Button, TMouseButton& Result)
{
    switch (Button) {
    case Qt::LeftButton:
        Result = mbLeft;
        return true;
    case Qt::RightButton:
        Result = mbRight;
        return true;
    case Qt::MiddleButton:
        Result = mbMiddle;
        return true;
    default:
        return false;
    }
}

void RegisterControlTypes()
{
    static const bool Registered = [] {
        qRegisterMetaType<TRect>("TRect");
        qRegisterMetaType<TMouseButton>("TMouseButton");
        // TShiftState is an alias of unsigned: register the alias name for it.
        qRegisterMetaType<TShiftState>("TShiftState");
        return true;
    }();
    (void)Registered;
}
