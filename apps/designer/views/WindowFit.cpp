#include "views/WindowFit.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace WindowFit {

QMargins frameOf(const QWidget& window)
{
    const QRect outer = window.frameGeometry();
    const QRect inner = window.geometry();
    if (outer == inner)
        return AssumedFrame;
    return {inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
            outer.bottom() - inner.bottom()};
}

QSize fittingSize(const QSize& wanted, const QRect& available, const QMargins& frame)
{
    const QSize room = available.size().shrunkBy(frame);
    return wanted.boundedTo(room.expandedTo(QSize(0, 0)));
}

QRect availableArea(const QWidget& window)
{
    const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

}  // namespace WindowFit
