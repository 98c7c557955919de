#pragma once
// What the control classes' painting shares: colours as QPainter takes them.

#include "host/cvcolor/CVColor.h"
#include "host/vcl/ColorType.h"

#include <QColor>

inline QColor qcolor(TCVColor color) { return QColorOf(color.Value); }
inline QColor qcolor(TColorValue color) { return QColorOf(color.Value); }

