// The focus mark.
#include "host/vcl/FocusFrame.h"

#include <QPainter>
#include <QWidget>

void DrawFocusFrame(QWidget* Widget, const QRect& Frame)
{
    QPainter Painter(Widget);
    QPen Pen(Widget->palette().color(QPalette::WindowText), 1, Qt::DotLine);
    Pen.setCosmetic(true);
    Painter.setPen(Pen);
    Painter.setBrush(Qt::NoBrush);
    Painter.drawRect(Frame.adjusted(0, 0, -1, -1));
}
