#include "views/ElidingStatusBar.h"

#include <QEvent>
#include <QPainter>
#include <QSizeGrip>
#include <QStyle>
#include <QStyleOption>

#include <algorithm>

ElidingStatusBar::ElidingStatusBar(QWidget* parent) : QStatusBar(parent)
{
    connect(this, &QStatusBar::messageChanged, this, &ElidingStatusBar::updateToolTip);
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
    return fontMetrics().elidedText(currentMessage(), Qt::ElideMiddle, messageArea().width());
}

void ElidingStatusBar::paintEvent(QPaintEvent* event)
{
    const QString message = currentMessage();
    const QString shown = shownMessage();
    if (message.isEmpty() || shown == message) {
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

void ElidingStatusBar::resizeEvent(QResizeEvent* event)
{
    QStatusBar::resizeEvent(event);
    updateToolTip();
}

void ElidingStatusBar::updateToolTip()
{
    const QString message = currentMessage();
    setToolTip(shownMessage() == message ? QString() : message);
}

ElidedLabel::ElidedLabel(QWidget* parent) : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
}

void ElidedLabel::setText(const QString& text)
{
    QLabel::setText(text);
    updateToolTip();
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
    QPainter painter(this);
    painter.setPen(palette().color(foregroundRole()));
    painter.drawText(contentsRect(), static_cast<int>(alignment()) | Qt::TextSingleLine, shownText());
}

void ElidedLabel::resizeEvent(QResizeEvent* event)
{
    QLabel::resizeEvent(event);
    updateToolTip();
}

void ElidedLabel::changeEvent(QEvent* event)
{
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        updateToolTip();
}

void ElidedLabel::updateToolTip()
{
    setToolTip(shownText() == text() ? QString() : text());
}
