#include "views/ElidingStatusBar.h"

#include <QApplication>
#include <QInputEvent>
#include <QPainter>
#include <QSizeGrip>
#include <QStyle>
#include <QStyleOption>

#include <algorithm>

ElidingStatusBar::ElidingStatusBar(QWidget* parent) : QStatusBar(parent)
{
    connect(this, &QStatusBar::messageChanged, this, &ElidingStatusBar::messageChanged);
    qApp->installEventFilter(this);
}

ElidingStatusBar::~ElidingStatusBar()
{
    qApp->removeEventFilter(this);
}

void ElidingStatusBar::showRefusal(const QString& text)
{
    // Set before showing, so that messageChanged does not take it for another text replacing it.
    m_refusal = text;
    showMessage(text);
}

void ElidingStatusBar::refuse(QStatusBar* bar, const QString& text)
{
    if (auto* eliding = qobject_cast<ElidingStatusBar*>(bar))
        eliding->showRefusal(text);
    else
        bar->showMessage(text);
}

bool ElidingStatusBar::showReadout(const QString& text)
{
    if (!m_refusal.isEmpty())
        return false;
    showMessage(text);
    return true;
}

void ElidingStatusBar::messageChanged(const QString& message)
{
    if (message != m_refusal)
        m_refusal.clear();
    setAccessibleDescription(message);
}

bool ElidingStatusBar::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::ShortcutOverride:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel: {
        // A press passed on to the parents of the widget it came to is the same press; only a
        // new one is the user's next action.
        const Press press{event, int(event->type()), static_cast<const QInputEvent*>(event)->timestamp()};
        const bool same = press.event == m_lastPress.event && press.type == m_lastPress.type
                          && press.timestamp == m_lastPress.timestamp;
        m_lastPress = press;
        if (!same && !m_refusal.isEmpty() && currentMessage() == m_refusal)
            clearMessage();
        break;
    }
    case QEvent::KeyRelease:
    case QEvent::MouseButtonRelease:
        // The press is over: the next one is new, wherever its event is made.
        m_lastPress = Press{};
        break;
    default:
        break;
    }
    return QStatusBar::eventFilter(watched, event);
}

QRect ElidingStatusBar::messageArea() const
{
    // While a message shows, the visible widgets of the bar are its permanent ones.
    const bool rtl = layoutDirection() == Qt::RightToLeft;
    int left = 6;
    int right = width() - 12;
    for (const QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!child->isVisible() || child->isWindow())
            continue;
        const bool grip = qobject_cast<const QSizeGrip*>(child) != nullptr;
        if (rtl)
            left = std::max(left, child->geometry().right() + 1 + (grip ? 0 : 2));
        else
            right = std::min(right, child->x() - (grip ? 0 : 2));
    }
    return {left, 0, std::max(0, right - left), height()};
}

QString ElidingStatusBar::shownMessage() const
{
    const QString message = currentMessage();
    const Qt::TextElideMode mode = !m_refusal.isEmpty() && message == m_refusal ? Qt::ElideRight : Qt::ElideMiddle;
    return message.isEmpty() ? message : fontMetrics().elidedText(message, mode, messageArea().width());
}

void ElidingStatusBar::paintEvent(QPaintEvent* event)
{
    const QString message = currentMessage();
    const QString shown = shownMessage();
    setToolTip(shown == message ? QString() : message);
    if (shown == message) {
        QStatusBar::paintEvent(event);
        return;
    }
    // What QStatusBar draws, with the message elided: the panel, a frame around each visible
    // (permanent) widget, the text.
    QPainter painter(this);
    QStyleOption option;
    option.initFrom(this);
    style()->drawPrimitive(QStyle::PE_PanelStatusBar, &option, &painter, this);
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!child->isVisible() || child->isWindow() || qobject_cast<QSizeGrip*>(child))
            continue;
        QStyleOption item;
        item.initFrom(child);
        item.rect = child->geometry().adjusted(-1, -1, 1, 1);
        style()->drawPrimitive(QStyle::PE_FrameStatusBarItem, &item, &painter, child);
    }
    painter.setPen(palette().windowText().color());
    painter.drawText(messageArea(), Qt::AlignLeading | Qt::AlignVCenter | Qt::TextSingleLine, shown);
}

ElidedLabel::ElidedLabel(QWidget* parent) : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
}

QString ElidedLabel::shownText() const
{
    return fontMetrics().elidedText(text(), Qt::ElideRight, contentsRect().width());
}

QSize ElidedLabel::minimumSizeHint() const
{
    return {0, QLabel::minimumSizeHint().height()};
}

QSize ElidedLabel::sizeHint() const
{
    return {0, QLabel::sizeHint().height()};
}

void ElidedLabel::paintEvent(QPaintEvent*)
{
    const QString shown = shownText();
    setToolTip(shown == text() ? QString() : text());
    QPainter painter(this);
    painter.setPen(palette().color(foregroundRole()));
    painter.drawText(contentsRect(), static_cast<int>(alignment()) | Qt::TextSingleLine, shown);
}
