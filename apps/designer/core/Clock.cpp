#include "core/Clock.h"

#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>
#include <limits>
#include <utility>

namespace {

class TimerClock : public Clock {
public:
    TimerClock()
    {
        m_elapsed.start();
        m_timer.setSingleShot(true);
        QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [this] {
            // Taken first: due may ask for the next call.
            const std::function<void()> due = std::exchange(m_due, nullptr);
            if (due)
                due();
        });
    }
    qint64 now() const override { return m_elapsed.elapsed(); }
    void callAfter(qint64 ms, std::function<void()> due) override
    {
        m_due = std::move(due);
        m_timer.start(static_cast<int>(std::clamp<qint64>(ms, 0, std::numeric_limits<int>::max())));
    }
    void cancel() override
    {
        m_timer.stop();
        m_due = nullptr;
    }

private:
    QElapsedTimer m_elapsed;
    QTimer m_timer;
    std::function<void()> m_due;
};

}  // namespace

std::unique_ptr<Clock> makeTimerClock()
{
    return std::make_unique<TimerClock>();
}
