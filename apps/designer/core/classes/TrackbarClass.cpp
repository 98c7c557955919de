// A track bar: how it is made, painted and checked.
#include "core/ControlClasses.h"
#include "core/classes/Painting.h"

#include "host/palmo/PalmoControls.h"

#include <QPainter>

#include <algorithm>

namespace {

void paint(QPainter& p, const TPalmoControl& painted, const QRectF& area)
{
    const auto& control = static_cast<const TPalmoTrackbar&>(painted);
    const TPalmoTrackbarAppearance& a = *control.Appearance();
    const double thumb = std::clamp(area.height() / 2 - 2, 2.0, 11.0);
    const double left = area.left() + thumb + 1;
    const double length = std::max(0.0, area.width() - 2 * thumb - 2);
    const double centre = area.center().y();
    // Position's place between Min and Max; a range that is empty or backwards shows the start.
    // Worked in double: Min and Max may span the whole of int's range, where their difference
    // overflows int.
    const double fraction = control.FMax > control.FMin
        ? std::clamp((double(a.FPosition) - control.FMin) / (double(control.FMax) - control.FMin), 0.0, 1.0)
        : 0.0;
    const double thumbX = left + length * fraction;

    p.setPen(Qt::NoPen);
    p.setBrush(qcolor(a.FTrackColor));
    p.drawRoundedRect(QRectF(left, centre - 3, length, 6), 3, 3);
    p.setBrush(qcolor(a.FProgressColor));
    p.drawRoundedRect(QRectF(left, centre - 3, thumbX - left, 6), 3, 3);
    p.setPen(QPen(qcolor(a.FThumbBorderColor), 1.5));
    p.setBrush(qcolor(a.FThumbColor));
    p.drawEllipse(QPointF(thumbX, centre), thumb, thumb);
}

}  // namespace

extern const ControlClass TrackbarClass{
    &TPalmoTrackbar::staticMetaObject,
    paint,
    {},
    {{QStringLiteral("Appearance.ProgressColor"), QStringLiteral("Appearance.TrackColor"), QStringLiteral("the part done against the rest")}},
    nullptr,
};
