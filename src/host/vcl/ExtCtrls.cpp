// The paint box.
#include "host/vcl/ExtCtrls.h"

#include "host/vcl/AccessibleControls.h"

#include <QMouseEvent>

#include <algorithm>
#include <cmath>

namespace {
QPoint PixelAt(const QMouseEvent* Event)
{
    // The pixel under the pointer: positions may be fractional on a high-density screen.
    const QPointF At = Event->position();
    return QPoint(int(std::floor(At.x())), int(std::floor(At.y())));
}
} // namespace

TPaintBox::TPaintBox(QWidget* parent)
    : BackingImageWidget(parent)
{
    RegisterControlTypes();
    InstallControlAccessibility();
    // Without tracking Qt sends no move events while no button is held.
    setMouseTracking(true);
    setSeeThrough(true);
}

void TPaintBox::SetWidth(int Value)
{
    SetBounds(x(), y(), Value, height());
}

void TPaintBox::SetHeight(int Value)
{
    SetBounds(x(), y(), width(), Value);
}

void TPaintBox::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    setGeometry(ALeft, ATop, std::max(AWidth, 0), std::max(AHeight, 0));
    // The canvas is usable at the new size at once, also while the box is hidden.
    canvas();
}

void TPaintBox::SetColor(TColor Value)
{
    if (FColor == Value)
        return;
    FColor = Value;
    requestRender();
}

String TPaintBox::ValueText() const
{
    String Text;
    if (AccessibleValue)
        CallHandler([&] { Text = AccessibleValue(); });
    return Text;
}

void TPaintBox::renderImage(TCanvas& Canvas)
{
    // Before Paint the canvas takes the box's font and colour as its brush, as the toolkit does;
    // nothing is filled: the image holds what lies beneath the box.
    Canvas.Font = font();
    Canvas.Brush.Color = FColor;
    CallHandler([this] { emit Paint(); });
}

void TPaintBox::mousePressEvent(QMouseEvent* Event)
{
    TMouseButton Button;
    if (!MouseButtonOf(Event->button(), Button))
        return;
    const QPoint At = PixelAt(Event);
    const TShiftState Shift = ShiftStateOf(Event->buttons(), Event->modifiers());
    CallHandler([&] { emit MouseDown(Button, Shift, At.x(), At.y()); });
}

void TPaintBox::mouseMoveEvent(QMouseEvent* Event)
{
    const QPoint At = PixelAt(Event);
    const TShiftState Shift = ShiftStateOf(Event->buttons(), Event->modifiers());
    CallHandler([&] { emit MouseMove(Shift, At.x(), At.y()); });
}
