// A spinner: how it is made, painted and checked.
#include "core/ControlClasses.h"
#include "core/classes/Painting.h"

#include "host/palmo/PalmoControls.h"

#include <QPainter>

#include <algorithm>

namespace {

// Each wheel's rows of sample values: consecutive numbers around a different start for each
// wheel, the middle row in the selected text colour.
void paintSampleValues(QPainter& p, const TPalmoSpinner& control, const QRectF& inner, int rows)
{
    const double rowHeight = inner.height() / rows;
    const int middle = rows / 2;
    p.save();
    p.setClipRect(inner, Qt::IntersectClip);
    double x = inner.left();
    for (int i = 0; i < control.Slots()->Count() && x < inner.right(); ++i) {
        const TPalmoSpinnerSlot& slot = *control.Slot(i);
        const double width = std::max(0, slot.FWidth);
        for (int row = 0; row < rows; ++row) {
            const int value = ((i * 17 + 12 + row - middle) % 60 + 60) % 60;
            p.setPen(qcolor(row == middle ? slot.FSelectedTextColor : slot.FTextColor));
            p.drawText(QRectF(x, inner.top() + row * rowHeight, width, rowHeight),
                       Qt::AlignCenter | Qt::TextSingleLine, QString::number(value).rightJustified(2, u'0'));
        }
        x += width + 2;
    }
    p.restore();
}

// The shade darkens the rows farthest from the selection, as a wheel turning away would.
void paintShade(QPainter& p, QColor shade, const QRectF& inner, double rowHeight)
{
    QLinearGradient top(0, inner.top(), 0, inner.top() + rowHeight);
    shade.setAlpha(150);
    top.setColorAt(0, shade);
    shade.setAlpha(0);
    top.setColorAt(1, shade);
    p.fillRect(QRectF(inner.left(), inner.top(), inner.width(), rowHeight), top);
    QLinearGradient bottom(0, inner.bottom(), 0, inner.bottom() - rowHeight);
    bottom.setStops(top.stops());
    p.fillRect(QRectF(inner.left(), inner.bottom() - rowHeight, inner.width(), rowHeight), bottom);
}

// The wheels side by side inside the frame, each in its own colours, with the selection band
// across them at the middle row and the shade at the top and bottom rows.
void paint(QPainter& p, const TPalmoControl& painted, const QRectF& area)
{
    const auto& control = static_cast<const TPalmoSpinner&>(painted);
    const TPalmoSpinnerAppearance& a = *control.Appearance();
    const QRectF frame = area.adjusted(1, 1, -1, -1);
    p.setPen(QPen(qcolor(a.FFrameColor), 2));
    p.setBrush(qcolor(a.FColor));
    p.drawRoundedRect(frame, 6, 6);

    const QRectF inner = frame.adjusted(5, 5, -5, -5);
    const int rows = std::clamp(control.FVisibleRows, 1, 99);
    const double rowHeight = inner.height() / rows;
    const int middle = rows / 2;
    const QRectF band(inner.left() - 3, inner.top() + middle * rowHeight, inner.width() + 6, rowHeight);
    const int slotCount = control.Slots()->Count();

    p.save();
    p.setClipRect(inner, Qt::IntersectClip);
    double x = inner.left();
    for (int i = 0; i < slotCount && x < inner.right(); ++i) {
        const TPalmoSpinnerSlot& slot = *control.Slot(i);
        const QRectF column(x, inner.top(), std::max(0, slot.FWidth), inner.height());
        p.setPen(Qt::NoPen);
        p.setBrush(qcolor(slot.FColor));
        p.drawRect(column.adjusted(0, 0, -1, 0));
        x = column.right() + 2;
    }
    p.restore();

    p.setPen(Qt::NoPen);
    p.setBrush(qcolor(a.FSelectionColor));
    p.drawRect(band);
    p.setPen(QPen(qcolor(a.FHighlightColor), 1));
    p.drawLine(QPointF(band.left(), band.top() + 0.5), QPointF(band.right(), band.top() + 0.5));

    paintSampleValues(p, control, inner, rows);
    if (slotCount == 0) {
        p.setPen(qcolor(a.FTextColor));
        p.drawText(band, Qt::AlignCenter | Qt::TextSingleLine, QStringLiteral("(no slots)"));
    }

    paintShade(p, qcolor(a.FShadeColor), inner, rowHeight);
}

}  // namespace

extern const ControlClass SpinnerClass{
    &TPalmoSpinner::staticMetaObject,
    paint,
    {{QStringLiteral("Appearance.TextColor"), QStringLiteral("Appearance.Color")},
     {QStringLiteral("Appearance.TextColor"), QStringLiteral("Appearance.SelectionColor")},
     {QStringLiteral("Slots[*].TextColor"), QStringLiteral("Slots[*].Color")},
     {QStringLiteral("Slots[*].SelectedTextColor"), QStringLiteral("Appearance.SelectionColor")}},
    {{QStringLiteral("Appearance.SelectionColor"), QStringLiteral("Slots[*].Color"), QStringLiteral("the selection band against the rows")}},
    nullptr,
};
