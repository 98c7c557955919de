#pragma once
// The toolkit's focus mark for controls whose Qt style marks the focus too faintly to be seen.

class QRect;
class QWidget;

// Paints, during Widget's paint event, a dotted frame in the window's text colour just inside
// Frame: it stands out from the control's face as its text does.
void DrawFocusFrame(QWidget* Widget, const QRect& Frame);
