#include "views/AccessibleEvents.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QTimer>
#include <QWidget>

#include <utility>

namespace {

std::function<void(QAccessibleEvent*)>& eventTap()
{
    static std::function<void(QAccessibleEvent*)> tap;
    return tap;
}

#if QT_VERSION < QT_VERSION_CHECK(6, 8, 0)
// Qt 6.4's bridge to AT-SPI passes no alert on, and sends a name or description change with the
// object where the new text belongs, so a screen reader says nothing for either. What it does
// speak, wherever the focus is, is a notification that is shown: its role and its name. A notice is
// such an object: a child of the window that is never drawn, whose name is the text. A few take
// turns, so a message that follows another at once does not rename the first before it is read.
class Notice : public QWidget {
public:
    explicit Notice(QWidget* window) : QWidget(window)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFocusPolicy(Qt::NoFocus);
        setGeometry(0, 0, 0, 0);
    }
    quint64 lastUsed = 0;
};

constexpr int NoticeCount = 3;

class NoticeAccessible : public QAccessibleWidget {
public:
    explicit NoticeAccessible(QWidget* notice) : QAccessibleWidget(notice, QAccessible::Notification) {}

    QString text(QAccessible::Text kind) const override
    {
        // Only the name: the reader speaks a description after it.
        return kind == QAccessible::Name ? widget()->accessibleName() : QString();
    }
    QAccessible::State state() const override
    {
        // Shown to assistive technology while it holds a text, though never drawn.
        QAccessible::State state = QAccessibleWidget::state();
        state.invisible = widget()->accessibleName().isEmpty();
        return state;
    }
};

QAccessibleInterface* noticeFactory(const QString&, QObject* object)
{
    if (auto* notice = dynamic_cast<Notice*>(object))
        return new NoticeAccessible(notice);
    return nullptr;
}

// The notice of window used longest ago, made when it has fewer than NoticeCount.
Notice* nextNotice(QWidget* window)
{
    // Factories installed later are asked first: this one after the widgets' own, which the
    // application installs.
    static const bool installed = [] {
        QAccessible::installFactory(noticeFactory);
        return true;
    }();
    (void)installed;
    static quint64 uses = 0;

    Notice* next = nullptr;
    int count = 0;
    for (QObject* child : window->children())
        if (auto* notice = dynamic_cast<Notice*>(child)) {
            ++count;
            if (!next || notice->lastUsed < next->lastUsed)
                next = notice;
        }
    if (count < NoticeCount)
        next = new Notice(window);
    next->lastUsed = ++uses;
    return next;
}
#endif

// Says text from widget's window, wherever the focus is.
void speak(QWidget* widget, const QString& text, Urgency urgency)
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    QAccessibleAnnouncementEvent event(widget, text);
    event.setPoliteness(urgency == Urgency::Alert ? QAccessible::AnnouncementPoliteness::Assertive
                                                  : QAccessible::AnnouncementPoliteness::Polite);
    raiseAccessibleEvent(&event);
#else
    // A shown notice is spoken at once, and what the reader hears next cuts it short: there is no
    // waiting turn to give a status. So it is shown once the events of the present key are out
    // (the echo of a text that a refusal selects would drown the refusal), in the order asked.
    (void)urgency;
    QTimer::singleShot(0, widget->window(), [window = widget->window(), text] {
        Notice* notice = nextNotice(window);
        notice->setAccessibleName(text);
        QAccessibleEvent shown(notice, QAccessible::ObjectShow);
        raiseAccessibleEvent(&shown);
    });
#endif
}

}  // namespace

void raiseAccessibleEvent(QAccessibleEvent* event)
{
    if (eventTap())
        eventTap()(event);
    QAccessible::updateAccessibility(event);
}

void announce(QWidget* widget, const QString& text, Urgency urgency)
{
    if (!widget || text.isEmpty())
        return;
    speak(widget, text, urgency);
}

void raiseAlert(QWidget* widget)
{
    if (!widget)
        return;
    QAccessibleEvent event(widget, QAccessible::Alert);
    raiseAccessibleEvent(&event);
    // Not every bridge passes the alert on: its text is said as well.
    if (QAccessibleInterface* shown = QAccessible::queryAccessibleInterface(widget))
        if (const QString text = shown->text(QAccessible::Name); !text.isEmpty())
            speak(widget, text, Urgency::Alert);
}

void setAccessibleEventTap(std::function<void(QAccessibleEvent*)> tap)
{
    eventTap() = std::move(tap);
}
