#include "views/AccessibleEvents.h"

#include <QAccessible>
#include <QWidget>

#include <utility>

namespace {

std::function<void(QAccessibleEvent*)>& eventTap()
{
    static std::function<void(QAccessibleEvent*)> tap;
    return tap;
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
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    QAccessibleAnnouncementEvent event(widget, text);
    event.setPoliteness(urgency == Urgency::Alert ? QAccessible::AnnouncementPoliteness::Assertive
                                                  : QAccessible::AnnouncementPoliteness::Polite);
    raiseAccessibleEvent(&event);
#else
    // Qt raises the description's change itself (also for the same text again); the tap hears it
    // from here.
    widget->setAccessibleDescription(text);
    if (eventTap()) {
        QAccessibleEvent event(widget, QAccessible::DescriptionChanged);
        eventTap()(&event);
    }
    if (urgency == Urgency::Alert)
        raiseAlert(widget);
#endif
}

void raiseAlert(QWidget* widget)
{
    if (!widget)
        return;
    QAccessibleEvent event(widget, QAccessible::Alert);
    raiseAccessibleEvent(&event);
}

void setAccessibleEventTap(std::function<void(QAccessibleEvent*)> tap)
{
    eventTap() = std::move(tap);
}
