#pragma once
// Toolkit control vocabulary shared by every control adapter: shift states, mouse buttons, and the
// meta-type names under which the event signals' argument types travel.

#include "host/vcl/Types.h"

#include <QMetaType>
#include <Qt>

// Keys and mouse buttons held during a mouse event, as a set of flags.
using TShiftState = unsigned;
constexpr TShiftState ssShift = 1u << 0;
constexpr TShiftState ssAlt = 1u << 1;
constexpr TShiftState ssCtrl = 1u << 2;
constexpr TShiftState ssLeft = 1u << 3;
constexpr TShiftState ssRight = 1u << 4;
constexpr TShiftState ssMiddle = 1u << 5;

enum TMouseButton { mbLeft, mbRight, mbMiddle };

Q_DECLARE_METATYPE(TRect)
Q_DECLARE_METATYPE(TMouseButton)

// The shift state of a Qt mouse or key event: held buttons and keyboard modifiers.
TShiftState ShiftStateOf(Qt::MouseButtons Buttons, Qt::KeyboardModifiers Modifiers);

// The toolkit button of a Qt button; false for a button the toolkit has no name for.
bool MouseButtonOf(Qt::MouseButton Button, TMouseButton& Result);

// Registers TRect, TShiftState and TMouseButton under those names, so that connections made by
// signature text (as a compiled form's connections are) and queued connections can carry them.
// Idempotent; every control adapter calls it when it is created.
void RegisterControlTypes();
