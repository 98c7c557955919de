#pragma once
// A user's mouse and keys for the walk-through the designer plays by itself: real events sent to
// the widgets, as a mouse and a keyboard would send them, and waits that let the event loop run.
// The shipped designer uses this rather than a test library.

#include <QPoint>
#include <QString>

#include <functional>

class QWidget;

namespace UserInput {

void mousePress(QWidget* widget, QPoint at);
void mouseRelease(QWidget* widget, QPoint at);
// A left click: press and release; at the widget's centre when at is not given.
void click(QWidget* widget, QPoint at);
void click(QWidget* widget);
// A key pressed and released; its text is what the key types ("" for Return, arrows, …).
void key(QWidget* widget, int key, const QString& text = QString());
// Each character typed as a key of its own.
void type(QWidget* widget, const QString& text);
// Runs the event loop until done says so or timeoutMs has passed; whether it did.
bool waitFor(const std::function<bool()>& done, int timeoutMs);

}  // namespace UserInput
