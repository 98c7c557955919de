// A popup: how it is made, painted and checked.
#include "core/ControlClasses.h"
#include "core/classes/Painting.h"
#include "core/ShownText.h"

#include "host/palmo/PalmoControls.h"

#include <QPainter>

#include <algorithm>

namespace {

void paint(QPainter& p, const TPalmoControl& painted, const QRectF& area)
{
    const auto& control = static_cast<const TPalmoPopup&>(painted);
    const TPalmoPopupAppearance& a = *control.Appearance();
    // A modal popup dims what lies under it with its overlay.
    if (control.FModal) {
        QColor overlay = qcolor(a.FOverlayColor);
        overlay.setAlpha(160);
        p.fillRect(area, overlay);
    }
    const double marginX = std::min(24.0, area.width() / 8);
    const double marginY = std::min(24.0, area.height() / 8);
    const QRectF box = area.adjusted(marginX, marginY, -marginX, -marginY);
    p.setPen(QPen(qcolor(a.FBorderColor), 2));
    p.setBrush(qcolor(a.FColor));
    p.drawRoundedRect(box, 8, 8);

    QFont bold = p.font();
    bold.setBold(true);
    p.setFont(bold);
    const QRectF text = box.adjusted(10, 8, -10, -8);
    QRectF titleRect;
    p.setPen(qcolor(a.FTitleColor));
    p.drawText(text, Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine, lineToRoom(p.fontMetrics(), a.FTitle, text.width()), &titleRect);
    bold.setBold(false);
    p.setFont(bold);
    p.setPen(qcolor(a.FTextColor));
    const QRectF message = text.adjusted(0, titleRect.height() + 6, 0, 0);
    p.drawText(message, Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, cutToRoom(control.FMessage, message.width(), message.height() / std::max(1, p.fontMetrics().lineSpacing())));
}

}  // namespace

extern const ControlClass PopupClass{
    &TPalmoPopup::staticMetaObject,
    paint,
    {{QStringLiteral("Appearance.TitleColor"), QStringLiteral("Appearance.Color")},
     {QStringLiteral("Appearance.TextColor"), QStringLiteral("Appearance.Color")}},
    {},
    [](const TPalmoControl&) { return QStringLiteral("Message"); },
};
