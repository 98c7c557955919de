#pragma once
// Top-level windows that fit the screen's free area with their frame (title bar and borders).
// The window system tells the frame only once a window is shown (on X11), so a window sized
// before that counts with a frame of a common size rather than with none.

#include <QMargins>
#include <QRect>
#include <QSize>

class QWidget;

namespace WindowFit {

// The frame assumed while the real one is unknown.
inline constexpr QMargins AssumedFrame{8, 40, 8, 8};

// The frame of window: the window system's, or AssumedFrame while that is unknown (the frame
// geometry is the window's own).
QMargins frameOf(const QWidget& window);
// The largest size within wanted (the window's, frame excluded) whose window, with frame around
// it, fits within available.
QSize fittingSize(const QSize& wanted, const QRect& available, const QMargins& frame);
// The free area of the screen the window is on (the primary screen before it has one); empty
// without a screen.
QRect availableArea(const QWidget& window);

}  // namespace WindowFit
