// A switch: how it is made, painted and checked.
#include "core/ControlClasses.h"
#include "core/classes/Painting.h"
#include "core/ShownText.h"

#include "host/palmo/PalmoControls.h"
#include "host/vcl/Contrast.h"

#include <QPainter>

#include <algorithm>

namespace {

void paint(QPainter& p, const TPalmoControl& painted, const QRectF& area)
{
    const auto& control = static_cast<const TPalmoOnOffButton&>(painted);
    const TPalmoOnOffButtonAppearance& a = *control.Appearance();
    const QRectF track = area.adjusted(1, 1, -1, -1);
    const double radius = std::min(track.width(), track.height()) / 2;
    const QColor trackColor = qcolor(a.FChecked ? a.FOnColor : a.FOffColor);
    p.setPen(QPen(qcolor(a.FBorderColor), 1.5));
    p.setBrush(trackColor);
    p.drawRoundedRect(track, radius, radius);

    // The knob sits at the right end when on, at the left when off; the text on the other side.
    const double knob = std::max(0.0, track.height() - 4);
    const QRectF knobRect(a.FChecked ? track.right() - 2 - knob : track.left() + 2, track.top() + 2, knob, knob);
    p.setPen(QPen(qcolor(a.FBorderColor), 1));
    p.setBrush(qcolor(a.FKnobColor));
    p.drawEllipse(knobRect);

    QFont small = p.font();
    small.setPointSizeF(small.pointSizeF() * 0.75);
    small.setBold(true);
    p.setFont(small);
    p.setPen(QColorOf(LegibleTextOn(a.FChecked ? a.FOnColor.Value : a.FOffColor.Value)));
    const QRectF textRect = a.FChecked ? QRectF(track.left(), track.top(), knobRect.left() - track.left(), track.height())
                                       : QRectF(knobRect.right(), track.top(), track.right() - knobRect.right(), track.height());
    p.drawText(textRect, Qt::AlignCenter | Qt::TextSingleLine,
               lineToRoom(p.fontMetrics(), a.FChecked ? control.FOnText : control.FOffText, textRect.width()));
}

}  // namespace

extern const ControlClass OnOffButtonClass{
    &TPalmoOnOffButton::staticMetaObject,
    paint,
    // The caption on each track colour, in black or white, whichever reads better on it.
    {{QStringLiteral("OnText"), QStringLiteral("Appearance.OnColor"), true},
     {QStringLiteral("OffText"), QStringLiteral("Appearance.OffColor"), true}},
    {{QStringLiteral("Appearance.OnColor"), QStringLiteral("Appearance.OffColor"), QStringLiteral("on against off")}},
    // The text beside the knob: the one of the state the switch is in.
    [](const TPalmoControl& control) {
        return QString::fromLatin1(static_cast<const TPalmoOnOffButton&>(control).Appearance()->FChecked ? "OnText" : "OffText");
    },
};
