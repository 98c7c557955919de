#include "PreviewWidget.h"

#include "SampleForm.h"

#include "host/palmo/PalmoBase.h"
#include "host/palmo/PalmoSpinner.h"
#include "host/vcl/ColorType.h"

#include <QPainter>
#include <QPainterPath>

namespace {

QColor qcolor(TCVColor color) { return QColorOf(color.Value); }
QColor qcolor(TColorValue color) { return QColorOf(color.Value); }

void caption(QPainter& p, int y, const QString& text)
{
    p.setPen(QColor(90, 90, 90));
    p.drawText(QRect(16, y, 320, 16), Qt::AlignLeft | Qt::AlignVCenter, text);
}

}  // namespace

PreviewWidget::PreviewWidget(SampleForm* form, QWidget* parent) : QWidget(parent), m_form(form)
{
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(0xF4, 0xF4, 0xF4));
    setPalette(pal);
    connect(form, &SampleForm::changed, this, qOverload<>(&QWidget::update));
}

void PreviewWidget::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);

    // Button with its shadow.
    const auto* b = m_form->button;
    caption(p, 8, QStringLiteral("PalmoButton1"));
    QRectF buttonRect(16, 28, 160, 40);
    p.setPen(Qt::NoPen);
    p.setBrush(qcolor(b->FShadowColor));
    p.drawRoundedRect(buttonRect.translated(2, 3), b->FCornerRadius, b->FCornerRadius);
    p.setBrush(qcolor(b->FColor));
    p.setPen(QPen(qcolor(b->FBorderColor), 2));
    p.drawRoundedRect(buttonRect, b->FCornerRadius, b->FCornerRadius);
    p.setPen(qcolor(b->FTextColor));
    p.drawText(buttonRect, Qt::AlignCenter, b->FCaption);
    QRectF pressedRect(192, 28, 140, 40);
    p.setBrush(qcolor(b->FPressedColor));
    p.setPen(QPen(qcolor(b->FBorderColor), 2));
    p.drawRoundedRect(pressedRect, b->FCornerRadius, b->FCornerRadius);
    p.setPen(qcolor(b->FTextColor));
    p.drawText(pressedRect, Qt::AlignCenter, QStringLiteral("(pressed)"));

    // On/off switch.
    const auto* s = m_form->onOffButton;
    caption(p, 80, QStringLiteral("PalmoOnOffButton1"));
    QRectF track(16, 100, 64, 30);
    p.setPen(QPen(qcolor(s->FBorderColor), 1.5));
    p.setBrush(qcolor(s->FChecked ? s->FOnColor : s->FOffColor));
    p.drawRoundedRect(track, 15, 15);
    p.setBrush(qcolor(s->FKnobColor));
    p.drawEllipse(QRectF(s->FChecked ? 52 : 18, 102, 26, 26));

    // Track bar.
    const auto* t = m_form->trackbar;
    caption(p, 142, QStringLiteral("PalmoTrackbar1"));
    const double fraction = qBound(0, t->FPosition, 100) / 100.0;
    p.setPen(Qt::NoPen);
    p.setBrush(qcolor(t->FTrackColor));
    p.drawRoundedRect(QRectF(16, 172, 300, 6), 3, 3);
    p.setBrush(qcolor(t->FProgressColor));
    p.drawRoundedRect(QRectF(16, 172, 300 * fraction, 6), 3, 3);
    p.setPen(QPen(qcolor(t->FThumbBorderColor), 1.5));
    p.setBrush(qcolor(t->FThumbColor));
    p.drawEllipse(QPointF(16 + 300 * fraction, 175), 11, 11);

    // Two list items, the second selected.
    const auto* l = m_form->listItem;
    caption(p, 196, QStringLiteral("PalmoListItem1"));
    for (int i = 0; i < 2; ++i) {
        QRectF row(16, 216 + i * l->FItemHeight, 316, l->FItemHeight);
        p.setPen(Qt::NoPen);
        p.setBrush(qcolor(i == 1 ? l->FSelectedColor : l->FColor));
        p.drawRect(row);
        p.setPen(qcolor(l->FTextColor));
        p.drawText(row.adjusted(8, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                   i == 0 ? QStringLiteral("Item") : QStringLiteral("Selected item"));
        p.setPen(qcolor(l->FDetailTextColor));
        p.drawText(row.adjusted(0, 0, -8, 0), Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("detail"));
        p.setPen(qcolor(l->FSeparatorColor));
        p.drawLine(row.bottomLeft(), row.bottomRight());
    }

    // Page indicator.
    const auto* ind = m_form->indicator;
    const int indicatorTop = 228 + 2 * l->FItemHeight;
    caption(p, indicatorTop, QStringLiteral("PalmoIndicator1"));
    p.setPen(Qt::NoPen);
    for (int i = 0; i < qBound(0, ind->FCount, 12); ++i) {
        p.setBrush(qcolor(i == ind->FActiveIndex ? ind->FActiveColor : ind->FInactiveColor));
        p.drawEllipse(QPointF(24 + i * 20, indicatorTop + 28), 6, 6);
    }

    // Spinner with one slot.
    const auto* sp = m_form->spinner;
    const auto* slot = m_form->spinnerSlot;
    const int spinnerTop = indicatorTop + 44;
    caption(p, spinnerTop, QStringLiteral("PalmoSpinner1"));
    QRectF frame(16, spinnerTop + 20, 160, 84);
    p.setPen(QPen(qcolor(sp->FFrameColor), 2));
    p.setBrush(qcolor(sp->FColor));
    p.drawRoundedRect(frame, 6, 6);
    QRectF slotRect(24, spinnerTop + 26, qBound(20, slot->FWidth, 140), 72);
    p.setPen(Qt::NoPen);
    p.setBrush(qcolor(slot->FColor));
    p.drawRect(slotRect);
    p.setBrush(qcolor(sp->FShadeColor));
    p.drawRect(QRectF(slotRect.left(), slotRect.top(), slotRect.width(), 8));
    p.drawRect(QRectF(slotRect.left(), slotRect.bottom() - 8, slotRect.width(), 8));
    p.setBrush(qcolor(sp->FSelectionColor));
    QRectF selection(frame.left() + 2, spinnerTop + 50, frame.width() - 4, 24);
    p.drawRect(selection);
    p.setPen(qcolor(sp->FHighlightColor));
    p.drawLine(selection.topLeft(), selection.topRight());
    p.setPen(qcolor(slot->FSelectedTextColor));
    p.drawText(selection, Qt::AlignCenter, QStringLiteral("12"));
    p.setPen(qcolor(slot->FTextColor));
    p.drawText(QRectF(selection.left(), selection.top() - 20, selection.width(), 20), Qt::AlignCenter,
               QStringLiteral("11"));
    p.setPen(qcolor(sp->FTextColor));
    p.drawText(QRectF(frame.right() + 8, frame.top(), 120, frame.height()), Qt::AlignVCenter,
               QStringLiteral("o'clock"));

    // Popup over its overlay.
    const auto* pop = m_form->popup;
    const int popupTop = spinnerTop + 116;
    caption(p, popupTop, QStringLiteral("PalmoPopup1"));
    QColor overlay = qcolor(pop->FOverlayColor);
    overlay.setAlpha(160);
    p.setPen(Qt::NoPen);
    p.setBrush(overlay);
    p.drawRect(QRectF(16, popupTop + 20, 316, 90));
    QRectF box(56, popupTop + 30, 236, 70);
    p.setPen(QPen(qcolor(pop->FBorderColor), 2));
    p.setBrush(qcolor(pop->FColor));
    p.drawRoundedRect(box, 8, 8);
    p.setPen(qcolor(pop->FTitleColor));
    QFont bold = font();
    bold.setBold(true);
    p.setFont(bold);
    p.drawText(box.adjusted(0, 8, 0, 0), Qt::AlignHCenter | Qt::AlignTop, pop->FTitle);
    p.setFont(font());
    p.setPen(qcolor(pop->FTextColor));
    p.drawText(box.adjusted(0, 0, 0, -10), Qt::AlignHCenter | Qt::AlignBottom, QStringLiteral("Popup message text"));
}
