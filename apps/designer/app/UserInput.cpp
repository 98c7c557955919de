#include "app/UserInput.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QThread>
#include <QWidget>

namespace UserInput {

namespace {

void sendMouse(QWidget* widget, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held)
{
    QMouseEvent event(type, at, widget->mapToGlobal(at), button, held, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
    QApplication::processEvents();
}

}  // namespace

void mousePress(QWidget* widget, QPoint at)
{
    sendMouse(widget, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
}

void mouseRelease(QWidget* widget, QPoint at)
{
    sendMouse(widget, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
}

void click(QWidget* widget, QPoint at)
{
    mousePress(widget, at);
    mouseRelease(widget, at);
}

void click(QWidget* widget)
{
    click(widget, widget->rect().center());
}

void key(QWidget* widget, int key, const QString& text)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(widget, &release);
    QApplication::processEvents();
}

void type(QWidget* widget, const QString& text)
{
    for (const QChar c : text) {
        // Letters by their upper-case key, as a keyboard reports them; other characters by code.
        const int code = c.isLetter() ? c.toUpper().unicode() : c.unicode();
        key(widget, code, QString(c));
    }
}

bool waitFor(const std::function<bool()>& done, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(5);
    }
    return true;
}

}  // namespace UserInput
