// A page indicator: how it is made, painted and checked.
#include "core/ControlClasses.h"
#include "core/classes/Painting.h"

#include "host/palmo/PalmoControls.h"

#include <QPainter>

#include <algorithm>

namespace {

void paint(QPainter& p, const TPalmoControl& painted, const QRectF& area)
{
    const auto& control = static_cast<const TPalmoPageIndicator&>(painted);
    const TPalmoIndicator& a = *control.Appearance();
    // More dots than fit are clipped anyway; the bound keeps a silly Count from costing time.
    const int count = std::clamp(a.FCount, 0, 256);
    const double dot = std::clamp(area.height() - 6, 3.0, 8.0);
    const double spacing = std::max(0, control.FSpacing);
    const double width = count * dot + std::max(0, count - 1) * spacing;
    double x = area.center().x() - width / 2;
    const double y = area.center().y() - dot / 2;
    p.setPen(Qt::NoPen);
    for (int i = 0; i < count; ++i, x += dot + spacing) {
        p.setBrush(qcolor(i == a.FActiveIndex ? a.FActiveColor : a.FInactiveColor));
        p.drawEllipse(QRectF(x, y, dot, dot));
    }
}

}  // namespace

extern const ControlClass PageIndicatorClass{
    &TPalmoPageIndicator::staticMetaObject,
    paint,
    {},
    {{QStringLiteral("Appearance.ActiveColor"), QStringLiteral("Appearance.InactiveColor"), QStringLiteral("the current dot against the others")}},
    nullptr,
};
