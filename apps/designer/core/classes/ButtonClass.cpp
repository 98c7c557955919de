// A button: how it is made, painted and checked.
#include "core/ControlClasses.h"
#include "core/classes/Painting.h"
#include "core/ShownText.h"

#include "host/palmo/PalmoControls.h"

#include <QPainter>

#include <algorithm>

namespace {

void paint(QPainter& p, const TPalmoControl& painted, const QRectF& area)
{
    const auto& control = static_cast<const TPalmoButton&>(painted);
    const TPalmoButtonAppearance& a = *control.Appearance();
    // Room for the shadow below and to the right of the body.
    const QRectF body = area.adjusted(1, 1, -3, -4);
    const double radius = std::clamp<double>(a.FCornerRadius, 0, std::min(body.width(), body.height()) / 2);
    p.setPen(Qt::NoPen);
    p.setBrush(qcolor(a.FShadowColor));
    p.drawRoundedRect(body.translated(2, 3), radius, radius);
    p.setBrush(qcolor(a.FColor));
    p.setPen(QPen(qcolor(a.FBorderColor), 1.5));
    p.drawRoundedRect(body, radius, radius);
    p.setPen(qcolor(a.FTextColor));
    p.drawText(body, Qt::AlignCenter | Qt::TextSingleLine, lineToRoom(p.fontMetrics(), a.FCaption, body.width()));
}

}  // namespace

extern const ControlClass ButtonClass{
    &TPalmoButton::staticMetaObject,
    paint,
    {{QStringLiteral("Appearance.TextColor"), QStringLiteral("Appearance.Color")},
     {QStringLiteral("Appearance.TextColor"), QStringLiteral("Appearance.PressedColor")}},
    {{QStringLiteral("Appearance.PressedColor"), QStringLiteral("Appearance.Color"), QStringLiteral("pressed against normal")}},
    [](const TPalmoControl&) { return QStringLiteral("Appearance.Caption"); },
};
