#pragma once
// The time and one timer: the recovery store writes copies by it, and the document tells a run of
// keystrokes from a pause by it. The designer's clock is Qt's; tests give one whose time they
// move by hand, so that "at most two seconds after a change" is tested without waiting. No widget
// code.

#include <QtGlobal>

#include <functional>
#include <memory>

class Clock {
public:
    virtual ~Clock() = default;
    // Milliseconds on a scale that never goes back.
    virtual qint64 now() const = 0;
    // Calls due once, ms from now, instead of any call not yet made.
    virtual void callAfter(qint64 ms, std::function<void()> due) = 0;
    // Drops the call not yet made.
    virtual void cancel() = 0;
};

// A monotonic clock and a single-shot QTimer: due runs from the event loop of the calling thread.
std::unique_ptr<Clock> makeTimerClock();
