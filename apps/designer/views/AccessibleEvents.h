#pragma once
// How the designer's views tell assistive technology what happened. Every event goes to Qt, which
// passes it on while a screen reader listens, and to a tap that a test may set (an offscreen test
// has no screen reader, so Qt drops the events there). Announcements are texts a screen reader
// speaks without the focus moving: "Saved demo.cvform", a refused value, the readability count.

#include <QString>

#include <functional>

class QAccessibleEvent;
class QWidget;

// Hands the event to the tap (when set) and to Qt.
void raiseAccessibleEvent(QAccessibleEvent* event);

// Speaks text from widget's window. Qt 6.8 and later have an announcement event for it; before
// that a notification object of the window, never drawn, takes the text as its name and is shown
// (raised as ObjectShow) when control returns to the event loop, which a screen reader speaks as
// "notification" and the text. An alert (a refusal) interrupts what is being spoken; a status
// waits its turn where the platform can.
enum class Urgency { Status, Alert };
void announce(QWidget* widget, const QString& text, Urgency urgency = Urgency::Status);

// Raises an alert for a widget that shows a message (a label that has just appeared), and speaks
// its text as an alert: screen readers say it at once, wherever the focus is.
void raiseAlert(QWidget* widget);

// Every event raised through the functions above goes to tap as well, before Qt gets it; none
// when empty.
void setAccessibleEventTap(std::function<void(QAccessibleEvent*)> tap);
