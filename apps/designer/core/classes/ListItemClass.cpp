// A list item: how it is made, painted and checked.
#include "core/ControlClasses.h"
#include "core/classes/Painting.h"
#include "core/ShownText.h"

#include "host/palmo/PalmoControls.h"

#include <QPainter>

#include <algorithm>

namespace {

// One row of a list: the row takes the control's rectangle (ItemHeight is the height rows get
// when a list stacks them).
void paint(QPainter& p, const TPalmoControl& painted, const QRectF& area)
{
    const auto& control = static_cast<const TPalmoListItem&>(painted);
    const TPalmoListItemAppearance& a = *control.Appearance();
    p.setPen(Qt::NoPen);
    p.setBrush(qcolor(control.FSelected ? a.FSelectedColor : a.FColor));
    p.drawRect(area);
    const QRectF text = area.adjusted(8, 0, -8, -1);
    p.setPen(qcolor(a.FDetailTextColor));
    QRectF detailRect;
    p.drawText(text, Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine, lineToRoom(p.fontMetrics(), control.FDetail, text.width()), &detailRect);
    p.setPen(qcolor(a.FTextColor));
    // The text takes the row up to the detail, or the whole row when there is none.
    const qreal textRight = control.FDetail.isEmpty() ? text.right() : detailRect.left() - 6;
    const QRectF mainText(text.left(), text.top(), std::max(0.0, textRight - text.left()), text.height());
    p.drawText(mainText, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, lineToRoom(p.fontMetrics(), control.FText, mainText.width()));
    p.setPen(QPen(qcolor(a.FSeparatorColor), 1));
    p.drawLine(QPointF(area.left() + 8, area.bottom() - 0.5), QPointF(area.right(), area.bottom() - 0.5));
}

}  // namespace

extern const ControlClass ListItemClass{
    &TPalmoListItem::staticMetaObject,
    paint,
    {{QStringLiteral("Appearance.TextColor"), QStringLiteral("Appearance.Color")},
     {QStringLiteral("Appearance.TextColor"), QStringLiteral("Appearance.SelectedColor")},
     {QStringLiteral("Appearance.DetailTextColor"), QStringLiteral("Appearance.Color")},
     {QStringLiteral("Appearance.DetailTextColor"), QStringLiteral("Appearance.SelectedColor")}},
    {{QStringLiteral("Appearance.SelectedColor"), QStringLiteral("Appearance.Color"), QStringLiteral("selected against not selected")}},
    [](const TPalmoControl&) { return QStringLiteral("Text"); },
};
