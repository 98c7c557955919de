#pragma once
// What the control classes' painting shares: colours as QPainter takes them, and black or white
// for text that must read on any background.

#include "host/cvcolor/CVColor.h"
#include "host/vcl/ColorType.h"

#include <QColor>

inline QColor qcolor(TCVColor color) { return QColorOf(color.Value); }
inline QColor qcolor(TColorValue color) { return QColorOf(color.Value); }

// Black or white, whichever reads better on background.
inline QColor legibleOn(const QColor& background)
{
    const double luma = 0.299 * background.redF() + 0.587 * background.greenF() + 0.114 * background.blueF();
    return luma > 0.6 ? QColor(0x20, 0x20, 0x20) : QColor(Qt::white);
}
